#pragma once
#include "layout/page_setup.h"
#include "layout/paragraph_lines.h"
#include <QTextBlock>
#include <functional>
#include <memory>
#include <vector>

class QTextTable;
class PageNotes;
class TableChunk;

// Something printed in a page's body, its top measured from the body's top in the print copy's
// units (the printer's pixels).
struct PagePiece
{
    enum class Kind { Lines, TableRows, Note, NoteSeparator };
    Kind kind = Kind::Lines;
    QTextBlock block;            // Lines: the paragraph
    int firstLine = 0, endLine = 0;
    QTextTable *table = nullptr; // TableRows
    int firstRow = 0, endRow = 0;
    int note = 0;                // Note: its id
    qreal top = 0, height = 0;
};

struct PrintedPage
{
    int section = 0;
    int number = 1;       // the page number it shows
    int sectionPage = 1;  // counted from 1 in its section
    int sectionPages = 1;
    std::vector<PagePiece> pieces;
    std::vector<int> footnotes; // ids, in the order of their marks
};

// A document's body spread over pages: paragraphs broken into lines at each section's text width,
// tables a few rows at a time, footnotes kept on the page of their marks and endnotes at the end.
// Breaks before paragraphs, section starts, kept-together and kept-with-next paragraphs and
// widow and orphan control move lines to the next page. The document's paragraphs are laid out
// for print: it must be a copy of its own, laid out by nothing else.
class PageFlow
{
public:
    // `document` is laid out for the printer, `unitsPerPoint` its pixels to a point.
    PageFlow(QTextDocument &document, std::vector<PageSetup> setups, PageNotes &notes, qreal unitsPerPoint);
    ~PageFlow();
    // Spreads the body; `progress` hears the page count now and then and stops it by returning false.
    bool run(const std::function<bool(int)> &progress);

    const std::vector<PrintedPage> &pages() const { return pages_; }
    const PageSetup &setupOf(int section) const;
    // The text area's width and height of a section's pages in document units.
    qreal bodyWidth(int section) const;
    qreal bodyHeight(int section) const;
    qreal unitsPerPoint() const { return unit_; }
    // Rows of a table laid out by the editor's table chunks, which lay out at the screen's
    // resolution: drawn and measured scaled by tableScale().
    std::unique_ptr<TableChunk> tableChunk(QTextTable &table, int firstRow, int endRow);
    qreal tableScale() const;
    // Whether a table's rows can start at `row` (no merged cell runs from above into it).
    static std::vector<bool> rowStarts(const QTextTable &table);

private:
    void placeFrame(QTextFrame &frame);
    void placeParagraph(const QTextBlock &block);
    void placeLines(const QTextBlock &block, qreal spacing, bool widowControl);
    void placeTable(QTextTable &table);
    void placeEndnotes();
    void enterSection(int section);
    void startPage();
    bool pageEmpty() const;
    qreal room() const;
    qreal keptHeight(const QTextBlock &block);
    qreal footnoteHeight(const std::vector<int> &notes) const;
    std::vector<int> footnotesIn(const QTextBlock &block, int from, int to) const;
    FlowFrame frame() const;
    PrintedPage &page() { return pages_.back(); }

    QTextDocument &document_;
    qreal unit_;
    std::vector<PageSetup> setups_;
    PageNotes &notes_;
    std::vector<PrintedPage> pages_;
    int section_ = -1;
    qreal y_ = 0;          // where the next piece goes
    qreal belowLast_ = 0;  // the last paragraph's space below
    bool widowsByDefault_ = false;
    // A word processor's document adds one paragraph's space below to the next one's space above;
    // Velmo's own, laid out by Qt's rules, takes the larger.
    bool addedSpacing_ = false;
    const std::function<bool(int)> *progress_ = nullptr;
    bool cancelled_ = false;
};
