// Every formatting command over a selection of many runs and paragraphs: one change, one undo step,
// and reads that stay three-valued when formats repeat.
#include "tests/editing/editing_fixture.h"
#include <QSignalSpy>
#include <QTextBlock>
#include <functional>

namespace {

// Every character's format and every paragraph's alignment.
struct Snapshot
{
    std::vector<QTextCharFormat> characters;
    std::vector<Qt::Alignment> alignments;
    bool operator==(const Snapshot &) const = default;
};

Snapshot snapshotOf(const RichTextBox &editor)
{
    Snapshot s;
    for (QTextBlock b = editor.document()->begin(); b.isValid(); b = b.next()) {
        s.alignments.push_back(b.blockFormat().alignment());
        for (auto it = b.begin(); !it.atEnd(); ++it)
            s.characters.insert(s.characters.end(), size_t(it.fragment().length()), it.fragment().charFormat());
    }
    return s;
}

using Styling = std::function<void(RichTextBox &)>;

struct Piece
{
    QString text;
    Styling style;
};

// Writes the pieces one after another, each styled as it says.
void write(RichTextBox &editor, const std::vector<Piece> &pieces)
{
    QString all;
    for (const Piece &p : pieces)
        all += p.text;
    editor.SetText(all);
    int at = 0;
    for (const Piece &p : pieces) {
        editor.SetSelStart(at);
        editor.SetSelLength(int(p.text.size()));
        if (p.style)
            p.style(editor);
        at += int(p.text.size());
    }
}

void selectAll(RichTextBox &editor)
{
    editor.SetSelStart(0);
    editor.SetSelLength(editor.document()->characterCount());
}

const Styling plain;
const Styling boldRed = [](RichTextBox &e) { e.SetSelBold(true); e.SetSelColor(0x0000FF); };
const Styling boldBlue = [](RichTextBox &e) { e.SetSelBold(true); e.SetSelColor(0xFF0000); };

// Many runs in few formats over three paragraphs, one centred, sizes 10, 20 and pixels mixed.
void writeMixedDocument(RichTextBox &editor)
{
    write(editor, {{QStringLiteral("alpha "), [](RichTextBox &e) { e.SetSelStrikeThru(true); }},
                   {QStringLiteral("beta "), boldRed},
                   {QStringLiteral("gamma\n"), [](RichTextBox &e) { e.SetSelFontSize(20); }},
                   {QStringLiteral("delta "), [](RichTextBox &e) { e.SetSelItalic(true); }},
                   {QStringLiteral("beta "), boldRed},
                   {QStringLiteral("epsilon\n"), [](RichTextBox &e) { e.SetSelAlignment(2); }},
                   {QStringLiteral("zeta "), [](RichTextBox &e) { e.SetSelUnderline(true); }},
                   {QStringLiteral("eta"), [](RichTextBox &e) {
                        QTextCharFormat pixels;
                        pixels.setProperty(QTextFormat::FontPixelSize, 16);
                        e.mergeFormat(pixels);
                    }}});
}

struct MenuCommand
{
    const char *name;
    Command run;
};

using EveryCommand = EditorRowTest<MenuCommand>;

TEST_P(EveryCommand, ChangesTheWholeSelectionOnceAndUndoesAndRedoesInOneStep)
{
    writeMixedDocument(editor);
    selectAll(editor);
    const Snapshot before = snapshotOf(editor);
    QSignalSpy changes(&editor, &RichTextBox::Change);
    GetParam().run(editor);
    EXPECT_EQ(changes.count(), 1) << "Modified is set once";
    const Snapshot after = snapshotOf(editor);
    ASSERT_NE(after, before);
    editor.undo();
    EXPECT_EQ(snapshotOf(editor), before);
    editor.redo();
    EXPECT_EQ(snapshotOf(editor), after);
}

INSTANTIATE_TEST_SUITE_P(
    Menus, EveryCommand,
    ::testing::Values(MenuCommand{"Bold", Bold_Click}, MenuCommand{"Italic", Italic_Click},
                      MenuCommand{"Underlined", Underlined_Click}, MenuCommand{"Striketrough", Striketrough_Click},
                      MenuCommand{"Deformat", Deformat_Click}, MenuCommand{"Black", Black_Click},
                      MenuCommand{"Red", Red_Click}, MenuCommand{"Yellow", Yellow_Click},
                      MenuCommand{"Green", Green_Click}, MenuCommand{"Blue", Blue_Click},
                      MenuCommand{"Fsize8", Fsize8_Click}, MenuCommand{"Fsize10", Fsize10_Click},
                      MenuCommand{"Fsize15", Fsize15_Click}, MenuCommand{"Fsize20", Fsize20_Click},
                      MenuCommand{"Fsize25", Fsize25_Click}, MenuCommand{"larger", larger_Click},
                      MenuCommand{"smaller", smaller_Click}, MenuCommand{"LJustifiy", LJustifiy_Click},
                      MenuCommand{"Center", Center_Click}, MenuCommand{"RJustifiy", RJustifiy_Click}),
    byName);

TEST_F(EditorTest, RemoveFormattingTakesBoldAndItalicOffAndLeavesTheRest)
{
    writeMixedDocument(editor);
    selectAll(editor);
    Deformat_Click(editor);
    EXPECT_EQ(editor.SelBold(), false);
    EXPECT_EQ(editor.SelItalic(), false);
    EXPECT_EQ(editor.SelUnderline(), std::nullopt);
    EXPECT_EQ(editor.SelColor(), std::nullopt);
}

// The second toggle reads every run alike before it turns them all on.
TEST_F(EditorTest, BoldTwiceTurnsAMixedSelectionOffThenOn)
{
    writeMixedDocument(editor);
    selectAll(editor);
    Bold_Click(editor);
    EXPECT_EQ(editor.SelBold(), false);
    Bold_Click(editor);
    EXPECT_EQ(editor.SelBold(), true);
    editor.undo();
    EXPECT_EQ(editor.SelBold(), false);
}

struct Reading
{
    const char *name;
    std::vector<Piece> pieces;
    std::optional<bool> bold;
    std::optional<quint32> colour;
};

using RepeatedFormats = EditorRowTest<Reading>;

// Each format is read once however often it recurs; a different one anywhere still makes the read mixed.
TEST_P(RepeatedFormats, ReadThreeValued)
{
    write(editor, GetParam().pieces);
    selectAll(editor);
    EXPECT_EQ(editor.SelBold(), GetParam().bold);
    EXPECT_EQ(editor.SelColor(), GetParam().colour);
}

std::vector<Piece> alternating(int times, std::vector<Piece> tail = {})
{
    std::vector<Piece> pieces;
    for (int i = 0; i < times; ++i) {
        pieces.push_back({QStringLiteral("red "), boldRed});
        pieces.push_back({QStringLiteral("blue\n"), boldBlue});
    }
    pieces.insert(pieces.end(), tail.begin(), tail.end());
    return pieces;
}

INSTANTIATE_TEST_SUITE_P(
    Reads, RepeatedFormats,
    ::testing::Values(Reading{"TwoFormatsRecurring", alternating(6), true, std::nullopt},
                      Reading{"OneFormatRecurringOverParagraphs",
                              {{QStringLiteral("a\n"), boldRed}, {QStringLiteral("b\n"), boldRed}, {QStringLiteral("c"), boldRed}},
                              true, 0x0000FF},
                      Reading{"TheLastRunDiffers", alternating(6, {{QStringLiteral("plain"), plain}}), std::nullopt, std::nullopt},
                      Reading{"TheFirstRunDiffersThenFormatsRecur",
                              {{QStringLiteral("x "), plain}, {QStringLiteral("y "), boldRed}, {QStringLiteral("x "), plain},
                               {QStringLiteral("y"), boldRed}},
                              std::nullopt, std::nullopt}),
    byName);

TEST_F(EditorTest, SizeStepsEachRunAcrossParagraphsAndKeepsPixelRunsApart)
{
    write(editor, {{QStringLiteral("aa\n"), [](RichTextBox &e) { e.SetSelFontSize(10); }},
                   {QStringLiteral("bb"), [](RichTextBox &e) { e.SetSelFontSize(10); }},
                   {QStringLiteral("cc"), [](RichTextBox &e) {
                        QTextCharFormat pixels;
                        pixels.setProperty(QTextFormat::FontPixelSize, 16); // 12 points
                        e.mergeFormat(pixels);
                    }},
                   {QStringLiteral("dd"), [](RichTextBox &e) { e.SetSelFontSize(10); }},
                   {QStringLiteral("ee"), [](RichTextBox &e) { e.SetSelFontSize(20); }}});
    selectAll(editor);
    larger_Click(editor);
    EXPECT_EQ(sizes(), (std::vector<double>{15, 15, 15, 15, 17, 17, 15, 15, 25, 25}));
    EXPECT_FALSE(formatAt(4).hasProperty(QTextFormat::FontPixelSize));
    smaller_Click(editor);
    EXPECT_EQ(sizes(), (std::vector<double>{10, 10, 10, 10, 12, 12, 10, 10, 20, 20}));
}

} // namespace
