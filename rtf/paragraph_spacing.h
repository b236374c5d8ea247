#pragma once
#include <QString>
#include <QTextFormat>
#include <QTextOption>
#include <string>

namespace rtf {

// Tab leaders have no place in QTextOption::Tab; a block keeps them under this
// property, one character per tab stop (' ' none, '.' dots, 'm' middle dots,
// '-' hyphens, '_' underline, 't' thick line, '=' double line), so they are
// written back.
inline constexpr int TabLeadersProperty = QTextFormat::UserProperty + 0x5247;

// \slN with \slmultM: negative is exact, positive at least N twips, or N/240
// lines when multiple; 0 is single spacing.
void setLineSpacing(QTextBlockFormat &format, int twips, bool multiple);
void setTabStops(QTextBlockFormat &format, const QList<QTextOption::Tab> &tabs, const QString &leaders);

// The words that give a block back its spacing and tab stops.
std::string lineSpacingWords(const QTextBlockFormat &format);
std::string tabStopWords(const QTextBlockFormat &format);

} // namespace rtf
