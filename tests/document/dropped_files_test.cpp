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
    QString writeFile(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path(name);
    }

    static std::unique_ptr<QMimeData> filesData(const QStringList &files)
    {
        auto data = std::make_unique<QMimeData>();
        QList<QUrl> urls;
        for (const QString &file : files)
            urls << QUrl::fromLocalFile(file);
        data->setUrls(urls);
        return data;
    }

    // Qt delivers a drop only to the widget that accepted the drag's entry, so every drag here is
    // entered first and then either dropped or left, as a real one is.
    bool enter(const QMimeData &data, Qt::DropActions proposed, Qt::DropAction *accepted = nullptr)
    {
        QDragEnterEvent event(QPoint(10, 10), proposed, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(editor.viewport(), &event);
        if (accepted)
            *accepted = event.isAccepted() ? event.dropAction() : Qt::IgnoreAction;
        return event.isAccepted();
    }

    void leave()
    {
        QDragLeaveEvent event;
        QCoreApplication::sendEvent(editor.viewport(), &event);
    }

    // The action the editor accepts for a drag entering it, or IgnoreAction when it refuses.
    Qt::DropAction dragEnter(const QMimeData &data, Qt::DropActions proposed)
    {
        Qt::DropAction accepted;
        enter(data, proposed, &accepted);
        leave();
        return accepted;
    }

    // Drags `data` in and drops it; false when the editor refused the drag.
    bool drop(const QMimeData &data)
    {
        if (!enter(data, Qt::CopyAction | Qt::MoveAction)) {
            leave();
            return false;
        }
        QDropEvent event(QPointF(10, 10), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(editor.viewport(), &event);
        EXPECT_TRUE(event.isAccepted());
        EXPECT_EQ(event.dropAction(), Qt::CopyAction);
        return true;
    }

    void dropFiles(const QStringList &files) { EXPECT_TRUE(drop(*filesData(files))); }

    // Starts from a saved, unmodified document with the caret at its start.
    void startFromSavedDocument(const QString &text)
    {
        editor.SetText(text);
        saveFirstTime("doc.rtf");
        editor.SetSelStart(0);
    }
};

TEST_F(DroppedFilesTest, OnlyLocalFilesOfferedForCopyAreAccepted)
{
    const QString file = writeFile("a.txt", "a");
    const auto files = filesData({file});
    EXPECT_EQ(dragEnter(*files, Qt::CopyAction | Qt::MoveAction), Qt::CopyAction);
    EXPECT_EQ(dragEnter(*files, Qt::CopyAction | Qt::LinkAction), Qt::CopyAction);
    EXPECT_EQ(dragEnter(*files, Qt::MoveAction), Qt::IgnoreAction) << "a move-only source";
    EXPECT_EQ(dragEnter(*files, Qt::LinkAction), Qt::IgnoreAction);

    QMimeData text;
    text.setText("plain words");
    EXPECT_EQ(dragEnter(text, Qt::CopyAction), Qt::IgnoreAction) << "text is no file";
    QMimeData web;
    web.setUrls({QUrl("https://example.org/a.txt")});
    EXPECT_EQ(dragEnter(web, Qt::CopyAction), Qt::IgnoreAction) << "a remote file";
    QMimeData mixed;
    mixed.setUrls({QUrl::fromLocalFile(file), QUrl("https://example.org/a.txt")});
    EXPECT_EQ(dragEnter(mixed, Qt::CopyAction), Qt::IgnoreAction) << "local and remote together";
}

TEST_F(DroppedFilesTest, ADropOfSomethingElseInsertsNothing)
{
    startFromSavedDocument("text");
    QMimeData words;
    words.setText("plain words");
    EXPECT_FALSE(drop(words));
    DroppedFiles(editor, messages).drop(words);
    EXPECT_EQ(editor.Text(), "text");
    EXPECT_EQ(state.Modified, 0);
}

struct LineRule
{
    const char *name;
    QByteArray bytes;
    QString appended; // as the editor shows it: one "\n" per paragraph break
};

TEST_F(DroppedFilesTest, LinesEndAtCrOrCrLfAndAreJoinedAtTheEnd)
{
    const LineRule rules[] = {
        {"three lines, the second empty", "one\r\n\r\nthree\r\n", "one\n\nthree"},
        {"lines ended by CR alone", "one\rtwo\r", "one\ntwo"},
        {"CR and CR LF mixed", "a\rb\r\nc", "a\nb\nc"},
        {"CR then CR LF is an empty line", "a\r\r\nb", "a\n\nb"},
        {"LF alone ends no line", "one\ntwo\n", "one\ntwo\n"},
        {"leading LFs are kept as text", "\n\nx", "\n\nx"},
        {"leading empty lines are dropped", "\r\n\r\nonly\r\n", "only"},
        {"only empty lines", "\r\n\r\r\n", ""},
        {"an empty file", "", ""},
        {"no final line ending", "last", "last"},
        {"bytes in the system's encoding", "caf\xc3\xa9\r\n", QString::fromLocal8Bit("caf\xc3\xa9")},
    };
    for (const auto &rule : rules) {
        SCOPED_TRACE(rule.name);
        editor.SetText("start");
        editor.SetSelStart(0);
        dropFiles({writeFile("dropped.txt", rule.bytes)});
        EXPECT_EQ(editor.Text(), "start" + rule.appended);
    }
}

TEST_F(DroppedFilesTest, ADropMarksTheDocumentModifiedAndKeepsItsFile)
{
    startFromSavedDocument("text");
    const QString file = FileName;
    dropFiles({writeFile("a.txt", "dropped\r\n")});
    EXPECT_EQ(editor.Text(), "textdropped");
    EXPECT_EQ(state.Modified, 1);
    EXPECT_EQ(state.HasFileName, 1);
    EXPECT_EQ(FileName, file);
    Save_Click(session);
    EXPECT_EQ(documentText(file), "textdropped") << "the next Save goes to the document's own file";
}

TEST_F(DroppedFilesTest, TwoFilesFollowEachOtherWithNoBreak)
{
    startFromSavedDocument("");
    dropFiles({writeFile("a.txt", "first\r\n"), writeFile("b.txt", "second\r\n")});
    EXPECT_EQ(editor.Text(), "firstsecond");
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
    editor.SetSelStart(0);
    editor.SetSelLength(4);
    DropFile(editor, writeFile("a.txt", "!\r\n"));
    EXPECT_EQ(editor.Text(), "keep this!");
    EXPECT_THROW(DropFile(editor, path("missing.txt")), FileError);
    EXPECT_EQ(editor.Text(), "keep this!");
}

} // namespace
