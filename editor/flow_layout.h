#pragma once
#include "editor/extent_list.h"
#include "editor/flow_tables.h"
#include "editor/paragraph_lines.h"
#include <QAbstractTextDocumentLayout>
#include <QBasicTimer>
#include <QTextBlock>
#include <functional>

// Lays out a document that is one flow of paragraphs and tables (no other frames, no lists),
// placing every paragraph as Qt's document layout would, and tables a chunk of rows at a time, but keeping the paragraphs' heights in an ExtentList:
// an edit that moves everything below it costs the edited paragraphs and a walk over chunk sums,
// and a paragraph's place is worked out when it is drawn or asked for. Paragraphs not yet laid
// out are taken in slices on a timer, so a long document shows and takes keys at once.
class FlowLayout : public QAbstractTextDocumentLayout
{
public:
    // `handOver` gives the document another layout once it stops being one flow (a table or a
    // list came in); it runs from the event loop, never inside this layout's own calls.
    FlowLayout(QTextDocument *document, std::function<void(QTextDocument &)> handOver);

    // Whether `document` is one flow this layout can place.
    static bool canLayOut(const QTextDocument &document);
    bool finished() const { return extents_.size() == document()->blockCount(); }

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
    void startOver();
    // Lays out paragraphs for about `budgetNs`, and at least up to paragraph `upTo`.
    void layOutMore(qint64 budgetNs, int upTo = -1) const;
    void layOutUpTo(int blockNumber) const;
    void layOutDownTo(qreal y) const;
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
    mutable ExtentList extents_;      // one per paragraph laid out so far, from the first
    mutable FlowTables tables_;
    mutable QTextBlock next_;         // the first paragraph not laid out yet, when known
    mutable QFixed contentsWidth_;    // the widest line seen, for a flow a long word widened
    mutable qreal widestChunk_ = 0;   // the widest table chunk's document, for tables wider than the flow
    mutable QBasicTimer slices_;
    mutable QSizeF reportedSize_;
    int blockCount_ = 0;
    int frameCount_ = 0;
    std::function<void(QTextDocument &)> handOver_;
    bool handingOver_ = false;
};
