// A long table drawn in chunks must be the table Qt's layout draws whole: the same pixels, the
// same paragraph rectangles, the same answers to where a point falls.
#include "layout/table_chunk.h"
#include "tests/editor/long_table.h"
#include "tests/editor/pixel_rows.h"
#include "rtf/rtf.h"
#include <QImage>
#include <QtGui/private/qfixed_p.h>
#include <QPainter>
#include <QTextBlock>
#include <QTextFrame>
#include <QTextTable>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

constexpr int Rows = 150;
constexpr int Width = 520;

struct LongTable : ::testing::Test
{
    QTextDocument document;
    QTextTable *table = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(rtf::read(longtable::rtf("before\\par ", Rows, "after\\par "), document));
        document.setTextWidth(Width);
        table = qobject_cast<QTextTable *>(document.rootFrame()->childFrames().value(0));
        ASSERT_TRUE(table);
    }

    // Chunks of `size` rows, and where each one's top falls in the whole table as Qt lays it out.
    std::vector<std::pair<std::unique_ptr<TableChunk>, qreal>> chunks(int size) const
    {
        std::vector<std::pair<std::unique_ptr<TableChunk>, qreal>> out;
        qreal top = tableTop();
        for (int first = 0; first < Rows; first += size) {
            auto chunk = std::make_unique<TableChunk>(*table, first, qMin(Rows, first + size));
            const qreal height = chunk->height();
            out.emplace_back(std::move(chunk), top);
            top += height;
        }
        return out;
    }

    // Where Qt's layout of the whole puts the table's top, from where it puts the first cell's text.
    qreal tableTop() const
    {
        const TableChunk first(*table, 0, 1);
        const QTextBlock cell = table->cellAt(0, 0).firstCursorPosition().block();
        const qreal top = document.documentLayout()->blockBoundingRect(cell).top() - first.blockRect(cell.position()).top();
        return QFixed::fromReal(top).toReal(); // layouts place things in 1/64 pixel steps
    }

    QImage drawn(const std::function<void(QPainter &, const QAbstractTextDocumentLayout::PaintContext &)> &draw) const
    {
        QImage image(Width, int(document.documentLayout()->documentSize().height()) + 1, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setClipRect(image.rect()); // as the editor paints, within what needs it
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = image.rect();
        context.cursorPosition = table->cellAt(9, 1).firstPosition() + 3;
        QTextCursor selected(const_cast<QTextDocument *>(&document));
        selected.setPosition(table->cellAt(70, 0).firstPosition() + 2);
        selected.setPosition(table->cellAt(70, 0).firstPosition() + 9, QTextCursor::KeepAnchor);
        context.selections.append({selected, QTextCharFormat()});
        context.selections.last().format.setBackground(Qt::darkBlue);
        context.selections.last().format.setForeground(Qt::white);
        draw(painter, context);
        return image;
    }
};

// Where the table ends as its chunks of `size` rows see it.
qreal bottomOf(const std::vector<std::pair<std::unique_ptr<TableChunk>, qreal>> &chunks)
{
    return chunks.back().second + chunks.back().first->height();
}

TEST_F(LongTable, ChunksOfAnySizeEndTheTableAtTheSamePlace)
{
    const qreal whole = bottomOf(chunks(Rows));
    const QTextBlock lastCell = table->cellAt(Rows - 1, 1).firstCursorPosition().block();
    EXPECT_GT(whole, document.documentLayout()->blockBoundingRect(lastCell).bottom());
    EXPECT_LT(whole, document.documentLayout()->blockBoundingRect(document.lastBlock().previous()).top())
        << "the table's end is above the paragraph after it";
    for (int size : {1, 7, 64})
        EXPECT_DOUBLE_EQ(bottomOf(chunks(size)), whole) << size;
}

TEST_F(LongTable, ChunksDrawTheTableAsQtDrawsItWhole)
{
    const qreal top = tableTop();
    const qreal bottom = bottomOf(chunks(Rows));
    const QImage whole = drawn([&](QPainter &p, const auto &context) { document.documentLayout()->draw(&p, context); });
    for (int size : {1, 7, 64}) {
        const auto pieces = chunks(size);
        const QImage chunked = drawn([&](QPainter &p, const auto &context) {
            for (const auto &[chunk, top] : pieces)
                chunk->draw(&p, top, context);
        });
        EXPECT_EQ(visiblyDifferentRows(whole, chunked, int(top), int(bottom)), 0)
            << "pixel rows differ with chunks of " << size;
    }
}

TEST_F(LongTable, ChunksPlaceParagraphsAndPointsAsQtDoes)
{
    const QAbstractTextDocumentLayout *qt = document.documentLayout();
    for (const auto &[chunk, top] : chunks(16)) {
        for (int row = chunk->firstRow(); row < chunk->endRow(); ++row) {
            for (int column = 0; column < 2; ++column) {
                const QTextBlock block = table->cellAt(row, column).firstCursorPosition().block();
                EXPECT_EQ(chunk->blockRect(block.position()).translated(0, top), qt->blockBoundingRect(block))
                    << row << "," << column;
            }
        }
        for (qreal y = top + 1; y < top + chunk->height() - 1; y += 3.5)
            for (qreal x : {60.0, 170.0, 200.0, 300.0, 400.0})
                EXPECT_EQ(chunk->hitTest(QPointF(x, y - top), Qt::FuzzyHit), qt->hitTest(QPointF(x, y), Qt::FuzzyHit))
                    << x << "," << y;
    }
}

} // namespace
