#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QTextListFormat>
#include <functional>
#include <vector>

namespace rtf {

// The list table and the list override table: what each list level shows before its paragraphs,
// so that \lsN\ilvlN paragraphs become Qt lists. The groups themselves are kept for writing back.
class ListTable
{
public:
    struct Level
    {
        int numberFormat = 0; // \levelnfc: 0 decimal, 1-4 roman and letters, 23 bullet, 255 none
        int start = 1;
        int font = -1;        // the font its text is in, for bullets from symbol fonts
        QByteArray text;      // \leveltext as written: hex bytes, \uN as "\\u" + number
        bool restartsAfterHigher = true;
    };

    void readLists(QByteArrayView group);
    void readOverrides(QByteArrayView group);
    bool isEmpty() const { return m_overrides.isEmpty(); }

    // The level of the list that \lsN names, or null.
    const Level *level(int override, int level) const;
    int startOf(int override, int level) const; // with the override's \levelstartat
    // Overrides of one list count on from each other, but where one starts a level anew.
    int listOf(int override) const { return m_overrides.value(override).list; }
    bool startsAnew(int override, int level) const { return m_overrides.value(override).starts.contains(level); }

    // Decodes a level's text with `decode(bytes, font)`; level numbers stay QChar(0)..QChar(8).
    static QString levelText(const Level &level, const std::function<QString(QByteArrayView, int)> &decode);
    // The Qt list format of a level: its style, number prefix and suffix, start; no indent, as
    // the paragraph's own indents place it.
    static QTextListFormat format(const Level &level, const QString &text, int start);

private:
    struct Override
    {
        int list = 0;
        QHash<int, int> starts; // level -> \levelstartat of an \lfolevel with \listoverridestartat
    };
    QHash<int, std::vector<Level>> m_lists; // by \listid
    QHash<int, Override> m_overrides;       // by \ls
};

// Unicode for the bullets symbol fonts draw at private-use code points (U+F000 + byte).
QChar bulletFromSymbolFont(QChar c);

} // namespace rtf
