// What a row's definition says about its cells, in Qt's terms: borders,
// shading, column widths and merged cells.
#include "rtf/color_table.h"
#include "rtf/group_state.h"
#include "rtf/tables.h"
#include <QTextTableCellFormat>
#include <algorithm>

namespace rtf {
namespace {

QTextFrameFormat::BorderStyle qtStyle(BorderSpec::Style style)
{
    switch (style) {
    case BorderSpec::Double: return QTextFrameFormat::BorderStyle_Double;
    case BorderSpec::Dotted: return QTextFrameFormat::BorderStyle_Dotted;
    case BorderSpec::Dashed: return QTextFrameFormat::BorderStyle_Dashed;
    default: return QTextFrameFormat::BorderStyle_Solid;
    }
}

// The cell's own border wins; a side it leaves unset takes the row's border
// for that edge, or the inner one between cells.
BorderSpec effectiveBorder(const RowSpec &row, const CellSpec &cell, Side side, int column, int columns)
{
    if (cell.borders[side].style != BorderSpec::Unset)
        return cell.borders[side];
    switch (side) {
    case Left: return row.borders[column == 0 ? Left : InnerV];
    case Right: return row.borders[column + 1 >= columns ? Right : InnerV];
    default: return row.borders[side];
    }
}

QColor mix(const QColor &under, const QColor &over, int hundredthsPercent)
{
    const double p = std::clamp(hundredthsPercent, 0, 10000) / 10000.0;
    const auto channel = [p](int a, int b) { return int(a * (1 - p) + b * p + 0.5); };
    return QColor(channel(under.red(), over.red()), channel(under.green(), over.green()),
                  channel(under.blue(), over.blue()));
}

QColor shadingOf(const CellSpec &cell, const ColorTable &colors)
{
    const QColor background = colors.at(cell.background);
    if (cell.shading <= 0)
        return background;
    const QColor pattern = cell.pattern >= 0 && colors.at(cell.pattern).isValid()
                               ? colors.at(cell.pattern) : QColor(Qt::black);
    return mix(background.isValid() ? background : QColor(Qt::white), pattern, cell.shading);
}

void setBorder(QTextTableCellFormat &format, Side side, const BorderSpec &border, const ColorTable &colors)
{
    if (border.style == BorderSpec::Unset || border.style == BorderSpec::None)
        return;
    const qreal width = std::max(border.width, 1) / TwipsPerPixel;
    const QColor given = colors.at(border.color);
    const QBrush brush(given.isValid() ? given : QColor(Qt::black));
    const QTextFrameFormat::BorderStyle style = qtStyle(border.style);
    switch (side) {
    case Top: format.setTopBorder(width); format.setTopBorderBrush(brush); format.setTopBorderStyle(style); break;
    case Left: format.setLeftBorder(width); format.setLeftBorderBrush(brush); format.setLeftBorderStyle(style); break;
    case Bottom:
        format.setBottomBorder(width); format.setBottomBorderBrush(brush); format.setBottomBorderStyle(style);
        break;
    case Right:
        format.setRightBorder(width); format.setRightBorderBrush(brush); format.setRightBorderStyle(style);
        break;
    default: break;
    }
}

} // namespace

QTextTableCellFormat cellFormat(const RowSpec &row, int column, int columns, const ColorTable &colors)
{
    static const CellSpec plain;
    const CellSpec &cell = size_t(column) < row.cells.size() ? row.cells[size_t(column)] : plain;
    QTextTableCellFormat format;
    // \trgaph pads the sides; above and below, cells sit close.
    format.setTopPadding(0);
    format.setBottomPadding(0);
    for (Side side : {Top, Left, Bottom, Right})
        setBorder(format, side, effectiveBorder(row, cell, side, column, columns), colors);
    if (const QColor shading = shadingOf(cell, colors); shading.isValid())
        format.setBackground(shading);
    return format;
}

QList<QTextLength> columnWidths(const RowSpec &row)
{
    QList<QTextLength> widths;
    int left = row.left;
    for (const CellSpec &cell : row.cells) {
        const int width = std::clamp(cell.right - left, 0, MaxTwips);
        widths.append(QTextLength(QTextLength::FixedLength, width / TwipsPerPixel));
        left = std::max(left, cell.right);
    }
    return widths;
}

std::vector<std::pair<int, int>> cellColumns(const std::vector<int> &grid, const RowSpec &row)
{
    std::vector<std::pair<int, int>> columns;
    if (grid.empty())
        return columns;
    const auto columnOf = [&grid](int right) {
        const auto found = std::lower_bound(grid.begin(), grid.end(), right - 20);
        return std::min(int(found - grid.begin()), int(grid.size()) - 1);
    };
    int next = 0;
    for (const CellSpec &cell : row.cells) {
        const int last = std::max(next, columnOf(cell.right));
        if (next >= int(grid.size()))
            break;
        columns.emplace_back(next, last);
        next = last + 1;
    }
    return columns;
}

std::vector<CellSpan> cellSpans(const std::vector<std::vector<quint8>> &flags)
{
    const auto flagAt = [&flags](size_t row, size_t column) -> quint8 {
        return row < flags.size() && column < flags[row].size() ? flags[row][column] : 0;
    };
    size_t width = 0;
    for (const auto &row : flags)
        width = std::max(width, row.size());
    std::vector<CellSpan> spans;
    for (size_t row = 0; row < flags.size(); ++row) {
        for (size_t column = 0; column < width; ++column) {
            if (flagAt(row, column) != 0)
                continue; // covered by the cell it continues
            size_t columns = 1, rows = 1;
            while (flagAt(row, column + columns) & MergeAcross)
                ++columns;
            while (flagAt(row + rows, column) & MergeDown)
                ++rows;
            if (rows > 1 || columns > 1)
                spans.push_back({int(row), int(column), int(rows), int(columns)});
        }
    }
    return spans;
}

} // namespace rtf
