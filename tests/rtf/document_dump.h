#pragma once
#include <QString>

class QTextDocument;

namespace rtftest {

// One line per paragraph: where it is, its alignment, then its runs, e.g.
//   P center | "Hi" b 12pt #ff0000 | [img 18x17]
// Paragraphs in table cells start with "cell R,C", then the cell's span
// ("span 2x1", rows by columns), its bordered sides ("borders=tlbr") and
// background, when it has them; a table inside a cell adds " > cell R,C".
// A run that is a link ends in "link=TARGET"; line spacing and tab stops show as
// " lh=exact:16" and " tabs=48,96r~." (position in pixels, kind, ~leader). Font families show only
// when asked, since the platform's default font differs between machines.
QString dumpDocument(const QTextDocument &document, bool withFonts = false);

} // namespace rtftest
