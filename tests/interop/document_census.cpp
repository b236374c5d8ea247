// One pass over the flat ODF text: styles, page layouts and master pages come
// before the body in the file, so each body element is resolved as it comes.
#include "document_census.h"
#include "odf_styles.h"
#include "odf_vocabulary.h"
#include <QFile>
#include <algorithm>

namespace census {
namespace {

using namespace odf;

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
    QString attribute(const QString &space, const char *name) const { return odf::attribute(m_xml, space, name); }
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
        if (!m_inBody)
            m_sheet.start(name, m_xml, m_open, m_inAutomaticStyles, m_census);
        if (m_inBody)
            startBodyElement(name);
        if (m_inBody || m_inMasters)
            startSharedElement(name);
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
            if (m_skip == 0 && m_tables == 0)
                startsPageStyle(attribute(ns::table, "style-name"));
            ++m_tables;
        } else if ((name == u"text:p" || name == u"text:h") && inBodyText()) {
            startParagraph();
        } else if (name == u"text:span") {
            const QString style = attribute(ns::text, "style-name");
            m_hidden << (m_sheet.style(style).hidden || (!m_hidden.isEmpty() && m_hidden.last()));
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
        const StyleInfo info = m_sheet.style(style);
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
        const QString kind = m_sheet.listKind(listStyle, level);
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
        const QString master = m_sheet.style(style).masterPage;
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
        const StyleInfo info = m_sheet.style(style);
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
        else if (name == u"dc:title" || name == u"meta:initial-creator")
            m_metaField = nullptr;
        m_sheet.end(name);
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
        else if (name == u"text:span") {
            // Hidden runs apart from each other stay apart.
            if (m_hidden.takeLast() && (m_hidden.isEmpty() || !m_hidden.last()))
                m_census.hiddenText += u' ';
        }
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
        for (const QString &name : std::as_const(m_usedMasters))
            m_census.pages << m_sheet.page(name);
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
    StyleSheet m_sheet;
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
