#include "layout/flow_tables.h"
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QtGui/private/qfixed_p.h>
#include <algorithm>

namespace {

// Tables nested in cells are copied with them and laid out by Qt in the copy, whatever their form.
bool onlyTablesIn(const QTextFrame &frame)
{
    const QList<QTextFrame *> children = frame.childFrames();
    return std::all_of(children.begin(), children.end(),
                       [](QTextFrame *child) { return qobject_cast<QTextTable *>(child) && onlyTablesIn(*child); });
}

} // namespace

bool FlowTables::canLayOut(const QTextDocument &document)
{
    const QList<QTextFrame *> frames = document.rootFrame()->childFrames();
    const bool tablesOnly = std::all_of(frames.begin(), frames.end(), [](QTextFrame *frame) {
        const auto *table = qobject_cast<QTextTable *>(frame);
        if (!table || !onlyTablesIn(*frame) || frame->frameFormat().position() != QTextFrameFormat::InFlow)
            return false;
        const QTextTableFormat format = table->format();
        const QList<QTextLength> widths = format.columnWidthConstraints();
        return format.borderCollapse() && format.border() == 0 && widths.size() == table->columns()
            && std::all_of(widths.begin(), widths.end(),
                           [](const QTextLength &w) { return w.type() == QTextLength::FixedLength; });
    });
    if (!tablesOnly)
        return false;
    const QList<QTextFormat> formats = document.allFormats();
    return std::none_of(formats.begin(), formats.end(), [](const QTextFormat &f) { return f.isListFormat(); });
}

// Never through a cursor: a cursor asks the layout where its paragraph is, and this is the layout.
QTextTable *FlowTables::tableOf(const QTextBlock &block) const
{
    if (!block.isValid())
        return nullptr;
    QTextFrame *frame = block.document()->frameAt(block.position());
    while (frame->parentFrame() && frame->parentFrame()->parentFrame())
        frame = frame->parentFrame();
    return qobject_cast<QTextTable *>(frame);
}

namespace {

QTextBlock firstBlockOf(const QTextTable &table, int row)
{
    return table.document()->findBlock(table.cellAt(row, 0).firstPosition());
}

} // namespace

int FlowTables::rowOf(const QTextTable &table, const QTextBlock &block) const
{
    return table.cellAt(block.position()).row();
}

// Chunks of about ChunkRows rows, each ending only where every merged cell above has ended.
FlowTables::Table &FlowTables::entryOf(const QTextTable &table) const
{
    Table &entry = tables_[&table];
    if (!entry.starts.empty())
        return entry;
    entry.starts.push_back(0);
    int merged = 0; // the row down to which cells merged so far reach
    for (int row = 0; row < table.rows(); ++row) {
        if (row >= entry.starts.back() + ChunkRows && merged <= row)
            entry.starts.push_back(row);
        for (int column = 0; column < table.columns(); ++column) {
            const QTextTableCell cell = table.cellAt(row, column);
            if (row == 0 || !(table.cellAt(row - 1, column) == cell))
                merged = qMax(merged, row + cell.rowSpan());
        }
    }
    return entry;
}

int FlowTables::indexOf(const QTextTable &table, int row) const
{
    const std::vector<int> &starts = entryOf(table).starts;
    return int(std::upper_bound(starts.begin(), starts.end(), row) - starts.begin()) - 1;
}

int FlowTables::endOf(const QTextTable &table, int index) const
{
    const std::vector<int> &starts = entryOf(table).starts;
    return std::size_t(index + 1) < starts.size() ? starts[std::size_t(index + 1)] : table.rows();
}

QTextBlock FlowTables::chunkStart(const QTextBlock &block) const
{
    const QTextTable *table = tableOf(block);
    return firstBlockOf(*table, entryOf(*table).starts[std::size_t(indexOf(*table, rowOf(*table, block)))]);
}

QTextBlock FlowTables::chunkEnd(const QTextBlock &block) const
{
    const QTextTable *table = tableOf(block);
    const int end = endOf(*table, indexOf(*table, rowOf(*table, block)));
    if (end >= table->rows())
        return table->document()->findBlock(table->lastPosition()); // its end ends the last cell
    return firstBlockOf(*table, end).previous();
}

qint32 FlowTables::extentOf(const QTextBlock &block)
{
    const QTextTable *table = tableOf(block);
    const int index = indexOf(*table, rowOf(*table, block));
    Table &entry = entryOf(*table);
    const int first = entry.starts[std::size_t(index)];
    if (firstBlockOf(*table, first) != block)
        return 0;
    if (entry.chunks.size() <= std::size_t(index))
        entry.chunks.resize(std::size_t(index) + 1);
    auto &chunk = entry.chunks[std::size_t(index)];
    chunk = std::make_unique<TableChunk>(*table, first, endOf(*table, index));
    return QFixed::fromReal(chunk->height()).value();
}

const TableChunk *FlowTables::chunkOf(const QTextBlock &block) const
{
    const QTextTable *table = tableOf(block);
    if (!table)
        return nullptr;
    const std::size_t index = std::size_t(indexOf(*table, rowOf(*table, block)));
    const Table &entry = entryOf(*table);
    return index < entry.chunks.size() ? entry.chunks[index].get() : nullptr;
}

void FlowTables::forget(const QTextBlock &first, const QTextBlock &last)
{
    for (const QTextBlock &block : {first, last}) {
        const QTextTable *table = block.isValid() ? tableOf(block) : nullptr;
        if (!table)
            continue;
        Table &entry = entryOf(*table);
        const std::size_t index = std::size_t(indexOf(*table, rowOf(*table, block)));
        if (index < entry.chunks.size())
            entry.chunks[index].reset();
    }
}

qreal FlowTables::widthOfTableBefore(const QTextBlock &block) const
{
    const QTextTable *table = tableOf(block.previous());
    const auto found = table ? tables_.find(table) : tables_.end();
    if (found == tables_.end() || found->second.chunks.empty() || !found->second.chunks.front())
        return 0;
    return found->second.chunks.front()->tableWidth();
}
