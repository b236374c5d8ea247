#include "rtf/list_table.h"
#include "model/text_properties.h"
#include "rtf/tokenizer.h"
#include <algorithm>

namespace rtf {
namespace {

constexpr int MaxLists = 4096;

// Calls `entry(tokenizer, depth)` for each token of a group, with the depth it is at.
template <typename Visit>
void walk(QByteArrayView group, Visit visit)
{
    Tokenizer tokenizer(group);
    int depth = 0;
    for (Tokenizer::Token token = tokenizer.next();
         token.kind != Tokenizer::Kind::End && token.kind != Tokenizer::Kind::Error; token = tokenizer.next()) {
        if (token.kind == Tokenizer::Kind::GroupStart)
            ++depth;
        else if (token.kind == Tokenizer::Kind::GroupEnd)
            --depth;
        else if (token.kind == Tokenizer::Kind::Word && token.text == "bin" && token.hasParam)
            tokenizer.takeBinary(token.param);
        visit(token, depth);
    }
}

QTextListFormat::Style styleOf(int numberFormat)
{
    switch (numberFormat) {
    case 1: return QTextListFormat::ListUpperRoman;
    case 2: return QTextListFormat::ListLowerRoman;
    case 3: return QTextListFormat::ListUpperAlpha;
    case 4: return QTextListFormat::ListLowerAlpha;
    case 23: return QTextListFormat::ListDisc;
    case 255: return QTextListFormat::ListStyleUndefined;
    default: return QTextListFormat::ListDecimal;
    }
}

} // namespace

void ListTable::readLists(QByteArrayView group)
{
    int id = 0;
    std::vector<Level> levels;
    Level level;
    int levelDepth = -1, textDepth = -1;
    walk(group, [&](const Tokenizer::Token &token, int depth) {
        using Kind = Tokenizer::Kind;
        if (token.kind == Kind::GroupEnd) {
            if (depth < textDepth)
                textDepth = -1;
            if (depth < levelDepth) {
                levelDepth = -1;
                if (levels.size() < size_t(9))
                    levels.push_back(level);
            }
            if (depth == 1 && !levels.empty() && m_lists.size() < MaxLists)
                m_lists.insert(id, std::exchange(levels, {}));
            return;
        }
        if (textDepth >= 0) {
            if (token.kind == Kind::Hex)
                level.text += char(token.hex);
            else if (token.kind == Kind::Text)
                level.text += token.text.toByteArray();
            else if (token.kind == Kind::Word && token.text == "u")
                level.text += "\\u" + QByteArray::number(token.param) + ' ';
            return;
        }
        if (token.kind != Kind::Word)
            return;
        if (token.text == "listid" && depth == 2)
            id = token.param;
        else if (token.text == "listlevel") {
            level = Level();
            levelDepth = depth;
        } else if (levelDepth >= 0) {
            if (token.text == "levelnfc" || token.text == "levelnfcn")
                level.numberFormat = token.param;
            else if (token.text == "levelstartat")
                level.start = token.param;
            else if (token.text == "f")
                level.font = token.param;
            else if (token.text == "levelnorestart")
                level.restartsAfterHigher = token.param == 0 && token.hasParam;
            else if (token.text == "leveltext")
                textDepth = depth;
        }
    });
}

void ListTable::readOverrides(QByteArrayView group)
{
    Override entry;
    int number = -1, levelNumber = -1;
    bool startsAt = false;
    walk(group, [&](const Tokenizer::Token &token, int depth) {
        if (token.kind == Tokenizer::Kind::GroupEnd && depth == 1) {
            if (number >= 0 && m_overrides.size() < MaxLists)
                m_overrides.insert(number, entry);
            entry = Override();
            number = levelNumber = -1;
        }
        if (token.kind != Tokenizer::Kind::Word)
            return;
        if (token.text == "listid")
            entry.list = token.param;
        else if (token.text == "ls")
            number = token.param;
        else if (token.text == "lfolevel") {
            ++levelNumber;
            startsAt = false;
        } else if (token.text == "listoverridestartat")
            startsAt = true;
        else if (token.text == "levelstartat" && startsAt && levelNumber >= 0)
            entry.starts.insert(levelNumber, token.param);
    });
}

const ListTable::Level *ListTable::level(int override, int level) const
{
    const auto found = m_overrides.constFind(override);
    if (found == m_overrides.cend())
        return nullptr;
    const auto list = m_lists.constFind(found->list);
    if (list == m_lists.cend() || level < 0 || size_t(level) >= list->size())
        return nullptr;
    return &(*list)[size_t(level)];
}

int ListTable::startOf(int override, int level) const
{
    const Level *definition = this->level(override, level);
    const auto found = m_overrides.constFind(override);
    return found != m_overrides.cend() && found->starts.contains(level) ? found->starts.value(level)
                                                                        : definition ? definition->start : 1;
}

// The first byte is the text's length; \'00..\'08 are the levels' numbers.
QString ListTable::levelText(const Level &level, const std::function<QString(QByteArrayView, int)> &decode)
{
    QString out;
    QByteArray run;
    const QByteArray &bytes = level.text;
    const auto flush = [&] {
        out += decode(run, level.font);
        run.clear();
    };
    for (qsizetype i = 1; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == ';')
            break;
        if (quint8(c) < 9) {
            flush();
            out += QChar(quint8(c));
        } else if (bytes.sliced(i).startsWith("\\u")) {
            flush();
            const qsizetype end = bytes.indexOf(' ', i);
            const int code = bytes.mid(i + 2, end - i - 2).toInt();
            out += QChar(char16_t(code < 0 ? code + 65536 : code));
            i = end < 0 ? bytes.size() : end + 1; // and the \uc character after it
        } else {
            run += c;
        }
    }
    flush();
    for (QChar &c : out)
        c = bulletFromSymbolFont(c);
    return out;
}

QTextListFormat ListTable::format(const Level &level, const QString &text, int start)
{
    QTextListFormat format;
    format.setStyle(QTextListFormat::ListStyleUndefined);
    format.setProperty(model::ListNumberStyleProperty, int(styleOf(level.numberFormat)));
    format.setIndent(0);
    format.setProperty(model::ListStartProperty, start);
    format.setProperty(model::ListLevelTextProperty, text);
    return format;
}

QChar bulletFromSymbolFont(QChar c)
{
    switch (c.unicode()) {
    case 0xF0B7: case 0xF0B0: return QChar(0x2022); // Symbol's bullet and degree-like dot
    case 0xF0A7: return QChar(0x25AA);              // Wingdings' small square
    case 0xF06E: return QChar(0x25A0);              // its black square
    case 0xF071: return QChar(0x2751);              // its shadowed square
    case 0xF076: return QChar(0x2756);              // its diamond of four
    case 0xF0D8: return QChar(0x27A2);              // its arrowhead
    case 0xF0FC: return QChar(0x2713);              // its check mark
    case 0xF0A8: return QChar(0x25FB);              // its white square
    case 0xF02D: return QChar(0x2013);              // a dash
    default: return c;
    }
}

} // namespace rtf
