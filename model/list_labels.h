#pragma once
#include <QString>
#include <array>

class QTextBlock;
class QTextList;

// A list paragraph's label ("3.", "2.1.", "iv)", "•"), as the file's list level asks: its level
// text names the numbers of its own level and of the levels above it.
namespace model {

inline constexpr int ListLevels = 9;

// The numbers of a list's levels at one paragraph and the style each is shown in
// (QTextListFormat::Style values).
struct ListCounters
{
    std::array<int, ListLevels> numbers{};
    std::array<int, ListLevels> styles{};
};

// `levelText` holds QChar(0)..QChar(8) where a level's number goes ("\0." is "3.").
QString listLabel(const QString &levelText, const ListCounters &counters);
QString listNumber(int number, int style); // 3 as "3", "c", "C", "iii" or "III"

// A list read in chunks is one list: its first chunk, and how many paragraphs come before `list`.
const QTextList *firstChunk(const QTextList &list);
int itemsBefore(const QTextList &list);
// The number of `block` in its list, from the list's start.
int listNumberOf(const QTextList &list, const QTextBlock &block);

// The label of `block`, which is in a list; the numbers of the levels above its own come from the
// nearest paragraphs before it in those levels' lists.
QString listLabelOf(const QTextBlock &block);

} // namespace model
