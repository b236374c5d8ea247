#include "layout/flow_layout.h"
#include "layout/list_labels.h"
#include <QPainter>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextList>
#include <QtGui/private/qtextimagehandler_p.h>
#include <algorithm>
#include <climits>
#include <utility>

namespace {

constexpr int ManyParagraphs = 2000;

qreal pixels(qint64 fixedUnits) { return qreal(fixedUnits) / 64; }

} // namespace

FlowLayout::FlowLayout(QTextDocument *document, std::function<void(QTextDocument &)> handOver)
    : QAbstractTextDocumentLayout(document), handOver_(std::move(handOver))
{
    registerHandler(QTextFormat::ImageObject, new QTextImageHandler(this));
    blockCount_ = document->blockCount();
    frameCount_ = int(document->rootFrame()->childFrames().size());
}

bool FlowLayout::canLayOut(const QTextDocument &document)
{
    const QTextFrameFormat root = document.rootFrame()->frameFormat();
    return (document.rootFrame()->childFrames().isEmpty() || FlowTables::canLayOut(document))
        && document.pageSize().height() <= 0 && root.border() <= 0
        && !root.hasProperty(QTextFormat::BackgroundBrush);
}

void FlowLayout::startOver()
{
    flow_ = mainFlowFrame(*document());
    extents_.truncate(0);
    movedBelow_ = -1;
    movedBy_ = 0;
    tables_.clear();
    frameCount_ = int(document()->rootFrame()->childFrames().size());
    next_ = QTextBlock();
    contentsWidth_ = 0;
    widestChunk_ = 0;
    layOutMore(SliceNs);
}

// Qt's layout adds no spacing between a table and the paragraph after it.
bool FlowLayout::startsAfterTable(const QTextBlock &block) const
{
    const QTextBlock above = block.previous();
    return above.isValid() && tables_.tableOf(above) && !tables_.tableOf(block);
}

QFixed FlowLayout::spacingAbove(const QTextBlock &block) const
{
    const QTextBlock above = block.previous();
    return above.isValid() && !startsAfterTable(block) ? spacingBetween(above, block) : QFixed();
}

qint32 FlowLayout::extentOf(const QTextBlock &block) const
{
    if (!block.isVisible())
        return 0;
    if (tables_.tableOf(block)) {
        const qint32 extent = tables_.extentOf(block);
        if (const TableChunk *chunk = extent > 0 ? tables_.chunkOf(block) : nullptr)
            widestChunk_ = qMax(widestChunk_, chunk->documentWidth());
        return extent;
    }
    const ParagraphBox box = breakIntoLines(block, flow_);
    contentsWidth_ = qMax(contentsWidth_, box.contentsWidth);
    const QTextBlockFormat format = block.blockFormat();
    const bool empty = block.length() == 1;
    const QTextBlock next = block.next();
    if (empty && next.isValid() && tables_.tableOf(next) && !format.hasProperty(QTextFormat::BlockTrailingHorizontalRulerWidth)
        && !format.hasProperty(QTextFormat::BackgroundBrush)) {
        // An empty paragraph just before a table is hidden in the table's border: only its spacing counts.
        const QTextBlock above = block.previous();
        const qreal bottom = above.isValid() && !startsAfterTable(block) ? above.blockFormat().bottomMargin() : 0;
        return QFixed::fromReal(qMax(bottom, format.topMargin())).value();
    }
    if (startsAfterTable(block)) {
        if (empty)
            return 0; // hidden too
        if (block.text().startsWith(QChar::LineSeparator) && block.layout()->lineCount() > 0)
            return box.height.value() - QFixed::fromReal(block.layout()->lineAt(0).height()).value();
    }
    return spacingAbove(block).value() + box.height.value();
}

// The extent of a paragraph is the spacing above it and its height; its top is below the spacing.
qint64 FlowLayout::topOf(const QTextBlock &block, int number) const
{
    return flow_.top.value() + extents_.offsetOf(number) + spacingAbove(block).value();
}

qreal FlowLayout::chunkTop(const QTextBlock &block) const
{
    return pixels(flow_.top.value() + extents_.offsetOf(tables_.chunkStart(block).blockNumber()));
}

// A paragraph's lines keep their place within it; its own place down the flow is set here,
// from the heights above it, whenever it is drawn or asked about.
void FlowLayout::place(const QTextBlock &block, int number) const
{
    if (tables_.tableOf(block)) {
        if (const TableChunk *chunk = tables_.chunkOf(block))
            chunk->layOut(block);
        return;
    }
    qreal x = flow_.left.toReal(), y = pixels(topOf(block, number));
    QTextLayout *layout = block.layout();
    if (startsAfterTable(block) && block.length() == 1) {
        // Hidden at the table's bottom right corner, where the cursor shows after the table.
        x += tables_.widthOfTableBefore(block);
        y -= layout->boundingRect().height();
    } else if (startsAfterTable(block) && block.text().startsWith(QChar::LineSeparator) && layout->lineCount() > 0) {
        y -= layout->lineAt(0).height(); // its first line sits beside the table's last row
    }
    layout->setPosition(QPointF(x, y));
}

QSizeF FlowLayout::documentSize() const
{
    const QFixed width = qMax(flow_.width, contentsWidth_);
    const QTextFrameFormat root = document()->rootFrame()->frameFormat();
    const qreal margins = (flow_.left + QFixed::fromReal(root.rightMargin())).toReal() + root.border() + root.padding();
    qreal height = pixels(flow_.top.value() + extents_.total() + flow_.bottomInset.value());
    if (extents_.size() > 0 && extents_.size() < document()->blockCount()) {
        // Like the editor does for Qt's layout: the part not laid out yet is taken to be as dense.
        const qreal done = document()->findBlockByNumber(extents_.size()).position();
        height = height * qMax(qreal(1), document()->characterCount() / qMax(qreal(1), done));
    }
    return QSizeF(qMax(width.toReal() + margins, widestChunk_), height);
}

void FlowLayout::reportSize() const
{
    const QSizeF size = documentSize();
    if (size == reportedSize_)
        return;
    reportedSize_ = size;
    emit const_cast<FlowLayout *>(this)->documentSizeChanged(size);
}

QRectF FlowLayout::frameBoundingRect(QTextFrame *frame) const
{
    if (frame != document()->rootFrame())
        return QRectF();
    // Asked for a selection's left and right edges on every change of it: the height of what is
    // not laid out yet stays an estimate rather than laying it all out at once.
    return QRectF(QPointF(0, 0), documentSize());
}

QRectF FlowLayout::blockBoundingRect(const QTextBlock &block) const
{
    if (!block.isValid())
        return QRectF();
    const int number = block.blockNumber();
    layOutUpTo(number);
    if (number >= extents_.size())
        return QRectF();
    place(block, number);
    if (tables_.tableOf(block)) {
        const TableChunk *chunk = tables_.chunkOf(block);
        return chunk ? chunk->blockRect(block.position()).translated(0, chunkTop(block)) : QRectF();
    }
    const QTextLayout *layout = block.layout();
    QRectF box = layout->boundingRect();
    box.moveTopLeft(layout->position()); // as Qt's layout answers, whatever the lines' own offsets
    return box;
}

void FlowLayout::handOver()
{
    if (std::exchange(handingOver_, true))
        return;
    QMetaObject::invokeMethod(
        document(), [doc = document(), handOver = handOver_] { handOver(*doc); }, Qt::QueuedConnection);
}

// Lists lay out in the flow, but not in the flow's tables: a list in a document with tables hands
// it over to Qt's layout.
bool FlowLayout::handOverIfNoLongerOneFlow(const QTextBlock &first, int count)
{
    if (frameCount_ == 0)
        return false;
    bool oneFlow = true;
    QTextBlock block = first;
    for (int i = 0; oneFlow && i < count && block.isValid(); ++i, block = block.next())
        oneFlow = !block.textList();
    if (!oneFlow)
        handOver();
    return handingOver_;
}

void FlowLayout::documentChanged(int from, int oldLength, int length)
{
    QTextDocument *doc = document();
    movedBelow_ = -1; // what the guesses laid out so far moved is no longer where it was
    movedBy_ = 0;
    const int added = doc->blockCount() - blockCount_;
    blockCount_ = doc->blockCount();
    QTextBlock first = doc->findBlock(from);
    QTextBlock last = doc->findBlock(from + length);
    const int frames = int(doc->rootFrame()->childFrames().size());
    if (frames != frameCount_ && !handingOver_) {
        // A table came or went: the flow is worked out afresh, or by Qt's layout when it cannot be.
        if (!canLayOut(*doc))
            return handOver();
        startOver();
        emit update(QRectF(0, 0, qreal(INT_MAX), qreal(INT_MAX)));
        return;
    }
    // A change in a table lays out the chunks it touches again, whole.
    if (first.isValid() && tables_.tableOf(first))
        first = tables_.chunkStart(first);
    if (last.isValid() && tables_.tableOf(last))
        last = tables_.chunkEnd(last);
    tables_.forget(first, last);
    const int b0 = first.isValid() ? first.blockNumber() : 0;
    const int b1 = last.isValid() ? last.blockNumber() : blockCount_ - 1;
    if (handOverIfNoLongerOneFlow(first, b1 - b0 + 1))
        return;
    const FlowFrame flow = mainFlowFrame(*doc);
    const bool whole = from == 0 && oldLength == 0 && length == doc->characterCount();
    if (whole || flow.left != flow_.left || flow.width != flow_.width || flow.top != flow_.top) {
        startOver();
        emit update(QRectF(0, 0, qreal(INT_MAX), qreal(INT_MAX)));
        return;
    }
    flow_ = flow;
    next_ = QTextBlock();
    if (b0 >= extents_.size())
        return; // not laid out yet: it will be when the slices get there
    // The paragraph after the edited ones is laid out again too: its spacing depends on theirs.
    const int end = qMin(b1 + 1, blockCount_ - 1);
    const int oldEnd = b0 + (b1 - b0 + 1) - added + (end - b1);
    const qint64 heightBefore = extents_.total();
    const qreal top = pixels(flow_.top.value() + extents_.offsetOf(b0));
    // A change over many paragraphs (formatting a whole document) is laid out in slices, from
    // where it starts. Where the paragraphs stay the same ones (centring, or undoing it), their
    // heights stand in until they are measured again, so what shows keeps its place meanwhile.
    if (added == 0 && end - b0 >= ManyParagraphs) {
        extents_.markGuessed(b0, end + 1);
        layOutMore(SliceNs);
        emit update(QRectF(0, top, qreal(INT_MAX), qreal(INT_MAX)));
        return;
    }
    if (oldEnd > extents_.size() || end - b0 >= ManyParagraphs) {
        extents_.truncate(b0);
        layOutMore(SliceNs);
        emit update(QRectF(0, top, qreal(INT_MAX), qreal(INT_MAX)));
        return;
    }
    std::vector<qint32> fresh;
    QTextBlock block = first;
    for (int n = b0; n <= end && block.isValid(); ++n, block = block.next())
        fresh.push_back(extentOf(block));
    extents_.replace(b0, oldEnd - b0, fresh);
    // A list's numbers after an edited item change with it.
    const auto listed = [](const QTextBlock &b) { return b.isValid() && b.textList(); };
    const bool moved = added != 0 || extents_.total() != heightBefore || listed(first) || listed(first.previous());
    const qreal changed = pixels(extents_.offsetOf(end + 1) - extents_.offsetOf(b0));
    emit update(QRectF(0, top, qreal(INT_MAX), moved ? qreal(INT_MAX) : changed));
    reportSize();
}

void FlowLayout::draw(QPainter *painter, const PaintContext &context)
{
    const QTextFrameFormat root = document()->rootFrame()->frameFormat();
    const QRectF frame = QRectF(QPointF(0, 0), documentSize()).adjusted(root.leftMargin(), 0, -root.rightMargin(), 0);
    const bool clipped = context.clip.isValid();
    const QRectF clip = clipped ? (context.clip & frame) : frame;
    if (clipped)
        layOutDownTo(context.clip.bottom());
    else
        layOutAll();
    const qreal top = clipped ? context.clip.top() : 0;
    int n = qMax(0, extents_.indexAt(qint64((top - flow_.top.toReal()) * 64)));
    for (QTextBlock block = document()->findBlockByNumber(n); block.isValid() && n < extents_.size();
         block = block.next(), ++n) {
        if (extents_.guessed(n))
            measure(block, 1);
        if (tables_.tableOf(block)) {
            // A chunk draws its rows whole, from the paragraph carrying its height.
            const qreal chunkY = chunkTop(block);
            if (clipped && chunkY > context.clip.bottom())
                break;
            if (const TableChunk *chunk = tables_.chunkOf(block))
                chunk->draw(painter, chunkY, context);
            block = tables_.chunkEnd(block);
            n = block.blockNumber();
            continue;
        }
        place(block, n);
        if (clipped && block.layout()->position().y() > context.clip.bottom())
            break;
        drawBlock(painter, context, block, clip);
    }
}

void FlowLayout::drawBlock(QPainter *painter, const PaintContext &context, const QTextBlock &block,
                           const QRectF &clip) const
{
    const QTextLayout *layout = block.layout();
    const QRectF box = layout->boundingRect().translated(layout->position());
    if (!block.isVisible() || (context.clip.isValid() && (box.bottom() < context.clip.y() || box.top() > context.clip.bottom())))
        return;
    const QBrush background = block.blockFormat().background();
    if (background != Qt::NoBrush) {
        painter->save();
        painter->setBrushOrigin(box.topLeft());
        painter->fillRect(box, background);
        painter->restore();
    }
    const int start = block.position(), length = block.length();
    QList<QTextLayout::FormatRange> selections;
    for (const Selection &range : context.selections) {
        const int from = range.cursor.selectionStart() - start, to = range.cursor.selectionEnd() - start;
        if (from < length && to > 0 && to > from) {
            selections.append({from, to - from, range.format});
        } else if (!range.cursor.hasSelection() && range.format.hasProperty(QTextFormat::FullWidthSelection)
                   && block.contains(range.cursor.position())) {
            // A full-width selection marks the cursor's whole line, its paragraph end included.
            const QTextLine line = layout->lineForTextPosition(range.cursor.position() - start);
            const int lineLength = line.textLength() + (line.textStart() + line.textLength() == length - 1 ? 1 : 0);
            selections.append({line.textStart(), lineLength, range.format});
        }
    }
    const QPen pen = painter->pen();
    painter->setPen(context.palette.color(QPalette::Text));
    layout->draw(painter, QPointF(), selections, clip);
    drawListLabel(*painter, context.palette, block);
    int cursor = context.cursorPosition;
    const bool preedit = cursor < -1 && !layout->preeditAreaText().isEmpty();
    if ((cursor >= start && cursor < start + length) || preedit) {
        cursor = preedit ? layout->preeditAreaPosition() - (cursor + 2) : cursor - start;
        const QVariant width = property("cursorWidth");
        layout->drawCursor(painter, QPointF(), cursor, width.isValid() ? width.toInt() : 1);
    }
    painter->setPen(pen);
}

// Where a point falls: above a paragraph's lines it is the paragraph's start, below them its
// end, beside a line the nearest place in that line; as Qt's document layout answers.
int FlowLayout::hitTest(const QPointF &where, Qt::HitTestAccuracy accuracy) const
{
    const QPointF point(QFixed::fromReal(where.x()).toReal(), QFixed::fromReal(where.y()).toReal());
    layOutDownTo(point.y());
    if (extents_.size() == 0)
        return 0;
    const qint64 at = qint64((point.y() - flow_.top.toReal()) * 64);
    int n = qMax(0, extents_.indexAt(at));
    for (int tries = 0; tries < 4 && (extents_.guessed(n) || (n > 0 && extents_.guessed(n - 1))); ++tries) {
        measureAround(n);
        n = qMax(0, extents_.indexAt(at));
    }
    QTextBlock block = document()->findBlockByNumber(n);
    if (tables_.tableOf(block)) {
        if (const TableChunk *chunk = tables_.chunkOf(block))
            return chunk->hitTest(point - QPointF(0, chunkTop(block)), accuracy);
        return block.position();
    }
    place(block, n);
    if (n > 0 && !tables_.tableOf(block.previous())) { // a point on the line between two paragraphs is the upper one's
        const QTextBlock above = block.previous();
        place(above, n - 1);
        if (point.y() <= above.layout()->boundingRect().translated(above.layout()->position()).bottom())
            block = above;
    }
    const QTextLayout *layout = block.layout();
    const QRectF box = layout->boundingRect().translated(layout->position());
    int position = block.position();
    bool exact = false;
    if (point.y() > box.bottom()) {
        position += block.length();
    } else if (point.y() >= box.top()) {
        const QPointF at = point - layout->position();
        int offset = 0;
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const QRectF rect = line.naturalTextRect();
            if (rect.top() > at.y()) {
                offset = qMin(offset, line.textStart());
            } else if (rect.bottom() <= at.y()) {
                offset = qMax(offset, line.textStart() + line.textLength());
            } else {
                exact = rect.left() <= at.x() && rect.right() >= at.x();
                offset = line.xToCursor(at.x(), accuracy == Qt::ExactHit ? QTextLine::CursorOnCharacter
                                                                          : QTextLine::CursorBetweenCharacters);
                break;
            }
        }
        position += offset;
    }
    if (accuracy == Qt::ExactHit && !exact)
        return -1;
    const int last = document()->rootFrame()->lastPosition() + layout->preeditAreaText().length();
    return qBound(0, position, last);
}
