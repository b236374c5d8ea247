#pragma once
#include <QString>

class AutomationRegistry;
class MessageBoxSeam;
class RichTextBox;

// Sends the editor's text through the "Word.Basic" server's spell check and puts the corrected text
// back as the smallest edits. False when any step failed; the editor is then unchanged and `reason`
// holds what the server said, if anything.
bool ChkSpell(RichTextBox &txt, AutomationRegistry &automation, QString *reason = nullptr);
// F7: runs the check and reports its outcome.
void SplCheck_Click(RichTextBox &editor, MessageBoxSeam &messages, AutomationRegistry &automation);
