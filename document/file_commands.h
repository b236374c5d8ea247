#pragma once
#include <QString>
#include <functional>

class CommonDialog;
class MessageBoxSeam;
class RichTextBox;
struct DocumentState;

// What the file commands work on.
struct DocumentSession
{
    RichTextBox &RichTextBox1;
    CommonDialog &CommonDialog1;
    DocumentState &state;
    MessageBoxSeam &messages;
    std::function<void()> endProgram; // ends the run at once, asking nothing more
};

void RichTextBox1_Change(DocumentState &state);

void Open_Click(DocumentSession &session);
void Save_Click(DocumentSession &session);
void SaveDocument(DocumentSession &session);
void New_Click(DocumentSession &session);
void Exit_Click(DocumentSession &session);
// The window is being closed: true lets the close go ahead.
bool Form_QueryUnload(DocumentSession &session);
void Toolbar1_ButtonClick(DocumentSession &session, int index);
// A document handed over by the desktop (a file manager's "Open with"), loaded as Open loads it.
void OpenFromDesktop(DocumentSession &session, const QString &path);
