#pragma once
// The definitions a flat ODF text gives before its body: styles, list
// styles, page layouts and master pages (with their headers and footers).
#include "document_census.h"
#include <QHash>
#include <QXmlStreamReader>

namespace census::odf {

struct StyleInfo {
    QString displayName;
    QString parent;
    QString masterPage;
    QString listStyle;
    bool automatic = false;
    bool hidden = false;
};

class StyleSheet
{
public:
    // Takes what the element `name` (the last of `open`) defines; headers and
    // footers of master pages are counted into `census`.
    void start(const QString &name, const QXmlStreamReader &xml, const QStringList &open, bool automatic,
               DocumentCensus &census);
    void end(const QString &name);

    StyleInfo style(const QString &name) const { return m_styles.value(name); }
    // "numbered", "bulleted", "unnumbered" or "unknown".
    QString listKind(const QString &listStyle, int level) const;
    // The page of a master page, its header and footer counted into the margins.
    PageSetup page(const QString &masterPage) const;

private:
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

    void startStyle(const QString &name, const QXmlStreamReader &xml, bool automatic);
    void startPageLayout(const QString &name, const QXmlStreamReader &xml, const QStringList &open);
    void startMasterPage(const QString &name, const QXmlStreamReader &xml, const QStringList &open,
                         DocumentCensus &census);

    QHash<QString, StyleInfo> m_styles;
    QHash<QString, Layout> m_layouts;
    QHash<QString, Master> m_masters;
    QHash<QString, QMap<int, QString>> m_listKinds;
    QString m_style, m_layout, m_master, m_listStyle; // the definitions being read
    bool m_masterIsFirstPage = false;
};

} // namespace census::odf
