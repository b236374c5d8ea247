#include "editing/editing_commands.h"
#include "tests/editing/editing_fixture.h"
#include <QTextBlock>
#include <QTextDocument>

namespace {

struct Alignment
{
    const char *name;
    void (*command)(RichTextBox &);
    int code;
    Qt::Alignment shown;
};

void PrintTo(const Alignment &p, std::ostream *os) { *os << p.name; }

struct AlignmentCommand : EditorTest, ::testing::WithParamInterface<Alignment>
{
    Qt::Alignment shownOf(int paragraph) const
    {
        return editor.document()->findBlockByNumber(paragraph).blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    }
    // Four paragraphs aligned left, right, centre, right.
    void SetUp() override
    {
        editor.SetText("zero\none\ntwo\nthree");
        select(5, 0);
        editor.SetSelAlignment(1);
        select(9, 0);
        editor.SetSelAlignment(2);
        select(13, 0);
        editor.SetSelAlignment(1);
    }
};

TEST_P(AlignmentCommand, SetsEveryParagraphTheSelectionTouches)
{
    select(2, 8); // from inside "zero" into "two"
    GetParam().command(editor);
    EXPECT_EQ(editor.SelAlignment(), GetParam().code);
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(shownOf(p), GetParam().shown) << "paragraph " << p;
    EXPECT_EQ(shownOf(3), Qt::AlignRight) << "the paragraph after the selection stays";
}

TEST_P(AlignmentCommand, SetsTheCaretsParagraphAndNeverToggles)
{
    select(6, 0);
    GetParam().command(editor);
    GetParam().command(editor);
    EXPECT_EQ(shownOf(1), GetParam().shown);
    EXPECT_EQ(shownOf(0), Qt::AlignLeft);
    EXPECT_EQ(shownOf(2), Qt::AlignHCenter);
}

INSTANTIATE_TEST_SUITE_P(EachCode, AlignmentCommand,
                         ::testing::Values(Alignment{"LeftIsZero", LJustifiy_Click, 0, Qt::AlignLeft},
                                           Alignment{"CentreIsTwo", Center_Click, 2, Qt::AlignHCenter},
                                           Alignment{"RightIsOne", RJustifiy_Click, 1, Qt::AlignRight}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
