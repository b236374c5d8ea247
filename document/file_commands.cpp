#include "document/file_commands.h"
#include "editor/command_failure.h"
#include "editor/common_dialog.h"
#include "editor/load_progress.h"
#include "editor/message_box.h"
#include "editor/rich_text_box.h"
#include "document/dialog_steps.h"
#include "document/document_state.h"
#include "document/run_command.h"

namespace {

const QString SavePrompt = QStringLiteral("Would your like to save you work?");
const QString ExitTitle = QStringLiteral("Alert! Document not saved!");
const QString ChangedOnDiskPrompt =
    QStringLiteral(" was changed by another program since you opened it. Replace it with this document?");

int askToSave(DocumentSession &s, const QString &prompt, const QString &title)
{
    return s.messages.MsgBox(prompt, vb::vbYesNo, title);
}

// New, Exit and the close ask only about unsaved changes; 0 means nobody was asked.
int askIfModified(DocumentSession &s, const QString &title)
{
    return s.state.Modified == 1 ? askToSave(s, SavePrompt, title) : 0;
}

// Each read and write of the document's file is remembered, so a later save can see another's changes.
void rememberFile(DocumentSession &s) { s.state.onDisk = FileStamp::of(s.CommonDialog1.FileName); }

void saveWithDialog(DocumentSession &s)
{
    SaveWithDialog(s.CommonDialog1, s.RichTextBox1);
    rememberFile(s);
}

// A save to the remembered name asks before it replaces what someone else wrote there; No, also
// what Enter answers, ends it.
void saveToKnownName(DocumentSession &s)
{
    const QString &path = s.CommonDialog1.FileName;
    if (s.state.onDisk.changedOnDisk(path) &&
        s.messages.MsgBox(path + ChangedOnDiskPrompt, vb::vbYesNo | vb::vbDefaultButton2, QStringLiteral("Velmo")) !=
            vb::vbYes)
        throw DialogCancelled();
    s.RichTextBox1.SaveFile(path);
    rememberFile(s);
}

// A file that could not be loaded, or whose loading was cancelled, must not become the target of
// the next Save.
void openWithDialog(DocumentSession &s)
{
    const QString previous = s.CommonDialog1.FileName;
    try {
        OpenWithDialog(s.CommonDialog1, s.RichTextBox1);
    } catch (const FileError &) {
        s.CommonDialog1.FileName = previous;
        throw;
    } catch (const LoadCancelled &) {
        s.CommonDialog1.FileName = previous;
        throw;
    }
    rememberFile(s);
    s.state.Modified = 0;
}

// After a cancelled dialog the remembered name is empty: ask again, as the first Save does.
bool knowsFileName(const DocumentSession &s)
{
    return s.state.HasFileName == 1 && !s.CommonDialog1.FileName.isEmpty();
}

void saveUnderNewName(DocumentSession &s)
{
    saveWithDialog(s);
    s.state.Modified = 0;
    s.state.HasFileName = 1;
}

void run(DocumentSession &s, const std::function<void()> &steps) { runCommand(s.messages, steps); }

void toolbarNew(DocumentSession &s)
{
    const int answer = askToSave(s, QStringLiteral("Save Changes?"), QStringLiteral("Alert!"));
    if (answer == vb::vbNo) {
        s.RichTextBox1.SetText(QString());
    } else if (answer == vb::vbYes) {
        saveWithDialog(s);
        s.state.Modified = 0;
    }
}

// Unlike the menu's Save, a save to the known name leaves Modified as it was.
void toolbarSave(DocumentSession &s)
{
    if (!knowsFileName(s))
        saveUnderNewName(s);
    else
        saveToKnownName(s);
}

void makeCopy(DocumentSession &s)
{
    saveWithDialog(s);
    s.state.Modified = 0;
}

} // namespace

void RichTextBox1_Change(DocumentState &state) { state.Modified = 1; }

void Open_Click(DocumentSession &session)
{
    run(session, [&] {
        if (session.state.Modified == 1) {
            const int answer = askToSave(session, QStringLiteral("Would you like to save your work?"),
                                         QStringLiteral("Opening a new document..."));
            if (answer == vb::vbYes)
                saveUnderNewName(session);
        }
        openWithDialog(session);
    });
}

void Save_Click(DocumentSession &session)
{
    run(session, [&] { SaveDocument(session); });
}

void SaveDocument(DocumentSession &session)
{
    if (!knowsFileName(session)) {
        saveUnderNewName(session);
        return;
    }
    saveToKnownName(session);
    session.state.Modified = 0;
}

void New_Click(DocumentSession &session)
{
    run(session, [&] {
        if (askIfModified(session, QStringLiteral("Create a new document...")) == vb::vbYes) {
            saveWithDialog(session);
            session.state.Modified = 0;
        }
        session.RichTextBox1.SetText(QString());
    });
}

void Exit_Click(DocumentSession &session)
{
    run(session, [&] {
        if (askIfModified(session, ExitTitle) == vb::vbYes) {
            saveWithDialog(session);
            session.state.Modified = 0;
        }
        session.endProgram();
    });
}

bool Form_QueryUnload(DocumentSession &session)
{
    if (askIfModified(session, ExitTitle) != vb::vbYes)
        return true;
    const bool saved = runCommand(session.messages, [&] {
        saveWithDialog(session);
        session.state.Modified = 0;
    });
    // An unsaved document keeps the window open.
    if (saved)
        session.endProgram();
    return saved;
}

void Toolbar1_ButtonClick(DocumentSession &session, int index)
{
    switch (index) {
    case 1: return run(session, [&] { toolbarNew(session); });
    case 2: return run(session, [&] { toolbarSave(session); });
    case 3: return run(session, [&] { makeCopy(session); });
    default: return; // "Settings" has no command
    }
}

void OpenFromDesktop(DocumentSession &session, const QString &path)
{
    run(session, [&] {
        session.RichTextBox1.LoadFile(path);
        session.CommonDialog1.FileName = path;
        rememberFile(session);
        session.state.Modified = 0;
    });
}
