// A failed file operation says why and changes nothing; an existing file is replaced only by a
// complete new one. (Closing, Exit and Save after a cancelled dialog are rows of the state table.)
#include "editor/file_store.h"
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

struct Mends : DocumentFixture
{
    Mends() { QDir(dir.path()).mkdir("folder"); }

    QStringList folderEntries() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    // The last of `boxes` boxes says "Could not <verb> <file>: <reason>." with OK and the default title.
    void expectFailure(const QString &verb, const QString &file, size_t boxes = 1)
    {
        ASSERT_EQ(messages.shown.size(), boxes);
        const auto &box = messages.shown.back();
        EXPECT_TRUE(box.prompt.startsWith("Could not " + verb + " " + file + ": ") && box.prompt.endsWith("."))
            << box.prompt.toStdString();
        EXPECT_EQ(box.buttons, vb::vbOKOnly);
        EXPECT_EQ(box.title, "Velmo for Windows");
    }
};

TEST_F(Mends, AFailedSaveSaysWhyAndChangesNothing)
{
    const auto makeCopy = [](DocumentSession &s) { Toolbar1_ButtonClick(s, 3); };
    const struct
    {
        const char *name;
        QString target; // chosen in the save dialog; "" saves to the known name
        bool halfWrite;
        std::function<void(DocumentSession &)> command;
    } rows[] = {
        {"into a folder that does not exist", "missing/doc.rtf", false, makeCopy},
        {"onto a path that is a folder", "folder", false, makeCopy},
        {"a menu Save written part-way", "", true, Save_Click},
        {"a toolbar Save written part-way", "", true, [](DocumentSession &s) { Toolbar1_ButtonClick(s, 2); }},
        {"a copy over the saved file written part-way", "doc.rtf", true, makeCopy},
    };
    HalfWritingStore halfWriting;
    type("saved text");
    const QString file = saveFirstTime("doc.rtf");
    const QByteArray saved = bytesOf(file);
    type(" and unsaved text");
    const QStringList entriesBefore = folderEntries();
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        messages.shown.clear();
        FileName = file;
        editor.setFileStore(row.halfWrite ? static_cast<FileStore &>(halfWriting) : diskFileStore());
        if (!row.target.isEmpty())
            dialogs.confirm(path(row.target));
        row.command(session);
        expectFailure("save", row.target.isEmpty() ? file : path(row.target));
        EXPECT_EQ(bytesOf(file), saved);
        EXPECT_EQ(editor.Text(), "saved text and unsaved text");
        EXPECT_EQ(state.Modified, 1);
        EXPECT_EQ(state.HasFileName, 1);
        EXPECT_EQ(folderEntries(), entriesBefore) << "no half-written file is left beside it";
    }
}

TEST_F(Mends, APartWayFailureNamesTheShortWrite)
{
    try {
        HalfWritingStore().writeAll(path("doc.rtf"), "0123456789");
        FAIL() << "the short write must fail";
    } catch (const FileError &e) {
        EXPECT_EQ(e.reason(), "Could not save " + path("doc.rtf") + ": Only 5 of 10 bytes were written.");
    }
    EXPECT_FALSE(QFileInfo::exists(path("doc.rtf")));
}

TEST_F(Mends, AFailedOpenSaysWhyAndKeepsTheDocumentAndItsFile)
{
    type("mine");
    const QString mine = saveFirstTime("mine.rtf");
    type(" edited");
    for (const QString &bad : {path("missing.rtf"), path("folder")}) {
        for (bool fromDesktop : {false, true}) {
            SCOPED_TRACE(bad.toStdString() + (fromDesktop ? " from the desktop" : " through Open"));
            messages.shown.clear();
            fromDesktop ? OpenFromDesktop(session, bad) : (dialogs.confirm(bad), Open_Click(session));
            expectFailure("open", bad, fromDesktop ? 1 : 2); // Open first offers to save
            EXPECT_EQ(editor.Text(), "mine edited");
            EXPECT_EQ(state.Modified, 1);
            EXPECT_EQ(FileName, mine) << "the file that failed to load is no target for Save";
        }
    }
    Save_Click(session);
    EXPECT_EQ(documentText(mine), "mine edited");
    EXPECT_FALSE(QFileInfo::exists(path("missing.rtf")));
}

} // namespace
