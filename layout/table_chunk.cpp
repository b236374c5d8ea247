#include "layout/table_chunk.h"
#include "layout/paragraph_lines.h"
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTextFrame>
#include <QTextTable>
#include <QtGui/private/qfixed_p.h>
#include <cmath>

namespace {

const QTextFormat::Property Borders[][2] = {
    {QTextFormat::TableCellTopBorder, QTextFormat::TableCellTopBorderStyle},
    {QTextFormat::TableCellBottomBorder, QTextFormat::TableCellBottomBorderStyle},
};
enum Edge { Top, Bottom };

// A cell edge's own border width, as collapsed borders count it: a style with no width is 3.
qreal borderOf(const QTextTableCell &cell, Edge edge)
{
    if (!cell.isValid())
        return 0;
    const QTextCharFormat format = cell.format();
    if (!format.hasProperty(Borders[edge][1]))
        return 0;
    return format.hasProperty(Borders[edge][0]) ? format.doubleProperty(Borders[edge][0]) : 3;
}

// The cell across `edge`, at the cell's own first column.
QTextTableCell neighbour(const QTextTable &table, const QTextTableCell &cell, Edge edge)
{
    if (!cell.isValid())
        return {};
    const int row = edge == Top ? cell.row() - 1 : cell.row() + cell.rowSpan();
    return row < 0 || row >= table.rows() ? QTextTableCell() : table.cellAt(row, cell.column());
}

// The room between a cell's edge and its text: its padding and half the wider of the two borders
// the edge is shared between.
QFixed paddingAt(const QTextTable &table, const QTextTableCell &cell, Edge edge)
{
    const QVariant own = cell.format().property(edge == Top ? QTextFormat::TableCellTopPadding
                                                            : QTextFormat::TableCellBottomPadding);
    const qreal padding = own.isNull() ? table.format().cellPadding() : own.toReal();
    const Edge across = edge == Top ? Bottom : Top;
    const QTextTableCell other = neighbour(table, cell, edge);
    qreal border = qMax(borderOf(cell, edge), borderOf(other, across));
    // Where the cell across starts in another column, the cell beside this one under (or over) it
    // has its say too, as collapsed edges are worked out.
    if (other.isValid() && other.column() != cell.column())
        border = qMax(border, borderOf(neighbour(table, other, across), edge));
    return QFixed::fromReal(padding) + QFixed::fromReal(border / 2);
}

// Context rows keep their cells' borders and nothing else, and sit at the top of their cells, so
// their height is known from their empty paragraphs.
QTextCharFormat contextFormat(const QTextCharFormat &format)
{
    QTextCharFormat context = format;
    context.setVerticalAlignment(QTextCharFormat::AlignTop);
    return context;
}

void copyTable(const QTextTable &from, QTextCursor &cursor, QTextDocument &scratch, const QTextDocument &main);

void copyFragments(const QTextBlock &block, QTextCursor &cursor, QTextDocument &scratch, const QTextDocument &main)
{
    for (auto f = block.begin(); !f.atEnd(); ++f) {
        const QTextCharFormat chars = f.fragment().charFormat();
        if (chars.isImageFormat()) {
            const QString name = chars.toImageFormat().name();
            if (!scratch.resource(QTextDocument::ImageResource, QUrl(name)).isValid())
                scratch.addResource(QTextDocument::ImageResource, QUrl(name),
                                    main.resource(QTextDocument::ImageResource, QUrl(name)));
            for (int i = 0; i < f.fragment().length(); ++i)
                cursor.insertImage(chars.toImageFormat());
        } else {
            cursor.insertText(f.fragment().text(), chars);
        }
    }
}

// A cell's paragraphs and the tables nested in it, character for character as in the main
// document, so a position maps from one to the other by a constant offset.
void copyContent(const QTextTableCell &from, const QTextTableCell &to, QTextDocument &scratch,
                 const QTextDocument &main)
{
    QTextCursor cursor = to.firstCursorPosition();
    bool fresh = true; // the cursor stands in a paragraph of its own: the cell's first, or one after a table
    for (QTextFrame::iterator it = from.begin(); !it.atEnd(); ++it) {
        if (const auto *table = qobject_cast<const QTextTable *>(it.currentFrame())) {
            copyTable(*table, cursor, scratch, main);
            fresh = true;
            continue;
        }
        const QTextBlock block = it.currentBlock();
        if (!block.isValid())
            continue;
        if (fresh) {
            cursor.setBlockFormat(block.blockFormat());
            cursor.setBlockCharFormat(block.charFormat());
        } else {
            cursor.insertBlock(block.blockFormat(), block.charFormat());
        }
        fresh = false;
        copyFragments(block, cursor, scratch, main);
    }
}

// Merges a table's copy as the table is merged: each cell at the grid place where it starts.
void copyMerges(const QTextTable &from, QTextTable &to)
{
    for (int row = 0; row < from.rows(); ++row)
        for (int column = 0; column < from.columns(); ++column) {
            const QTextTableCell cell = from.cellAt(row, column);
            if (cell.row() == row && cell.column() == column && (cell.rowSpan() > 1 || cell.columnSpan() > 1))
                to.mergeCells(row, column, cell.rowSpan(), cell.columnSpan());
        }
}

// A table nested in a cell, copied whole at the cursor, which is left just after it.
void copyTable(const QTextTable &from, QTextCursor &cursor, QTextDocument &scratch, const QTextDocument &main)
{
    QTextTable *copy = cursor.insertTable(from.rows(), from.columns(), from.format());
    copyMerges(from, *copy);
    for (int row = 0; row < from.rows(); ++row)
        for (int column = 0; column < from.columns(); ++column) {
            const QTextTableCell cell = from.cellAt(row, column);
            if (cell.row() != row || cell.column() != column)
                continue;
            QTextTableCell own = copy->cellAt(row, column);
            own.setFormat(cell.format());
            copyContent(cell, own, scratch, main);
        }
    cursor.setPosition(copy->lastPosition() + 1);
}

} // namespace

TableChunk::TableChunk(const QTextTable &table, int firstRow, int endRow)
    : firstRow_(firstRow), endRow_(endRow), contextAbove_(firstRow > 0 ? 1 : 0), table_(&table)
{
    const QTextDocument &main = *table.document();
    scratch_.setUndoRedoEnabled(false);
    scratch_.setDefaultFont(main.defaultFont());
    scratch_.setDefaultTextOption(main.defaultTextOption());
    scratch_.setIndentWidth(main.indentWidth());
    scratch_.rootFrame()->setFrameFormat(main.rootFrame()->frameFormat());
    copyRows(table, firstRow - contextAbove_, qMin(table.rows(), endRow + 1));
    scratch_.setPageSize(main.pageSize());
    documentWidth_ = scratch_.documentLayout()->documentSize().width(); // lays it all out

    // The copy's table follows an empty paragraph, which Qt's layout hides: it starts at the flow's
    // top. (frameBoundingRect would not do: for a table it is moved to its first cell's text.)
    const qreal tableTop = mainFlowFrame(scratch_).top.toReal();
    const QSizeF tableSize = scratch_.documentLayout()->frameBoundingRect(copy_).size();
    const qreal tableHeight = tableSize.height();
    width_ = tableSize.width();
    top_ = contextAbove_ ? lineBelowContextAbove() : tableTop;
    bottom_ = endRow < table.rows() ? lineAboveContextBelow() : tableTop + tableHeight;
    copyStart_ = copy_->cellAt(contextAbove_, 0).firstPosition() - 1;
}

int TableChunk::ownStart() const
{
    return table_->cellAt(firstRow_, 0).firstPosition() - 1;
}

int TableChunk::ownEnd() const
{
    return endRow_ < table_->rows() ? table_->cellAt(endRow_, 0).firstPosition() - 1 : table_->lastPosition();
}

void TableChunk::copyRows(const QTextTable &table, int from, int to)
{
    const QTextDocument &main = *table.document();
    QTextCursor cursor(&scratch_);
    copy_ = cursor.insertTable(to - from, table.columns(), table.format());
    // Merged cells are merged in the copy first, then copied once. The chunk's rows hold their
    // merged cells whole; a context row keeps one row of each cell in it.
    const auto placed = [&](int row, const QTextTableCell &cell, int column) {
        const bool context = row < firstRow_ || row >= endRow_;
        return cell.column() == column && (context || cell.row() == row);
    };
    for (int row = from; row < to; ++row)
        for (int column = 0; column < table.columns(); ++column) {
            const QTextTableCell cell = table.cellAt(row, column);
            const bool context = row < firstRow_ || row >= endRow_;
            const int rows = context ? 1 : cell.rowSpan();
            if (placed(row, cell, column) && (rows > 1 || cell.columnSpan() > 1))
                copy_->mergeCells(row - from, column, rows, cell.columnSpan());
        }
    for (int row = from; row < to; ++row) {
        const bool context = row < firstRow_ || row >= endRow_;
        for (int column = 0; column < table.columns(); ++column) {
            const QTextTableCell cell = table.cellAt(row, column);
            if (!placed(row, cell, column))
                continue;
            QTextTableCell copy = copy_->cellAt(row - from, column);
            copy.setFormat(context ? contextFormat(cell.format()) : cell.format());
            if (!context)
                copyContent(cell, copy, scratch_, main);
        }
    }
}

// Context rows have empty cells, their text at the top, so their text's place gives their edges.
QFixed TableChunk::contentTop(const QTextTableCell &cell) const
{
    return QFixed::fromReal(scratch_.documentLayout()->blockBoundingRect(cell.firstCursorPosition().block()).top());
}

// The line between the context row above and the first own row: the context row's top and the
// height of its tallest cell.
qreal TableChunk::lineBelowContextAbove() const
{
    const QTextTableCell first = copy_->cellAt(0, 0);
    const QFixed rowTop = contentTop(first) - paddingAt(*copy_, first, Top);
    QFixed height;
    for (int column = 0; column < copy_->columns(); ++column) {
        const QTextTableCell cell = copy_->cellAt(0, column);
        const QFixed text =
            QFixed::fromReal(scratch_.documentLayout()->blockBoundingRect(cell.firstCursorPosition().block()).height());
        height = qMax(height, (text + paddingAt(*copy_, cell, Top) + paddingAt(*copy_, cell, Bottom)).round());
    }
    return (rowTop + height).toReal();
}

qreal TableChunk::lineAboveContextBelow() const
{
    const QTextTableCell cell = copy_->cellAt(copy_->rows() - 1, 0);
    return (contentTop(cell) - paddingAt(*copy_, cell, Top)).toReal();
}

void TableChunk::draw(QPainter *painter, qreal top, const QAbstractTextDocumentLayout::PaintContext &context) const
{
    QAbstractTextDocumentLayout::PaintContext own = context;
    const qreal dy = top - top_;
    // Only seams between chunks are clipped: above and below the table the copy has nothing to draw.
    const bool contextBelow = copy_->rows() > contextAbove_ + (endRow_ - firstRow_);
    const qreal from = contextAbove_ ? top_ : -1e6, to = contextBelow ? bottom_ : 1e6;
    const QRectF region(-1e6, from, 2e6, to - from);
    own.clip = context.clip.isValid() ? (context.clip.translated(0, -dy) & region) : region;
    if (own.clip.isEmpty())
        return;
    const int ownStart = this->ownStart(), ownEnd = this->ownEnd(), offset = ownStart - copyStart_;
    own.cursorPosition = holds(context.cursorPosition) ? context.cursorPosition - offset : -1;
    own.selections.clear();
    for (const auto &selection : context.selections) {
        const int from = qMax(selection.cursor.selectionStart(), ownStart);
        const int to = qMin(selection.cursor.selectionEnd(), ownEnd);
        if (from >= to)
            continue;
        QTextCursor mapped(const_cast<QTextDocument *>(&scratch_));
        mapped.setPosition(from - offset);
        mapped.setPosition(to - offset, QTextCursor::KeepAnchor);
        own.selections.append({mapped, selection.format});
    }
    painter->save();
    painter->translate(0, dy);
    painter->setClipRect(own.clip, Qt::IntersectClip);
    scratch_.documentLayout()->draw(painter, own);
    painter->restore();
}

int TableChunk::hitTest(const QPointF &point, Qt::HitTestAccuracy accuracy) const
{
    const int hit = scratch_.documentLayout()->hitTest(point + QPointF(0, top_), accuracy);
    if (hit < 0)
        return hit;
    // Below the table's last row, in its border, is the place just after the table.
    const bool last = copy_->rows() == contextAbove_ + (endRow_ - firstRow_);
    const int ownStart = this->ownStart();
    return qBound(ownStart, hit + ownStart - copyStart_, ownEnd() + (last ? 1 : 0));
}

QRectF TableChunk::blockRect(int position) const
{
    const QTextBlock block = scratch_.findBlock(position - offset());
    return scratch_.documentLayout()->blockBoundingRect(block).translated(0, -top_);
}

void TableChunk::layOut(const QTextBlock &block) const
{
    const QTextBlock copy = scratch_.findBlock(block.position() - offset());
    if (!copy.isValid())
        return;
    const QTextLayout *from = copy.layout();
    QTextLayout *to = block.layout();
    to->setTextOption(from->textOption());
    to->beginLayout();
    for (int i = 0; i < from->lineCount(); ++i) {
        QTextLine line = to->createLine();
        if (!line.isValid())
            break;
        line.setLeadingIncluded(true);
        line.setLineWidth(from->lineAt(i).width());
        line.setPosition(from->lineAt(i).position());
    }
    to->endLayout();
    to->setPosition(from->position()); // within its cell, as Qt's layout keeps it
}
