#pragma once
#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <QtGui/private/qfixed_p.h>

class QTextTable;
class QTextTableCell;
class QTextBlock;

// Rows [firstRow, endRow) of a long top-level table, copied into a document of their own with the
// row above and the row below as context, and laid out and drawn there by Qt's own layout at the
// main document's width. The context rows keep only their cells' formats, so the borders shared
// with them come out as in the whole table; the chunk draws only its own rows. A long table is
// then laid out a chunk at a time, each exactly as Qt lays out the whole.
class TableChunk
{
public:
    TableChunk(const QTextTable &table, int firstRow, int endRow);

    int firstRow() const { return firstRow_; }
    int endRow() const { return endRow_; }
    // From the top of what the chunk draws (the table's top for the first chunk, else the line
    // above its first row) to the top of the next chunk, or the table's bottom for the last one.
    qreal height() const { return bottom_ - top_; }
    // The whole table's width, borders and margins included.
    qreal tableWidth() const { return width_; }
    // The width of a document holding these rows, margins included: more than the page's where
    // the table, or a table in one of its cells, is wider.
    qreal documentWidth() const { return documentWidth_; }

    // Draws the chunk with its top at `top` of the main document; `context` is the main one's.
    void draw(QPainter *painter, qreal top, const QAbstractTextDocumentLayout::PaintContext &context) const;
    // A main document position for a point relative to the chunk's top, as Qt's layout answers.
    int hitTest(const QPointF &point, Qt::HitTestAccuracy accuracy) const;
    // The rectangle of the main document's paragraph at `position` (a cell's), relative to the
    // chunk's top.
    QRectF blockRect(int position) const;
    // Gives a main document paragraph in the chunk's rows the lines its copy has, placed within
    // its cell as the copy's are: the cursor and its movements read them.
    void layOut(const QTextBlock &block) const;
    // Whether a main document position falls in the chunk's own rows.
    bool holds(int position) const { return position >= ownStart() && position < ownEnd(); }

private:
    void copyRows(const QTextTable &table, int from, int to);
    QFixed contentTop(const QTextTableCell &cell) const;
    qreal lineBelowContextAbove() const;
    qreal lineAboveContextBelow() const;

    int firstRow_, endRow_;
    int contextAbove_; // 1 when the row above was copied too
    QTextDocument scratch_;
    QTextTable *copy_ = nullptr;
    // The own rows' main positions, asked each time: edits above the chunk move them.
    int ownStart() const;
    int ownEnd() const;
    int offset() const { return ownStart() - copyStart_; } // main position = copy's + offset()

    const QTextTable *table_;
    int copyStart_ = 0; // the copy's position of the own rows' start
    qreal top_ = 0, bottom_ = 0;    // in the copy's coordinates
    qreal width_ = 0;
    qreal documentWidth_ = 0;
};
