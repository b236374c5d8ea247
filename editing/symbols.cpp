#include "editor/clipboard.h"
#include "editor/picture_box.h"
#include "editor/rich_text_box.h"
#include "editing/editing_commands.h"
#include <QMimeData>

void InsertSymbol(RichTextBox &editor, Clipboard &clipboard, const PictureBox &box, QString &sClipText)
{
    sClipText = clipboard.GetText();
    // Everything the clipboard offered comes back, not only its text.
    std::unique_ptr<QMimeData> held = clipboard.snapshot();
    clipboard.Clear();
    clipboard.SetData(box.Picture);
    editor.Paste();
    editor.SetFocus();
    clipboard.Clear();
    clipboard.restore(std::move(held));
}
