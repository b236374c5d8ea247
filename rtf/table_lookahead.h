#pragma once
#include <QByteArrayView>

namespace rtf {

// How many \row words the outer table still holds from here: the tokens are
// followed, with the paragraph's \pard, \intbl and \itap, up to the first text
// or \par outside any table. Growing the table by this many rows at once lets
// it rebuild its grid only a few times, and rarely leaves rows to remove.
int rowsAhead(QByteArrayView rest);

} // namespace rtf
