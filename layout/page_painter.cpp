#include "layout/page_painter.h"
#include "model/list_labels.h"
#include "model/text_properties.h"
#include "layout/page_flow.h"
#include "layout/page_headers.h"
#include "layout/page_notes.h"
#include "layout/table_chunk.h"
#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextList>

namespace {

constexpr qreal Unbounded = 1e6;

// A line of text in `font` at the document's resolution, its baseline's left end at `baseline`.
void drawText(QPainter &painter, const QString &text, const QFont &font, QPointF baseline, bool rightAligned)
{
    QTextLayout layout(text, font, painter.device());
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid())
        return;
    const qreal x = rightAligned ? baseline.x() - line.naturalTextWidth() : baseline.x();
    layout.draw(&painter, QPointF(x, baseline.y() - line.ascent()));
}

QString listMarker(const QTextList &list, const QTextBlock &block)
{
    if (list.format().hasProperty(model::ListLevelTextProperty))
        return model::listLabelOf(block); // the file's own label, as the editor shows it
    switch (list.format().style()) {
    case QTextListFormat::ListDisc: return QStringLiteral("\u2022");
    case QTextListFormat::ListCircle: return QStringLiteral("\u25E6");
    case QTextListFormat::ListSquare: return QStringLiteral("\u25AA");
    default: return list.itemText(block);
    }
}

void drawListMarker(QPainter &painter, const QTextBlock &block, const QTextLine &first)
{
    const QTextList *list = block.textList();
    if (!list)
        return;
    const QString marker = listMarker(*list, block);
    const QFont font = block.charFormat().font();
    const qreal gap = QFontMetricsF(font, painter.device()).horizontalAdvance(QLatin1Char(' '));
    drawText(painter, marker, font, QPointF(first.x() - gap, first.y() + first.ascent()), true);
}

} // namespace

PagePainter::PagePainter(const QTextDocument &document, PageFlow &flow, const PageNotes &notes)
    : document_(document), flow_(flow), notes_(notes)
{
}

void PagePainter::paint(QPainter &painter, const PrintedPage &page) const
{
    const PageSetup &setup = flow_.setupOf(page.section);
    const qreal unit = flow_.unitsPerPoint();
    const qreal width = flow_.bodyWidth(page.section), height = flow_.bodyHeight(page.section);
    painter.setPen(Qt::black);
    drawHeaders(painter, page);
    painter.save();
    painter.translate(setup.margins.left() * unit, setup.margins.top() * unit);
    for (const PagePiece &piece : page.pieces)
        drawPiece(painter, piece, width);
    drawFootnotes(painter, page, width, height);
    painter.restore();
    if (plainNumbers_)
        drawPlainNumber(painter, page);
}

void PagePainter::drawHeaders(QPainter &painter, const PrintedPage &page) const
{
    const PageSetup &setup = flow_.setupOf(page.section);
    const qreal unit = flow_.unitsPerPoint();
    const PageFieldValues values{page.number, int(flow_.pages().size()), page.sectionPages, now_};
    const qreal width = flow_.bodyWidth(page.section);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    for (bool footer : {false, true}) {
        const auto text = printedHeader(document_, page, setup, footer, values, painter.device(), width);
        if (!text)
            continue;
        const qreal top = footer ? (setup.paper.height() - setup.footerBottom) * unit - text->size().height()
                                 : setup.headerTop * unit;
        painter.save();
        painter.translate(setup.margins.left() * unit, top);
        text->documentLayout()->draw(&painter, context);
        painter.restore();
    }
}

void PagePainter::drawPiece(QPainter &painter, const PagePiece &piece, qreal width) const
{
    switch (piece.kind) {
    case PagePiece::Kind::Lines: drawLines(painter, piece, width); break;
    case PagePiece::Kind::TableRows: drawTable(painter, piece); break;
    case PagePiece::Kind::Note:
        painter.save();
        painter.translate(0, piece.top);
        notes_.draw(painter, piece.note, width);
        painter.restore();
        break;
    case PagePiece::Kind::NoteSeparator:
        painter.save();
        painter.translate(0, piece.top);
        notes_.drawSeparator(painter, width);
        painter.restore();
        break;
    }
}

void PagePainter::drawTable(QPainter &painter, const PagePiece &piece) const
{
    const std::unique_ptr<TableChunk> chunk = flow_.tableChunk(*piece.table, piece.firstRow, piece.endRow);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    painter.save();
    painter.translate(0, piece.top);
    painter.scale(flow_.tableScale(), flow_.tableScale());
    chunk->draw(&painter, 0, context);
    painter.restore();
}

// A paragraph's lines, clipped to them where the paragraph goes on over another page.
void PagePainter::drawLines(QPainter &painter, const PagePiece &piece, qreal width) const
{
    const QTextLayout &layout = *piece.block.layout();
    const qreal firstY = layout.lineAt(piece.firstLine).y();
    const bool whole = piece.firstLine == 0 && piece.endLine == layout.lineCount();
    painter.save();
    painter.translate(0, piece.top - firstY);
    const QBrush background = piece.block.blockFormat().background();
    if (background.style() != Qt::NoBrush)
        painter.fillRect(QRectF(0, firstY, width, piece.height), background);
    QRectF clip;
    if (!whole) {
        clip = QRectF(-Unbounded, firstY, 2 * Unbounded, piece.height);
        painter.setClipRect(clip, Qt::IntersectClip);
    }
    layout.draw(&painter, QPointF(), {}, clip);
    if (piece.firstLine == 0)
        drawListMarker(painter, piece.block, layout.lineAt(0));
    painter.restore();
}

void PagePainter::drawFootnotes(QPainter &painter, const PrintedPage &page, qreal width, qreal height) const
{
    if (page.footnotes.empty())
        return;
    qreal total = PageNotes::separatorHeight(flow_.unitsPerPoint());
    for (int id : page.footnotes)
        total += notes_.height(id, width);
    painter.save();
    painter.translate(0, height - total);
    notes_.drawSeparator(painter, width);
    painter.translate(0, PageNotes::separatorHeight(flow_.unitsPerPoint()));
    for (int id : page.footnotes) {
        notes_.draw(painter, id, width);
        painter.translate(0, notes_.height(id, width));
    }
    painter.restore();
}

// Where Qt's printing puts its page numbers: right-aligned with the text, 5 points under the
// bottom margin's top plus the font's ascent.
void PagePainter::drawPlainNumber(QPainter &painter, const PrintedPage &page) const
{
    const PageSetup &setup = flow_.setupOf(page.section);
    const qreal unit = flow_.unitsPerPoint();
    const QFont font = document_.defaultFont();
    const qreal baseline = (setup.paper.height() - setup.margins.bottom() + 5) * unit + QFontMetricsF(font, painter.device()).ascent();
    drawText(painter, QString::number(page.number), font,
             QPointF((setup.paper.width() - setup.margins.right()) * unit, baseline), true);
}
