#include "tests/editing/editing_fixture.h"

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

// Text, selection and clipboard before the command, the same after, and the clipboard calls made.
struct ClipboardCase
{
    const char *name;
    void (*command)(RichTextBox &, Clipboard &);
    QString text;
    int start, length;
    QString clipboard;
    QString textAfter;
    int startAfter, lengthAfter;
    QString clipboardAfter;
    QStringList calls;
};

struct ClipboardCommand : EditorRowTest<ClipboardCase>
{
    RecordingClipboard clipboard{editor};
};

TEST_P(ClipboardCommand, MovesPlainTextInTheStatedOrder)
{
    const ClipboardCase &c = GetParam();
    editor.SetText(c.text);
    select(c.start, c.length);
    clipboard.text = c.clipboard;
    c.command(editor, clipboard);
    EXPECT_EQ(std::tuple(editor.Text(), editor.SelStart(), editor.SelLength(), clipboard.text, clipboard.calls),
              std::tuple(c.textAfter, c.startAfter, c.lengthAfter, c.clipboardAfter, c.calls));
}

INSTANTIATE_TEST_SUITE_P(
    CutCopyPaste, ClipboardCommand,
    ::testing::Values(
        ClipboardCase{"CopyPutsTheSelectedTextWithLineBreaks", Copy_Click, "one\ntwo", 2, 3, "old", //
                      "one\ntwo", 2, 3, "e\nt", {"SetText [one\ntwo]"}},
        ClipboardCase{"CopyOfNothingPutsAnEmptyTextWithoutClearing", Copy_Click, "abc", 1, 0, "old", //
                      "abc", 1, 0, "", {"SetText [abc]"}},
        ClipboardCase{"CutPutsTheTextOnTheClipboardBeforeDeletingIt", Cut_Click, "abcdef", 1, 3, "old", //
                      "aef", 1, 0, "bcd", {"SetText [abcdef]"}},
        ClipboardCase{"CutOfNothingLeavesTheDocumentAsItWas", Cut_Click, "abc", 2, 0, "old", //
                      "abc", 2, 0, "", {"SetText [abc]"}},
        ClipboardCase{"PasteOfAnEmptyClipboardDeletesTheSelection", Paste_Click, "abcdef", 1, 2, "", //
                      "adef", 1, 0, "", {"GetText [abcdef]"}},
        ClipboardCase{"PasteOfAnEmptyClipboardAtTheCaretChangesNothing", Paste_Click, "adef", 2, 0, "", //
                      "adef", 2, 0, "", {"GetText [adef]"}},
        ClipboardCase{"PasteReplacesTheSelectionAndLeavesTheCaretAfterIt", Paste_Click, "cat and dog", 8, 3, "cat", //
                      "cat and cat", 11, 0, "cat", {"GetText [cat and dog]"}}),
    byName);

// Through the real clipboard, so nothing but plain text can travel.
struct SystemClipboardCommands : EditorTest
{
    SystemClipboard clipboard;
};

TEST_F(SystemClipboardCommands, BoldRedTextComesBackPlain)
{
    editor.SetText("plain BOLD plain");
    select(6, 4);
    editor.SetSelBold(true);
    editor.SetSelColor(0x0000FF);
    Cut_Click(editor, clipboard);
    ASSERT_NE(system.mimeData(), nullptr);
    EXPECT_EQ(std::tuple(system.text(), system.mimeData()->hasHtml()), std::tuple(QString("BOLD"), false));
    select(0, 0);
    Paste_Click(editor, clipboard);
    EXPECT_EQ(editor.Text(), "BOLDplain  plain");
    select(0, 4);
    EXPECT_EQ(std::tuple(editor.SelBold(), editor.SelColor()), std::tuple(false, 0x000000u));
}

TEST_F(SystemClipboardCommands, PastesOnlyThePlainTextOfWhatOthersPutThere)
{
    auto *rich = new QMimeData;
    rich->setHtml("<b style=\"color:#ff0000\">rich</b>");
    rich->setText("rich");
    system.setMimeData(rich);
    editor.SetText("[]");
    select(1, 0);
    Paste_Click(editor, clipboard);
    select(1, 4);
    EXPECT_EQ(std::tuple(editor.Text(), editor.SelBold()), std::tuple(QString("[rich]"), false));
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    system.setImage(picture);
    Paste_Click(editor, clipboard);
    EXPECT_EQ(editor.Text(), "[]") << "a picture alone pastes nothing";
}

} // namespace
