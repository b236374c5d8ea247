#pragma once
#include <QByteArrayView>
#include <vector>

namespace rtf {

// How many \row words the outer table still holds from here: the tokens are
// followed, with the paragraph's \pard, \intbl and \itap, up to the first
// content outside any table (text, a character, \par, a picture or another
// destination the reader reads). Growing the table by this many rows at once
// lets it rebuild its grid only a few times, and rarely leaves rows to remove.
// The boundaries of all rows give the table's columns: a row with fewer,
// wider cells (as some writers write merged cells) spans several of them.
// The scan must stop no later than the reader ends the table: one that went
// on would be repeated for each table the reader opens in what it scanned.
struct TableAhead
{
    int rows = 0;
    std::vector<int> boundaries; // every outer row's \cellx, sorted, near ones joined
};
// inTable and level: the current paragraph's \intbl and \itap (-1 unset).
TableAhead lookAhead(QByteArrayView rest, bool inTable, int level);

} // namespace rtf
