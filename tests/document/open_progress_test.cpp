// Opening reads the file elsewhere while a progress seam waits; cancelling it keeps everything as it was.
#include "editor/load_progress.h"
#include "tests/document/document_fixture.h"
#include <QThread>

namespace {

// Answers the progress as a person would: waits it out, or gives up at once.
class ScriptedLoadProgress : public LoadProgressSeam
{
public:
    bool cancel = false;
    QStringList waitedFor;
    bool finishedWhenAsked = false;
    bool finishedAtCancel = false;

    bool waitFor(const QString &path, const LoadWatch &read) override
    {
        waitedFor << path;
        finishedWhenAsked = read.finished();
        if (cancel) {
            finishedAtCancel = read.finished();
            return false;
        }
        while (!read.finished())
            QThread::msleep(1);
        return true;
    }
};

struct OpenProgress : ::testing::Test
{
    QTemporaryDir dir;
    ScriptedMessageBox messages;
    ScriptedFileDialogs dialogs;
    ScriptedLoadProgress progress;
    Form1 form{Form1Seams{.messages = &messages, .dialogs = &dialogs, .progress = &progress}};
    RichTextBox &editor = *form.RichTextBox1;

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    // A document that was saved as `old.rtf` and then changed.
    void haveChangedDocument()
    {
        form.CommonDialog1().FileName = dir.filePath("old.rtf");
        form.state().HasFileName = 1;
        editor.SetText(QStringLiteral("old text"));
        ASSERT_EQ(form.state().Modified, 1);
    }
};

TEST_F(OpenProgress, OpenWaitsThroughTheSeamAndTakesTheDocument)
{
    const QString file = writeFile("new.rtf", "{\\rtf1\\ansi new {\\b bold}\\par}");
    dialogs.confirm(file);
    Open_Click(form.session());
    EXPECT_EQ(progress.waitedFor, QStringList{file});
    EXPECT_EQ(editor.Text(), "new bold\n");
    EXPECT_EQ(form.CommonDialog1().FileName, file);
    EXPECT_EQ(form.state().Modified, 0);
    EXPECT_EQ(editor.document()->thread(), editor.thread()) << "the document is handed to the window's thread";
    editor.SetSelStart(4);
    editor.SetSelLength(4);
    EXPECT_EQ(editor.SelBold(), true);
}

TEST_F(OpenProgress, CancelledOpenKeepsDocumentNameAndModified)
{
    haveChangedDocument();
    messages.answers.push_back(vb::vbNo); // "Would you like to save your work?"
    dialogs.confirm(writeFile("big.rtf", "{\\rtf1 " + QByteArray(2'000'000, 'x') + "\\par}"));
    progress.cancel = true;
    int changes = 0;
    QObject::connect(&editor, &RichTextBox::Change, [&] { ++changes; });
    Open_Click(form.session());
    EXPECT_EQ(editor.Text(), "old text");
    EXPECT_EQ(form.CommonDialog1().FileName, dir.filePath("old.rtf"));
    EXPECT_EQ(form.state().Modified, 1);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(messages.shown.size(), 1u) << "a cancel is silent, like a cancelled dialog";
    editor.moveCursor(QTextCursor::End);
    QTest::keyClicks(&editor, " more");
    EXPECT_EQ(editor.Text(), "old text more") << "the old document is still the one edited";
}

TEST_F(OpenProgress, DesktopOpenCancelledKeepsTheUntitledDocument)
{
    editor.SetText(QStringLiteral("draft"));
    progress.cancel = true;
    OpenFromDesktop(form.session(), writeFile("given.rtf", "{\\rtf1 given\\par}"));
    EXPECT_EQ(editor.Text(), "draft");
    EXPECT_TRUE(form.CommonDialog1().FileName.isEmpty());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(OpenProgress, UnreadableFileStillFailsWithItsReason)
{
    editor.SetText(QStringLiteral("kept"));
    const QString file = writeFile("broken.rtf", "{\\rtf1 \\" + QByteArray(40, 'x') + " text}");
    dialogs.confirm(file);
    form.state().Modified = 0;
    Open_Click(form.session());
    EXPECT_EQ(editor.Text(), "kept");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].prompt.startsWith("Could not open " + file)) << messages.shown[0].prompt.toStdString();
    EXPECT_TRUE(form.CommonDialog1().FileName.isEmpty()) << "as after any failed open";
}

// A read abandoned by a cancel finishes on its own without touching the editor; the next open works.
TEST_F(OpenProgress, AbandonedReadDoesNotDisturbTheNextOpen)
{
    progress.cancel = true;
    OpenFromDesktop(form.session(), writeFile("first.rtf", "{\\rtf1 " + QByteArray(3'000'000, 'y') + "\\par}"));
    progress.cancel = false;
    OpenFromDesktop(form.session(), writeFile("second.rtf", "{\\rtf1 second\\par}"));
    EXPECT_EQ(editor.Text(), "second\n");
    QThread::msleep(300);
    QCoreApplication::processEvents();
    EXPECT_EQ(editor.Text(), "second\n");
}

} // namespace
