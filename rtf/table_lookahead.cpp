#include "rtf/table_lookahead.h"
#include "rtf/control_words.h"
#include "rtf/tables.h"
#include "rtf/tokenizer.h"
#include <algorithm>
#include <utility>
#include <vector>

namespace rtf {
namespace {

struct Depth
{
    bool inTable = true;
    int level = -1;
    bool outside() const { return level >= 0 ? level == 0 : !inTable; }
};

bool isOnlyLineBreaks(QByteArrayView text)
{
    for (char c : text) {
        if (c != '\r' && c != '\n')
            return false;
    }
    return true;
}

// A group that starts with \* is left out, as the reader leaves unknown ones out.
void skipGroup(Tokenizer &tokenizer, int open = 1)
{
    while (open > 0) {
        const Tokenizer::Token token = tokenizer.next();
        if (token.kind == Tokenizer::Kind::End || token.kind == Tokenizer::Kind::Error)
            return;
        if (token.kind == Tokenizer::Kind::GroupStart)
            ++open;
        else if (token.kind == Tokenizer::Kind::GroupEnd)
            --open;
        else if (token.kind == Tokenizer::Kind::Word && token.text == "bin" && token.hasParam)
            tokenizer.takeBinary(token.param);
    }
}

// Boundaries closer than this are one column edge, rounded differently.
constexpr int SameBoundary = 20;

std::vector<int> joined(std::vector<int> boundaries)
{
    std::sort(boundaries.begin(), boundaries.end());
    std::vector<int> out;
    for (int b : boundaries) {
        if (out.empty() || b - out.back() > SameBoundary)
            out.push_back(b);
    }
    return out;
}

// Content the reader puts in the document, which ends the table when it
// stands outside: a character, a paragraph's or section's end, a page break, or
// a destination it reads (pictures, fields, shapes, text). A word this wrongly
// takes for content only makes the count short; the table grows again later.
bool isContentWord(QByteArrayView word)
{
    const Command command = lookupControlWord(word).command;
    switch (groupOf(command)) {
    case CommandGroup::Destination: return command != Command::SkipDestination && command != Command::TextEntry;
    case CommandGroup::Character: return command == Command::Character || command == Command::Unicode;
    default:
        return command == Command::Paragraph || command == Command::Section || command == Command::Page;
    }
}

class RowCounter
{
public:
    RowCounter(QByteArrayView rest, Depth depth) : m_tokenizer(rest), m_groups{depth} {}
    int run(std::vector<int> &boundaries);

private:
    bool ignorableGroup();
    bool word(const Tokenizer::Token &token, std::vector<int> &boundaries);

    Tokenizer m_tokenizer;
    std::vector<Depth> m_groups;
    int m_rows = 0;
};

int RowCounter::run(std::vector<int> &boundaries)
{
    using Kind = Tokenizer::Kind;
    bool groupJustOpened = false;
    for (;;) {
        const Tokenizer::Token token = m_tokenizer.next();
        const bool opened = std::exchange(groupJustOpened, false);
        const bool outside = m_groups.back().outside();
        switch (token.kind) {
        case Kind::End:
        case Kind::Error: return m_rows;
        case Kind::GroupStart:
            m_groups.push_back(m_groups.back());
            groupJustOpened = true;
            break;
        case Kind::GroupEnd:
            if (m_groups.size() > 1)
                m_groups.pop_back();
            break;
        case Kind::Symbol:
            if (token.symbol == '*' && opened) {
                if (!ignorableGroup())
                    return m_rows;
            } else if (outside) {
                return m_rows;
            }
            break;
        case Kind::Hex:
            if (outside)
                return m_rows;
            break;
        case Kind::Text:
            if (outside && !isOnlyLineBreaks(token.text))
                return m_rows;
            break;
        case Kind::Word:
            if (!word(token, boundaries))
                return m_rows;
            break;
        }
    }
}

// After {\*: the group is left out, unless it is one the reader reads and it
// stands outside the table. False when the table ends there.
bool RowCounter::ignorableGroup()
{
    const Tokenizer::Token token = m_tokenizer.next();
    if (token.kind == Tokenizer::Kind::Word && m_groups.back().outside() && isContentWord(token.text))
        return false;
    if (token.kind == Tokenizer::Kind::Word && token.text == "bin" && token.hasParam)
        m_tokenizer.takeBinary(token.param);
    if (token.kind != Tokenizer::Kind::GroupEnd)
        skipGroup(m_tokenizer, token.kind == Tokenizer::Kind::GroupStart ? 2 : 1);
    m_groups.pop_back();
    return true;
}

// False when the word is content outside the table.
bool RowCounter::word(const Tokenizer::Token &token, std::vector<int> &boundaries)
{
    Depth &depth = m_groups.back();
    const QByteArrayView word = token.text;
    if (word == "pard") depth = Depth{false, -1};
    else if (word == "intbl") depth.inTable = true;
    else if (word == "itap") depth.level = std::clamp(token.param, 0, TableState::MaxDepth);
    else if (word == "row") ++m_rows;
    else if (word == "cellx" && depth.level < 2 && boundaries.size() < 4096) boundaries.push_back(token.param);
    else if (word == "bin" && token.hasParam) m_tokenizer.takeBinary(token.param);
    else if (depth.outside() && isContentWord(word)) return false;
    return true;
}

} // namespace

TableAhead lookAhead(QByteArrayView rest, bool inTable, int level)
{
    TableAhead ahead;
    std::vector<int> boundaries;
    ahead.rows = RowCounter(rest, Depth{inTable, level}).run(boundaries);
    ahead.boundaries = joined(std::move(boundaries));
    return ahead;
}

} // namespace rtf
