#include "layout/editor_layout.h"
#include "layout/flow_layout.h"
#include "layout/list_labels.h"
#include "layout/note_marks.h"
#include "layout/paragraph_lines.h"
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QtGui/private/qtextdocumentlayout_p.h>
#include <climits>

namespace {

bool hasFloatingFrames(const QTextFrame *root)
{
    const QList<QTextFrame *> children = root->childFrames();
    return std::any_of(children.begin(), children.end(), [](const QTextFrame *child) {
        return child->frameFormat().position() != QTextFrameFormat::InFlow;
    });
}

// Qt's layout, for documents with tables and lists.
class ParagraphRelayout : public QTextDocumentLayout
{
public:
    explicit ParagraphRelayout(QTextDocument *document)
        : QTextDocumentLayout(document), blockCount_(document->blockCount())
    {
    }
    int paragraphOnlyPasses() const { return paragraphOnlyPasses_; }

    // Velmo's lists show their file's labels, which Qt's list styles cannot.
    void draw(QPainter *painter, const PaintContext &context) override
    {
        QTextDocumentLayout::draw(painter, context);
        drawListLabels(*painter, context.palette, *this, context.clip);
    }

protected:
    void documentChanged(int from, int oldLength, int length) override
    {
        const bool sameParagraphs = document()->blockCount() == blockCount_;
        blockCount_ = document()->blockCount();
        if (sameParagraphs && layOutParagraphAlone(from, length)) {
            ++paragraphOnlyPasses_;
            return;
        }
        QTextDocumentLayout::documentChanged(from, oldLength, length);
    }

private:
    bool layOutParagraphAlone(int from, int length);
    bool isPlainFlowParagraph(const QTextBlock &block) const;

    int blockCount_;
    int paragraphOnlyPasses_ = 0;
};

// A paragraph of the root frame between two others of it, laid out before, with no floats
// around: there Qt's pass places a paragraph by its neighbour's end and nothing else.
bool ParagraphRelayout::isPlainFlowParagraph(const QTextBlock &block) const
{
    QTextDocument *doc = document();
    QTextFrame *root = doc->rootFrame();
    const QTextBlock previous = block.previous(), next = block.next();
    return block.isVisible() && next.isValid() && doc->frameAt(block.position()) == root
        && doc->frameAt(next.position()) == root && (!previous.isValid() || doc->frameAt(previous.position()) == root)
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
    const FlowFrame flow = mainFlowFrame(*doc);
    QTextLayout *layout = block.layout();
    if (flow.left.toReal() != layout->position().x())
        return false;
    const ParagraphBox box = breakIntoLines(block, flow);
    // Only when the next paragraph stays where it is may the rest of the document stay too.
    const QTextBlock next = block.next();
    const QFixed top = QFixed::fromReal(layout->position().y());
    if (box.overflows || (top + box.height + spacingBetween(block, next)).toReal() != next.layout()->position().y())
        return false;
    emit update(QRectF(0, top.toReal(), qreal(INT_MAX), box.height.toReal()));
    return true;
}

void useQtLayout(QTextDocument &document)
{
    auto *layout = new ParagraphRelayout(&document);
    NoteMarks::registerWith(*layout);
    document.setDocumentLayout(layout);
}

} // namespace

void useEditorLayout(QTextDocument &document, std::function<void(qreal, qreal)> moved)
{
    if (FlowLayout::canLayOut(document)) {
        auto *layout = new FlowLayout(&document, useQtLayout);
        layout->onMovedBelow(std::move(moved));
        NoteMarks::registerWith(*layout);
        document.setDocumentLayout(layout);
    } else
        useQtLayout(document);
}

bool laysOutAsOneFlow(const QTextDocument &document)
{
    return dynamic_cast<const FlowLayout *>(document.documentLayout()) != nullptr;
}

int paragraphOnlyPasses(const QTextDocument &document)
{
    const auto *layout = dynamic_cast<const ParagraphRelayout *>(document.documentLayout());
    return layout ? layout->paragraphOnlyPasses() : -1;
}
