// Row definitions as the reader reads them back and other programs expect:
// widths from the column constraints, merges as \clmgf/\clmrg and
// \clvmgf/\clvmrg, each side's border, the background as \clcbpat.
#include "rtf/table_writer.h"
#include <QTextTable>
#include <algorithm>
#include <cmath>

namespace rtf {
namespace {

constexpr double TwipsPerPixel = 15.0;
constexpr int TableWidthTwips = 9360; // 6.5 inches, shared out where widths are not fixed

std::vector<int> columnTwips(const QTextTable &table)
{
    const int columns = table.columns();
    const QList<QTextLength> constraints = table.format().columnWidthConstraints();
    std::vector<int> widths(size_t(columns), 0);
    int given = 0, open = 0;
    for (int c = 0; c < columns; ++c) {
        const QTextLength length = c < constraints.size() ? constraints[c] : QTextLength();
        if (length.type() == QTextLength::FixedLength)
            widths[size_t(c)] = int(std::lround(length.rawValue() * TwipsPerPixel));
        else if (length.type() == QTextLength::PercentageLength)
            widths[size_t(c)] = int(std::lround(length.rawValue() * TableWidthTwips / 100));
        if (widths[size_t(c)] > 0)
            given += widths[size_t(c)];
        else
            ++open;
    }
    const int share = open ? std::max(360, (TableWidthTwips - given) / open) : 0;
    for (int &width : widths) {
        if (width <= 0)
            width = share;
    }
    return widths;
}

struct Edge
{
    const char *word;
    QTextFormat::Property width, brush, style;
};

const Edge edges[] = {
    {"\\clbrdrt", QTextFormat::TableCellTopBorder, QTextFormat::TableCellTopBorderBrush,
     QTextFormat::TableCellTopBorderStyle},
    {"\\clbrdrl", QTextFormat::TableCellLeftBorder, QTextFormat::TableCellLeftBorderBrush,
     QTextFormat::TableCellLeftBorderStyle},
    {"\\clbrdrb", QTextFormat::TableCellBottomBorder, QTextFormat::TableCellBottomBorderBrush,
     QTextFormat::TableCellBottomBorderStyle},
    {"\\clbrdrr", QTextFormat::TableCellRightBorder, QTextFormat::TableCellRightBorderBrush,
     QTextFormat::TableCellRightBorderStyle},
};

const char *styleWord(int style)
{
    switch (style) {
    case QTextFrameFormat::BorderStyle_Double: return "\\brdrdb";
    case QTextFrameFormat::BorderStyle_Dotted: return "\\brdrdot";
    case QTextFrameFormat::BorderStyle_Dashed:
    case QTextFrameFormat::BorderStyle_DotDash:
    case QTextFrameFormat::BorderStyle_DotDotDash: return "\\brdrdash";
    default: return "\\brdrs";
    }
}

// A cell without borders of its own shows the table's grid, as Qt draws it.
void borders(std::string &out, const QTextTable &table, const QTextTableCellFormat &cell,
             const std::function<int(const QBrush &)> &colorIndex)
{
    const QTextTableFormat format = table.format();
    for (const Edge &edge : edges) {
        const bool own = cell.hasProperty(edge.width);
        const qreal width = own ? cell.doubleProperty(edge.width) : format.border();
        const int style = own ? cell.intProperty(edge.style) : int(format.borderStyle());
        if (width <= 0 || (own && cell.hasProperty(edge.style) && style == QTextFrameFormat::BorderStyle_None))
            continue;
        out += edge.word;
        out += styleWord(style);
        out += "\\brdrw" + std::to_string(std::clamp(int(std::lround(width * TwipsPerPixel)), 1, 1440));
        const QBrush brush = own ? cell.brushProperty(edge.brush) : format.borderBrush();
        if (const int color = colorIndex(brush))
            out += "\\brdrcf" + std::to_string(color);
    }
}

} // namespace

std::string rowDefinition(const QTextTable &table, int row, const std::function<int(const QBrush &)> &colorIndex)
{
    const std::vector<int> widths = columnTwips(table);
    const qreal padding = table.format().cellPadding();
    std::string out = "\\trowd\\trgaph" + std::to_string(int(std::lround(std::max<qreal>(padding, 0) * TwipsPerPixel)));
    int right = 0;
    for (int column = 0; column < table.columns(); ++column) {
        const QTextTableCell cell = table.cellAt(row, column);
        if (cell.columnSpan() > 1)
            out += cell.column() == column ? "\\clmgf" : "\\clmrg";
        if (cell.rowSpan() > 1)
            out += cell.row() == row ? "\\clvmgf" : "\\clvmrg";
        const QTextTableCellFormat format = cell.format().toTableCellFormat();
        borders(out, table, format, colorIndex);
        if (format.background().style() != Qt::NoBrush) {
            if (const int color = colorIndex(format.background()))
                out += "\\clcbpat" + std::to_string(color);
        }
        right += widths[size_t(column)];
        out += "\\cellx" + std::to_string(right);
    }
    return out;
}

void forEachTableBrush(const QTextTable &table, const std::function<void(const QBrush &)> &use)
{
    use(table.format().borderBrush());
    for (int row = 0; row < table.rows(); ++row) {
        for (int column = 0; column < table.columns(); ++column) {
            const QTextTableCell cell = table.cellAt(row, column);
            if (cell.row() != row || cell.column() != column)
                continue;
            const QTextTableCellFormat format = cell.format().toTableCellFormat();
            use(format.background());
            for (const Edge &edge : edges) {
                if (format.hasProperty(edge.brush))
                    use(format.brushProperty(edge.brush));
            }
        }
    }
}

} // namespace rtf
