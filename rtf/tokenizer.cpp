#include "rtf/tokenizer.h"
#include <array>
#include <climits>

namespace rtf {
namespace {

constexpr std::array<bool, 256> makeTextStops()
{
    std::array<bool, 256> stops{};
    for (unsigned char c : {'{', '}', '\\', '\r', '\n', '\0'})
        stops[c] = true;
    return stops;
}
constexpr auto textStops = makeTextStops();

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

Tokenizer::Token of(Tokenizer::Kind kind)
{
    Tokenizer::Token token;
    token.kind = kind;
    return token;
}

} // namespace

Tokenizer::Token Tokenizer::next()
{
    const qsizetype size = m_data.size();
    while (m_pos < size) {
        const char c = m_data[m_pos];
        switch (c) {
        case '{': ++m_pos; return of(Kind::GroupStart);
        case '}': ++m_pos; return of(Kind::GroupEnd);
        case '\\': return controlAt();
        case '\r': case '\n': case '\0': ++m_pos; continue;
        default: break;
        }
        const qsizetype start = m_pos;
        while (m_pos < size && !textStops[static_cast<unsigned char>(m_data[m_pos])])
            ++m_pos;
        Token token = of(Kind::Text);
        token.text = m_data.sliced(start, m_pos - start);
        return token;
    }
    return of(Kind::End);
}

Tokenizer::Token Tokenizer::controlAt()
{
    const qsizetype size = m_data.size();
    ++m_pos; // the backslash
    if (m_pos >= size)
        return of(Kind::End);
    const char c = m_data[m_pos];
    if (isLetter(c)) {
        const qsizetype start = m_pos;
        while (m_pos < size && isLetter(m_data[m_pos])) {
            if (m_pos - start >= MaxWordLength)
                return of(Kind::Error);
            ++m_pos;
        }
        Token token = of(Kind::Word);
        token.text = m_data.sliced(start, m_pos - start);
        bool negative = false;
        if (m_pos + 1 < size && m_data[m_pos] == '-' && isDigit(m_data[m_pos + 1])) {
            negative = true;
            ++m_pos;
        }
        if (m_pos < size && isDigit(m_data[m_pos])) {
            // Saturate instead of overflowing; keep consuming the digits.
            qint64 value = 0;
            while (m_pos < size && isDigit(m_data[m_pos])) {
                if (value <= INT_MAX)
                    value = value * 10 + (m_data[m_pos] - '0');
                ++m_pos;
            }
            if (value > INT_MAX)
                value = INT_MAX;
            token.param = static_cast<int>(negative ? -value : value);
            token.hasParam = true;
        }
        if (m_pos < size && m_data[m_pos] == ' ')
            ++m_pos;
        return token;
    }
    if (c == '\'' && m_pos + 2 < size && hexValue(m_data[m_pos + 1]) >= 0
        && hexValue(m_data[m_pos + 2]) >= 0) {
        Token token = of(Kind::Hex);
        token.hex = static_cast<quint8>(hexValue(m_data[m_pos + 1]) * 16 + hexValue(m_data[m_pos + 2]));
        m_pos += 3;
        return token;
    }
    ++m_pos;
    if (c == '\r' || c == '\n') {
        Token token = of(Kind::Word);
        token.text = "par";
        return token;
    }
    Token token = of(Kind::Symbol);
    token.symbol = c;
    return token;
}

QByteArrayView Tokenizer::takeBinary(qint64 count)
{
    const qint64 available = m_data.size() - m_pos;
    const qint64 taken = count < 0 ? 0 : (count > available ? available : count);
    const QByteArrayView bytes = m_data.sliced(m_pos, taken);
    m_pos += taken;
    return bytes;
}

qsizetype Tokenizer::groupEnd() const
{
    Tokenizer scan(m_data);
    scan.m_pos = m_pos;
    int depth = 0;
    for (;;) {
        const qsizetype before = scan.m_pos;
        const Token token = scan.next();
        switch (token.kind) {
        case Kind::End: return m_data.size();
        case Kind::GroupStart: ++depth; break;
        case Kind::GroupEnd:
            if (--depth < 0)
                return scan.m_pos - 1;
            break;
        case Kind::Word:
            if (token.hasParam && token.text == "bin")
                scan.takeBinary(token.param);
            break;
        case Kind::Error: scan.m_pos = before + 1; break; // a word too long is no brace
        default: break;
        }
    }
}

} // namespace rtf
