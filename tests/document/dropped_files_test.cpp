// Files dragged onto the editor, through real drag and drop events.
#include "document/dropped_files.h"
#include "tests/document/document_fixture.h"
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace {

struct DroppedFilesTest : DocumentFixture
{
    static std::unique_ptr<QMimeData> urlsData(const QList<QUrl> &urls)
    {
        auto data = std::make_unique<QMimeData>();
        data->setUrls(urls);
        return data;
    }

    static std::unique_ptr<QMimeData> filesData(const QStringList &files)
    {
        QList<QUrl> urls;
        for (const QString &file : files)
            urls << QUrl::fromLocalFile(file);
        return urlsData(urls);
    }

    // Drags `data` in and then drops it, or leaves when not `dropping` or when refused; returns the
    // action taken on entry, IgnoreAction for a refusal. Qt delivers a drop only to the widget that
    // accepted the drag's entry, so every drag here enters first, as a real one does.
    Qt::DropAction drag(const QMimeData &data, Qt::DropActions proposed, bool dropping = false)
    {
        QDragEnterEvent entering(QPoint(10, 10), proposed, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(editor.viewport(), &entering);
        const Qt::DropAction taken = entering.isAccepted() ? entering.dropAction() : Qt::IgnoreAction;
        if (dropping && taken != Qt::IgnoreAction) {
            QDropEvent drop(QPointF(10, 10), proposed, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(editor.viewport(), &drop);
            EXPECT_TRUE(drop.isAccepted());
            EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
        } else {
            QDragLeaveEvent leaving;
            QCoreApplication::sendEvent(editor.viewport(), &leaving);
        }
        return taken;
    }

    void dropFiles(const QStringList &files)
    {
        EXPECT_EQ(drag(*filesData(files), Qt::CopyAction | Qt::MoveAction, true), Qt::CopyAction);
    }
};

TEST_F(DroppedFilesTest, OnlyLocalFilesOfferedForCopyAreTaken)
{
    const auto files = filesData({writeFile("a.txt", "a")});
    EXPECT_EQ(drag(*files, Qt::CopyAction | Qt::MoveAction), Qt::CopyAction);
    EXPECT_EQ(drag(*files, Qt::CopyAction | Qt::LinkAction), Qt::CopyAction);
    EXPECT_EQ(drag(*files, Qt::MoveAction), Qt::IgnoreAction) << "a move-only source";
    EXPECT_EQ(drag(*files, Qt::LinkAction), Qt::IgnoreAction);
    const QUrl remote("https://example.org/a.txt");
    EXPECT_EQ(drag(*urlsData({remote}), Qt::CopyAction), Qt::IgnoreAction) << "a remote file";
    EXPECT_EQ(drag(*urlsData({files->urls()[0], remote}), Qt::CopyAction), Qt::IgnoreAction) << "local and remote";

    QMimeData words;
    words.setText("plain words");
    EXPECT_EQ(drag(words, Qt::CopyAction | Qt::MoveAction, true), Qt::IgnoreAction) << "text is no file";
    DroppedFiles(editor, messages).drop(words);
    EXPECT_EQ(editor.Text(), "");
    EXPECT_EQ(state.Modified, 0);
}

TEST_F(DroppedFilesTest, LinesEndAtCrOrCrLfAndAreJoinedAtTheEnd)
{
    const struct
    {
        const char *name;
        std::vector<QByteArray> files;
        QString appended; // as the editor shows it: one "\n" per paragraph break
    } rules[] = {
        {"three lines, the second empty", {"one\r\n\r\nthree\r\n"}, "one\n\nthree"},
        {"lines ended by CR alone", {"one\rtwo\r"}, "one\ntwo"},
        {"CR and CR LF mixed", {"a\rb\r\nc"}, "a\nb\nc"},
        {"CR then CR LF is an empty line", {"a\r\r\nb"}, "a\n\nb"},
        {"LF alone ends no line", {"one\ntwo\n"}, "one\ntwo\n"},
        {"leading LFs are kept as text", {"\n\nx"}, "\n\nx"},
        {"leading empty lines are dropped", {"\r\n\r\nonly\r\n"}, "only"},
        {"only empty lines", {"\r\n\r\r\n"}, ""},
        {"an empty file", {""}, ""},
        {"no final line ending", {"last"}, "last"},
        {"bytes in the system's encoding", {"caf\xc3\xa9\r\n"}, QString::fromLocal8Bit("caf\xc3\xa9")},
        {"two files follow each other with no break", {"first\r\n", "second\r\n"}, "firstsecond"},
    };
    for (const auto &rule : rules) {
        SCOPED_TRACE(rule.name);
        editor.SetText("start");
        editor.SetSelStart(0);
        QStringList files;
        for (const QByteArray &bytes : rule.files)
            files << writeFile(QString("dropped%1.txt").arg(files.size()), bytes);
        dropFiles(files);
        EXPECT_EQ(editor.Text(), "start" + rule.appended);
    }
}

TEST_F(DroppedFilesTest, ADropMarksTheDocumentModifiedAndKeepsItsFile)
{
    editor.SetText("text");
    const QString file = saveFirstTime("doc.rtf");
    dropFiles({writeFile("a.txt", "dropped\r\n")});
    EXPECT_EQ(editor.Text(), "textdropped");
    EXPECT_EQ(state.Modified, 1);
    EXPECT_EQ(state.HasFileName, 1);
    EXPECT_EQ(FileName, file);
    Save_Click(session);
    EXPECT_EQ(documentText(file), "textdropped") << "the next Save goes to the document's own file";
}

TEST_F(DroppedFilesTest, AnUnreadableFileEndsTheDropAndKeepsWhatCameBefore)
{
    QDir(dir.path()).mkdir("folder");
    for (const QString &bad : {path("vanished.txt"), path("folder")}) {
        SCOPED_TRACE(bad.toStdString());
        messages.shown.clear();
        editor.SetText("");
        dropFiles({writeFile("a.txt", "first"), bad, writeFile("c.txt", "third")});
        EXPECT_EQ(editor.Text(), "first");
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_TRUE(messages.shown[0].prompt.startsWith("Could not open " + bad + ": "));
        EXPECT_EQ(messages.shown[0].buttons, vb::vbOKOnly);
    }
}

TEST_F(DroppedFilesTest, DropFileAppendsAtTheEndWhateverTheSelection)
{
    editor.SetText("keep this");
    select(0, 4);
    DropFile(editor, writeFile("a.txt", "!\r\n"));
    EXPECT_EQ(editor.Text(), "keep this!");
    EXPECT_THROW(DropFile(editor, path("missing.txt")), FileError);
    EXPECT_EQ(editor.Text(), "keep this!");
}

} // namespace
