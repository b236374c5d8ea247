// One pass over the flat ODF text: styles, page layouts and master pages come
// before the body in the file, so each body element is resolved as it comes.
#include "document_census.h"
#include <QFile>
#include <QHash>
#include <QXmlStreamReader>
#include <algorithm>

namespace census {
namespace {

// Element names keyed by a fixed prefix per namespace, whatever prefixes the file declares.
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

// Field elements of ODF text, by the kind they are reported as.
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

struct StyleInfo {
    QString displayName;
    QString parent;
    QString masterPage;
    QString listStyle;
    bool automatic = false;
    bool hidden = false;
};

struct Layout {
    PageSetup page;
    int headerHeight = 0;
    int footerHeight = 0;
};

struct Master {
    QString layout;
    bool header = false;
    bool footer = false;
};

class CensusReader
{
public:
    explicit CensusReader(const QByteArray &bytes) : m_xml(bytes) {}

    std::optional<DocumentCensus> read(QString *error)
    {
        while (!m_xml.atEnd()) {
            switch (m_xml.readNext()) {
            case QXmlStreamReader::StartElement: start(qualifiedName(m_xml)); break;
            case QXmlStreamReader::EndElement: end(); break;
            case QXmlStreamReader::Characters: characters(m_xml.text()); break;
            default: break;
            }
        }
        QString problem = m_xml.hasError() ? m_xml.errorString() : QString();
        if (problem.isEmpty() && !m_isText)
            problem = QStringLiteral("not an ODF text document");
        if (!problem.isEmpty()) {
            if (error)
                *error = problem;
            return std::nullopt;
        }
        finish();
        return m_census;
    }

private:
    QString attribute(const QString &space, const char *name) const
    {
        return m_xml.attributes().value(space, QLatin1String(name)).toString();
    }
    bool inBodyText() const { return m_inBody && m_skip == 0; }

    void start(const QString &name)
    {
        m_open << name;
        if (name == u"office:document")
            m_isText = attribute(ns::office, "mimetype") == u"application/vnd.oasis.opendocument.text";
        else if (name == u"office:automatic-styles")
            m_inAutomaticStyles = true;
        else if (name == u"office:master-styles")
            m_inMasters = true;
        else if (name == u"office:text")
            m_inBody = true;
        else if (name == u"dc:title" || name == u"meta:initial-creator")
            m_metaField = name == u"dc:title" ? &m_census.title : &m_census.author;
        startStyle(name);
        startPageLayout(name);
        startMasterPage(name);
        if (m_inBody)
            startBodyElement(name);
        if (m_inBody || m_inMasters)
            startSharedElement(name);
    }

    void startStyle(const QString &name)
    {
        if (name == u"style:style") {
            m_style = attribute(ns::style, "name");
            StyleInfo &style = m_styles[m_style];
            style.displayName = attribute(ns::style, "display-name");
            style.parent = attribute(ns::style, "parent-style-name");
            style.masterPage = attribute(ns::style, "master-page-name");
            style.listStyle = attribute(ns::style, "list-style-name");
            style.automatic = m_inAutomaticStyles;
        } else if (name == u"style:text-properties" && !m_style.isEmpty()) {
            m_styles[m_style].hidden = attribute(ns::text, "display") == u"none";
        } else if (name == u"text:list-style") {
            m_listStyle = attribute(ns::style, "name");
        } else if (name.startsWith(u"text:list-level-style-") && !m_listStyle.isEmpty()) {
            const bool unnumbered = name.endsWith(u"number") && attribute(ns::style, "num-format").isEmpty();
            m_listKinds[m_listStyle][attribute(ns::text, "level").toInt()] =
                name.endsWith(u"number") ? (unnumbered ? QStringLiteral("unnumbered") : QStringLiteral("numbered"))
                                         : QStringLiteral("bulleted");
        }
    }

    void startPageLayout(const QString &name)
    {
        if (name == u"style:page-layout") {
            m_layout = attribute(ns::style, "name");
        } else if (name == u"style:page-layout-properties" && !m_layout.isEmpty()) {
            PageSetup &page = m_layouts[m_layout].page;
            page.width = twips(attribute(ns::fo, "page-width"));
            page.height = twips(attribute(ns::fo, "page-height"));
            page.left = twips(attribute(ns::fo, "margin-left"));
            page.right = twips(attribute(ns::fo, "margin-right"));
            page.top = twips(attribute(ns::fo, "margin-top"));
            page.bottom = twips(attribute(ns::fo, "margin-bottom"));
        } else if (name == u"style:header-footer-properties" && !m_layout.isEmpty()) {
            // The height of a header includes its spacing to the text.
            QString height = attribute(ns::svg, "height");
            if (height.isEmpty())
                height = attribute(ns::fo, "min-height");
            const bool header = m_open.value(m_open.size() - 2) == u"style:header-style";
            (header ? m_layouts[m_layout].headerHeight : m_layouts[m_layout].footerHeight) = twips(height);
        }
    }

    void startMasterPage(const QString &name)
    {
        if (name == u"style:master-page") {
            m_master = attribute(ns::style, "name");
            m_masters[m_master].layout = attribute(ns::style, "page-layout-name");
            // A master page followed by another is how a first page gets its own header.
            const QString next = attribute(ns::style, "next-style-name");
            m_masterIsFirstPage = !next.isEmpty() && next != m_master;
            return;
        }
        if (m_master.isEmpty() || m_open.value(m_open.size() - 2) != u"style:master-page")
            return;
        if (!name.startsWith(u"style:header") && !name.startsWith(u"style:footer"))
            return;
        if (attribute(ns::style, "display") == u"false")
            return;
        const bool header = name.startsWith(u"style:header");
        QString kind = m_masterIsFirstPage ? QStringLiteral("first") : QStringLiteral("default");
        if (name.endsWith(u"-left"))
            kind = QStringLiteral("left");
        else if (name.endsWith(u"-first"))
            kind = QStringLiteral("first");
        ++(header ? m_census.headers : m_census.footers)[kind];
        // The header of the page style itself takes room from the text on its pages.
        if (!name.endsWith(u"-left") && !name.endsWith(u"-first"))
            (header ? m_masters[m_master].header : m_masters[m_master].footer) = true;
    }

    void startBodyElement(const QString &name)
    {
        if (name == u"text:note") {
            ++(attribute(ns::text, "note-class") == u"endnote" ? m_census.endnotes : m_census.footnotes);
            ++m_skip;
        } else if (name == u"office:annotation") {
            ++m_census.comments;
            ++m_skip;
        } else if (name == u"draw:frame") {
            ++m_skip;
        } else if (name == u"text:section") {
            m_sectionPending = m_skip == 0 && m_tables == 0;
        } else if (name == u"table:table-cell") {
            ++m_census.tableCells;
        } else if (name == u"text:list") {
            m_lists << attribute(ns::text, "style-name");
        } else if (name == u"table:table") {
            if (m_skip == 0 && m_tables++ == 0)
                startsPageStyle(attribute(ns::table, "style-name"));
        } else if ((name == u"text:p" || name == u"text:h") && inBodyText()) {
            startParagraph();
        } else if (name == u"text:span") {
            const QString style = attribute(ns::text, "style-name");
            m_hidden << (m_styles.value(style).hidden || (!m_hidden.isEmpty() && m_hidden.last()));
            if (inBodyText())
                addNamedStyle(m_census.characterStyles, style);
        } else if (m_paragraph && inBodyText()) {
            if (name == u"text:s")
                append(QString(qMax(1, attribute(ns::text, "c").toInt()), u' '), false);
            else if (name == u"text:tab")
                append(QStringLiteral("\t"), false);
            else if (name == u"text:line-break")
                append(QStringLiteral("\n"), false);
        }
    }

    // Elements counted wherever they stand: in the body and in headers and footers.
    void startSharedElement(const QString &name)
    {
        if (name == u"draw:frame") {
            m_frames << false;
        } else if (name == u"draw:image") {
            // A frame may hold one picture in several formats.
            if (m_frames.isEmpty() || !m_frames.last())
                ++m_census.pictures;
            if (!m_frames.isEmpty())
                m_frames.last() = true;
        } else if (name == u"text:bookmark" || name == u"text:bookmark-start") {
            m_census.bookmarks.insert(attribute(ns::text, "name"));
        } else if (name == u"field:fieldmark-start" || name == u"field:fieldmark") {
            m_census.fields << QStringLiteral("fieldmark ") + attribute(ns::field, "type");
        } else if (const QString kind = fieldKind(name); !kind.isEmpty()) {
            m_census.fields << kind;
        }
    }

    void startParagraph()
    {
        const QString style = attribute(ns::text, "style-name");
        m_paragraph = QString();
        m_collapsible = true;
        if (m_tables == 0)
            startsPageStyle(style);
        const StyleInfo info = m_styles.value(style);
        const QString named = info.automatic ? info.parent : style;
        if (named != u"Standard")
            addNamedStyle(m_census.paragraphStyles, named);
        if (m_open.value(m_open.size() - 2) == u"text:list-item")
            countListParagraph(info.listStyle);
    }

    void countListParagraph(const QString &paragraphListStyle)
    {
        QString listStyle = paragraphListStyle;
        for (auto it = m_lists.crbegin(); it != m_lists.crend(); ++it)
            if (!it->isEmpty()) {
                listStyle = *it;
                break;
            }
        const int level = int(m_lists.size());
        const QString kind = m_listKinds.value(listStyle).value(level, QStringLiteral("unknown"));
        // A level with neither number nor bullet shows no list (LibreOffice's headings have one).
        if (kind == u"unnumbered")
            return;
        ++m_census.listParagraphs[QStringLiteral("level %1 %2").arg(level).arg(kind)];
    }

    // A section starts with the body, with a new page style and with each
    // text section; LibreOffice gives a section that starts a page both at
    // once. The text after a text section is not counted apart: LibreOffice's
    // own round trip ends text sections early.
    void startsPageStyle(const QString &style)
    {
        const QString master = m_styles.value(style).masterPage;
        const bool first = m_usedMasters.isEmpty();
        if (!master.isEmpty())
            m_usedMasters << master;
        else if (first)
            m_usedMasters << QStringLiteral("Standard");
        if (first || !master.isEmpty() || m_sectionPending)
            ++m_sectionStarts;
        m_sectionPending = false;
    }

    void addNamedStyle(QSet<QString> &into, const QString &style) const
    {
        if (style.isEmpty())
            return;
        const StyleInfo info = m_styles.value(style);
        if (info.automatic) {
            if (!info.parent.isEmpty())
                addNamedStyle(into, info.parent);
            return;
        }
        into.insert(info.displayName.isEmpty() ? style : info.displayName);
    }

    // ODF collapses white space in text; spaces written as elements stay.
    void append(QStringView text, bool collapse)
    {
        QString added;
        for (const QChar c : text) {
            const bool space = collapse && (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r');
            if (space && m_collapsible)
                continue;
            added += space ? QChar(u' ') : c;
            m_collapsible = space;
        }
        if (!collapse)
            m_collapsible = false;
        *m_paragraph += added;
        if (!m_hidden.isEmpty() && m_hidden.last())
            m_census.hiddenText += added;
    }

    void characters(QStringView text)
    {
        if (m_metaField)
            *m_metaField += text;
        else if (m_paragraph && inBodyText())
            append(text, true);
    }

    void end()
    {
        const QString name = m_open.takeLast();
        if (name == u"office:automatic-styles")
            m_inAutomaticStyles = false;
        else if (name == u"office:master-styles")
            m_inMasters = false;
        else if (name == u"office:text")
            m_inBody = false;
        else if (name == u"style:style")
            m_style.clear();
        else if (name == u"style:page-layout")
            m_layout.clear();
        else if (name == u"text:list-style")
            m_listStyle.clear();
        else if (name == u"style:master-page")
            m_master.clear();
        else if (name == u"dc:title" || name == u"meta:initial-creator")
            m_metaField = nullptr;
        if (m_inBody)
            endBodyElement(name);
        if ((m_inBody || m_inMasters) && name == u"draw:frame")
            m_frames.removeLast();
    }

    void endBodyElement(const QString &name)
    {
        if (name == u"text:note" || name == u"office:annotation")
            --m_skip;
        else if (name == u"draw:frame")
            --m_skip;
        else if (name == u"text:list")
            m_lists.removeLast();
        else if (name == u"table:table")
            --m_tables;
        else if (name == u"text:span")
            m_hidden.removeLast();
        else if ((name == u"text:p" || name == u"text:h") && m_paragraph && inBodyText()) {
            const QString text = m_paragraph->trimmed();
            if (!text.isEmpty())
                m_census.paragraphs << text;
            m_paragraph.reset();
        }
    }

    void finish()
    {
        if (m_usedMasters.isEmpty())
            m_usedMasters << QStringLiteral("Standard");
        for (const QString &name : std::as_const(m_usedMasters)) {
            const Master master = m_masters.value(name);
            const Layout layout = m_layouts.value(master.layout);
            PageSetup page = layout.page;
            page.top += master.header ? layout.headerHeight : 0;
            page.bottom += master.footer ? layout.footerHeight : 0;
            // What a person sees; LibreOffice's own round trip loses the orientation flag of a wide page.
            page.landscape = page.width > page.height;
            m_census.pages << page;
        }
        m_census.sections = qMax(1, m_sectionStarts);
        m_census.hiddenText = m_census.hiddenText.simplified();
        std::sort(m_census.fields.begin(), m_census.fields.end());
        m_census.title = m_census.title.trimmed();
        m_census.author = m_census.author.trimmed();
    }

    QXmlStreamReader m_xml;
    DocumentCensus m_census;
    QStringList m_open;
    bool m_isText = false;
    bool m_inAutomaticStyles = false;
    bool m_inMasters = false;
    bool m_inBody = false;
    QString *m_metaField = nullptr;
    QHash<QString, StyleInfo> m_styles;
    QHash<QString, Layout> m_layouts;
    QHash<QString, Master> m_masters;
    QHash<QString, QMap<int, QString>> m_listKinds;
    QString m_style, m_layout, m_master, m_listStyle; // the definitions being read
    bool m_masterIsFirstPage = false;
    int m_skip = 0; // depth inside notes, comments and frames, whose text is not body text
    int m_tables = 0;
    int m_sectionStarts = 0;
    bool m_sectionPending = false; // the next paragraph or table starts a section
    QStringList m_lists; // the style of each open list, empty where it names none
    QList<bool> m_hidden; // per open span
    QList<bool> m_frames; // per open frame: a picture of it was counted
    QStringList m_usedMasters;
    std::optional<QString> m_paragraph;
    bool m_collapsible = true;
};

} // namespace

std::optional<DocumentCensus> readCensus(const QByteArray &fodt, QString *error)
{
    return CensusReader(fodt).read(error);
}

std::optional<DocumentCensus> readCensusFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    return readCensus(file.readAll(), error);
}

} // namespace census
