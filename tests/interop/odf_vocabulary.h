#pragma once
// Names of flat ODF text as the census reads them.
#include <QString>
#include <QXmlStreamReader>

namespace census::odf {

namespace ns {
extern const QString office;
extern const QString style;
extern const QString text;
extern const QString table;
extern const QString fo;
extern const QString svg;
extern const QString field;
} // namespace ns

// "text:p", "style:master-page": a fixed prefix per namespace, whatever the file declares.
QString qualifiedName(const QXmlStreamReader &xml);
QString attribute(const QXmlStreamReader &xml, const QString &space, const char *name);
// A length of ODF ("8.5in", "2.54cm", "12pt") in twips; 0 when it is none.
int twips(QStringView length);
// The kind a field element is counted as ("page-number", "hyperlink"), empty for other elements.
QString fieldKind(const QString &element);

} // namespace census::odf
