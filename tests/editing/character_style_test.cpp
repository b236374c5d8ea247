#include "editing/editing_commands.h"
#include "tests/editing/editing_fixture.h"

namespace {

struct Toggle
{
    const char *name;
    void (*command)(RichTextBox &);
    std::optional<bool> (RichTextBox::*read)() const;
    void (RichTextBox::*write)(bool);
};

void PrintTo(const Toggle &p, std::ostream *os) { *os << p.name; }

struct ToggleCommand : EditorTest, ::testing::WithParamInterface<Toggle>
{
    std::optional<bool> read() { return (editor.*GetParam().read)(); }
    void write(bool on) { (editor.*GetParam().write)(on); }
    void run() { GetParam().command(editor); }
    // Whether the one character at `position` has the style.
    bool styledAt(int position)
    {
        const int start = editor.SelStart(), length = editor.SelLength();
        select(position, 1);
        const bool on = read().value();
        select(start, length);
        return on;
    }
};

TEST_P(ToggleCommand, TurnsAStyledSelectionOffAndTouchesNothingElse)
{
    editor.SetText("abcdef");
    select(0, 6);
    write(true);
    select(2, 2);
    run();
    EXPECT_EQ(read(), false);
    EXPECT_TRUE(styledAt(1));
    EXPECT_TRUE(styledAt(4));
}

TEST_P(ToggleCommand, TurnsAnUnstyledSelectionOnThroughout)
{
    editor.SetText("abcdef");
    select(1, 4);
    run();
    EXPECT_EQ(read(), true);
    EXPECT_FALSE(styledAt(0));
    EXPECT_FALSE(styledAt(5));
}

TEST_P(ToggleCommand, TurnsAMixedSelectionOffThenOnThroughout)
{
    editor.SetText("abcdef");
    select(2, 2);
    write(true);
    select(0, 6);
    ASSERT_EQ(read(), std::nullopt);
    run();
    EXPECT_EQ(read(), false);
    run();
    EXPECT_EQ(read(), true);
}

TEST_P(ToggleCommand, AtTheCaretStylesTheNextTypedCharacters)
{
    editor.SetText("ab");
    select(1, 0);
    run();
    editor.SetSelText("x");
    EXPECT_EQ(editor.Text(), "axb");
    EXPECT_TRUE(styledAt(1));
    EXPECT_FALSE(styledAt(0));
    EXPECT_FALSE(styledAt(2));
    select(2, 0);
    run();
    editor.SetSelText("y");
    EXPECT_FALSE(styledAt(2)) << "a second use at the caret turns it off again";
}

INSTANTIATE_TEST_SUITE_P(
    EachStyle, ToggleCommand,
    ::testing::Values(Toggle{"Bold", Bold_Click, &RichTextBox::SelBold, &RichTextBox::SetSelBold},
                      Toggle{"Italic", Italic_Click, &RichTextBox::SelItalic, &RichTextBox::SetSelItalic},
                      Toggle{"Underlined", Underlined_Click, &RichTextBox::SelUnderline, &RichTextBox::SetSelUnderline},
                      Toggle{"Striketrough", Striketrough_Click, &RichTextBox::SelStrikeThru,
                             &RichTextBox::SetSelStrikeThru}),
    [](const auto &info) { return std::string(info.param.name); });

using RemoveFormatting = EditorTest;

TEST_F(RemoveFormatting, TakesBoldAndItalicButKeepsUnderlineColourAndSize)
{
    editor.SetText("styled");
    select(0, 6);
    editor.SetSelBold(true);
    editor.SetSelItalic(true);
    editor.SetSelUnderline(true);
    editor.SetSelColor(0x0000FF);
    editor.SetSelFontSize(15);
    Deformat_Click(editor);
    EXPECT_EQ(editor.SelBold(), false);
    EXPECT_EQ(editor.SelItalic(), false);
    EXPECT_EQ(editor.SelUnderline(), true);
    EXPECT_EQ(editor.SelColor(), 0x0000FFu);
    EXPECT_EQ(editor.SelFontSize(), 15.0);
}

TEST_F(RemoveFormatting, LeavesPlainAndMixedTextWithBoldAndItalicOff)
{
    editor.SetText("plain bold");
    select(6, 4);
    editor.SetSelBold(true);
    select(0, 10);
    Deformat_Click(editor);
    EXPECT_EQ(editor.SelBold(), false);
    EXPECT_EQ(editor.SelItalic(), false);
    Deformat_Click(editor);
    EXPECT_EQ(editor.SelBold(), false);
    EXPECT_EQ(editor.SelItalic(), false);
}

} // namespace
