#include "editing/editing_commands.h"
#include "tests/editing/editing_fixture.h"
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTextDocument>
#include <vector>

namespace {

using Command = void (*)(RichTextBox &);

struct Colour
{
    const char *name;
    Command command;
    quint32 bgr;
    QColor shown;
};

void PrintTo(const Colour &p, std::ostream *os) { *os << p.name; }

struct ColourCommand : EditorTest, ::testing::WithParamInterface<Colour>
{
};

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
                         [](const auto &info) { return std::string(info.param.name); });

struct FixedSize
{
    const char *name;
    Command command;
    double points;
};

void PrintTo(const FixedSize &p, std::ostream *os) { *os << p.name; }

struct FixedSizeCommand : EditorTest, ::testing::WithParamInterface<FixedSize>
{
};

TEST_P(FixedSizeCommand, GivesAMixedSelectionItsOneSize)
{
    editor.SetText("one two");
    select(4, 3);
    editor.SetSelFontSize(31.5);
    select(0, 7);
    GetParam().command(editor);
    EXPECT_EQ(editor.SelFontSize(), GetParam().points);
}

INSTANTIATE_TEST_SUITE_P(EachSize, FixedSizeCommand,
                         ::testing::Values(FixedSize{"Smallest", Fsize8_Click, 8}, FixedSize{"Smaller", Fsize10_Click, 10},
                                           FixedSize{"Medium", Fsize15_Click, 15}, FixedSize{"Large", Fsize20_Click, 20},
                                           FixedSize{"Larger", Fsize25_Click, 25}),
                         [](const auto &info) { return std::string(info.param.name); });

struct Steps
{
    const char *name;
    double from;
    std::vector<Command> commands;
    double expected;
};

void PrintTo(const Steps &p, std::ostream *os) { *os << p.name; }

struct SizeSteps : EditorTest, ::testing::WithParamInterface<Steps>
{
};

TEST_P(SizeSteps, AddOrSubtractFivePoints)
{
    editor.SetText("sized");
    select(0, 5);
    editor.SetSelFontSize(GetParam().from);
    for (Command c : GetParam().commands)
        c(editor);
    EXPECT_EQ(editor.SelFontSize(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, SizeSteps,
    ::testing::Values(Steps{"SmallestThenLargerIs13", 30, {Fsize8_Click, larger_Click}, 13},
                      Steps{"LargerThenSmallerIs20", 9.75, {Fsize25_Click, smaller_Click}, 20},
                      Steps{"TwiceLargerFrom10Is20", 10, {larger_Click, larger_Click}, 20},
                      Steps{"SmallerFrom8Is3", 8, {smaller_Click}, 3},
                      Steps{"LargerFrom25Is30", 25, {larger_Click}, 30},
                      Steps{"FractionalStaysFractional", 10.5, {larger_Click}, 15.5},
                      Steps{"SmallerFrom5StopsAtOne", 5, {smaller_Click}, 1},
                      Steps{"SmallerFromOneStaysOne", 1, {smaller_Click, smaller_Click}, 1},
                      Steps{"OneThenLargerIs6", 7, {smaller_Click, smaller_Click, larger_Click}, 6}),
    [](const auto &info) { return std::string(info.param.name); });

using MixedSizes = EditorTest;

// "aaaa" at 8 points, "bbbb" at 20.
struct TwoSizes : EditorTest
{
    void SetUp() override
    {
        editor.SetText("aaaabbbb");
        select(0, 4);
        editor.SetSelFontSize(8);
        select(4, 4);
        editor.SetSelFontSize(20);
    }
};

TEST_F(TwoSizes, LargerStepsEachRunFromItsOwnSize)
{
    select(0, 8);
    larger_Click(editor);
    EXPECT_EQ(sizeAt(0), 13);
    EXPECT_EQ(sizeAt(3), 13);
    EXPECT_EQ(sizeAt(4), 25);
    EXPECT_EQ(sizeAt(7), 25);
    EXPECT_EQ(editor.SelStart(), 0);
    EXPECT_EQ(editor.SelLength(), 8);
    larger_Click(editor);
    EXPECT_EQ(sizeAt(0), 18);
    EXPECT_EQ(sizeAt(7), 30);
}

TEST_F(MixedSizes, SmallerStepsEachRunAndStopsAtOnePoint)
{
    editor.SetText("aaaabbbbcccc");
    select(0, 4);
    editor.SetSelFontSize(8);
    select(4, 4);
    editor.SetSelFontSize(20);
    select(8, 4);
    editor.SetSelFontSize(2.5);
    select(0, 12);
    smaller_Click(editor);
    EXPECT_EQ(sizeAt(0), 3);
    EXPECT_EQ(sizeAt(4), 15);
    EXPECT_EQ(sizeAt(8), 1);
}

TEST_F(TwoSizes, OnlyTheSelectedPartOfEachRunChanges)
{
    select(2, 4);
    larger_Click(editor);
    const double expected[] = {8, 8, 13, 13, 25, 25, 20, 20};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(sizeAt(i), expected[i]) << "character " << i;
}

TEST_F(TwoSizes, KeepsEachRunsOtherStylesAndUndoesInOneStep)
{
    select(0, 2);
    editor.SetSelBold(true);
    select(6, 2);
    editor.SetSelColor(0x0000FF);
    select(0, 8);
    larger_Click(editor);
    EXPECT_TRUE(formatAt(0).font().bold());
    EXPECT_FALSE(formatAt(2).font().bold());
    EXPECT_EQ(formatAt(7).foreground().color(), QColor(Qt::red));
    editor.document()->undo();
    EXPECT_EQ(sizeAt(0), 8);
    EXPECT_EQ(sizeAt(7), 20);
}

TEST_F(MixedSizes, AcrossParagraphsEachRunSteps)
{
    editor.SetText("ab\ncd");
    select(0, 2);
    editor.SetSelFontSize(8);
    select(3, 2);
    editor.SetSelFontSize(12);
    select(1, 3);
    larger_Click(editor);
    EXPECT_EQ(sizeAt(0), 8);
    EXPECT_EQ(sizeAt(1), 13);
    EXPECT_EQ(sizeAt(3), 17);
    EXPECT_EQ(sizeAt(4), 12);
}

TEST_F(MixedSizes, TextSizedInPixelsStepsFromItsSizeInPoints)
{
    auto *web = new QMimeData;
    web->setHtml("<span style=\"font-size:32px\">web</span>");
    QGuiApplication::clipboard()->setMimeData(web);
    editor.Paste();
    select(0, 3);
    larger_Click(editor);
    EXPECT_DOUBLE_EQ(sizeAt(1), 32 * 72.0 / editor.logicalDpiY() + 5);
}

using CaretSize = EditorTest;

TEST_F(CaretSize, StepsTheSizeOfTheNextTypedCharacters)
{
    editor.SetText("ab");
    select(0, 2);
    editor.SetSelFontSize(10);
    select(1, 0);
    larger_Click(editor);
    editor.SetSelText("x");
    EXPECT_EQ(sizeAt(0), 10);
    EXPECT_EQ(sizeAt(1), 15);
    EXPECT_EQ(sizeAt(2), 10);
}

} // namespace
