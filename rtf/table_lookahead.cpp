#include "rtf/table_lookahead.h"
#include "rtf/tokenizer.h"
#include <algorithm>
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
void skipGroup(Tokenizer &tokenizer)
{
    for (int open = 1; open > 0;) {
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

int rowsAhead(QByteArrayView rest, std::vector<int> &boundaries)
{
    using Kind = Tokenizer::Kind;
    Tokenizer tokenizer(rest);
    std::vector<Depth> groups{Depth{}};
    int rows = 0;
    bool groupJustOpened = false;
    for (;;) {
        const Tokenizer::Token token = tokenizer.next();
        const bool opened = groupJustOpened;
        groupJustOpened = false;
        Depth &depth = groups.back();
        switch (token.kind) {
        case Kind::End:
        case Kind::Error: return rows;
        case Kind::GroupStart:
            groups.push_back(depth);
            groupJustOpened = true;
            break;
        case Kind::GroupEnd:
            if (groups.size() > 1)
                groups.pop_back();
            break;
        case Kind::Symbol:
            if (token.symbol == '*' && opened) {
                skipGroup(tokenizer);
                groups.pop_back();
            } else if (depth.outside()) {
                return rows;
            }
            break;
        case Kind::Hex:
            if (depth.outside())
                return rows;
            break;
        case Kind::Text:
            if (depth.outside() && !isOnlyLineBreaks(token.text))
                return rows;
            break;
        case Kind::Word:
            if (token.text == "pard") depth = Depth{false, -1};
            else if (token.text == "intbl") depth.inTable = true;
            else if (token.text == "itap") depth.level = token.param;
            else if (token.text == "row") ++rows;
            else if (token.text == "cellx" && depth.level < 2 && boundaries.size() < 4096)
                boundaries.push_back(token.param);
            else if (token.text == "bin" && token.hasParam) tokenizer.takeBinary(token.param);
            else if ((token.text == "par" || token.text == "u") && depth.outside()) return rows;
            break;
        }
    }
}

} // namespace

TableAhead lookAhead(QByteArrayView rest)
{
    TableAhead ahead;
    std::vector<int> boundaries;
    ahead.rows = rowsAhead(rest, boundaries);
    ahead.boundaries = joined(std::move(boundaries));
    return ahead;
}

} // namespace rtf
