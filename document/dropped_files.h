#pragma once
#include "editor/rich_text_box.h"

class MessageBoxSeam;

// Files dragged onto the editor: accepted as a copy, each appended as text.
class DroppedFiles : public DropTarget
{
public:
    DroppedFiles(RichTextBox &editor, MessageBoxSeam &messages) : RichTextBox1(editor), messages_(messages) {}
    Qt::DropAction dragOver(const QMimeData &data, Qt::DropActions proposed) override;
    void drop(const QMimeData &data) override;

private:
    RichTextBox &RichTextBox1;
    MessageBoxSeam &messages_;
};

// Appends the file's lines at the end of the document: a line ends at CR or CR LF, never at LF alone;
// lines are joined by CR LF, with nothing before the first non-empty line or after the last.
void DropFile(RichTextBox &txt, const QString &sFileName);
