#pragma once
#include "layout/table_chunk.h"
#include <unordered_map>
#include <QTextBlock>
#include <memory>
#include <vector>

class QTextTable;

// The tables of a flow, each laid out a chunk of rows at a time by TableChunk, so a long table
// takes its place in the flow in slices like paragraphs do. In the flow's list of heights, a
// chunk's height stands on the first paragraph of its first row and its other paragraphs have none.
class FlowTables
{
public:
    static constexpr int ChunkRows = 64;

    // Whether every frame of `document` is a table these chunks draw as Qt's layout would:
    // in the main flow, with collapsed borders and fixed column widths, and only tables nested
    // in its cells. Chunks end only between rows no merged cell spans.
    static bool canLayOut(const QTextDocument &document);

    void clear() { tables_.clear(); }

    // The top-level table a paragraph of the document is in (also from a table nested in it), or
    // nothing for a paragraph of the main flow.
    QTextTable *tableOf(const QTextBlock &block) const;
    // The first paragraph of the chunk `block` is in, which carries the chunk's height.
    QTextBlock chunkStart(const QTextBlock &block) const;
    // The last paragraph of that chunk.
    QTextBlock chunkEnd(const QTextBlock &block) const;
    // The chunk's height on its first paragraph (laying the chunk out), nothing on the others.
    qint32 extentOf(const QTextBlock &block);
    // The chunk that holds `block`, laid out before; null when it is not.
    const TableChunk *chunkOf(const QTextBlock &block) const;
    // The width of the table `block` is just after, once its first chunk is laid out.
    qreal widthOfTableBefore(const QTextBlock &block) const;
    // Forgets the chunks holding paragraphs `first` to `last`, so they are laid out afresh.
    void forget(const QTextBlock &first, const QTextBlock &last);

private:
    struct Table
    {
        std::vector<int> starts; // each chunk's first row
        std::vector<std::unique_ptr<TableChunk>> chunks;
    };
    int rowOf(const QTextTable &table, const QTextBlock &block) const;
    Table &entryOf(const QTextTable &table) const;
    int indexOf(const QTextTable &table, int row) const;
    int endOf(const QTextTable &table, int index) const;

    mutable std::unordered_map<const QTextTable *, Table> tables_;
};
