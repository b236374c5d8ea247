#pragma once
#include <QImage>
#include <QRectF>
#include <QString>
#include <QList>
#include <QSizeF>
#include <QStringList>

// Looks inside printed PDF files with poppler's command-line tools.
namespace pdf {

bool toolsAvailable();
// The text of every page.
QString text(const QString &path);
int pageCount(const QString &path);
// Each page's size in points, as it stands (wider than high when landscape).
QList<QSizeF> pageSizes(const QString &path);
// Each page's text, laid out as on the page.
QStringList pageTexts(const QString &path);
// The first page at `dpi`.
QImage renderFirstPage(const QString &path, int dpi);
// Where each occurrence of `word` stands on its page, in points.
QList<QRectF> wordBoxes(const QString &path, const QString &word);

} // namespace pdf
