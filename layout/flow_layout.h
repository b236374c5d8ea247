#pragma once
#include "layout/flow_heights.h"
#include "layout/flow_tables.h"
#include "layout/paragraph_lines.h"
#include <QAbstractTextDocumentLayout>
#include <QBasicTimer>
#include <QElapsedTimer>
#include <QTextBlock>
#include <functional>

// Lays out a document that is one flow of paragraphs, lists and tables (no other frames, no
// lists in a document with tables),
// placing every paragraph as Qt's document layout would, and tables a chunk of rows at a time,
// but keeping the paragraphs' heights in an ExtentList: an edit that moves everything below it
// costs the edited paragraphs and a walk over chunk sums, and a paragraph's place is worked out
// when it is drawn or asked for. Paragraphs not yet laid out are taken in slices on a timer, so
// a long document shows and takes keys at once; a jump far ahead of the slices is answered from
// guessed heights above it, which the slices then replace.
class FlowLayout : public QAbstractTextDocumentLayout
{
public:
    // `handOver` gives the document another layout once it stops being one flow (a table came
    // in with lists); it runs from the event loop, never inside this layout's own calls.
    FlowLayout(QTextDocument *document, std::function<void(QTextDocument &)> handOver);

    // Whether `document` is one flow this layout can place.
    static bool canLayOut(const QTextDocument &document);
    bool finished() const { return extents_.size() == document()->blockCount() && !extents_.hasGuesses(); }
    // Lays out whatever is left, at once.
    void layOutAll() const;
    // `moved(below, by)`: what is drawn from `below` down moved by `by` pixels, as paragraphs
    // above it that were guessed at were laid out in the background; a view showing it keeps
    // its place by scrolling as much.
    void onMovedBelow(std::function<void(qreal below, qreal by)> moved) { moved_ = std::move(moved); }

    void draw(QPainter *painter, const PaintContext &context) override;
    int hitTest(const QPointF &point, Qt::HitTestAccuracy accuracy) const override;
    int pageCount() const override { return 1; }
    QSizeF documentSize() const override;
    QRectF frameBoundingRect(QTextFrame *frame) const override;
    QRectF blockBoundingRect(const QTextBlock &block) const override;

protected:
    void documentChanged(int from, int oldLength, int length) override;
    void timerEvent(QTimerEvent *event) override;

private:
    // One slice of background layout: short enough that a key waits for no more than this.
    static constexpr qint64 SliceNs = 8'000'000;

    void startOver();
    // Lays out paragraphs for about `budgetNs`, and at least up to paragraph `upTo`.
    void layOutMore(qint64 budgetNs, int upTo = -1) const;
    void appendMore(const QElapsedTimer &clock, qint64 budgetNs, int upTo) const;
    void layOutUpTo(int blockNumber) const;
    void layOutDownTo(qreal y) const;
    // Paragraphs asked about far below the ones laid out are guessed at and laid out where
    // they are asked for; the guesses are laid out in the background from the top.
    void guessAhead() const;
    struct Measured
    {
        int first, end; // the paragraph numbers laid out
        qint64 change;  // how much their heights changed
    };
    Measured measure(const QTextBlock &block, int count, const QElapsedTimer *clock = nullptr,
                     qint64 budgetNs = 0) const;
    void measureAround(int blockNumber) const;
    void measureGuesses(const QElapsedTimer &clock, qint64 budgetNs) const;
    void reportMoves() const;
    qint32 extentOf(const QTextBlock &block) const;
    qint64 topOf(const QTextBlock &block, int number) const;
    QFixed spacingAbove(const QTextBlock &block) const;
    bool startsAfterTable(const QTextBlock &block) const;
    qreal chunkTop(const QTextBlock &block) const;
    void place(const QTextBlock &block, int number) const;
    void reportSize() const;
    void drawBlock(QPainter *painter, const PaintContext &context, const QTextBlock &block,
                   const QRectF &clip) const;
    void handOver();
    bool handOverIfNoLongerOneFlow(const QTextBlock &first, int count);

    FlowFrame flow_{};
    mutable FlowHeights extents_;     // one per paragraph laid out (or guessed) so far, from the first
    mutable FlowTables tables_;
    mutable QTextBlock next_;         // the first paragraph not laid out yet, when known
    mutable QFixed contentsWidth_;    // the widest line seen, for a flow a long word widened
    mutable qreal widestChunk_ = 0;   // the widest table chunk's document, for tables wider than the flow
    mutable QBasicTimer slices_;
    mutable QSizeF reportedSize_;
    int blockCount_ = 0;
    int frameCount_ = 0;
    std::function<void(QTextDocument &)> handOver_;
    std::function<void(qreal, qreal)> moved_;
    mutable qint64 movedBy_ = 0;  // by the guesses laid out since the last report, and below which
    mutable int movedBelow_ = -1; // paragraph
    bool handingOver_ = false;
};
