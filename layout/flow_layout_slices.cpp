// When the flow layout lays out which paragraphs: from the top in slices on a timer, at once
// what is asked for, and, for a question far below what is laid out (a jump to the end of a long
// document), only what it shows, the heights between guessed at until the slices get there.
#include "layout/flow_layout.h"
#include <QTextDocument>
#include <cstdint>
#include <numeric>

namespace {

// Beyond this many paragraphs past those laid out, a question is answered from guesses.
constexpr int FarParagraphs = 2000;
// Around a paragraph asked about, this much is laid out too: what a window shows around it.
constexpr qint64 AroundFixed = 1500 * 64;

} // namespace

void FlowLayout::layOutMore(qint64 budgetNs, int upTo) const
{
    if (finished() || document()->pageSize().width() <= 0)
        return;
    QElapsedTimer clock;
    clock.start();
    if (extents_.hasGuesses())
        measureGuesses(clock, budgetNs);
    if (!extents_.hasGuesses() && extents_.size() < document()->blockCount()
        && (extents_.size() <= upTo || clock.nsecsElapsed() < budgetNs))
        appendMore(clock, budgetNs, upTo);
    if (!finished() && !slices_.isActive())
        slices_.start(0, const_cast<FlowLayout *>(this));
    // A view scrolls within its range: up before the range shrinks, down after it grows.
    if (movedBy_ < 0)
        reportMoves();
    reportSize();
    reportMoves();
}

void FlowLayout::appendMore(const QElapsedTimer &clock, qint64 budgetNs, int upTo) const
{
    if (!next_.isValid())
        next_ = document()->findBlockByNumber(extents_.size());
    do {
        extents_.append(extentOf(next_));
        next_ = next_.next();
    } while (next_.isValid() && (extents_.size() <= upTo || clock.nsecsElapsed() < budgetNs));
}

void FlowLayout::layOutAll() const
{
    while (!finished() && document()->pageSize().width() > 0)
        layOutMore(INT64_MAX);
}

void FlowLayout::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != slices_.timerId())
        return QAbstractTextDocumentLayout::timerEvent(event);
    layOutMore(SliceNs);
    if (finished())
        slices_.stop();
}

void FlowLayout::layOutUpTo(int blockNumber) const
{
    const int size = extents_.size();
    if (blockNumber >= size && (extents_.hasGuesses() || blockNumber - size > FarParagraphs))
        guessAhead();
    if (blockNumber >= extents_.size())
        layOutMore(0, blockNumber);
    else if (extents_.guessed(blockNumber))
        measureAround(blockNumber);
}

void FlowLayout::layOutDownTo(qreal y) const
{
    if (finished() || document()->pageSize().width() <= 0)
        return;
    const qint64 target = qint64(y * 64) - flow_.top.value();
    const qint64 mean = extents_.size() > 0 ? extents_.total() / extents_.size() : 20 * 64;
    if (extents_.hasGuesses() || target - extents_.total() > FarParagraphs * mean)
        guessAhead();
    // Once every paragraph has a height, guessed or not, what is below the last one is the margin.
    while (extents_.size() < document()->blockCount() && extents_.total() <= target)
        layOutMore(SliceNs);
}

// Every paragraph not laid out yet gets the mean height of those that are.
void FlowLayout::guessAhead() const
{
    const int size = extents_.size(), rest = document()->blockCount() - size;
    if (rest <= 0)
        return;
    const qint64 mean = size > 0 ? extents_.total() / size : 20 * 64;
    extents_.appendGuesses(rest, qint32(qMax<qint64>(1, mean)));
    next_ = QTextBlock();
    if (!slices_.isActive())
        slices_.start(0, const_cast<FlowLayout *>(this));
    reportSize();
}

// Lays out `count` paragraphs from `block` on (fewer when `budgetNs` runs out first, one at the
// least), whole table chunks at a time, and puts their heights in place at once.
FlowLayout::Measured FlowLayout::measure(const QTextBlock &from, int count, const QElapsedTimer *clock,
                                         qint64 budgetNs) const
{
    QTextBlock block = tables_.tableOf(from) ? tables_.chunkStart(from) : from;
    const int first = block.blockNumber();
    std::vector<qint32> fresh;
    QTextBlock chunkEnd;
    for (; block.isValid(); block = block.next()) {
        const bool done = int(fresh.size()) >= count || (clock && clock->nsecsElapsed() >= budgetNs);
        if (!chunkEnd.isValid() && !fresh.empty() && done)
            break;
        if (!chunkEnd.isValid() && tables_.tableOf(block))
            chunkEnd = tables_.chunkEnd(block);
        fresh.push_back(extentOf(block));
        if (block == chunkEnd)
            chunkEnd = QTextBlock();
    }
    const int end = first + int(fresh.size());
    const qint64 before = extents_.offsetOf(end) - extents_.offsetOf(first);
    extents_.replace(first, int(fresh.size()), fresh);
    return {first, end, std::accumulate(fresh.begin(), fresh.end(), qint64(0)) - before};
}

// A paragraph asked about, and what a window would show around it.
void FlowLayout::measureAround(int blockNumber) const
{
    const QTextDocument *doc = document();
    const Measured own = measure(doc->findBlockByNumber(blockNumber), 1);
    const qint64 top = extents_.offsetOf(own.first), bottom = extents_.offsetOf(own.end);
    for (int n = own.first - 1; n >= 0 && extents_.guessed(n) && top - extents_.offsetOf(n + 1) < AroundFixed;)
        n = measure(doc->findBlockByNumber(n), 1).first - 1;
    for (int n = own.end; n < extents_.size() && extents_.guessed(n) && extents_.offsetOf(n) - bottom < AroundFixed;)
        n = measure(doc->findBlockByNumber(n), 1).end;
}

// The background's share: guesses from the top down, for about `budgetNs`.
void FlowLayout::measureGuesses(const QElapsedTimer &clock, qint64 budgetNs) const
{
    while (extents_.hasGuesses() && clock.nsecsElapsed() < budgetNs) {
        const int from = extents_.firstGuess();
        const Measured run = measure(document()->findBlockByNumber(from), extents_.guessRunEnd(from) - from,
                                     &clock, budgetNs);
        movedBy_ += run.change;
        movedBelow_ = run.end;
    }
}

void FlowLayout::reportMoves() const
{
    if (movedBelow_ >= 0 && movedBy_ != 0 && moved_)
        moved_(qreal(flow_.top.value() + extents_.offsetOf(movedBelow_)) / 64, qreal(movedBy_) / 64);
    movedBelow_ = -1;
    movedBy_ = 0;
}
