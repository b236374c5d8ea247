#include "app/clipboard.h"
#include "editing/editing_commands.h"
#include "tests/editing/editing_fixture.h"
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <functional>

namespace {

// Holds plain text only; every call is logged, with what the editor held at the time.
class RecordingClipboard : public Clipboard
{
public:
    explicit RecordingClipboard(const RichTextBox &editor) : editor_(editor) {}

    QString GetText() const override { return log("GetText"), text; }
    void SetText(const QString &t) override { log("SetText"), text = t; }
    void SetData(const QImage &) override { log("SetData"); }
    void Clear() override { log("Clear"), text.clear(); }
    std::unique_ptr<QMimeData> snapshot() const override { return log("snapshot"), std::make_unique<QMimeData>(); }
    void restore(std::unique_ptr<QMimeData>) override { log("restore"); }

    QString text;
    mutable QStringList calls;

private:
    void log(const char *call) const { calls << QStringLiteral("%1 [%2]").arg(QLatin1String(call), editor_.Text()); }
    const RichTextBox &editor_;
};

struct ClipboardCommands : EditorTest
{
    RecordingClipboard clipboard{editor};
};

TEST_F(ClipboardCommands, CopyPutsTheSelectedTextWithLineBreaks)
{
    editor.SetText("one\ntwo");
    select(2, 3);
    Copy_Click(editor, clipboard);
    EXPECT_EQ(clipboard.text, "e\nt");
    EXPECT_EQ(editor.Text(), "one\ntwo");
}

TEST_F(ClipboardCommands, CopyOfNothingLeavesAnEmptyTextWithoutClearing)
{
    clipboard.text = "old";
    editor.SetText("abc");
    select(1, 0);
    Copy_Click(editor, clipboard);
    EXPECT_EQ(clipboard.text, "");
    EXPECT_EQ(clipboard.calls, QStringList{"SetText [abc]"});
}

TEST_F(ClipboardCommands, CutPutsTheTextOnTheClipboardBeforeDeletingIt)
{
    editor.SetText("abcdef");
    select(1, 3);
    Cut_Click(editor, clipboard);
    EXPECT_EQ(clipboard.calls, QStringList{"SetText [abcdef]"});
    EXPECT_EQ(clipboard.text, "bcd");
    EXPECT_EQ(editor.Text(), "aef");
    EXPECT_EQ(editor.SelStart(), 1);
}

TEST_F(ClipboardCommands, CutOfNothingLeavesTheDocumentAsItWas)
{
    clipboard.text = "old";
    editor.SetText("abc");
    select(2, 0);
    Cut_Click(editor, clipboard);
    EXPECT_EQ(clipboard.text, "");
    EXPECT_EQ(editor.Text(), "abc");
    EXPECT_EQ(editor.SelStart(), 2);
}

TEST_F(ClipboardCommands, PasteOfAnEmptyClipboardDeletesASelectionAndLeavesACaret)
{
    editor.SetText("abcdef");
    select(1, 2);
    Paste_Click(editor, clipboard);
    EXPECT_EQ(editor.Text(), "adef");
    select(2, 0);
    Paste_Click(editor, clipboard);
    EXPECT_EQ(editor.Text(), "adef");
    EXPECT_EQ(clipboard.calls.filter("GetText").size(), 2);
    EXPECT_TRUE(clipboard.calls.filter("Clear").isEmpty());
}

TEST_F(ClipboardCommands, CopyThenPasteOverASelectionReplacesIt)
{
    editor.SetText("cat and dog");
    select(0, 3);
    Copy_Click(editor, clipboard);
    select(8, 3);
    Paste_Click(editor, clipboard);
    EXPECT_EQ(editor.Text(), "cat and cat");
    EXPECT_EQ(editor.SelStart(), 11);
    EXPECT_EQ(editor.SelLength(), 0);
}

// Through the real clipboard, so nothing but plain text can travel.
struct SystemClipboardCommands : EditorTest
{
    SystemClipboard clipboard;
    QClipboard &system = *QGuiApplication::clipboard();
};

TEST_F(SystemClipboardCommands, BoldRedTextComesBackPlain)
{
    editor.SetText("plain BOLD plain");
    select(6, 4);
    editor.SetSelBold(true);
    editor.SetSelColor(0x0000FF);
    Cut_Click(editor, clipboard);
    ASSERT_NE(system.mimeData(), nullptr);
    EXPECT_FALSE(system.mimeData()->hasHtml());
    EXPECT_EQ(system.text(), "BOLD");
    select(0, 0);
    Paste_Click(editor, clipboard);
    EXPECT_EQ(editor.Text(), "BOLDplain  plain");
    select(0, 4);
    EXPECT_EQ(editor.SelBold(), false);
    EXPECT_NE(formatAt(0).foreground().color(), QColor(Qt::red));
}

TEST_F(SystemClipboardCommands, RichTextFromElsewhereIsPastedAsItsPlainText)
{
    auto *data = new QMimeData;
    data->setHtml("<b style=\"color:#ff0000\">rich</b>");
    data->setText("rich");
    system.setMimeData(data);
    editor.SetText("[]");
    select(1, 0);
    Paste_Click(editor, clipboard);
    EXPECT_EQ(editor.Text(), "[rich]");
    select(1, 4);
    EXPECT_EQ(editor.SelBold(), false);
}

TEST_F(SystemClipboardCommands, APictureOnlyClipboardPastesNothing)
{
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    system.setImage(picture);
    editor.SetText("abc");
    select(1, 1);
    Paste_Click(editor, clipboard);
    EXPECT_EQ(editor.Text(), "ac");
}

} // namespace
