#include "odf_styles.h"
#include "odf_vocabulary.h"

namespace census::odf {

void StyleSheet::start(const QString &name, const QXmlStreamReader &xml, const QStringList &open, bool automatic,
                       DocumentCensus &census)
{
    startStyle(name, xml, automatic);
    startPageLayout(name, xml, open);
    startMasterPage(name, xml, open, census);
}

void StyleSheet::end(const QString &name)
{
    if (name == u"style:style")
        m_style.clear();
    else if (name == u"style:page-layout")
        m_layout.clear();
    else if (name == u"text:list-style")
        m_listStyle.clear();
    else if (name == u"style:master-page")
        m_master.clear();
}

QString StyleSheet::listKind(const QString &listStyle, int level) const
{
    return m_listKinds.value(listStyle).value(level, QStringLiteral("unknown"));
}

PageSetup StyleSheet::page(const QString &masterPage) const
{
    const Master master = m_masters.value(masterPage);
    const Layout layout = m_layouts.value(master.layout);
    PageSetup page = layout.page;
    page.top += master.header ? layout.headerHeight : 0;
    page.bottom += master.footer ? layout.footerHeight : 0;
    // What a person sees; LibreOffice's own round trip loses the orientation flag of a wide page.
    page.landscape = page.width > page.height;
    return page;
}

void StyleSheet::startStyle(const QString &name, const QXmlStreamReader &xml, bool automatic)
{
    if (name == u"style:style") {
        m_style = attribute(xml, ns::style, "name");
        StyleInfo &style = m_styles[m_style];
        style.displayName = attribute(xml, ns::style, "display-name");
        style.parent = attribute(xml, ns::style, "parent-style-name");
        style.masterPage = attribute(xml, ns::style, "master-page-name");
        style.listStyle = attribute(xml, ns::style, "list-style-name");
        style.automatic = automatic;
    } else if (name == u"style:text-properties" && !m_style.isEmpty()) {
        m_styles[m_style].hidden = attribute(xml, ns::text, "display") == u"none";
    } else if (name == u"text:list-style") {
        m_listStyle = attribute(xml, ns::style, "name");
    } else if (name.startsWith(u"text:list-level-style-") && !m_listStyle.isEmpty()) {
        const bool numbered = name.endsWith(u"number");
        const bool unnumbered = numbered && attribute(xml, ns::style, "num-format").isEmpty();
        m_listKinds[m_listStyle][attribute(xml, ns::text, "level").toInt()] =
            unnumbered ? QStringLiteral("unnumbered")
                       : (numbered ? QStringLiteral("numbered") : QStringLiteral("bulleted"));
    }
}

void StyleSheet::startPageLayout(const QString &name, const QXmlStreamReader &xml, const QStringList &open)
{
    if (name == u"style:page-layout") {
        m_layout = attribute(xml, ns::style, "name");
    } else if (name == u"style:page-layout-properties" && !m_layout.isEmpty()) {
        PageSetup &page = m_layouts[m_layout].page;
        page.width = twips(attribute(xml, ns::fo, "page-width"));
        page.height = twips(attribute(xml, ns::fo, "page-height"));
        page.left = twips(attribute(xml, ns::fo, "margin-left"));
        page.right = twips(attribute(xml, ns::fo, "margin-right"));
        page.top = twips(attribute(xml, ns::fo, "margin-top"));
        page.bottom = twips(attribute(xml, ns::fo, "margin-bottom"));
    } else if (name == u"style:header-footer-properties" && !m_layout.isEmpty()) {
        // The height of a header includes its spacing to the text.
        QString height = attribute(xml, ns::svg, "height");
        if (height.isEmpty())
            height = attribute(xml, ns::fo, "min-height");
        const bool header = open.value(open.size() - 2) == u"style:header-style";
        (header ? m_layouts[m_layout].headerHeight : m_layouts[m_layout].footerHeight) = twips(height);
    }
}

void StyleSheet::startMasterPage(const QString &name, const QXmlStreamReader &xml, const QStringList &open,
                                 DocumentCensus &census)
{
    if (name == u"style:master-page") {
        m_master = attribute(xml, ns::style, "name");
        m_masters[m_master].layout = attribute(xml, ns::style, "page-layout-name");
        // A master page followed by another is how a first page gets its own header.
        const QString next = attribute(xml, ns::style, "next-style-name");
        m_masterIsFirstPage = !next.isEmpty() && next != m_master;
        return;
    }
    if (m_master.isEmpty() || open.value(open.size() - 2) != u"style:master-page")
        return;
    if (!name.startsWith(u"style:header") && !name.startsWith(u"style:footer"))
        return;
    if (attribute(xml, ns::style, "display") == u"false")
        return;
    const bool header = name.startsWith(u"style:header");
    QString kind = m_masterIsFirstPage ? QStringLiteral("first") : QStringLiteral("default");
    if (name.endsWith(u"-left"))
        kind = QStringLiteral("left");
    else if (name.endsWith(u"-first"))
        kind = QStringLiteral("first");
    ++(header ? census.headers : census.footers)[kind];
    // The header of the page style itself takes room from the text on its pages.
    if (!name.endsWith(u"-left") && !name.endsWith(u"-first"))
        (header ? m_masters[m_master].header : m_masters[m_master].footer) = true;
}

} // namespace census::odf
