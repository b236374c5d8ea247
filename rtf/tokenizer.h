#pragma once
#include <QByteArrayView>

namespace rtf {

// Splits RTF bytes into groups, control words and symbols, hex bytes and text.
// Knows nothing of what the words mean.
class Tokenizer
{
public:
    enum class Kind : quint8 { GroupStart, GroupEnd, Word, Symbol, Hex, Text, End, Error };
    struct Token
    {
        Kind kind = Kind::End;
        QByteArrayView text; // the word's letters, or the text's bytes
        int param = 0;
        bool hasParam = false;
        char symbol = 0;
        quint8 hex = 0;
    };
    static constexpr int MaxWordLength = 32;

    explicit Tokenizer(QByteArrayView data) : m_data(data) {}

    Token next();
    // The raw bytes after \binN; fewer than asked when the data ends first.
    QByteArrayView takeBinary(qint64 count);
    qsizetype offset() const { return m_pos; }
    // Goes on reading from `offset`, a place an earlier reading of the same bytes reached.
    void seek(qsizetype offset) { m_pos = offset; }
    // Where the group open at the current place ends: the offset of its '}', or the end of the
    // bytes when it does not close.
    qsizetype groupEnd() const;

private:
    Token controlAt();
    QByteArrayView m_data;
    qsizetype m_pos = 0;
};

} // namespace rtf
