// Tables: the first paragraph marked \intbl opens a table; the rows grow as
// cells arrive; the first paragraph without \intbl leaves the table.
#include "rtf/reader.h"
#include <QTextBlock>
#include <QTextTable>
#include <algorithm>

namespace rtf {

void Reader::tableWord(Command command, int param)
{
    ParaState &para = group().para;
    switch (command) {
    case Command::InTable: para.inTable = true; break;
    case Command::TableLevel: para.inTable = param > 0; break;
    case Command::Cell: cellEnd(); break;
    case Command::Row: rowEnd(); break;
    case Command::NestedCell: paragraphEnd(); break;
    case Command::RowDefaults: m_table.rowBoundaries = 0; break;
    case Command::CellBoundary:
        m_table.rowBoundaries = std::min(m_table.rowBoundaries + 1, TableState::MaxColumns);
        break;
    default: break;
    }
}

void Reader::syncTable()
{
    if (group().para.inTable)
        enterCell();
    else if (m_table.table)
        leaveTable();
}

void Reader::enterCell()
{
    TableState &t = m_table;
    if (!t.table) {
        flushRun();
        m_blockPending = false; // the table itself starts the next paragraph
        joinEmptyBlockBeforeTable();
        t.table = m_cursor.insertTable(1, std::max(1, t.rowBoundaries));
        t.row = t.column = 0;
        t.rowOpen = true;
        t.cellEnded = false;
        m_appliedLook.reset();
        return;
    }
    if (!t.rowOpen) {
        flushRun();
        t.table->appendRows(1);
        ++t.row;
        t.column = 0;
        t.rowOpen = true;
        t.cellEnded = false;
    } else if (t.cellEnded) {
        flushRun();
        t.cellEnded = false;
        if (t.column + 1 >= t.table->columns()) {
            if (t.table->columns() >= TableState::MaxColumns) {
                // Past the last column: the text joins the last cell.
                m_cursor = t.table->cellAt(t.row, t.column).lastCursorPosition();
                m_cursor.insertText(QStringLiteral("\t"));
                return;
            }
            t.table->appendColumns(1);
        }
        ++t.column;
    } else {
        return;
    }
    m_cursor = t.table->cellAt(t.row, t.column).firstCursorPosition();
    m_appliedLook.reset();
}

// Qt keeps the block a table is inserted into in front of the table; when
// that block is the empty one a \par just opened, fold it into the one before.
void Reader::joinEmptyBlockBeforeTable()
{
    const QTextBlock current = m_cursor.block();
    const QTextBlock previous = current.previous();
    if (current.length() != 1 || !previous.isValid())
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
    enterCell();
    materializeBlock();
    flushRun();
    applyBlockLook();
    m_table.cellEnded = true;
}

void Reader::rowEnd()
{
    if (!m_table.table || group().destination != Destination::Text)
        return;
    flushRun();
    m_table.rowOpen = false;
    m_table.cellEnded = false;
}

void Reader::leaveTable()
{
    flushRun();
    m_blockPending = false;
    m_cursor.setPosition(m_table.table->lastPosition() + 1);
    m_table.table = nullptr;
    m_appliedLook.reset();
}

} // namespace rtf
