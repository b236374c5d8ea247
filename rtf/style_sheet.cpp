// Styles: the style sheet is kept whole for writing back (sections.cpp); here each style's
// definition is found, and a paragraph's \sN or a run's \csN replays its style's words, the
// style it is based on first, before the paragraph's or run's own words override them.
#include "rtf/reader.h"
#include "rtf/style_sheet.h"
#include "rtf/tokenizer.h"
#include <algorithm>

namespace rtf {
namespace {

constexpr int MaxStyles = 4096;
constexpr int MaxBasedOn = 8;

// Calls `visit` with each word of a style's definition itself, leaving out its inner groups.
template <typename Visit>
void forEachOwnWord(QByteArrayView definition, Visit visit)
{
    Tokenizer tokenizer(definition);
    int depth = 0;
    for (Tokenizer::Token token = tokenizer.next(); token.kind != Tokenizer::Kind::End
                                                    && token.kind != Tokenizer::Kind::Error;
         token = tokenizer.next()) {
        if (token.kind == Tokenizer::Kind::GroupStart)
            ++depth;
        else if (token.kind == Tokenizer::Kind::GroupEnd)
            --depth;
        else if (depth == 1 && token.kind == Tokenizer::Kind::Word)
            visit(token);
    }
}

int basedOn(QByteArrayView definition)
{
    int base = -1;
    forEachOwnWord(definition, [&base](const Tokenizer::Token &token) {
        if (token.text == "sbasedon")
            base = token.param;
    });
    return base;
}

} // namespace

void StyleSheet::read(QByteArrayView group)
{
    replayed.clear(); // its words point into definitions a second style sheet may replace
    Tokenizer tokenizer(group);
    int depth = 0;
    qsizetype entryStart = -1;
    bool character = false, known = false;
    int number = 0;
    for (;;) {
        const qsizetype before = tokenizer.offset();
        const Tokenizer::Token token = tokenizer.next();
        if (token.kind == Tokenizer::Kind::End || token.kind == Tokenizer::Kind::Error)
            return;
        if (token.kind == Tokenizer::Kind::GroupStart && ++depth == 2) {
            entryStart = before;
            character = known = false;
            number = 0; // a paragraph style without \s is style 0
        } else if (token.kind == Tokenizer::Kind::GroupEnd && depth-- == 2 && entryStart >= 0) {
            QHash<int, QByteArray> &styles = character ? m_character : m_paragraph;
            if (styles.size() < MaxStyles && (character || !known || number >= 0))
                styles.insert(number, group.sliced(entryStart, tokenizer.offset() - entryStart).toByteArray());
        } else if (token.kind == Tokenizer::Kind::Word && depth == 2 && !known) {
            if (token.text == "s" || token.text == "cs" || token.text == "ds" || token.text == "ts") {
                known = true;
                character = token.text == "cs";
                number = token.text == "s" || character ? std::max(token.param, 0) : -1;
            } else if (token.text == "bin" && token.hasParam) {
                tokenizer.takeBinary(token.param);
            }
        }
    }
}

void Reader::styleWord(Command command, int param)
{
    const int number = std::max(param, 0);
    const QByteArray *definition = nullptr;
    if (command == Command::ParagraphStyle) {
        group().para.style = number;
        definition = m_context.styles.paragraphStyle(number);
    } else {
        group().chars.style = number;
        definition = m_context.styles.characterStyle(number);
    }
    if (definition)
        replayStyle(*definition);
}

namespace {

// Only the words that format a paragraph or a run count; groups inside a definition (its key
// code, its own revision marks) and words that would end or start something do not.
bool replays(Command command)
{
    switch (groupOf(command)) {
    case CommandGroup::CharacterFormat: return command != Command::Plain;
    case CommandGroup::Paragraph:
        return command != Command::Paragraph && command != Command::Section && command != Command::Page
            && command != Command::ParagraphDefaults;
    case CommandGroup::Parts:
        return command != Command::ParagraphStyle && command != Command::CharacterStyle
            && command != Command::SectionDefaults && command != Command::Part
            && command != Command::FootnoteMark && command != Command::AnnotationMark
            && command != Command::EndnoteFlag;
    default: return false;
    }
}

void collectWords(const StyleSheet &styles, const QByteArray &definition, int depth,
                  std::vector<StyleSheet::Word> &words)
{
    const int base = basedOn(definition);
    const bool character = definition.startsWith("{\\*\\cs") || definition.startsWith("{\\cs");
    const QByteArray *parent = character ? styles.characterStyle(base) : styles.paragraphStyle(base);
    if (parent && parent != &definition && depth < MaxBasedOn)
        collectWords(styles, *parent, depth + 1, words);
    forEachOwnWord(definition, [&words](const Tokenizer::Token &token) {
        const Command command = lookupControlWord(token.text).command;
        if (replays(command))
            words.push_back({command, token});
    });
}

} // namespace

void Reader::replayStyle(const QByteArray &definition)
{
    auto found = m_context.styles.replayed.find(&definition);
    if (found == m_context.styles.replayed.end()) {
        std::vector<StyleSheet::Word> words;
        collectWords(m_context.styles, definition, 0, words);
        found = m_context.styles.replayed.insert(&definition, std::move(words));
    }
    for (const StyleSheet::Word &word : *found) {
        switch (groupOf(word.command)) {
        case CommandGroup::CharacterFormat: characterFormatWord(word.command, word.token); break;
        case CommandGroup::Paragraph: paragraphWord(word.command, word.token.param); break;
        default: partsWord(word.command, word.token); break;
        }
    }
}

} // namespace rtf
