#include "tests/editing/editing_fixture.h"
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>

namespace {

struct Alignment
{
    const char *name;
    Command command;
    int code;
    char shown;
};

struct AlignmentCommand : EditorRowTest<Alignment>
{
    // One letter a paragraph: L, R or C.
    QString paragraphs() const
    {
        QString letters;
        for (QTextBlock b = editor.document()->begin(); b.isValid(); b = b.next()) {
            const Qt::Alignment a = b.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
            letters += a == Qt::AlignLeft ? 'L' : a == Qt::AlignRight ? 'R' : a == Qt::AlignHCenter ? 'C' : '?';
        }
        return letters;
    }
};

TEST_P(AlignmentCommand, SetsTheCaretsParagraphThenEveryParagraphTheSelectionTouches)
{
    editor.SetText("zero\none\ntwo\nthree");
    for (auto [position, code] : {std::pair{5, 1}, std::pair{9, 2}, std::pair{13, 1}}) {
        select(position, 0);
        editor.SetSelAlignment(code);
    }
    ASSERT_EQ(paragraphs(), "LRCR");
    const QString shown(GetParam().shown);
    select(6, 0);
    GetParam().command(editor);
    GetParam().command(editor);
    EXPECT_EQ(paragraphs(), "L" + shown + "CR") << "it never toggles";
    select(2, 8); // from inside "zero" into "two"
    GetParam().command(editor);
    EXPECT_EQ(paragraphs(), shown + shown + shown + "R");
    EXPECT_EQ(editor.SelAlignment(), GetParam().code);
    QTextBlockFormat rightToLeft;
    rightToLeft.setLayoutDirection(Qt::RightToLeft);
    QTextCursor(editor.document()->findBlockByNumber(1)).mergeBlockFormat(rightToLeft);
    select(6, 0);
    GetParam().command(editor);
    const Qt::Alignment seen = QStyle::visualAlignment(Qt::RightToLeft, editor.document()->findBlockByNumber(1).blockFormat().alignment());
    const Qt::Alignment side = shown == u"L" ? Qt::AlignLeft : shown == u"R" ? Qt::AlignRight : Qt::AlignHCenter;
    EXPECT_EQ(seen & (Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter), side) << "in a right-to-left paragraph too";
}

INSTANTIATE_TEST_SUITE_P(EachCode, AlignmentCommand,
                         ::testing::Values(Alignment{"LeftIsZero", LJustifiy_Click, 0, 'L'},
                                           Alignment{"CentreIsTwo", Center_Click, 2, 'C'},
                                           Alignment{"RightIsOne", RJustifiy_Click, 1, 'R'}),
                         byName);

} // namespace
