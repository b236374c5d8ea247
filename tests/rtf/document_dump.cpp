#include "document_dump.h"
#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>
#include <cmath>

namespace rtftest {
namespace {

QString alignmentName(Qt::Alignment alignment)
{
    alignment &= Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter) return QStringLiteral("center");
    if (alignment & Qt::AlignRight) return QStringLiteral("right");
    if (alignment & Qt::AlignJustify) return QStringLiteral("justify");
    return QStringLiteral("left");
}

QString runText(const QTextFragment &fragment, bool withFonts)
{
    const QTextCharFormat format = fragment.charFormat();
    if (format.isImageFormat()) {
        const QTextImageFormat image = format.toImageFormat();
        return QStringLiteral("[img %1x%2]").arg(std::lround(image.width())).arg(std::lround(image.height()));
    }
    QString text = fragment.text();
    text.replace(QChar(0x2028), QStringLiteral("\\n"));
    QString run = u'"' + text + u'"';
    if (format.fontWeight() >= QFont::DemiBold) run += QStringLiteral(" b");
    if (format.fontItalic()) run += QStringLiteral(" i");
    if (format.fontUnderline()) run += QStringLiteral(" u");
    if (format.fontStrikeOut()) run += QStringLiteral(" s");
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript) run += QStringLiteral(" sup");
    if (format.verticalAlignment() == QTextCharFormat::AlignSubScript) run += QStringLiteral(" sub");
    if (format.baselineOffset() != 0) run += QStringLiteral(" raised=%1%").arg(format.baselineOffset());
    if (format.fontPointSize() > 0) run += QStringLiteral(" %1pt").arg(format.fontPointSize());
    if (format.foreground().style() != Qt::NoBrush) run += u' ' + format.foreground().color().name();
    if (format.background().style() != Qt::NoBrush) run += QStringLiteral(" bg") + format.background().color().name();
    if (format.isAnchor() && !format.anchorHref().isEmpty())
        run += QStringLiteral(" link=") + format.anchorHref();
    if (withFonts && !format.fontFamilies().toStringList().isEmpty())
        run += QStringLiteral(" f=") + format.fontFamilies().toStringList().first();
    return run;
}

QString cellLook(const QTextTableCell &cell)
{
    QString look;
    if (cell.rowSpan() > 1 || cell.columnSpan() > 1)
        look += QStringLiteral(" span %1x%2").arg(cell.rowSpan()).arg(cell.columnSpan());
    const QTextTableCellFormat format = cell.format().toTableCellFormat();
    QString sides;
    if (format.topBorder() > 0) sides += u't';
    if (format.leftBorder() > 0) sides += u'l';
    if (format.bottomBorder() > 0) sides += u'b';
    if (format.rightBorder() > 0) sides += u'r';
    if (!sides.isEmpty())
        look += QStringLiteral(" borders=") + sides;
    if (format.background().style() != Qt::NoBrush)
        look += QStringLiteral(" bg") + format.background().color().name();
    return look;
}

// Every table around the block, the outermost first: "cell 0,1 > cell 1,0".
QString cellPath(const QTextBlock &block)
{
    QStringList cells;
    for (QTextFrame *frame = QTextCursor(block).currentFrame(); frame; frame = frame->parentFrame()) {
        if (auto *table = qobject_cast<QTextTable *>(frame)) {
            const QTextTableCell cell = table->cellAt(block.position());
            cells.prepend(QStringLiteral("cell %1,%2").arg(cell.row()).arg(cell.column()) + cellLook(cell));
        }
    }
    return cells.isEmpty() ? QString() : cells.join(QStringLiteral(" > ")) + u' ';
}

// " lh=exact:16" and " tabs=48,96r." appear only for blocks that have them.
QString spacingAndTabs(const QTextBlockFormat &format)
{
    QString text;
    static const char *const kinds[] = {"single", "proportional", "exact", "atleast", "distance"};
    const int type = format.lineHeightType();
    if (type > 0 && type < 5)
        text += QStringLiteral(" lh=%1:%2").arg(QLatin1StringView(kinds[type])).arg(format.lineHeight());
    const QList<QTextOption::Tab> tabs = format.tabPositions();
    const QString leaders = format.stringProperty(QTextFormat::UserProperty + 0x5247);
    QStringList stops;
    for (qsizetype i = 0; i < tabs.size(); ++i) {
        QString stop = QString::number(tabs.at(i).position);
        if (tabs.at(i).type == QTextOption::RightTab) stop += u'r';
        if (tabs.at(i).type == QTextOption::CenterTab) stop += u'c';
        if (tabs.at(i).type == QTextOption::DelimiterTab) stop += u'd' + QString(tabs.at(i).delimiter);
        if (i < leaders.size() && leaders.at(i) != u' ') stop += u'~' + QString(leaders.at(i));
        stops << stop;
    }
    if (!stops.isEmpty())
        text += QStringLiteral(" tabs=") + stops.join(u',');
    return text;
}

QString blockLine(const QTextBlock &block, bool withFonts)
{
    QString line = cellPath(block);
    const QTextBlockFormat format = block.blockFormat();
    line += QStringLiteral("P ") + alignmentName(format.alignment());
    if (format.layoutDirection() == Qt::RightToLeft)
        line += QStringLiteral(" rtl");
    const auto margin = [&line](const char *name, qreal value) {
        if (value != 0) line += QStringLiteral(" %1=%2").arg(QLatin1StringView(name)).arg(value);
    };
    margin("li", format.leftMargin());
    margin("ri", format.rightMargin());
    margin("fi", format.textIndent());
    margin("sb", format.topMargin());
    margin("sa", format.bottomMargin());
    line += spacingAndTabs(format);
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        line += QStringLiteral(" pagebreak");
    for (auto it = block.begin(); !it.atEnd(); ++it)
        line += QStringLiteral(" | ") + runText(it.fragment(), withFonts);
    return line;
}

} // namespace

QString dumpDocument(const QTextDocument &document, bool withFonts)
{
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        lines << blockLine(block, withFonts);
    return lines.join(u'\n');
}

} // namespace rtftest
