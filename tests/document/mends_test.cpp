// Failures lose nothing: an unsaved close is called off, a failed file operation says so and changes
// nothing, an existing file is replaced only by a complete new one.
#include "app/file_store.h"
#include "tests/document/document_fixture.h"
#include <QFileDevice>

namespace {

// The disk store whose device fills up after half of the new content.
class HalfWritingStore : public DiskFileStore
{
protected:
    qint64 writeContent(QFileDevice &file, const QByteArray &bytes) override
    {
        return file.write(bytes.left(bytes.size() / 2));
    }
};

using Mends = DocumentFixture;

TEST_F(Mends, ClosingWithAnUnfinishedSaveKeepsTheWindowOpen)
{
    QDir(dir.path()).mkdir("folder");
    form.show();
    type("unsaved");
    messages.answer(vb::vbYes);
    dialogs.cancel();
    EXPECT_FALSE(form.close()) << "cancelled save dialog";
    messages.answer(vb::vbYes);
    dialogs.confirm(path("folder"));
    EXPECT_FALSE(form.close()) << "failed write";
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.ended());
    EXPECT_EQ(editor.Text(), "unsaved");
    EXPECT_EQ(state.Modified, 1);
    EXPECT_EQ(prompts().size(), 3) << "two save prompts and one failure message";
}

TEST_F(Mends, ASaveAfterACancelledDialogAsksForAName)
{
    type("text");
    const QString first = saveFirstTime("first.rtf");
    const QByteArray firstBytes = bytesOf(first);
    dialogs.cancel();
    Open_Click(session);
    ASSERT_EQ(FileName, "");
    type(" more");
    dialogs.confirm(path("menu.rtf"));
    Save_Click(session);
    EXPECT_EQ(documentText(path("menu.rtf")), "text more");
    EXPECT_EQ(state.Modified, 0);
    EXPECT_EQ(FileName, path("menu.rtf"));

    dialogs.cancel();
    Toolbar1_ButtonClick(session, 3);
    type(" again");
    dialogs.confirm(path("toolbar.rtf"));
    Toolbar1_ButtonClick(session, 2);
    EXPECT_EQ(documentText(path("toolbar.rtf")), "text more again");
    EXPECT_EQ(state.Modified, 0);
    EXPECT_EQ(dialogKinds(), (QStringList{"save", "open", "save", "save", "save"}));
    EXPECT_EQ(bytesOf(first), firstBytes);
    EXPECT_TRUE(messages.shown.empty());
}

struct FailedSaveRow
{
    const char *name;
    QString target; // relative to the test folder
    bool halfWrite;
    std::function<void(DocumentSession &)> command;
};

TEST_F(Mends, AFailedSaveSaysWhyAndChangesNothing)
{
    QDir(dir.path()).mkdir("folder");
    const auto makeCopy = [](DocumentSession &s) { Toolbar1_ButtonClick(s, 3); };
    const auto toolbarSave = [](DocumentSession &s) { Toolbar1_ButtonClick(s, 2); };
    const FailedSaveRow rows[] = {
        {"into a folder that does not exist", "missing/doc.rtf", false, makeCopy},
        {"onto a path that is a folder", "folder", false, makeCopy},
        {"a menu Save written part-way", "", true, Save_Click},
        {"a toolbar Save written part-way", "", true, toolbarSave},
        {"a copy over the saved file written part-way", "doc.rtf", true, makeCopy},
    };
    HalfWritingStore halfWriting;
    type("saved text");
    const QString file = saveFirstTime("doc.rtf");
    const QByteArray saved = bytesOf(file);
    type(" and unsaved text");
    const QStringList filesBefore = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        messages.shown.clear();
        FileName = file;
        editor.setFileStore(row.halfWrite ? static_cast<FileStore &>(halfWriting) : diskFileStore());
        const QString target = row.target.isEmpty() ? file : path(row.target);
        if (!row.target.isEmpty())
            dialogs.confirm(target);
        row.command(session);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_TRUE(messages.shown[0].prompt.startsWith("Could not save " + target + ": "))
            << messages.shown[0].prompt.toStdString();
        EXPECT_TRUE(messages.shown[0].prompt.endsWith("."));
        EXPECT_EQ(messages.shown[0].buttons, vb::vbOKOnly);
        EXPECT_EQ(messages.shown[0].title, "Velmo for Windows");
        EXPECT_EQ(bytesOf(file), saved);
        EXPECT_EQ(editor.Text(), "saved text and unsaved text");
        EXPECT_EQ(state.Modified, 1);
        EXPECT_EQ(state.HasFileName, 1);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), filesBefore)
            << "no half-written file is left beside it";
    }
}

TEST_F(Mends, APartWayFailureNamesTheShortWrite)
{
    HalfWritingStore halfWriting;
    try {
        halfWriting.writeAll(path("doc.rtf"), "0123456789");
        FAIL() << "the short write must fail";
    } catch (const FileError &e) {
        EXPECT_EQ(e.reason(), "Could not save " + path("doc.rtf") + ": Only 5 of 10 bytes were written.");
    }
    EXPECT_FALSE(QFileInfo::exists(path("doc.rtf")));
}

TEST_F(Mends, AFailedOpenSaysWhyAndKeepsTheDocumentAndItsFile)
{
    QDir(dir.path()).mkdir("folder");
    type("mine");
    const QString mine = saveFirstTime("mine.rtf");
    type(" edited");
    for (const QString &bad : {path("missing.rtf"), path("folder")}) {
        SCOPED_TRACE(bad.toStdString());
        messages.shown.clear();
        messages.answer(vb::vbNo);
        dialogs.confirm(bad);
        Open_Click(session);
        ASSERT_EQ(messages.shown.size(), 2u) << "the save prompt, then the failure";
        EXPECT_TRUE(messages.shown[1].prompt.startsWith("Could not open " + bad + ": "));
        EXPECT_EQ(messages.shown[1].buttons, vb::vbOKOnly);
        EXPECT_EQ(messages.shown[1].title, "Velmo for Windows");
        EXPECT_EQ(editor.Text(), "mine edited");
        EXPECT_EQ(state.Modified, 1);
        EXPECT_EQ(FileName, mine) << "the file that failed to load is no target for Save";
    }
    Save_Click(session);
    EXPECT_EQ(documentText(mine), "mine edited");
    EXPECT_FALSE(QFileInfo::exists(path("missing.rtf")));
}

TEST_F(Mends, ExitEndsTheProgramWhenNothingIsToBeSaved)
{
    Exit_Click(session);
    EXPECT_TRUE(form.ended()) << "unmodified";
}

TEST_F(Mends, ExitAnsweredNoEndsWithoutSaving)
{
    type("text");
    messages.answer(vb::vbNo);
    Exit_Click(session);
    EXPECT_TRUE(form.ended());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Mends, ExitWhoseSaveFailsSaysWhyAndKeepsRunning)
{
    type("text");
    messages.answer(vb::vbYes);
    dialogs.confirm(path("missing/doc.rtf"));
    Exit_Click(session);
    EXPECT_FALSE(form.ended());
    EXPECT_EQ(prompts().size(), 2);
    EXPECT_EQ(state.Modified, 1);
}

} // namespace
