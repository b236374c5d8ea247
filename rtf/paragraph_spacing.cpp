#include "rtf/paragraph_spacing.h"
#include "rtf/group_state.h"
#include <QTextBlockFormat>
#include <cmath>

namespace rtf {
namespace {

long long twipsOf(qreal pixels)
{
    return std::llround(pixels * TwipsPerPixel);
}

std::string numbered(const char *word, long long value)
{
    return std::string(word) + std::to_string(value);
}

const char *leaderWord(QChar leader)
{
    switch (leader.unicode()) {
    case u'.': return "\\tldot";
    case u'm': return "\\tlmdot";
    case u'-': return "\\tlhyph";
    case u'_': return "\\tlul";
    case u't': return "\\tlth";
    case u'=': return "\\tleq";
    default: return "";
    }
}

const char *kindWord(QTextOption::TabType type)
{
    switch (type) {
    case QTextOption::RightTab: return "\\tqr";
    case QTextOption::CenterTab: return "\\tqc";
    case QTextOption::DelimiterTab: return "\\tqdec";
    default: return "";
    }
}

} // namespace

void setLineSpacing(QTextBlockFormat &format, int twips, bool multiple)
{
    if (twips < 0)
        format.setLineHeight(-twips / TwipsPerPixel, QTextBlockFormat::FixedHeight);
    else if (twips > 0 && !multiple)
        format.setLineHeight(twips / TwipsPerPixel, QTextBlockFormat::MinimumHeight);
    else if (twips > 0 && twips != 240)
        format.setLineHeight(twips * 100.0 / 240, QTextBlockFormat::ProportionalHeight);
}

void setTabStops(QTextBlockFormat &format, const QList<QTextOption::Tab> &tabs, const QString &leaders)
{
    if (tabs.isEmpty())
        return;
    format.setTabPositions(tabs);
    if (!leaders.trimmed().isEmpty())
        format.setProperty(TabLeadersProperty, leaders);
}

std::string lineSpacingWords(const QTextBlockFormat &format)
{
    const qreal height = format.lineHeight();
    switch (format.lineHeightType()) {
    case QTextBlockFormat::FixedHeight:
        return height > 0 ? numbered("\\sl-", twipsOf(height)) + "\\slmult0" : "";
    case QTextBlockFormat::MinimumHeight:
        return height > 0 ? numbered("\\sl", twipsOf(height)) + "\\slmult0" : "";
    case QTextBlockFormat::ProportionalHeight:
        return height > 0 ? numbered("\\sl", std::llround(height * 240 / 100)) + "\\slmult1" : "";
    default: return "";
    }
}

std::string tabStopWords(const QTextBlockFormat &format)
{
    const QList<QTextOption::Tab> tabs = format.tabPositions();
    const QString leaders = format.stringProperty(TabLeadersProperty);
    std::string words;
    for (qsizetype i = 0; i < tabs.size(); ++i) {
        const long long position = twipsOf(tabs.at(i).position);
        if (position < 0)
            continue;
        words += leaderWord(i < leaders.size() ? leaders.at(i) : QChar(u' '));
        words += kindWord(tabs.at(i).type);
        words += numbered("\\tx", position);
    }
    return words;
}

} // namespace rtf
