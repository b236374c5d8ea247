// The pieces of a page: a paragraph's lines, a table's rows, a note.
#include "layout/page_flow.h"
#include "layout/page_notes.h"
#include "layout/table_chunk.h"
#include "model/text_properties.h"
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>

namespace {

constexpr int TableStep = 16; // rows laid out at once while a table is spread over pages

qreal linesHeight(const QTextLayout &layout, int from, int to)
{
    return layout.lineAt(to - 1).y() + layout.lineAt(to - 1).height() - layout.lineAt(from).y();
}

int stepEnd(const std::vector<bool> &starts, int row, int step)
{
    int end = qMin(int(starts.size()), row + qMax(1, step));
    while (end < int(starts.size()) && !starts[size_t(end)])
        ++end;
    return end;
}

// A row between `row` and `end` where fewer rows may end, about half way; `end` when there is none.
int halfway(const std::vector<bool> &starts, int row, int end)
{
    for (int at = row + (end - row) / 2; at > row; --at)
        if (starts[size_t(at)])
            return at;
    return end;
}

bool hasFootnoteMarks(const QTextBlock &block)
{
    for (auto it = block.begin(); !it.atEnd(); ++it)
        if (it.fragment().charFormat().objectType() == model::NoteMarkObject)
            return true;
    return false;
}

} // namespace

// Lines go onto the page while they and the footnotes they mark fit; a paragraph's first line
// alone is not left at a page's foot, nor its last carried alone onto the next, with widow control.
void PageFlow::placeLines(const QTextBlock &block, qreal spacing, bool widowControl)
{
    const QTextLayout &layout = *block.layout();
    const int lines = layout.lineCount();
    if (lines == 0)
        return;
    const bool marks = hasFootnoteMarks(block);
    const auto notesOf = [&](int from, int to) {
        return marks ? footnotesIn(block, layout.lineAt(from).textStart(),
                                   layout.lineAt(to - 1).textStart() + layout.lineAt(to - 1).textLength())
                     : std::vector<int>();
    };
    int line = 0;
    qreal top = y_ + spacing;
    while (line < lines && !cancelled_) {
        std::vector<int> notes = page().footnotes;
        int end = line;
        for (; end < lines; ++end) {
            std::vector<int> more = notes;
            for (int id : notesOf(end, end + 1))
                more.push_back(id);
            if (top + linesHeight(layout, line, end + 1) > bodyHeight(section_) - footnoteHeight(more))
                break;
            notes = std::move(more);
        }
        int fitted = end - line;
        if (widowControl && end < lines && lines > 1) {
            if (line == 0 && fitted < 2)
                fitted = 0;
            else if (lines - end == 1)
                fitted = line == 0 && fitted == 2 ? 0 : fitted - 1;
        }
        if (fitted == 0 && !pageEmpty()) {
            startPage();
            top = 0;
            continue;
        }
        fitted = qMax(fitted, 1);
        PagePiece piece;
        piece.block = block;
        piece.firstLine = line;
        piece.endLine = line + fitted;
        piece.top = top;
        piece.height = linesHeight(layout, line, line + fitted);
        for (int id : notesOf(line, line + fitted))
            page().footnotes.push_back(id);
        page().pieces.push_back(piece);
        y_ = top + piece.height;
        line += fitted;
        if (line < lines) {
            startPage();
            top = 0;
        }
    }
}

// A table goes down the pages a few rows at a time, ending a page between rows no merged cell spans.
void PageFlow::placeTable(QTextTable &table)
{
    enterSection(table.cellAt(0, 0).firstCursorPosition().block().blockFormat().intProperty(model::SectionProperty));
    const std::vector<bool> starts = rowStarts(table);
    int row = 0;
    while (row < table.rows() && !cancelled_) {
        int end = stepEnd(starts, row, TableStep);
        for (;;) {
            const qreal height = tableChunk(table, row, end)->height() * tableScale();
            const int fewer = halfway(starts, row, end);
            if (height > room() && fewer < end) {
                end = fewer;
                continue;
            }
            if (height > room() && !pageEmpty()) {
                startPage();
                end = stepEnd(starts, row, TableStep);
                continue;
            }
            PagePiece piece;
            piece.kind = PagePiece::Kind::TableRows;
            piece.table = &table;
            piece.firstRow = row;
            piece.endRow = end;
            piece.top = y_;
            piece.height = height;
            page().pieces.push_back(piece);
            y_ += height;
            row = end;
            break;
        }
    }
    belowLast_ = 0;
}

void PageFlow::placeEndnotes()
{
    if (notes_.endnotes().empty())
        return;
    const qreal width = bodyWidth(section_);
    PagePiece separator;
    separator.kind = PagePiece::Kind::NoteSeparator;
    separator.top = y_;
    separator.height = PageNotes::separatorHeight(unit_);
    if (separator.height > room() && !pageEmpty()) {
        startPage();
        separator.top = 0;
    }
    page().pieces.push_back(separator);
    y_ = separator.top + separator.height;
    for (int id : notes_.endnotes()) {
        if (cancelled_)
            return;
        PagePiece note;
        note.kind = PagePiece::Kind::Note;
        note.note = id;
        note.height = notes_.height(id, width);
        if (note.height > room() && !pageEmpty())
            startPage();
        note.top = y_;
        page().pieces.push_back(note);
        y_ += note.height;
    }
}
