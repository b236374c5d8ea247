// The document's setup and its sections. Words before the body (page size, margins, defaults)
// and after each \sectd are kept as the file gave them; each header and footer is read into a
// document of its own by a reader of its own; destinations Velmo does not model are kept whole
// where they stand before the body.
#include "model/document_parts.h"
#include "rtf/kept_words.h"
#include "rtf/reader.h"
#include "rtf/rtf.h"
#include <QTextDocument>
#include <algorithm>
#include <utility>

namespace rtf {
namespace {

constexpr int MaxPartNesting = 4; // a note in a header in a note is already rare

} // namespace

void Reader::partWord(PartKind kind, const Tokenizer::Token &token)
{
    using K = PartKind;
    switch (kind) {
    case K::Header: case K::HeaderLeft: case K::HeaderRight: case K::HeaderFirst:
    case K::Footer: case K::FooterLeft: case K::FooterRight: case K::FooterFirst:
        readHeader(kind);
        break;
    case K::Footnote: case K::Annotation: readNote(kind); break;
    case K::CommentInitials: case K::CommentAuthor: case K::CommentRangeStart: case K::CommentRangeEnd:
    case K::BookmarkStart: case K::BookmarkEnd: case K::InfoField:
        beginCapture(kind, token.text);
        break;
    case K::Info:
        if (!m_nested)
            m_context.parts.groups.push_back({"info", wholeGroup().toByteArray()});
        group().destination = Destination::Hidden; // its fields are captured one by one
        break;
    case K::StyleSheet:
        if (!m_nested) {
            m_context.styles.read(wholeGroup());
            m_context.parts.groups.push_back({"stylesheet", wholeGroup().toByteArray()});
        }
        enterSkip();
        break;
    case K::KeptGroup:
        if (token.text == "listtable")
            m_context.lists.readLists(wholeGroup());
        else if (token.text == "listoverridetable")
            m_context.lists.readOverrides(wholeGroup());
        if (!m_nested)
            m_context.parts.groups.push_back({token.text.toByteArray(), wholeGroup().toByteArray()});
        enterSkip();
        break;
    case K::SectionGroup:
        if (!m_nested)
            currentSection().words.append(wholeGroup());
        enterSkip();
        break;
    case K::ParagraphGroup:
        if (m_groups.size() > 1) // the paragraph's properties are those of the group around it
            m_groups[m_groups.size() - 2].para.kept.append(wholeGroup());
        enterSkip();
        break;
    case K::NoteGroup:
        if (m_noteReader)
            m_noteGroups.append(wholeGroup());
        enterSkip();
        break;
    case K::ListLabel:
        group().destination = Destination::Text;
        group().chars.listLabel = true;
        break;
    case K::Field: beginField(); break;
    }
}

void Reader::partsWord(Command command, const Tokenizer::Token &token)
{
    switch (command) {
    case Command::FootnoteMark:
    case Command::AnnotationMark:
    case Command::EndnoteFlag: noteMarkWord(command); break;
    case Command::SectionDefaults: sectionDefaults(); break;
    case Command::ParagraphStyle:
    case Command::CharacterStyle: styleWord(command, token.param); break;
    case Command::ListNumber: group().para.list = std::max(token.param, 0); break;
    case Command::ListLevel: group().para.listLevel = std::clamp(token.param, 0, 8); break;
    case Command::Hidden: group().chars.hidden = !token.hasParam || token.param != 0; break;
    case Command::KeptParagraphWord: keepWord(group().para.kept, token); break;
    case Command::KeptCharacterWord: keepWord(group().chars.kept, token); break;
    default: break;
    }
}

void Reader::keepWord(QByteArray &words, const Tokenizer::Token &token)
{
    if (token.text == "ltrch") { // the run's text is left to right after all: the default
        dropKeptWord(words, "rtlch");
        return;
    }
    setKeptWord(words, token.text, token.hasParam, token.param);
}

// Words of the document's group that nothing reads: document setup before the body, section
// setup after \sectd. In the body they are dropped, as before. A file wrapped around a mail's
// HTML says so (\fromhtml), which the file Velmo writes no longer is.
void Reader::unknownWord(const Tokenizer::Token &token)
{
    if (m_nested || token.text == "bin" || token.text == "rtf" || token.text == "fromhtml"
        || token.text == "fromtext")
        return;
    if (m_place == Place::DocumentHead && m_groups.size() == 1)
        keepWord(m_context.parts.documentWords, token);
    // Some writers end a section inside a group (a text box's text): its setup follows there.
    else if (m_place == Place::SectionHead && group().destination == Destination::Text)
        keepWord(currentSection().words, token);
}

// A destination skipped before the body is kept whole and written back in its place; Velmo's
// own ({\\*\\velmo...}, the recovery copy's) belong to one run of it only.
bool Reader::keepSkippedGroup(QByteArrayView word)
{
    if (m_nested || m_groups.size() != 2 || m_place == Place::Body || m_overflowDepth > 0
        || word.startsWith("velmo"))
        return false;
    const QByteArrayView whole = wholeGroup();
    if (m_place == Place::DocumentHead)
        m_context.parts.groups.push_back({QByteArray(), whole.toByteArray()});
    else
        currentSection().words.append(whole);
    return true;
}

void Reader::sectionDefaults()
{
    if (m_nested)
        return;
    m_place = Place::SectionHead;
    currentSection().words.clear();
}

// The paragraph that \sect ends is the section's last; the next section starts with this one's
// setup until a \sectd resets it.
void Reader::sectionEnd()
{
    if (m_nested || group().destination != Destination::Text)
        return;
    const QByteArray words = currentSection().words;
    m_context.section = ++m_section;
    currentSection().words = words;
    m_place = Place::SectionHead;
}

model::Section &Reader::currentSection()
{
    std::vector<model::Section> &sections = m_context.parts.sections;
    const auto section = size_t(m_context.section);
    if (sections.size() <= section)
        sections.resize(section + 1);
    return sections[section];
}

void Reader::keepSourceTables()
{
    model::DocumentParts &parts = m_context.parts;
    for (auto it = m_fonts.all().cbegin(); it != m_fonts.all().cend(); ++it)
        parts.sourceFonts[it.key()] = it.value().name;
    parts.sourceColors.clear();
    for (int i = 0; i < m_colors.size(); ++i)
        parts.sourceColors.push_back(m_colors.at(i));
}

void Reader::leaveHead()
{
    m_place = Place::Body;
}

// Some writers put a section's headers inside a note of that section; they are the section's all
// the same.
void Reader::readHeader(PartKind kind)
{
    QTextDocument *text = newPartDocument();
    if (!text) {
        enterSkip();
        return;
    }
    readInto(*text, false);
    model::Section &section = currentSection();
    QTextDocument *&slot = section.headers[model::HeaderKind(int(kind) - int(PartKind::Header))];
    delete slot; // a second header of the same kind replaces the first
    slot = text;
}

QTextDocument *Reader::newPartDocument()
{
    if (m_context.documentsLeft <= 0 || m_partDepth >= MaxPartNesting)
        return nullptr;
    --m_context.documentsLeft;
    return m_context.parts.newText(m_document);
}

// The rest of the current group is read by a reader of its own into `target`; this reader goes
// on at the group's closing brace.
Reader::NestedRead Reader::readInto(QTextDocument &target, bool note)
{
    const qsizetype from = m_tokenizer->offset();
    const qsizetype end = m_tokenizer->groupEnd();
    m_tokenizer->seek(end);
    Reader nested(target, m_limits, m_context, int(m_groups.size()) + m_outerDepth);
    nested.m_partDepth = m_partDepth + 1;
    nested.m_noteReader = note;
    nested.readNested(m_unread.sliced(from, end - from));
    return {nested.m_endnote, nested.m_noteGroups};
}

void Reader::readNested(QByteArrayView content)
{
    Tokenizer tokenizer(content);
    m_unread = content;
    m_tokenizer = &tokenizer;
    m_groups.emplace_back();
    m_cursor.beginEditBlock();
    readTokens(tokenizer, nullptr, ReadControl{});
    // A header's or note's last \par ends its text, it starts no paragraph; that paragraph keeps
    // what ends with it (a field kept whole, a bookmark's end) when the text is finished.
    if (std::exchange(m_blockPending, false) && m_appliedLook)
        m_pendingAnchors = m_appliedLook->endAnchors + m_pendingAnchors;
    if (!m_groups.empty())
        finishDocument();
    m_cursor.endEditBlock();
}

// The whole group being read, from its '{' to its '}', wherever the reading is inside it.
QByteArrayView Reader::wholeGroup() const
{
    const qsizetype end = std::min(m_tokenizer->groupEnd() + 1, m_unread.size());
    const qsizetype start = std::clamp<qsizetype>(m_groups.back().start, 0, end);
    return m_unread.sliced(start, end - start);
}

} // namespace rtf
