#include "layout/list_labels.h"
#include "model/list_labels.h"
#include <QFontMetricsF>
#include <QPainter>
#include <QPalette>
#include <QTextBlock>
#include <QTextLayout>
#include <QTextList>

void drawListLabel(QPainter &painter, const QPalette &palette, const QTextBlock &block)
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
    const QPointF start = (layout->position() + text.topLeft()).toPoint();
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
