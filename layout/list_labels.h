#pragma once

class QPainter;
class QPalette;
class QTextBlock;

// Draws a list paragraph's label where Qt's document layout puts its own: ending a space before
// the first line's text (after it, right to left), on that line, in the paragraph's character
// format. The label is the file's level text ("2.1.", "•"), not only Qt's styles.
void drawListLabel(QPainter &painter, const QPalette &palette, const QTextBlock &block);
