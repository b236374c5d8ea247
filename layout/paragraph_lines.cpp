#include "layout/paragraph_lines.h"
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextList>
#include <cmath>

namespace {

QFixed fixed(qreal value) { return QFixed::fromReal(value); }

struct LineHeights
{
    QFixed advance;    // how far the next line starts below this one
    QFixed bottom;     // where this line's own box ends
    QFixed adjustment; // raises the line inside a fixed or minimum height
};

LineHeights heightsOf(const QTextBlockFormat &format, const QTextLine &line)
{
    const qreal raw = std::ceil(line.ascent() + line.descent() + line.leading());
    LineHeights h;
    h.advance = fixed(format.lineHeight(raw, 1));
    h.bottom = fixed(format.lineHeight(line.height(), 1));
    if (format.lineHeightType() == QTextBlockFormat::FixedHeight)
        h.adjustment = fixed(line.ascent() + qMax(line.leading(), qreal(0))) - (h.advance * 4) / 5;
    else if (format.lineHeightType() == QTextBlockFormat::MinimumHeight)
        h.adjustment = fixed(line.height()) - h.advance;
    return h;
}

QFixed indentOf(const QTextBlock &block, const QTextBlockFormat &format)
{
    qreal steps = format.indent();
    if (const QTextList *list = block.textList())
        steps += list->format().indent();
    return qFuzzyIsNull(steps) ? QFixed() : fixed(steps * block.document()->indentWidth());
}

QTextOption optionFor(const QTextBlock &block, const QTextBlockFormat &format, Qt::LayoutDirection direction)
{
    QTextOption option = block.document()->defaultTextOption();
    option.setTextDirection(direction);
    option.setTabs(format.tabPositions());
    const Qt::Alignment align = format.hasProperty(QTextFormat::BlockAlignment) ? format.alignment() : option.alignment();
    option.setAlignment(QStyle::visualAlignment(direction, align));
    if (format.nonBreakableLines() || block.document()->pageSize().width() < 0)
        option.setWrapMode(QTextOption::ManualWrap);
    return option;
}

} // namespace

FlowFrame mainFlowFrame(const QTextDocument &document)
{
    const QTextFrameFormat frame = document.rootFrame()->frameFormat();
    const QFixed inset = fixed(frame.border()) + fixed(frame.padding());
    FlowFrame flow;
    flow.left = fixed(frame.leftMargin()) + inset;
    flow.top = fixed(frame.topMargin()) + inset;
    flow.bottomInset = fixed(frame.bottomMargin()) + inset;
    const qreal page = qMax(qreal(0), document.pageSize().width());
    flow.width = fixed(frame.width().value(page)) - 2 * inset - fixed(frame.leftMargin()) - fixed(frame.rightMargin());
    return flow;
}

QFixed spacingBetween(const QTextBlock &above, const QTextBlock &below)
{
    return fixed(qMax(below.blockFormat().topMargin(), above.blockFormat().bottomMargin()));
}

ParagraphBox breakIntoLines(const QTextBlock &block, const FlowFrame &flow)
{
    ParagraphBox box{QFixed(), QFixed(), false};
    QTextLayout *layout = block.layout();
    const QTextBlockFormat format = block.blockFormat();
    const Qt::LayoutDirection direction = block.textDirection();
    const bool rightToLeft = direction == Qt::RightToLeft;
    const QFixed indent = indentOf(block, format);
    const QFixed marginRight = fixed(format.rightMargin()) + (rightToLeft ? indent : QFixed());
    const QFixed left = flow.left + fixed(format.leftMargin()) + (rightToLeft ? QFixed() : indent);
    const QFixed right = flow.left + flow.width - marginRight;
    QTextOption option = optionFor(block, format, direction);
    layout->setTextOption(option);
    const bool mayBreakAnywhere = option.wrapMode() == QTextOption::WrapAtWordBoundaryOrAnywhere;

    const QFixed top = 0;
    QFixed y = top, bottom;
    layout->beginLayout();
    for (bool first = true;; first = false) {
        QTextLine line = layout->createLine();
        if (!line.isValid())
            break;
        line.setLeadingIncluded(true);
        QFixed lineLeft = left, lineRight = right;
        if (first && rightToLeft)
            lineRight -= fixed(format.textIndent());
        else if (first)
            lineLeft += fixed(format.textIndent());
        line.setLineWidth((lineRight - lineLeft).toReal());
        if (fixed(line.naturalTextWidth()) > lineRight - lineLeft) {
            // A word wider than the line: break it anywhere, else let the line grow to hold it.
            box.overflows = true;
            if (mayBreakAnywhere) {
                option.setWrapMode(QTextOption::WrapAnywhere);
                layout->setTextOption(option);
            }
            line.setLineWidth(qMax<qreal>(line.naturalTextWidth(), (lineRight - lineLeft).toReal()));
            if (mayBreakAnywhere) {
                option.setWrapMode(QTextOption::WordWrap);
                layout->setTextOption(option);
            }
        }
        const LineHeights h = heightsOf(format, line);
        line.setPosition(QPointF((lineLeft - flow.left).toReal(), (y - top - h.adjustment).toReal()));
        bottom = y + h.bottom;
        y += h.advance;
        box.contentsWidth = qMax(box.contentsWidth, fixed(line.x() + line.naturalTextWidth()) + marginRight);
    }
    layout->endLayout();
    box.height = qMax(y, bottom) - top;
    return box;
}
