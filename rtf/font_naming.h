#pragma once
#include <QString>
#include <QTextCharFormat>

namespace rtf {

// How the writer names a run's font in the font table.
// The first family of the format, else its family property, else `fallback`.
QString familyOf(const QTextCharFormat &format, const QString &fallback);
// The font table's family word for the format's style hint (\froman, \fswiss, ...).
const char *familyWord(const QTextCharFormat &format);
// The file's alternative name for the font: the format's second family, if any.
QString alternativeOf(const QTextCharFormat &format);

} // namespace rtf
