#include "editor/flow_tables.h"
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QtGui/private/qfixed_p.h>
#include <algorithm>

bool FlowTables::canLayOut(const QTextDocument &document)
{
    const QList<QTextFrame *> frames = document.rootFrame()->childFrames();
    const bool tablesOnly = std::all_of(frames.begin(), frames.end(), [](QTextFrame *frame) {
        const auto *table = qobject_cast<QTextTable *>(frame);
        if (!table || !frame->childFrames().isEmpty() || frame->frameFormat().position() != QTextFrameFormat::InFlow)
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
    return std::none_of(formats.begin(), formats.end(), [](const QTextFormat &f) {
        return f.isListFormat() || f.intProperty(QTextFormat::TableCellRowSpan) > 1;
    });
}

// Never through a cursor: a cursor asks the layout where its paragraph is, and this is the layout.
QTextTable *FlowTables::tableOf(const QTextBlock &block) const
{
    return block.isValid() ? qobject_cast<QTextTable *>(block.document()->frameAt(block.position())) : nullptr;
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

QTextBlock FlowTables::chunkStart(const QTextBlock &block) const
{
    const QTextTable *table = tableOf(block);
    const int first = rowOf(*table, block) / ChunkRows * ChunkRows;
    return firstBlockOf(*table, first);
}

QTextBlock FlowTables::chunkEnd(const QTextBlock &block) const
{
    const QTextTable *table = tableOf(block);
    const int end = (rowOf(*table, block) / ChunkRows + 1) * ChunkRows;
    if (end >= table->rows())
        return table->document()->findBlock(table->lastPosition()); // its end ends the last cell
    return firstBlockOf(*table, end).previous();
}

qint32 FlowTables::extentOf(const QTextBlock &block)
{
    const QTextTable *table = tableOf(block);
    const int row = rowOf(*table, block);
    const int index = row / ChunkRows;
    if (firstBlockOf(*table, index * ChunkRows) != block)
        return 0;
    auto &chunks = tables_[table];
    if (chunks.size() <= std::size_t(index))
        chunks.resize(std::size_t(index) + 1);
    chunks[std::size_t(index)] =
        std::make_unique<TableChunk>(*table, index * ChunkRows, qMin(table->rows(), (index + 1) * ChunkRows));
    return QFixed::fromReal(chunks[std::size_t(index)]->height()).value();
}

const TableChunk *FlowTables::chunkOf(const QTextBlock &block) const
{
    const QTextTable *table = tableOf(block);
    const auto found = tables_.find(table);
    if (!table || found == tables_.end())
        return nullptr;
    const std::size_t index = std::size_t(rowOf(*table, block) / ChunkRows);
    return index < found->second.size() ? found->second[index].get() : nullptr;
}

void FlowTables::forget(const QTextBlock &first, const QTextBlock &last)
{
    for (const QTextBlock &block : {first, last}) {
        const QTextTable *table = block.isValid() ? tableOf(block) : nullptr;
        const auto found = table ? tables_.find(table) : tables_.end();
        if (found == tables_.end())
            continue;
        auto &chunks = found->second;
        const std::size_t index = std::size_t(rowOf(*table, block) / ChunkRows);
        if (index < chunks.size())
            chunks[index].reset();
    }
}

qreal FlowTables::widthOfTableBefore(const QTextBlock &block) const
{
    const QTextTable *table = tableOf(block.previous());
    const auto found = table ? tables_.find(table) : tables_.end();
    if (found == tables_.end() || found->second.empty() || !found->second.front())
        return 0;
    return found->second.front()->tableWidth();
}
