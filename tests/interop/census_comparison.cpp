// Judging a copy's census against its original's, part by part.
#include "document_census.h"
#include <algorithm>
#include <cstdlib>

namespace census {
namespace {

// LibreOffice rounds lengths through inches and centimetres; a quarter of a
// millimetre is well below any change a person would make.
constexpr int TwipsTolerance = 15;

bool near(int a, int b) { return std::abs(a - b) <= TwipsTolerance; }

QString shown(const QMap<QString, int> &counts)
{
    QStringList items;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        items << QStringLiteral("%1 %2").arg(it.value()).arg(it.key());
    return items.isEmpty() ? QStringLiteral("none") : items.join(QStringLiteral(", "));
}

QString shown(QSet<QString> names)
{
    QStringList sorted(names.begin(), names.end());
    std::sort(sorted.begin(), sorted.end());
    return sorted.isEmpty() ? QStringLiteral("none") : u'"' + sorted.join(QStringLiteral("\", \"")) + u'"';
}

QString shown(const QString &text) { return text.isEmpty() ? QStringLiteral("none") : u'"' + text + u'"'; }
QString shown(const QStringList &items) { return items.isEmpty() ? QStringLiteral("none") : items.join(u", "); }
QString shown(int count) { return QString::number(count); }

QString inches(int twips) { return QString::number(twips / 1440.0, 'f', 2) + QStringLiteral("in"); }

QString pageSizes(const QList<PageSetup> &pages)
{
    QStringList items;
    for (const PageSetup &page : pages)
        items << inches(page.width) + u'x' + inches(page.height);
    return items.join(QStringLiteral(", "));
}

QString pageMargins(const QList<PageSetup> &pages)
{
    QStringList items;
    for (const PageSetup &page : pages)
        items << QStringLiteral("left %1 right %2 top %3 bottom %4")
                     .arg(inches(page.left), inches(page.right), inches(page.top), inches(page.bottom));
    return items.join(QStringLiteral("; "));
}

QString orientations(const QList<PageSetup> &pages)
{
    QStringList items;
    for (const PageSetup &page : pages)
        items << (page.landscape ? QStringLiteral("landscape") : QStringLiteral("portrait"));
    return items.join(QStringLiteral(", "));
}

// Pages in turn alike in what is judged count once: a writer may start a
// new page style where nothing a person sees changes.
template<typename Same>
bool samePages(QList<PageSetup> a, QList<PageSetup> b, Same same)
{
    a.erase(std::unique(a.begin(), a.end(), same), a.end());
    b.erase(std::unique(b.begin(), b.end(), same), b.end());
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), same);
}

// The first paragraph where the copy's body text parts from the original's.
QString firstDifference(const QStringList &original, const QStringList &copy)
{
    for (qsizetype i = 0; i < qMax(original.size(), copy.size()); ++i)
        if (original.value(i) != copy.value(i))
            return QStringLiteral("paragraph %1 of %2: original %3, copy %4")
                .arg(i + 1).arg(original.size()).arg(shown(original.value(i)), shown(copy.value(i)));
    return {};
}

PartVerdict judged(Part part, bool present, bool kept, const QString &original, const QString &copy)
{
    return {part, present, kept,
            QStringLiteral("%1: original %2; copy %3").arg(partName(part), original, copy)};
}

template<typename T>
PartVerdict sameValue(Part part, const T &original, const T &copy, bool present)
{
    return judged(part, present, original == copy, shown(original), shown(copy));
}

PartVerdict allKept(Part part, const QSet<QString> &original, const QSet<QString> &copy)
{
    return judged(part, !original.isEmpty(), copy.contains(original), shown(original), shown(copy));
}

} // namespace

QString partName(Part part)
{
    static const char *const names[PartCount] = {
        "headers", "footers", "footnotes", "endnotes", "comments", "page size", "margins", "orientation",
        "sections", "list paragraphs", "bookmarks", "paragraph styles", "character styles", "title",
        "author", "pictures", "table cells", "fields", "hidden text", "body text"};
    return QString::fromLatin1(names[int(part)]);
}

QList<PartVerdict> compare(const DocumentCensus &original, const DocumentCensus &copy)
{
    const auto &a = original;
    const auto &b = copy;
    const bool paged = !a.pages.isEmpty();
    QList<PartVerdict> verdicts = {
        sameValue(Part::Headers, a.headers, b.headers, !a.headers.isEmpty()),
        sameValue(Part::Footers, a.footers, b.footers, !a.footers.isEmpty()),
        sameValue(Part::Footnotes, a.footnotes, b.footnotes, a.footnotes > 0),
        sameValue(Part::Endnotes, a.endnotes, b.endnotes, a.endnotes > 0),
        sameValue(Part::Comments, a.comments, b.comments, a.comments > 0),
        judged(Part::PageSize, paged, samePages(a.pages, b.pages, [](const PageSetup &x, const PageSetup &y) {
                   return near(x.width, y.width) && near(x.height, y.height);
               }), pageSizes(a.pages), pageSizes(b.pages)),
        judged(Part::Margins, paged, samePages(a.pages, b.pages, [](const PageSetup &x, const PageSetup &y) {
                   return near(x.left, y.left) && near(x.right, y.right) && near(x.top, y.top)
                          && near(x.bottom, y.bottom);
               }), pageMargins(a.pages), pageMargins(b.pages)),
        judged(Part::Orientation, paged, samePages(a.pages, b.pages, [](const PageSetup &x, const PageSetup &y) {
                   return x.landscape == y.landscape;
               }), orientations(a.pages), orientations(b.pages)),
        // One section is what every document has; more is a part to keep.
        sameValue(Part::Sections, a.sections, b.sections, a.sections > 1),
        sameValue(Part::Lists, a.listParagraphs, b.listParagraphs, !a.listParagraphs.isEmpty()),
        allKept(Part::Bookmarks, a.bookmarks, b.bookmarks),
        allKept(Part::ParagraphStyles, a.paragraphStyles, b.paragraphStyles),
        allKept(Part::CharacterStyles, a.characterStyles, b.characterStyles),
        sameValue(Part::Title, a.title, b.title, !a.title.isEmpty()),
        sameValue(Part::Author, a.author, b.author, !a.author.isEmpty()),
        sameValue(Part::Pictures, a.pictures, b.pictures, a.pictures > 0),
        sameValue(Part::TableCells, a.tableCells, b.tableCells, a.tableCells > 0),
        sameValue(Part::Fields, a.fields, b.fields, !a.fields.isEmpty()),
        sameValue(Part::HiddenText, a.hiddenText, b.hiddenText, !a.hiddenText.isEmpty()),
    };
    const QString difference = firstDifference(a.paragraphs, b.paragraphs);
    verdicts << PartVerdict{Part::BodyText, !a.paragraphs.isEmpty(), difference.isEmpty(),
                            QStringLiteral("body text: ")
                                + (difference.isEmpty() ? QStringLiteral("%1 paragraphs alike").arg(a.paragraphs.size())
                                                        : difference)};
    return verdicts;
}

} // namespace census
