#include "layout/list_labels.h"
#include "model/list_labels.h"
#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QPalette>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextList>

void drawListLabel(QPainter &painter, const QPalette &palette, const QTextBlock &block, QPointF offset)
{
    if (!block.textList())
        return;
    const QString label = model::listLabelOf(block);
    const QTextLayout *layout = block.layout();
    if (label.isEmpty() || layout->lineCount() == 0)
        return;
    const QTextCharFormat format = block.charFormat();
    QFont font = format.font();
    if (painter.device())
        font = QFont(font, painter.device());
    const QFontMetricsF metrics(font);
    const QRectF text = layout->lineAt(0).naturalTextRect();
    const QPointF start = (offset + layout->position() + text.topLeft()).toPoint();
    const qreal space = metrics.horizontalAdvance(u' ');
    const qreal x = block.textDirection() == Qt::RightToLeft ? start.x() + text.width() + space
                                                             : start.x() - space - metrics.horizontalAdvance(label);
    painter.save();
    painter.setFont(font);
    painter.setPen(format.foreground().style() != Qt::NoBrush ? format.foreground().color()
                                                             : palette.color(QPalette::Text));
    painter.drawText(QPointF(x, start.y() + metrics.ascent()), label);
    painter.restore();
}

void drawListLabels(QPainter &painter, const QPalette &palette, const QAbstractTextDocumentLayout &layout,
                    const QRectF &clip)
{
    const QTextDocument &document = *layout.document();
    const int first = clip.isValid() ? layout.hitTest(clip.topLeft(), Qt::FuzzyHit) : 0;
    for (QTextBlock block = document.findBlock(std::max(first, 0)); block.isValid(); block = block.next()) {
        const QRectF box = layout.blockBoundingRect(block);
        if (clip.isValid() && box.top() > clip.bottom() && document.frameAt(block.position()) == document.rootFrame())
            break;
        if (!block.textList() || !block.layout() || (clip.isValid() && !box.intersects(clip)))
            continue;
        // Qt's layout puts the box where the block's layout position is, in the document.
        drawListLabel(painter, palette, block, box.topLeft() - block.layout()->position());
    }
}
