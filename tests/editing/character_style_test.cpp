#include "tests/editing/editing_fixture.h"

namespace {

struct Toggle
{
    const char *name;
    Command command;
    std::optional<bool> (RichTextBox::*read)() const;
};

struct ToggleCommand : EditorRowTest<Toggle>
{
    // '*' for each character with the style, '.' for each without.
    QString styled()
    {
        QString shown;
        for (int i = 0; i < editor.Text().size(); ++i) {
            select(i, 1);
            shown += (editor.*GetParam().read)().value() ? '*' : '.';
        }
        return shown;
    }
};

TEST_P(ToggleCommand, TurnsSelectionsAndTheCaretsFormatOnAndOff)
{
    editor.SetText("abcdef");
    // Where it is used, what is then typed, and every character's style after.
    const std::tuple<int, int, QString, QString> steps[] = {
        {1, 4, "", ".****."},   // off gives on, and nothing around changes
        {2, 2, "", ".*..*."},   // on gives off
        {0, 6, "", "......"},   // mixed gives off throughout
        {0, 6, "", "******"},   // and then on throughout
        {3, 0, "x", "***.***"}, // at the caret it is the next typed characters that change
        {4, 0, "y", "***.****"}};
    for (const auto &[start, length, typed, expected] : steps) {
        select(start, length);
        GetParam().command(editor);
        if (!typed.isEmpty())
            editor.SetSelText(typed);
        EXPECT_EQ(styled(), expected) << "used on " << start << "+" << length;
    }
    EXPECT_EQ(editor.Text(), "abcxydef");
}

INSTANTIATE_TEST_SUITE_P(EachStyle, ToggleCommand,
                         ::testing::Values(Toggle{"Bold", Bold_Click, &RichTextBox::SelBold},
                                           Toggle{"Italic", Italic_Click, &RichTextBox::SelItalic},
                                           Toggle{"Underlined", Underlined_Click, &RichTextBox::SelUnderline},
                                           Toggle{"Striketrough", Striketrough_Click, &RichTextBox::SelStrikeThru}),
                         byName);

using RemoveFormatting = EditorTest;

TEST_F(RemoveFormatting, TakesBoldAndItalicEvenFromMixedTextAndKeepsTheRest)
{
    editor.SetText("plain styled");
    select(6, 6);
    editor.SetSelBold(true);
    editor.SetSelItalic(true);
    editor.SetSelUnderline(true);
    editor.SetSelColor(0x0000FF);
    editor.SetSelFontSize(15);
    select(0, 12);
    Deformat_Click(editor);
    Deformat_Click(editor); // no toggle: still off
    EXPECT_EQ(std::tuple(editor.SelBold(), editor.SelItalic()), std::tuple(false, false));
    select(6, 6);
    EXPECT_EQ(std::tuple(editor.SelUnderline(), editor.SelColor(), editor.SelFontSize()),
              std::tuple(true, 0x0000FFu, 15.0));
}

} // namespace
