#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QHash>

namespace rtf {

// The \stylesheet destination: each style's definition as the file wrote it, so that a paragraph
// or run naming a style gets the style's properties before its own.
class StyleSheet
{
public:
    // `group` is the whole {\stylesheet ...} group.
    void read(QByteArrayView group);
    // The definition ("{\s1\sb240\b heading 1;}") of a style, or null.
    const QByteArray *paragraphStyle(int number) const { return find(m_paragraph, number); }
    const QByteArray *characterStyle(int number) const { return find(m_character, number); }
    bool isEmpty() const { return m_paragraph.isEmpty() && m_character.isEmpty(); }

private:
    static const QByteArray *find(const QHash<int, QByteArray> &styles, int number)
    {
        const auto found = styles.constFind(number);
        return found == styles.cend() ? nullptr : &*found;
    }
    QHash<int, QByteArray> m_paragraph;
    QHash<int, QByteArray> m_character;
};

} // namespace rtf
