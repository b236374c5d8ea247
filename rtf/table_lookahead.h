#pragma once
#include <QByteArrayView>
#include <vector>

namespace rtf {

// How many \row words the outer table still holds from here: the tokens are
// followed, with the paragraph's \pard, \intbl and \itap, up to the first text
// or \par outside any table. Growing the table by this many rows at once lets
// it rebuild its grid only a few times, and rarely leaves rows to remove.
// The boundaries of all rows give the table's columns: a row with fewer,
// wider cells (as some writers write merged cells) spans several of them.
struct TableAhead
{
    int rows = 0;
    std::vector<int> boundaries; // every outer row's \cellx, sorted, near ones joined
};
TableAhead lookAhead(QByteArrayView rest);

} // namespace rtf
