#pragma once

class QTextTable;

namespace rtf {

// The table being built: rows grow as cells arrive.
struct TableState
{
    static constexpr int MaxColumns = 63;
    QTextTable *table = nullptr;
    int row = 0, column = 0;
    bool rowOpen = false, cellEnded = false;
    int rowBoundaries = 0; // \cellx since the last \trowd
};

} // namespace rtf
