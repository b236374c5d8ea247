// LibreOffice's flat ODF text as a person sees its body paragraphs: each
// paragraph's indents, spacing and alignment resolved through its styles and
// its list, the way LibreOffice lays them out.
#include "odf_styles.h"
#include "odf_vocabulary.h"
#include "reading_comparison.h"
#include <QHash>
#include <QMap>

namespace census {
namespace {

using namespace odf;
using Properties = QHash<QString, QString>; // "margin-left" -> "0.5in"

// Direct formatting beats the list's indents, and those beat the named styles'.
const QStringList listIndents = {QStringLiteral("margin-left"), QStringLiteral("text-indent")};

class ShownReader
{
public:
    explicit ShownReader(const QByteArray &bytes) : m_xml(bytes) {}

    std::optional<ShownDocument> read(QString *error)
    {
        bool isText = false;
        while (!m_xml.atEnd()) {
            const auto token = m_xml.readNext();
            if (token == QXmlStreamReader::StartElement) {
                const QString name = qualifiedName(m_xml);
                if (name == u"office:document")
                    isText = odf::attribute(m_xml, ns::office, "mimetype")
                             == u"application/vnd.oasis.opendocument.text";
                start(name);
            } else if (token == QXmlStreamReader::EndElement) {
                end();
            } else if (token == QXmlStreamReader::Characters && m_paragraph && m_skip == 0) {
                *m_paragraph += m_xml.text();
            }
        }
        QString problem = m_xml.hasError() ? m_xml.errorString() : QString();
        if (problem.isEmpty() && !isText)
            problem = QStringLiteral("not an ODF text document");
        if (!problem.isEmpty()) {
            if (error)
                *error = problem;
            return std::nullopt;
        }
        return m_shown;
    }

private:
    QString attribute(const QString &space, const char *name) const { return odf::attribute(m_xml, space, name); }

    void start(const QString &name)
    {
        m_open << name;
        if (name == u"office:automatic-styles")
            m_automatic = true;
        else if (name == u"office:text")
            m_inBody = true;
        if (!m_inBody) {
            m_sheet.start(name, m_xml, m_open, m_automatic, m_unused);
            startDefinition(name);
        } else {
            startBodyElement(name);
        }
    }

    void startDefinition(const QString &name)
    {
        if (name == u"style:style" || name == u"style:default-style") {
            const bool paragraph = attribute(ns::style, "family") == u"paragraph";
            m_defining = !paragraph ? nullptr
                         : name == u"style:default-style" ? &m_defaults
                                                          : &m_styles[attribute(ns::style, "name")];
        } else if (name == u"style:paragraph-properties" && m_defining) {
            for (const auto &attribute : m_xml.attributes())
                m_defining->insert(attribute.name().toString(), attribute.value().toString());
        } else if (name == u"text:list-style") {
            m_listStyle = attribute(ns::style, "name");
        } else if (name.startsWith(u"text:list-level-style-") && !m_listStyle.isEmpty()) {
            m_listLevel = attribute(ns::text, "level").toInt();
        } else if (name == u"style:list-level-properties" && m_listLevel > 0) {
            startListLevel(m_listLevels[m_listStyle][m_listLevel]);
        } else if (name == u"style:list-level-label-alignment" && m_listLevel > 0) {
            Properties &level = m_listLevels[m_listStyle][m_listLevel];
            for (const QString &property : listIndents)
                level.insert(property, odf::attribute(m_xml, ns::fo, property.toLatin1().constData()));
        }
    }

    // The older way of placing labels: the text starts after the label's room.
    void startListLevel(Properties &level)
    {
        if (attribute(ns::text, "list-level-position-and-space-mode") == u"label-alignment")
            return;
        const int before = twips(attribute(ns::text, "space-before"));
        const int label = twips(attribute(ns::text, "min-label-width"));
        level.insert(QStringLiteral("margin-left"), QStringLiteral("%1pt").arg((before + label) / 20.0));
        level.insert(QStringLiteral("text-indent"), QStringLiteral("%1pt").arg(-label / 20.0));
    }

    void startBodyElement(const QString &name)
    {
        if (name == u"text:note" || name == u"office:annotation" || name == u"draw:frame")
            ++m_skip;
        if (name == u"draw:frame")
            m_frames << false;
        else if (name == u"draw:image" && m_skip == int(m_frames.size()) && !m_frames.isEmpty() && !m_frames.last())
            ++m_shown.pictures, m_frames.last() = true; // a frame may hold one picture in several formats
        else if (name == u"text:list")
            m_lists << attribute(ns::text, "style-name");
        else if (name == u"text:list-item" || name == u"text:list-header")
            m_labelPending = name == u"text:list-item";
        else if ((name == u"text:p" || name == u"text:h") && m_skip == 0)
            startParagraph();
        else if (m_paragraph && m_skip == 0 && (name == u"text:s" || name == u"text:tab" || name == u"text:line-break"))
            *m_paragraph += u' ';
    }

    void startParagraph()
    {
        m_paragraph = QString();
        m_current = ShownParagraph();
        // LibreOffice gives a paragraph that names no style its default paragraph style.
        QString style = attribute(ns::text, "style-name");
        if (style.isEmpty())
            style = QStringLiteral("Standard");
        const bool inList = !m_lists.isEmpty();
        QString listStyle = m_sheet.style(style).listStyle;
        for (auto it = m_lists.crbegin(); it != m_lists.crend(); ++it)
            if (!it->isEmpty()) {
                listStyle = *it;
                break;
            }
        const int level = int(m_lists.size());
        const QString kind = m_sheet.listKind(listStyle, level);
        m_current.listItem = inList && m_labelPending && m_open.value(m_open.size() - 2) == u"text:list-item"
                             && kind != u"unnumbered";
        m_labelPending = false;
        m_current.numbered = kind == u"numbered";
        m_current.level = m_current.listItem ? level : 0;
        const Properties list = inList ? m_listLevels.value(listStyle).value(level) : Properties();
        const auto length = [&](const char *property) { return twips(resolve(style, list, property)); };
        m_current.left = length("margin-left");
        m_current.right = length("margin-right");
        m_current.first = length("text-indent");
        m_current.before = length("margin-top");
        m_current.after = length("margin-bottom");
        m_current.alignment = alignment(resolve(style, {}, "text-align"), resolve(style, {}, "writing-mode"));
    }

    QString resolve(const QString &style, const Properties &list, const char *property) const
    {
        const QString name = QString::fromLatin1(property);
        QString at = style;
        for (int depth = 0; !at.isEmpty() && depth < 32 && m_sheet.style(at).automatic; ++depth) {
            if (const auto found = m_styles.value(at).value(name); !found.isEmpty())
                return found;
            at = m_sheet.style(at).parent;
        }
        if (const QString fromList = list.value(name); !fromList.isEmpty())
            return fromList;
        for (int depth = 0; !at.isEmpty() && depth < 32; ++depth) {
            if (const auto found = m_styles.value(at).value(name); !found.isEmpty())
                return found;
            at = m_sheet.style(at).parent;
        }
        return m_defaults.value(name);
    }

    static ShownAlignment alignment(const QString &align, const QString &writingMode)
    {
        const bool rightToLeft = writingMode.startsWith(u"rl");
        if (align == u"center")
            return ShownAlignment::Centre;
        if (align == u"justify")
            return ShownAlignment::Justify;
        if (align == u"right" || (align == u"end" && !rightToLeft) || (align == u"start" && rightToLeft))
            return ShownAlignment::Right;
        if (align.isEmpty() && rightToLeft)
            return ShownAlignment::Right;
        return ShownAlignment::Left;
    }

    void end()
    {
        const QString name = m_open.takeLast();
        if (name == u"office:automatic-styles")
            m_automatic = false;
        else if (name == u"office:text")
            m_inBody = false;
        else if (name == u"style:style" || name == u"style:default-style")
            m_defining = nullptr;
        else if (name == u"text:list-style")
            m_listStyle.clear();
        else if (name.startsWith(u"text:list-level-style-"))
            m_listLevel = 0;
        if (!m_inBody && name != u"office:text") {
            m_sheet.end(name);
            return;
        }
        if (name == u"text:note" || name == u"office:annotation" || name == u"draw:frame")
            --m_skip;
        if (name == u"draw:frame")
            m_frames.removeLast();
        else if (name == u"text:list")
            m_lists.removeLast();
        else if ((name == u"text:p" || name == u"text:h") && m_paragraph && m_skip == 0)
            endParagraph();
    }

    void endParagraph()
    {
        m_current.text = m_paragraph->simplified();
        m_paragraph.reset();
        if (!m_current.text.isEmpty())
            m_shown.paragraphs << m_current;
    }

    QXmlStreamReader m_xml;
    ShownDocument m_shown;
    StyleSheet m_sheet;
    DocumentCensus m_unused; // the style sheet counts headers and footers into it
    QStringList m_open;
    bool m_automatic = false;
    bool m_inBody = false;
    QHash<QString, Properties> m_styles; // paragraph properties each style sets itself
    Properties m_defaults;
    Properties *m_defining = nullptr;
    QHash<QString, QMap<int, Properties>> m_listLevels; // indents of each list style's levels
    QString m_listStyle;
    int m_listLevel = 0;
    int m_skip = 0; // depth in notes, comments and frames
    QList<bool> m_frames; // per open frame: its picture was counted
    QStringList m_lists;  // the style each open list names
    bool m_labelPending = false; // the list item's first paragraph carries its label
    std::optional<QString> m_paragraph;
    ShownParagraph m_current;
};

} // namespace

std::optional<ShownDocument> readShownDocument(const QByteArray &fodt, QString *error)
{
    return ShownReader(fodt).read(error);
}

} // namespace census
