#pragma once
#include <QtGui/private/qfixed_p.h>

class QTextBlock;
class QTextDocument;

// The main flow's box: where paragraphs start across and down, and how wide they may be. Kept
// in Qt's 1/64 pixel steps, so paragraphs land where Qt's own layout would put them.
struct FlowFrame
{
    QFixed left, width, top, bottomInset;
};
FlowFrame mainFlowFrame(const QTextDocument &document);

struct ParagraphBox
{
    QFixed height;        // from the paragraph's top to where the next one's spacing starts
    QFixed contentsWidth; // the widest line, from the flow's left edge
    bool overflows;       // a word wider than its line made the line wider than the flow
};

// Breaks `block` into lines across the flow, as Qt's document layout does with no floats, pages
// or device scaling. The lines are placed within the paragraph; where the paragraph itself goes
// down the flow is the caller's (QTextLayout::setPosition).
ParagraphBox breakIntoLines(const QTextBlock &block, const FlowFrame &flow);

// The spacing between two paragraphs that follow one another in the flow.
QFixed spacingBetween(const QTextBlock &above, const QTextBlock &below);
