#pragma once

#include <QPointF>

class QAbstractTextDocumentLayout;
class QPainter;
class QPalette;
class QRectF;
class QTextBlock;

// Draws a list paragraph's label where Qt's document layout puts its own: ending a space before
// the first line's text (after it, right to left), on that line, in the paragraph's character
// format. The label is the file's level text ("2.1.", "•"), not only Qt's styles.
// `offset` is where the block's layout positions count from (its frame's place).
void drawListLabel(QPainter &painter, const QPalette &palette, const QTextBlock &block, QPointF offset = {});

// Draws the labels of the list paragraphs `layout` shows inside `clip`, wherever its frames put them.
void drawListLabels(QPainter &painter, const QPalette &palette, const QAbstractTextDocumentLayout &layout,
                    const QRectF &clip);
