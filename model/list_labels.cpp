#include "model/list_labels.h"
#include "model/text_properties.h"
#include <QTextBlock>
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

int numberIn(const QTextList &list, const QTextBlock &block)
{
    const QTextListFormat format = list.format();
    return (format.hasProperty(ListStartProperty) ? format.intProperty(ListStartProperty) : 1) + list.itemNumber(block);
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
    counters.numbers[level] = numberIn(*list, block);
    counters.styles[level] = format.style();
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
            counters.numbers[otherLevel] = numberIn(*other, before);
            counters.styles[otherLevel] = other->format().style();
            wanted &= ~(1 << otherLevel);
        }
    }
    return listLabel(text, counters);
}

} // namespace model
