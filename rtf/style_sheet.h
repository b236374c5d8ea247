#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include "rtf/control_words.h"
#include "rtf/tokenizer.h"
#include <vector>

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

    // A style's words to replay, the style it is based on first: worked out once per style, since
    // a document names its few styles at each of its paragraphs. The tokens' text points into
    // the definitions, which stay as read.
    struct Word
    {
        Command command;
        Tokenizer::Token token;
    };
    QHash<const QByteArray *, std::vector<Word>> replayed;

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
