// Jumps far into a long document before it is laid out: what is asked for is laid out where the
// guesses above put it, the rest follows in the background, a view keeps its place meanwhile,
// and once all is laid out everything stands where Qt's layout puts it.
#include "layout/editor_layout.h"
#include "layout/flow_heights.h"
#include "layout/flow_layout.h"
#include "editor/rich_text_box.h"
#include "rtf/rtf.h"
#include "tests/editor/long_table.h"
#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <set>

namespace {

// Random appends, measures, edits and truncations against a plain list of which are guesses.
TEST(FlowHeights, KeepsTrackOfWhichHeightsAreGuessesThroughEdits)
{
    FlowHeights heights;
    std::vector<bool> model;
    QRandomGenerator random(7);
    for (int step = 0; step < 3000; ++step) {
        const int size = int(model.size());
        const int choice = random.bounded(11);
        if (choice == 0 || size == 0) {
            const int count = random.bounded(1, 40);
            const bool guess = random.bounded(2) == 1;
            if (guess) {
                heights.appendGuesses(count, 5);
            } else {
                for (int i = 0; i < count; ++i)
                    heights.append(3);
            }
            model.insert(model.end(), std::size_t(count), guess);
        } else if (choice < 5) {
            const int at = random.bounded(size);
            heights.replace(at, 1, {4});
            model[std::size_t(at)] = false;
        } else if (choice < 9) {
            const int at = random.bounded(size), count = random.bounded(qMin(6, size - at) + 1);
            const std::vector<qint32> fresh(std::size_t(random.bounded(6)), 2);
            heights.replace(at, count, fresh);
            model.erase(model.begin() + at, model.begin() + at + count);
            model.insert(model.begin() + at, fresh.size(), false);
        } else if (choice == 10) {
            const int at = random.bounded(size), end = at + random.bounded(size - at + 1);
            heights.markGuessed(at, end);
            std::fill(model.begin() + at, model.begin() + end, true);
        } else {
            const int keep = random.bounded(size + 1);
            heights.truncate(keep);
            model.resize(std::size_t(keep));
        }
        ASSERT_EQ(heights.size(), int(model.size())) << "step " << step;
        bool any = false;
        for (int i = 0; i < heights.size(); ++i) {
            ASSERT_EQ(heights.guessed(i), bool(model[std::size_t(i)])) << "step " << step << ", height " << i;
            any = any || model[std::size_t(i)];
            if (heights.guessed(i) && (i == 0 || !heights.guessed(i - 1))) {
                int end = i;
                while (end < heights.size() && model[std::size_t(end)])
                    ++end;
                ASSERT_EQ(heights.guessRunEnd(i), end) << "step " << step;
            }
        }
        ASSERT_EQ(heights.hasGuesses(), any);
        if (any) {
            ASSERT_TRUE(model[std::size_t(heights.firstGuess())]);
        }
    }
}

// Paragraphs of one to five lines, as a long text has them.
void fillLong(QTextDocument &doc, int paragraphs)
{
    const QString text = QStringLiteral("Words that wrap at this width, some lines long and some short. ").repeated(5);
    QTextCursor c(&doc);
    for (int i = 0; i < paragraphs; ++i) {
        c.insertText(text.left(10 + (i * 37) % 300));
        if (i + 1 < paragraphs)
            c.insertBlock();
    }
}

int laidOutParagraphs(const QTextDocument &doc)
{
    int count = 0;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        count += b.layout()->lineCount() > 0 ? 1 : 0;
    return count;
}

void waitUntilLaidOut(const QTextDocument &doc)
{
    QElapsedTimer clock;
    clock.start();
    const auto *flow = static_cast<const FlowLayout *>(doc.documentLayout());
    while (!flow->finished() && clock.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_TRUE(flow->finished());
}

TEST(FlowLayout, AFarParagraphIsLaidOutAloneAndTheRestFollowsAsQtLaysItOut)
{
    QTextDocument doc;
    fillLong(doc, 20000);
    doc.setTextWidth(300);
    std::vector<std::pair<qreal, qreal>> moves;
    useEditorLayout(doc, [&](qreal below, qreal by) { moves.emplace_back(below, by); });
    QAbstractTextDocumentLayout *flow = doc.documentLayout();
    const QTextBlock last = doc.lastBlock();
    const QRectF guessed = flow->blockBoundingRect(last);
    EXPECT_GT(guessed.top(), 0);
    EXPECT_GT(last.layout()->lineCount(), 0);
    EXPECT_LT(laidOutParagraphs(doc), 1000) << "the paragraphs between were laid out";

    // A point in the guessed part lands in a paragraph laid out for it, at that paragraph.
    const QPointF point(50, guessed.top() / 2);
    const int hit = flow->hitTest(point, Qt::FuzzyHit);
    const QTextBlock hitBlock = doc.findBlock(hit);
    ASSERT_GT(hitBlock.layout()->lineCount(), 0);
    const QRectF hitRect = flow->blockBoundingRect(hitBlock);
    EXPECT_LE(hitRect.top(), point.y());
    EXPECT_GE(hitRect.bottom(), point.y() - 1);
    // So does a view drawn there: it lays out what it shows.
    const int before = laidOutParagraphs(doc);
    QImage view(300, 400, QImage::Format_RGB32);
    view.fill(Qt::white);
    {
        QPainter painter(&view);
        const qreal top = guessed.top() / 4;
        painter.translate(0, -top);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, top, 300, 400);
        flow->draw(&painter, context);
    }
    EXPECT_GT(laidOutParagraphs(doc), before + 3);
    int dark = 0;
    for (int y = 0; y < view.height(); ++y)
        for (int x = 0; x < view.width(); ++x)
            dark += qGray(view.pixel(x, y)) < 128 ? 1 : 0;
    EXPECT_GT(dark, 500) << "text was drawn";
    const qreal shown = flow->blockBoundingRect(last).top(); // moved by what the hit and the view laid out


    waitUntilLaidOut(doc);
    const QRectF exact = flow->blockBoundingRect(last);
    qreal movedAbove = 0;
    for (const auto &[below, by] : moves)
        if (below <= exact.top())
            movedAbove += by;
    EXPECT_NEAR(movedAbove, exact.top() - shown, 0.05) << "the moves told add up to where it went";

    std::unique_ptr<QTextDocument> fresh(doc.clone());
    fresh->setTextWidth(300);
    QAbstractTextDocumentLayout *qt = fresh->documentLayout();
    for (int n : {0, 5000, 12345, 19999})
        EXPECT_EQ(flow->blockBoundingRect(doc.findBlockByNumber(n)), qt->blockBoundingRect(fresh->findBlockByNumber(n)))
            << "paragraph " << n;
    EXPECT_EQ(flow->documentSize(), qt->documentSize());
}

// A long table's chunks are guessed at and laid out as whole chunks, cells merged down and tables
// nested in cells included.
TEST(FlowLayout, AJumpToTheEndOfALongTableEndsAsQtLaysItOut)
{
    QTextDocument quick, reference;
    const QByteArray rtf = longtable::rtf("before\\par ", 1400, "after\\par ", true, true);
    for (QTextDocument *doc : {&quick, &reference}) {
        ASSERT_TRUE(rtf::read(rtf, *doc));
        doc->setTextWidth(520);
    }
    useEditorLayout(quick);
    ASSERT_TRUE(laysOutAsOneFlow(quick));
    QAbstractTextDocumentLayout *flow = quick.documentLayout();
    const QTextBlock inLastRows = quick.findBlockByNumber(quick.blockCount() - 20);
    EXPECT_FALSE(flow->blockBoundingRect(inLastRows).isEmpty());
    EXPECT_FALSE(static_cast<FlowLayout *>(flow)->finished());
    EXPECT_GE(flow->hitTest(QPointF(100, flow->documentSize().height() / 2), Qt::FuzzyHit), 0);
    static_cast<FlowLayout *>(flow)->layOutAll();
    for (QTextBlock a = quick.begin(), b = reference.begin(); a.isValid(); a = a.next(), b = b.next())
        ASSERT_EQ(flow->blockBoundingRect(a), reference.documentLayout()->blockBoundingRect(b))
            << "paragraph " << a.blockNumber();
    EXPECT_EQ(flow->documentSize(), reference.documentLayout()->documentSize());
}

// A shown editor with a long text just put in, nothing below its first page laid out yet.
void showLongText(RichTextBox &box)
{
    box.resize(500, 300);
    box.show();
    QTextDocument text;
    fillLong(text, 20000);
    box.document()->setPlainText(text.toPlainText());
    box.moveCursor(QTextCursor::Start);
}

// A selection over paragraphs asks for the flow's edges on every change; the rest of a long
// document is not laid out for that.
TEST(FlowLayout, SelectingAcrossParagraphsLeavesTheRestToTheBackground)
{
    RichTextBox box;
    showLongText(box);
    QTest::keyClick(&box, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&box, Qt::Key_Down, Qt::ShiftModifier);
    box.viewport()->repaint();
    EXPECT_TRUE(box.textCursor().hasSelection());
    EXPECT_FALSE(static_cast<const FlowLayout *>(box.document()->documentLayout())->finished());
}

// Ctrl+End in a long document shows its end at once, and the end stays where it is shown while
// the paragraphs above it are laid out.
TEST(FlowLayout, TheViewKeepsItsPlaceWhileWhatIsAboveIsLaidOut)
{
    RichTextBox box;
    showLongText(box);
    ASSERT_TRUE(laysOutAsOneFlow(*box.document()));
    QTest::keyClick(box.viewport(), Qt::Key_End, Qt::ControlModifier);
    const QRect shown = box.cursorRect();
    const QScrollBar *bar = box.verticalScrollBar();
    const int fromEnd = bar->maximum() - bar->value();
    EXPECT_TRUE(box.viewport()->rect().contains(shown.center()));
    EXPECT_FALSE(static_cast<const FlowLayout *>(box.document()->documentLayout())->finished());
    waitUntilLaidOut(*box.document());
    EXPECT_NEAR(box.cursorRect().top(), shown.top(), 1);
    EXPECT_NEAR(bar->maximum() - bar->value(), fromEnd, 1) << "still as far from the end";
}

// A format over the whole document, its undo and its redo keep the view where it is while the
// layout measures every paragraph again.
TEST(FlowLayout, AWholeDocumentFormatItsUndoAndRedoKeepTheViewStill)
{
    RichTextBox box;
    showLongText(box);
    waitUntilLaidOut(*box.document());
    QScrollBar *bar = box.verticalScrollBar();
    bar->setValue(bar->maximum() / 2);
    box.selectAll();
    const auto *flow = static_cast<const FlowLayout *>(box.document()->documentLayout());
    const std::pair<const char *, std::function<void()>> steps[] = {
        {"centre", [&box] { box.SetSelAlignment(2); }},
        {"undo", [&box] { QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier); }},
        {"redo", [&box] { QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); }},
    };
    for (const auto &[name, step] : steps) {
        const int before = bar->value();
        step();
        std::set<int> seen{bar->value()};
        QElapsedTimer clock;
        clock.start();
        while (!flow->finished() && clock.elapsed() < 60000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            box.viewport()->repaint();
            seen.insert(bar->value());
        }
        EXPECT_EQ(seen, std::set<int>{before}) << name;
    }
}

} // namespace
