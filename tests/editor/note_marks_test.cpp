// Notes' and comments' marks in the editor: what each shows, the tip over it, and that text typed
// or pasted beside a mark, a list's label, a field or hidden text is text of its own.
#include "layout/note_marks.h"
#include "editor/rich_text_box.h"
#include "model/text_properties.h"
#include "rtf/rtf.h"
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>
#include <QTextBlock>
#include <QTextCursor>
#include <gtest/gtest.h>

namespace {

const QByteArray Document =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard {\\v lead }One{\\super\\chftn}{\\footnote \\pard First note.}"
    " two{\\super\\chftn}{\\footnote \\pard Second note.} end{\\super\\chftn}{\\footnote\\ftnalt \\pard At the end.}"
    " say{\\*\\atnid JW}{\\*\\atnauthor Jane}\\chatn{\\*\\annotation \\pard Why?}\\par"
    "{\\listtext 1.\\tab}\\pard\\ls1 Item {\\field{\\*\\fldinst PAGE}{\\fldrslt 3}} tail{\\v  kept}\\par}";

struct Marks : ::testing::Test
{
    RichTextBox box;
    void SetUp() override { ASSERT_TRUE(rtf::read(Document, *box.document())); }
    int markAfter(const QString &word) const { return int(box.Text().indexOf(word)) + int(word.size()); }
    QTextCharFormat formatTypedAt(int position)
    {
        box.SetSelStart(position);
        box.SetSelLength(0);
        QTest::keyClicks(&box, QStringLiteral("x"));
        QTextCursor c(box.document());
        c.setPosition(position + 1);
        return c.charFormat();
    }
};

TEST_F(Marks, ShowTheirNumberOrInitialsAndRenumberWhenOneGoes)
{
    const QTextDocument &doc = *box.document();
    EXPECT_EQ(NoteMarks::label(doc, markAfter("One")), "1");
    EXPECT_EQ(NoteMarks::label(doc, markAfter("two")), "2");
    EXPECT_EQ(NoteMarks::label(doc, markAfter("end")), "i");
    EXPECT_EQ(NoteMarks::label(doc, markAfter("say")), "JW");
    EXPECT_EQ(NoteMarks::label(doc, 0), "");
    EXPECT_EQ(NoteMarks::noteText(doc, markAfter("two")), "Second note.");
    EXPECT_EQ(NoteMarks::noteText(doc, markAfter("say")), "Jane: Why?");
    box.SetSelStart(markAfter("One"));
    box.SetSelLength(1);
    box.SetSelText(QString());
    EXPECT_EQ(NoteMarks::label(doc, markAfter("two")), "1");
    EXPECT_FALSE(rtf::write(doc).contains("First note."));
}

TEST_F(Marks, CopiedTextLeavesMarksOutAndBringsTheirNotesWhenPastedHere)
{
    box.SetSelStart(0);
    box.SetSelLength(markAfter("two") + 1);
    const QString copied = box.CopySelection();
    EXPECT_EQ(copied, "One two");
    EXPECT_EQ(box.SelText(), copied);
    box.SetSelStart(int(box.Text().size()));
    box.SetSelLength(0);
    box.SetSelText(copied);
    const auto written = [this] { return rtf::write(*box.document()).replace('\n', QByteArray()); };
    EXPECT_EQ(written().count("First note."), 2) << written().toStdString();
    EXPECT_EQ(written().count("Second note."), 2);
    box.SetSelText(QStringLiteral("other text"));
    EXPECT_EQ(written().count("First note."), 2);
}

TEST_F(Marks, RestingThePointerOnAMarkShowsItsNote)
{
    box.resize(600, 300);
    box.show();
    QTextCursor at(box.document());
    at.setPosition(markAfter("two"));
    box.setTextCursor(at);
    const QPoint mark = box.cursorRect().center() + QPoint(2, 0);
    QHelpEvent tip(QEvent::ToolTip, mark, box.viewport()->mapToGlobal(mark));
    QCoreApplication::sendEvent(box.viewport(), &tip);
    EXPECT_EQ(QToolTip::text(), "Second note.");
    QHelpEvent away(QEvent::ToolTip, QPoint(590, 290), box.viewport()->mapToGlobal(QPoint(590, 290)));
    QCoreApplication::sendEvent(box.viewport(), &away);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
}

TEST_F(Marks, TextTypedBesideAMarkALabelOrAFieldIsTextOfItsOwn)
{
    for (const QString &after : {QStringLiteral("One"), QStringLiteral("1.\t"), QStringLiteral("Item 3"), QString(),
                                 QStringLiteral("tail")}) {
        const int at = markAfter(after) + (after == u"One" ? 1 : 0);
        const QTextCharFormat typed = formatTypedAt(at);
        EXPECT_NE(typed.objectType(), model::NoteMarkObject) << after.toStdString();
        for (int property : {model::NoteIdProperty, model::ListLabelProperty, model::FieldNumberProperty,
                             model::HiddenBeforeProperty, model::HiddenAfterProperty})
            EXPECT_FALSE(typed.hasProperty(property)) << after.toStdString() << " " << property;
    }
    const QByteArray written = rtf::write(*box.document());
    EXPECT_EQ(written.count("\\footnote"), 3);
    EXPECT_EQ(written.count("\\v lead }"), 1) << "hidden text is written once, typed beside or not";
    EXPECT_EQ(written.count("\\v  kept}"), 1);
    const qsizetype label = written.indexOf("{\\listtext{");
    EXPECT_LT(label, written.indexOf("1.\\tab }}")) << written.toStdString();
    EXPECT_GE(label, 0);
}

} // namespace
