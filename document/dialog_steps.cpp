#include "document/dialog_steps.h"
#include "editor/common_dialog.h"
#include "editor/rich_text_box.h"

static void prepareFileDialog(CommonDialog &dialog)
{
    dialog.Filter = QString::fromLatin1(RichTextFilter);
    dialog.FileName.clear();
    dialog.CancelError = true;
}

void SaveWithDialog(CommonDialog &dialog, RichTextBox &editor)
{
    prepareFileDialog(dialog);
    dialog.ShowSave();
    editor.SaveFile(dialog.FileName);
}

void OpenWithDialog(CommonDialog &dialog, RichTextBox &editor)
{
    prepareFileDialog(dialog);
    dialog.ShowOpen();
    editor.LoadFile(dialog.FileName);
}
