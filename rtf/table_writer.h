#pragma once
#include <QBrush>
#include <functional>
#include <string>

class QTextTable;

namespace rtf {

// The row definition of one row of a table: \trowd, the gap, and for each
// grid cell its merge marks, borders, shading and \cellx, in that order.
// colorIndex gives a brush's entry in the colour table (0 for none).
std::string rowDefinition(const QTextTable &table, int row, const std::function<int(const QBrush &)> &colorIndex);

// Every brush a table's cells draw with, for the colour table.
void forEachTableBrush(const QTextTable &table, const std::function<void(const QBrush &)> &use);

} // namespace rtf
