#include "model/list_labels.h"
#include "model/text_properties.h"
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

namespace model {
namespace {

QString roman(int number)
{
    static const std::pair<int, const char *> parts[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"},
                                                         {100, "c"},  {90, "xc"},  {50, "l"},  {40, "xl"},
                                                         {10, "x"},   {9, "ix"},   {5, "v"},   {4, "iv"},
                                                         {1, "i"}};
    QString out;
    for (const auto &[value, letters] : parts)
        for (; number >= value; number -= value)
            out += QLatin1String(letters);
    return out;
}

QString letters(int number)
{
    QString out;
    for (; number > 0; number = (number - 1) / 26)
        out.prepend(QChar(u'a' + (number - 1) % 26));
    return out;
}

// The level a list shows, and the number `block` has in it.
int levelOf(const QTextList &list) { return list.format().intProperty(ListLevelProperty); }

int numberStyleOf(const QTextListFormat &format)
{
    return format.hasProperty(ListNumberStyleProperty) ? format.intProperty(ListNumberStyleProperty) : format.style();
}

const QTextList *chunkBefore(const QTextList &list)
{
    const QTextListFormat format = list.format();
    if (!format.hasProperty(ListChunkBeforeProperty))
        return nullptr;
    return qobject_cast<const QTextList *>(list.document()->object(format.intProperty(ListChunkBeforeProperty)));
}

} // namespace

QString listNumber(int number, int style)
{
    switch (style) {
    case QTextListFormat::ListLowerAlpha: return number > 0 ? letters(number) : QString::number(number);
    case QTextListFormat::ListUpperAlpha: return number > 0 ? letters(number).toUpper() : QString::number(number);
    case QTextListFormat::ListLowerRoman: return number > 0 && number < 5000 ? roman(number) : QString::number(number);
    case QTextListFormat::ListUpperRoman:
        return number > 0 && number < 5000 ? roman(number).toUpper() : QString::number(number);
    case QTextListFormat::ListStyleUndefined: return {}; // a level without a number
    default: return QString::number(number);
    }
}

QString listLabel(const QString &levelText, const ListCounters &counters)
{
    QString out;
    for (QChar c : levelText) {
        if (c.unicode() < ListLevels)
            out += listNumber(counters.numbers[c.unicode()], counters.styles[c.unicode()]);
        else
            out += c;
    }
    return out;
}

const QTextList *firstChunk(const QTextList &list)
{
    const QTextList *first = &list;
    for (const QTextList *before = chunkBefore(list); before; before = chunkBefore(*before))
        first = before;
    return first;
}

int itemsBefore(const QTextList &list)
{
    int count = 0;
    for (const QTextList *before = chunkBefore(list); before; before = chunkBefore(*before))
        count += before->count();
    return count;
}

int listNumberOf(const QTextList &list, const QTextBlock &block)
{
    const QTextListFormat format = list.format();
    const int start = format.hasProperty(ListStartProperty) ? format.intProperty(ListStartProperty) : 1;
    return start + itemsBefore(list) + list.itemNumber(block);
}

QString listLabelOf(const QTextBlock &block)
{
    const QTextList *list = block.textList();
    if (!list)
        return {};
    const QTextListFormat format = list->format();
    if (!format.hasProperty(ListLevelTextProperty))
        return list->itemText(block);
    const QString text = format.stringProperty(ListLevelTextProperty);
    ListCounters counters;
    const int level = std::clamp(levelOf(*list), 0, ListLevels - 1);
    counters.numbers[level] = listNumberOf(*list, block);
    counters.styles[level] = numberStyleOf(format);
    const int id = format.intProperty(ListProperty);
    // Each level above this one that the text names: the nearest paragraph of that level before.
    int wanted = 0;
    for (QChar c : text)
        if (c.unicode() < level)
            wanted |= 1 << c.unicode();
    for (QTextBlock before = block.previous(); wanted && before.isValid(); before = before.previous()) {
        const QTextList *other = before.textList();
        if (!other || other->format().intProperty(ListProperty) != id)
            continue;
        const int otherLevel = levelOf(*other);
        if (otherLevel < level && (wanted & (1 << otherLevel))) {
            counters.numbers[otherLevel] = listNumberOf(*other, before);
            counters.styles[otherLevel] = numberStyleOf(other->format());
            wanted &= ~(1 << otherLevel);
        }
    }
    return listLabel(text, counters);
}

} // namespace model
