// Tables: a paragraph's depth (\intbl, \itap) says in which table it stands;
// tables open and close to match it, a table inside a cell of the one around
// it. Cells are filled as they arrive; each row takes its definition's borders
// and shading when it ends, and the merges and widths are made once the table
// is complete.
#include "model/text_properties.h"
#include "rtf/reader.h"
#include "rtf/table_lookahead.h"
#include <QTextBlock>
#include <QTextTable>
#include <algorithm>

namespace rtf {
namespace {

// Every merge makes the table rebuild its grid; past this many cells rebuilt,
// the remaining merges of a table are left undone (their cells keep their text).
constexpr qint64 MergeBudget = 20'000'000;

// The rows ahead of the reader, seen from the paragraph it is in.
TableAhead aheadOf(QByteArrayView unread, const Tokenizer &tokenizer, const ParaState &para)
{
    return lookAhead(unread.sliced(tokenizer.offset()), para.inTable, para.tableLevel);
}

bool hasMerges(const std::vector<CellSpec> &cells)
{
    return std::any_of(cells.begin(), cells.end(), [](const CellSpec &c) {
        return c.mergeFirst || c.merged || c.verticalFirst || c.verticalMerged;
    });
}

} // namespace

void Reader::tableWord(Command command, int param)
{
    ParaState &para = group().para;
    switch (command) {
    case Command::InTable: para.inTable = true; break;
    case Command::TableLevel: para.tableLevel = std::clamp(param, 0, TableState::MaxDepth); break;
    case Command::Cell:
    case Command::NestedCell: cellEnd(); break;
    case Command::Row: rowEnd(false); break;
    case Command::NestedRow: rowEnd(true); break;
    default: rowDefinitionWord(command, param); break;
    }
}

void Reader::syncTable(int atLeast)
{
    const size_t depth = size_t(std::max(atLeast, tableDepth()));
    while (m_tables.size() > depth)
        leaveTable();
    while (m_tables.size() < depth) {
        if (!m_tables.empty())
            enterCell(m_tables.back());
        openTable();
    }
    if (!m_tables.empty())
        enterCell(m_tables.back());
}

void Reader::openTable()
{
    flushRun();
    m_blockPending = false; // the table itself starts the next paragraph
    joinEmptyBlockBeforeTable();
    QTextTableFormat format;
    format.setBorder(0); // the cells draw the borders the file gives
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    TableState t;
    t.columns = std::max<int>(1, int(rowSpec().cells.size()));
    if (m_tables.empty()) {
        TableAhead ahead = aheadOf(m_unread, *m_tokenizer, group().para);
        t.rows = std::max(1, ahead.rows);
        if (!ahead.boundaries.empty() && ahead.boundaries.size() <= size_t(TableState::MaxColumns)) {
            t.grid = std::move(ahead.boundaries);
            t.columns = int(t.grid.size());
        }
    }
    t.table = m_cursor.insertTable(t.rows, t.columns, format);
    m_tables.push_back(t);
    m_appliedLook.reset();
}

void Reader::startRow(TableState &t)
{
    ++t.row;
    if (t.row >= t.rows) {
        // Each growth rebuilds the table's grid: the outer table grows by all
        // the rows ahead at once; a table inside a cell, whose rows the look-ahead
        // does not count, doubles, and finishTable drops the rows left over.
        const int added =
            m_tables.size() == 1 ? std::max(1, aheadOf(m_unread, *m_tokenizer, group().para).rows) : t.rows;
        t.table->appendRows(added);
        t.rows += added;
    }
    t.cellStarts = cellColumns(t.grid, rowSpec());
    t.rowCells.clear();
    t.column = 0;
    t.rowOpen = true;
    t.cellEnded = false;
}

void Reader::enterCell(TableState &t)
{
    if (!t.rowOpen) {
        flushRun();
        startRow(t);
    } else if (t.cellEnded) {
        flushRun();
        t.cellEnded = false;
        const size_t index = t.rowCells.size();
        const int next = index < t.cellStarts.size() ? t.cellStarts[index].first : t.column + 1;
        if (next >= t.columns) {
            if (next >= TableState::MaxColumns) {
                // Past the last column: the text joins the last cell.
                m_cursor = t.table->cellAt(t.row, t.column).lastCursorPosition();
                m_cursor.insertText(QStringLiteral("\t"));
                return;
            }
            t.table->appendColumns(next + 1 - t.columns);
            t.columns = next + 1;
        }
        t.column = next;
    } else {
        return;
    }
    const size_t index = t.rowCells.size();
    t.rowCells.emplace_back(t.column, index < t.cellStarts.size() ? t.cellStarts[index].second : t.column);
    m_cursor = t.table->cellAt(t.row, t.column).firstCursorPosition();
    m_appliedLook.reset();
}

// Qt keeps the block a table is inserted into in front of the table; when
// that block is the empty one a \par just opened, fold it into the one before.
void Reader::joinEmptyBlockBeforeTable()
{
    const QTextBlock current = m_cursor.block();
    const QTextBlock previous = current.previous();
    // A section's only paragraph, empty, still holds its section.
    if (current.length() != 1 || !previous.isValid()
        || current.blockFormat().intProperty(model::SectionProperty)
               != previous.blockFormat().intProperty(model::SectionProperty))
        return;
    QTextCursor before(previous);
    if (before.currentFrame() != m_cursor.currentFrame() || before.currentTable())
        return;
    m_cursor.deletePreviousChar();
    m_appliedLook.reset();
}

void Reader::cellEnd()
{
    if (group().destination != Destination::Text)
        return;
    syncTable(1); // a \cell outside any table opens one
    materializeBlock();
    flushRun();
    applyBlockLookWithAnchors();
    m_tables.back().cellEnded = true;
}

void Reader::rowEnd(bool nested)
{
    if (m_tables.empty() || group().destination != Destination::Text)
        return;
    if (!nested) {
        while (m_tables.size() > 1)
            leaveTable();
    }
    flushRun();
    TableState &t = m_tables.back();
    if (t.row < 0 || !t.rowOpen)
        return;
    const RowSpec &spec = rowSpec();
    const int cells = int(t.rowCells.size());
    bool spans = false;
    for (int i = 0; i < cells; ++i) {
        t.table->cellAt(t.row, t.rowCells[size_t(i)].first).setFormat(cellFormat(spec, i, cells, m_colors));
        spans = spans || t.rowCells[size_t(i)].second > t.rowCells[size_t(i)].first;
    }
    if (t.widths.isEmpty() && !spec.cells.empty()) {
        RowSpec edges = spec;
        if (!t.grid.empty()) {
            edges.cells.assign(t.grid.size(), CellSpec{});
            for (size_t i = 0; i < t.grid.size(); ++i)
                edges.cells[i].right = t.grid[i];
        }
        t.widths = columnWidths(edges);
        t.gap = spec.gap;
    }
    if (spans || hasMerges(spec.cells))
        recordMerges(t, spec);
    t.rowOpen = false;
    t.cellEnded = false;
}

// A cell's own marks at its first column; the further columns a wide cell
// covers continue it, across and, when it continues the cell above, down.
void Reader::recordMerges(TableState &t, const RowSpec &spec)
{
    t.mergeFlags.resize(size_t(t.row) + 1);
    std::vector<quint8> &flags = t.mergeFlags.back();
    flags.assign(size_t(t.columns), 0);
    // Cells the row defines but leaves out still take part in its merges.
    const size_t cells = std::max(t.rowCells.size(), spec.cells.size());
    for (size_t i = 0; i < cells; ++i) {
        const CellSpec cell = i < spec.cells.size() ? spec.cells[i] : CellSpec{};
        const quint8 down = cell.verticalMerged ? MergeDown : 0;
        const auto [first, last] = i < t.rowCells.size() ? t.rowCells[i]
                                   : i < t.cellStarts.size() ? t.cellStarts[i]
                                                             : std::pair<int, int>(int(i), int(i));
        if (first >= t.columns)
            break;
        flags[size_t(first)] = quint8((cell.merged ? MergeAcross : 0) | down);
        for (int column = first + 1; column <= last && column < t.columns; ++column)
            flags[size_t(column)] = quint8(MergeAcross | down);
    }
}

void Reader::leaveTable()
{
    flushRun();
    m_blockPending = false;
    finishTable(m_tables.back());
    m_cursor.setPosition(m_tables.back().table->lastPosition() + 1);
    m_tables.pop_back();
    m_appliedLook.reset();
}

void Reader::finishTable(TableState &t)
{
    const int used = std::max(1, t.row + 1);
    if (t.rows > used)
        t.table->removeRows(used, t.rows - used);
    t.rows = used;
    qint64 spent = 0;
    const qint64 cost = qint64(t.rows) * t.columns;
    const std::vector<CellSpan> spans = cellSpans(t.mergeFlags);
    for (auto span = spans.rbegin(); span != spans.rend() && spent < MergeBudget; ++span) {
        t.table->mergeCells(span->row, span->column, std::min(span->rows, t.rows - span->row),
                            std::min(span->columns, t.columns - span->column));
        spent += cost;
    }
    QTextTableFormat format = t.table->format();
    if (!t.widths.isEmpty()) {
        QList<QTextLength> widths = t.widths.mid(0, t.columns);
        while (widths.size() < t.columns)
            widths.append(QTextLength());
        format.setColumnWidthConstraints(widths);
    }
    if (t.gap > 0)
        format.setCellPadding(t.gap / TwipsPerPixel);
    t.table->setFormat(format);
}

} // namespace rtf
