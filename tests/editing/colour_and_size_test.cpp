#include "tests/editing/editing_fixture.h"

namespace {

struct Colour
{
    const char *name;
    Command command;
    quint32 bgr;
    QColor shown;
};

using ColourCommand = EditorRowTest<Colour>;

TEST_P(ColourCommand, WritesItsValueOverAMixedSelection)
{
    editor.SetText("one two");
    select(0, 3);
    editor.SetSelColor(0x123456);
    select(0, 7);
    ASSERT_EQ(editor.SelColor(), std::nullopt);
    GetParam().command(editor);
    EXPECT_EQ(editor.SelColor(), GetParam().bgr);
    EXPECT_EQ(formatAt(0).foreground().color(), GetParam().shown) << "red sits in the low byte";
    EXPECT_EQ(formatAt(6).foreground().color(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(EachColour, ColourCommand,
                         ::testing::Values(Colour{"Black", Black_Click, 0x000000, QColor(0, 0, 0)},
                                           Colour{"Red", Red_Click, 0x0000FF, QColor(255, 0, 0)},
                                           Colour{"Yellow", Yellow_Click, 0x00FFFF, QColor(255, 255, 0)},
                                           Colour{"Green", Green_Click, 0x00FF00, QColor(0, 255, 0)},
                                           Colour{"Blue", Blue_Click, 0xFF0000, QColor(0, 0, 255)}),
                         byName);

using Sizes = std::vector<double>;

// Stretches of {characters, points} spelled out one size a character.
Sizes runs(std::initializer_list<std::pair<int, double>> stretches)
{
    Sizes points;
    for (auto [count, size] : stretches)
        points.insert(points.end(), std::size_t(count), size);
    return points;
}

struct Sizing
{
    const char *name;
    QString text;
    Sizes before;
    int from, length;
    std::vector<Command> commands;
    Sizes after;
};

using SizeCommands = EditorRowTest<Sizing>;

TEST_P(SizeCommands, SetOrStepEachSelectedRunAndKeepTheSelection)
{
    setSizes(GetParam().text, GetParam().before);
    select(GetParam().from, GetParam().length);
    for (Command c : GetParam().commands)
        c(editor);
    EXPECT_EQ(sizes(), GetParam().after);
    EXPECT_EQ(std::tuple(editor.SelStart(), editor.SelLength()), std::tuple(GetParam().from, GetParam().length));
}

// The whole of "sized" at one size.
Sizing uniform(const char *name, double from, std::vector<Command> commands, double after)
{
    return {name, "sized", runs({{5, from}}), 0, 5, std::move(commands), runs({{5, after}})};
}

// All of "one two", with "two" at another size than the rest.
Sizing fixed(const char *name, Command command, double after)
{
    return {name, "one two", runs({{4, 0}, {3, 31.5}}), 0, 7, {command}, runs({{7, after}})};
}

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, SizeCommands,
    ::testing::Values(
        fixed("SmallestOverMixedSizesIs8", Fsize8_Click, 8), fixed("SmallerOverMixedSizesIs10", Fsize10_Click, 10),
        fixed("MediumOverMixedSizesIs15", Fsize15_Click, 15), fixed("LargeOverMixedSizesIs20", Fsize20_Click, 20),
        fixed("LargerOverMixedSizesIs25", Fsize25_Click, 25),
        uniform("SmallestThenLargerIs13", 30, {Fsize8_Click, larger_Click}, 13),
        uniform("LargerThenSmallerIs20", 9.75, {Fsize25_Click, smaller_Click}, 20),
        uniform("TwiceLargerFrom10Is20", 10, {larger_Click, larger_Click}, 20),
        uniform("SmallerFrom8Is3", 8, {smaller_Click}, 3), uniform("LargerFrom25Is30", 25, {larger_Click}, 30),
        uniform("FractionalStaysFractional", 10.5, {larger_Click}, 15.5),
        uniform("SmallerFrom5StopsAtOne", 5, {smaller_Click}, 1),
        uniform("SmallerFromOneStaysOne", 1, {smaller_Click, smaller_Click}, 1),
        uniform("OneThenLargerIs6", 7, {smaller_Click, smaller_Click, larger_Click}, 6),
        Sizing{"LargerStepsEachRunFromItsOwnSize", "aaaabbbb", runs({{4, 8}, {4, 20}}), 0, 8, {larger_Click},
               runs({{4, 13}, {4, 25}})},
        Sizing{"LargerTwiceStepsEachRunTwice", "aaaabbbb", runs({{4, 8}, {4, 20}}), 0, 8,
               {larger_Click, larger_Click}, runs({{4, 18}, {4, 30}})},
        Sizing{"SmallerStepsEachRunAndStopsAtOnePoint", "aaaabbbbcccc", runs({{4, 8}, {4, 20}, {4, 2.5}}), 0, 12,
               {smaller_Click}, runs({{4, 3}, {4, 15}, {4, 1}})},
        Sizing{"OnlyTheSelectedPartOfEachRunChanges", "aaaabbbb", runs({{4, 8}, {4, 20}}), 2, 4, {larger_Click},
               runs({{2, 8}, {2, 13}, {2, 25}, {2, 20}})},
        Sizing{"AcrossParagraphsEachRunSteps", "ab\ncd", runs({{2, 8}, {2, 12}}), 1, 3, {larger_Click},
               {8, 13, 17, 12}}),
    byName);

using MixedSizes = EditorTest;

TEST_F(MixedSizes, KeepEachRunsOtherStylesAndUndoInOneStep)
{
    setSizes("aaaabbbb", runs({{4, 8}, {4, 20}}));
    select(0, 2);
    editor.SetSelBold(true);
    select(6, 2);
    editor.SetSelColor(0x0000FF);
    select(0, 8);
    larger_Click(editor);
    EXPECT_EQ(std::tuple(formatAt(0).font().bold(), formatAt(2).font().bold()), std::tuple(true, false));
    EXPECT_EQ(formatAt(7).foreground().color(), QColor(Qt::red));
    editor.document()->undo();
    EXPECT_EQ(sizes(), runs({{4, 8}, {4, 20}}));
}

TEST_F(MixedSizes, TextSizedInPixelsStepsFromItsSizeInPoints)
{
    auto *web = new QMimeData;
    web->setHtml("<span style=\"font-size:32px\">web</span>");
    system.setMimeData(web);
    editor.Paste();
    select(0, 3);
    larger_Click(editor);
    EXPECT_DOUBLE_EQ(sizes().at(1), 32 * 72.0 / editor.logicalDpiY() + 5);
}

TEST_F(MixedSizes, AtTheCaretStepsTheSizeOfTheNextTypedCharacters)
{
    setSizes("ab", {10, 10});
    select(1, 0);
    larger_Click(editor);
    editor.SetSelText("x");
    EXPECT_EQ(sizes(), Sizes({10, 15, 10}));
}

} // namespace
