#include "editor/clipboard.h"
#include "editor/rich_text_box.h"
#include "editing/editing_commands.h"

// The text goes to the clipboard before the selection is deleted, so a clipboard
// failure loses nothing.
void Cut_Click(RichTextBox &editor, Clipboard &clipboard)
{
    clipboard.SetText(editor.CopySelection());
    editor.SetSelText(QString());
}

void Copy_Click(RichTextBox &editor, Clipboard &clipboard) { clipboard.SetText(editor.CopySelection()); }

void Paste_Click(RichTextBox &editor, Clipboard &clipboard) { editor.SetSelText(clipboard.GetText()); }
