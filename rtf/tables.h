#pragma once
#include <QList>
#include <QTextLength>
#include <array>
#include <vector>

class QTextTable;
class QTextTableCellFormat;

namespace rtf {

class ColorTable;

// One side's border as the file gives it; a side the file leaves out has none.
struct BorderSpec
{
    enum Style : quint8 { Unset, None, Solid, Double, Dotted, Dashed };
    Style style = Unset;
    int width = 0; // twips
    int color = 0; // colour table index, 0 the automatic colour
};

enum Side { Top, Left, Bottom, Right, InnerH, InnerV, SideCount };

struct CellSpec
{
    int right = 0; // \cellx, twips from the row's origin
    std::array<BorderSpec, 4> borders;
    int background = -1, pattern = -1, shading = 0; // colour indices, shading in 1/100 %
    bool mergeFirst = false, merged = false, verticalFirst = false, verticalMerged = false;
};

// A row's definition: \trowd and what follows up to the row's end.
struct RowSpec
{
    int left = 0, gap = 0; // twips
    std::array<BorderSpec, SideCount> borders;
    std::vector<CellSpec> cells;
    CellSpec pending; // the properties before the next \cellx
    int target = -1;  // the border the next \brdr word describes: 0-5 the row's, 6-9 the cell's
};

// A merge to make once the table's rows are all known.
struct CellSpan
{
    int row, column, rows, columns;
};

// A table being built. Rows are added in growing chunks so that the table
// rebuilds its grid a logarithmic number of times; the unused rows go at the end.
struct TableState
{
    static constexpr int MaxColumns = 63;
    static constexpr int MaxDepth = 16;
    QTextTable *table = nullptr;
    int row = -1, column = 0; // the cell being filled
    int rows = 1, columns = 1; // the table's size, kept here: asking Qt rebuilds its grid
    bool rowOpen = false, cellEnded = false;
    std::vector<int> grid;                       // the outer table's column edges, from all its rows
    std::vector<std::pair<int, int>> cellStarts; // this row's cells' first and last columns, by the grid
    std::vector<std::pair<int, int>> rowCells;   // the columns of the cells entered in this row
    std::vector<std::vector<quint8>> mergeFlags; // per row and column, only for rows with merges
    QList<QTextLength> widths; // from the first row that gives boundaries
    int gap = 0;
};

// The cell's look: borders (each side, its own or the row's) and shading.
QTextTableCellFormat cellFormat(const RowSpec &row, int column, int columns, const ColorTable &colors);
// Column widths of a row's \cellx boundaries, in pixels.
QList<QTextLength> columnWidths(const RowSpec &row);
// The merges a table's flags describe: \clmgf/\clmrg across, \clvmgf/\clvmrg down.
std::vector<CellSpan> cellSpans(const std::vector<std::vector<quint8>> &flags);
// The first and last grid column of each of a row's cells.
std::vector<std::pair<int, int>> cellColumns(const std::vector<int> &grid, const RowSpec &row);
enum MergeFlag : quint8 { MergeAcross = 1, MergeDown = 2 };

} // namespace rtf
