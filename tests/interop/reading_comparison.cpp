#include "reading_comparison.h"
#include <cstdlib>

namespace census {
namespace {

// How far ahead a paragraph is looked for on the other side before it counts as missing there.
constexpr int PairingWindow = 100;

QString alignmentName(ShownAlignment alignment)
{
    switch (alignment) {
    case ShownAlignment::Left: return QStringLiteral("left");
    case ShownAlignment::Right: return QStringLiteral("right");
    case ShownAlignment::Centre: return QStringLiteral("centre");
    case ShownAlignment::Justify: return QStringLiteral("justify");
    }
    return {};
}

QString listName(const ShownParagraph &paragraph)
{
    if (!paragraph.listItem)
        return QStringLiteral("no list");
    return QStringLiteral("level %1 %2").arg(paragraph.level).arg(paragraph.numbered ? "numbered" : "bulleted");
}

QString shortText(const QString &text)
{
    return text.size() > 40 ? text.left(37) + QStringLiteral("...") : text;
}

class PairJudge
{
public:
    PairJudge(const ShownParagraph &office, const ShownParagraph &velmo, ReadingTally &tally)
        : m_office(office), m_velmo(velmo), m_tally(tally)
    {
    }

    void judge()
    {
        count(Criterion::Paired, true, {}, {});
        if (m_office.listItem)
            count(Criterion::ListItemFound, m_velmo.listItem, listName(m_office), listName(m_velmo));
        else
            count(Criterion::NoListItemAdded, !m_velmo.listItem, listName(m_office), listName(m_velmo));
        if (m_office.listItem && m_velmo.listItem) {
            count(Criterion::ListKind, m_office.numbered == m_velmo.numbered, listName(m_office), listName(m_velmo));
            count(Criterion::ListLevel, m_office.level == m_velmo.level, listName(m_office), listName(m_velmo));
        }
        length(Criterion::LeftIndent, m_office.left, m_velmo.left);
        length(Criterion::RightIndent, m_office.right, m_velmo.right);
        length(Criterion::FirstLineIndent, m_office.first, m_velmo.first);
        length(Criterion::SpaceBefore, m_office.before, m_velmo.before);
        length(Criterion::SpaceAfter, m_office.after, m_velmo.after);
        count(Criterion::Alignment, m_office.alignment == m_velmo.alignment, alignmentName(m_office.alignment),
              alignmentName(m_velmo.alignment));
    }

private:
    void length(Criterion criterion, int office, int velmo)
    {
        count(criterion, std::abs(office - velmo) < TwipsTolerance, QString::number(office), QString::number(velmo));
    }

    void count(Criterion criterion, bool agree, const QString &office, const QString &velmo)
    {
        const int at = int(criterion);
        ++m_tally.compared[at];
        m_tally.agreeing[at] += agree;
        if (!agree)
            m_tally.disagreements[at] << QStringLiteral("\"%1\" (%2): LibreOffice %3, Velmo %4")
                                             .arg(shortText(m_office.text), listName(m_office), office, velmo);
    }

    const ShownParagraph &m_office;
    const ShownParagraph &m_velmo;
    ReadingTally &m_tally;
};

// Readers differ in the white space they make of fields and line breaks; the words pair paragraphs.
QString pairingKey(const QString &text)
{
    QString key;
    for (const QChar c : text)
        if (!c.isSpace())
            key += c;
    return key;
}

} // namespace

QString describe(const ShownParagraph &paragraph)
{
    return QStringLiteral("%1; left %2 right %3 first %4 before %5 after %6; %7: %8")
        .arg(listName(paragraph))
        .arg(paragraph.left)
        .arg(paragraph.right)
        .arg(paragraph.first)
        .arg(paragraph.before)
        .arg(paragraph.after)
        .arg(alignmentName(paragraph.alignment), shortText(paragraph.text));
}

QString criterionName(Criterion criterion)
{
    static const char *const names[CriterionCount] = {
        "paragraphs paired", "list item found", "no list item added", "list kind", "list level", "left indent",
        "right indent", "first-line indent", "space before", "space after", "alignment", "pictures"};
    return QString::fromLatin1(names[int(criterion)]);
}

void compareReading(const ShownDocument &office, const ShownDocument &velmo, ReadingTally &tally)
{
    qsizetype next = 0; // Velmo's first paragraph not yet passed
    QStringList velmoKeys;
    for (const ShownParagraph &paragraph : velmo.paragraphs)
        velmoKeys << pairingKey(paragraph.text);
    for (const ShownParagraph &paragraph : office.paragraphs) {
        const QString key = pairingKey(paragraph.text);
        qsizetype found = -1;
        for (qsizetype i = next; i < velmo.paragraphs.size() && i < next + PairingWindow && found < 0; ++i)
            if (velmoKeys.at(i) == key)
                found = i;
        if (found < 0) {
            ++tally.compared[int(Criterion::Paired)];
            tally.disagreements[int(Criterion::Paired)] << QStringLiteral("\"%1\": not in Velmo's reading")
                                                                .arg(shortText(paragraph.text));
            continue;
        }
        PairJudge(paragraph, velmo.paragraphs.at(found), tally).judge();
        next = found + 1;
    }
    const int pictures = int(Criterion::Pictures);
    tally.compared[pictures] += office.pictures;
    tally.agreeing[pictures] += qMin(office.pictures, velmo.pictures);
    if (office.pictures != velmo.pictures)
        tally.disagreements[pictures]
            << QStringLiteral("LibreOffice %1, Velmo %2").arg(office.pictures).arg(velmo.pictures);
}

} // namespace census
