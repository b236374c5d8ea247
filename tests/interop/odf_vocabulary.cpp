#include "odf_vocabulary.h"
#include <QHash>
#include <QSet>

namespace census::odf {

QString qualifiedName(const QXmlStreamReader &xml)
{
    static const QHash<QString, QString> prefixes = {
        {QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0"), QStringLiteral("office")},
        {QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0"), QStringLiteral("style")},
        {QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0"), QStringLiteral("text")},
        {QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0"), QStringLiteral("table")},
        {QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"), QStringLiteral("draw")},
        {QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:meta:1.0"), QStringLiteral("meta")},
        {QStringLiteral("http://purl.org/dc/elements/1.1/"), QStringLiteral("dc")},
        {QStringLiteral("urn:openoffice:names:experimental:ooo-ms-interop:xmlns:field:1.0"), QStringLiteral("field")},
    };
    return prefixes.value(xml.namespaceUri().toString(), QStringLiteral("other")) + u':' + xml.name().toString();
}

namespace ns {
const QString office = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString style = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
const QString text = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString table = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString fo = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0");
const QString svg = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0");
const QString field = QStringLiteral("urn:openoffice:names:experimental:ooo-ms-interop:xmlns:field:1.0");
} // namespace ns

int twips(QStringView length)
{
    static const std::pair<QStringView, double> units[] = {{u"in", 1440.0}, {u"cm", 1440.0 / 2.54},
                                                           {u"mm", 144.0 / 2.54}, {u"pt", 20.0}, {u"pc", 240.0}};
    for (const auto &[unit, perUnit] : units)
        if (length.endsWith(unit))
            return qRound(length.chopped(unit.size()).toDouble() * perUnit);
    return 0;
}

QString fieldKind(const QString &element)
{
    static const QSet<QString> fields = {
        QStringLiteral("page-number"), QStringLiteral("page-count"), QStringLiteral("date"), QStringLiteral("time"),
        QStringLiteral("author-name"), QStringLiteral("author-initials"), QStringLiteral("title"),
        QStringLiteral("subject"), QStringLiteral("keywords"), QStringLiteral("description"),
        QStringLiteral("file-name"), QStringLiteral("chapter"), QStringLiteral("sequence"),
        QStringLiteral("sequence-ref"), QStringLiteral("bookmark-ref"), QStringLiteral("reference-ref"),
        QStringLiteral("note-ref"), QStringLiteral("user-defined"), QStringLiteral("user-field-get"),
        QStringLiteral("variable-get"), QStringLiteral("variable-set"), QStringLiteral("expression"),
        QStringLiteral("text-input"), QStringLiteral("drop-down"), QStringLiteral("word-count"),
        QStringLiteral("character-count"), QStringLiteral("creation-date"), QStringLiteral("creation-time"),
        QStringLiteral("print-date"), QStringLiteral("modification-date"), QStringLiteral("initial-creator"),
        QStringLiteral("creator"), QStringLiteral("placeholder"), QStringLiteral("conditional-text"),
        QStringLiteral("hidden-text"), QStringLiteral("template-name")};
    if (element == u"text:a")
        return QStringLiteral("hyperlink");
    if (element.startsWith(u"text:") && fields.contains(element.mid(5)))
        return element.mid(5);
    return {};
}

QString attribute(const QXmlStreamReader &xml, const QString &space, const char *name)
{
    return xml.attributes().value(space, QLatin1String(name)).toString();
}

} // namespace census::odf
