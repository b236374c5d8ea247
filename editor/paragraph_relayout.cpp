#include "editor/paragraph_relayout.h"
#include <QAbstractTextDocumentLayout>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextList>
#include <QtGui/private/qfixed_p.h>
#include <QtGui/private/qtextdocumentlayout_p.h>
#include <climits>
#include <cmath>

namespace {

class ParagraphRelayout : public QTextDocumentLayout
{
public:
    explicit ParagraphRelayout(QTextDocument *document)
        : QTextDocumentLayout(document), blockCount_(document->blockCount())
    {
    }
    int paragraphOnlyPasses() const { return paragraphOnlyPasses_; }

protected:
    void documentChanged(int from, int oldLength, int length) override;

private:
    bool layOutParagraphAlone(int from, int length);
    bool isPlainFlowParagraph(const QTextBlock &block) const;

    int blockCount_;
    int paragraphOnlyPasses_ = 0;
};

// Positions are kept in 1/64 pixel steps, as Qt's layout keeps them, so that a paragraph laid out
// here lands on exactly the coordinates Qt's own pass would give it.
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

bool hasFloatingFrames(const QTextFrame *root)
{
    const QList<QTextFrame *> children = root->childFrames();
    for (const QTextFrame *child : children)
        if (child->frameFormat().position() != QTextFrameFormat::InFlow)
            return true;
    return false;
}

} // namespace

void useParagraphRelayout(QTextDocument &document)
{
    document.setDocumentLayout(new ParagraphRelayout(&document));
}

int paragraphOnlyPasses(const QTextDocument &document)
{
    const auto *layout = dynamic_cast<const ParagraphRelayout *>(document.documentLayout());
    return layout ? layout->paragraphOnlyPasses() : -1;
}

void ParagraphRelayout::documentChanged(int from, int oldLength, int length)
{
    const bool sameParagraphs = document()->blockCount() == blockCount_;
    blockCount_ = document()->blockCount();
    if (sameParagraphs && layOutParagraphAlone(from, length)) {
        ++paragraphOnlyPasses_;
        return;
    }
    QTextDocumentLayout::documentChanged(from, oldLength, length);
}

// A paragraph of the root frame between two others of it, with no floats around and no device
// scaling: there Qt's pass places a paragraph by its neighbour's end and nothing else.
bool ParagraphRelayout::isPlainFlowParagraph(const QTextBlock &block) const
{
    QTextDocument *doc = document();
    QTextFrame *root = doc->rootFrame();
    const QTextBlock previous = block.previous(), next = block.next();
    return block.isVisible() && next.isValid() && doc->frameAt(block.position()) == root
        && doc->frameAt(next.position()) == root
        && (!previous.isValid() || doc->frameAt(previous.position()) == root)
        && next.layout()->lineCount() > 0 && !hasFloatingFrames(root);
}

bool ParagraphRelayout::layOutParagraphAlone(int from, int length)
{
    QTextDocument *doc = document();
    const QSizeF page = doc->pageSize();
    if (paintDevice() || page.width() <= 0 || page.height() > 0
        || (doc->defaultTextOption().flags() & QTextOption::AddSpaceForLineAndParagraphSeparators))
        return false;
    const QTextBlock block = doc->findBlock(from);
    if (!block.isValid() || from + length >= block.position() + block.length() || !isPlainFlowParagraph(block))
        return false;

    const QTextFrameFormat frame = doc->rootFrame()->frameFormat();
    const QFixed inset = fixed(frame.border()) + fixed(frame.padding());
    const QFixed xLeft = fixed(frame.leftMargin()) + inset;
    const QFixed width = fixed(frame.width().value(page.width())) - 2 * inset - fixed(frame.leftMargin())
                         - fixed(frame.rightMargin());
    QTextLayout *layout = block.layout();
    if (xLeft.toReal() != layout->position().x())
        return false;

    const QTextBlockFormat format = block.blockFormat();
    const Qt::LayoutDirection direction = block.textDirection();
    qreal indentSteps = format.indent();
    if (QTextList *list = block.textList())
        indentSteps += list->format().indent();
    const QFixed indent = qFuzzyIsNull(indentSteps) ? QFixed() : fixed(indentSteps * doc->indentWidth());
    const bool rightToLeft = direction == Qt::RightToLeft;
    const QFixed left = xLeft + fixed(format.leftMargin()) + (rightToLeft ? QFixed() : indent);
    const QFixed right = xLeft + width - fixed(format.rightMargin()) - (rightToLeft ? indent : QFixed());

    QTextOption option = doc->defaultTextOption();
    option.setTextDirection(direction);
    option.setTabs(format.tabPositions());
    option.setAlignment(QStyle::visualAlignment(
        direction, format.hasProperty(QTextFormat::BlockAlignment) ? format.alignment() : option.alignment()));
    if (format.nonBreakableLines())
        option.setWrapMode(QTextOption::ManualWrap);
    layout->setTextOption(option);

    const QFixed top = fixed(layout->position().y());
    QFixed y = top, bottom;
    bool fits = true;
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
        if (fixed(line.naturalTextWidth()) > lineRight - lineLeft)
            fits = false; // a word wider than the line: Qt widens the line and perhaps the page
        const LineHeights h = heightsOf(format, line);
        line.setPosition(QPointF((lineLeft - xLeft).toReal(), (y - top - h.adjustment).toReal()));
        bottom = y + h.bottom;
        y += h.advance;
    }
    layout->endLayout();
    y = qMax(y, bottom);

    const QTextBlock next = block.next();
    const QFixed gap = fixed(qMax(next.blockFormat().topMargin(), format.bottomMargin()));
    if (!fits || (y + gap).toReal() != next.layout()->position().y())
        return false;
    emit update(QRectF(0, top.toReal(), qreal(INT_MAX), (y - top).toReal()));
    return true;
}
