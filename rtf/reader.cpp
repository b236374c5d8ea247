#include "rtf/reader.h"
#include "model/document_parts.h"
#include "rtf/rtf.h"
#include <QTextDocument>
#include <algorithm>
#include <limits>
#include <utility>

// What an RTF file can hold, and where each part is read:
//   groups and control words ................... this file
//   text, \uN and \uc, by destination .......... text_destinations.cpp
//   the font table .............................. font_table.cpp
//   the colour table ............................ color_table.cpp
//   body text and character formats ............. body_text.cpp
//   paragraphs, page breaks ..................... paragraphs.cpp
//   tables ...................................... tables.cpp
//   pictures and shapes ......................... picture_destination.cpp
//   fields ...................................... fields.cpp
//   document setup, sections, headers, footers,
//   kept destinations ........................... sections.cpp
//   notes, comments, bookmarks, captured text ... notes.cpp
//   styles ...................................... style_sheet.cpp
// The bytes themselves are split by the tokenizer (tokenizer.cpp) and the
// words looked up in control_words.cpp; the public entry points are in
// read_entry.cpp.

namespace rtf {

ReadContext::ReadContext(const ReadLimits &limits, model::DocumentParts &parts)
    : pictureBudget(limits), parts(parts), documentsLeft(limits.maxPartDocuments)
{
}

Reader::Reader(QTextDocument &document, const ReadLimits &limits)
    : m_document(document), m_limits(limits),
      m_ownContext(std::make_unique<ReadContext>(limits, model::DocumentParts::of(document))),
      m_context(*m_ownContext), m_nested(false), m_cursor(&document),
      m_defaultFamily(document.defaultFont().family()), m_documentCodePage(m_context.documentCodePage),
      m_fonts(m_context.fonts), m_colors(m_context.colors), m_decoder(m_context.decoder)
{
}

Reader::Reader(QTextDocument &document, const ReadLimits &limits, ReadContext &context, int depth)
    : m_document(document), m_limits(limits), m_context(context), m_nested(true), m_cursor(&document),
      m_defaultFamily(document.defaultFont().family()), m_documentCodePage(context.documentCodePage),
      m_fonts(context.fonts), m_colors(context.colors), m_decoder(context.decoder), m_place(Place::Body),
      m_outerDepth(depth)
{
}

Reader::~Reader() = default;

namespace {

bool fail(QString *reason, const QString &why)
{
    if (reason)
        *reason = why;
    return false;
}

// False once the caller has asked the read to stop.
bool carryOn(const ReadControl &control, qint64 done, qint64 total)
{
    if (control.progress)
        control.progress(done, total);
    return !(control.cancel && control.cancel->load(std::memory_order_relaxed));
}

} // namespace

// The caller is told how far the read is only every ReportEvery bytes, so a
// token costs one comparison more.
bool Reader::run(QByteArrayView bytes, QString *reason, const ReadControl &control)
{
    Tokenizer tokenizer(bytes);
    m_unread = bytes;
    m_tokenizer = &tokenizer;
    m_groups.reserve(64);
    m_cursor.beginEditBlock();
    const bool ok = readTokens(tokenizer, reason, control);
    if (ok && !m_groups.empty())
        finishDocument(); // a truncated file keeps what was read
    m_cursor.endEditBlock();
    if (ok)
        keepSourceTables();
    if (ok && control.progress)
        control.progress(bytes.size(), bytes.size());
    return ok;
}

bool Reader::readTokens(Tokenizer &tokenizer, QString *reason, const ReadControl &control)
{
    const qsizetype total = m_unread.size();
    const bool followed = control.progress || control.cancel;
    qsizetype nextCheck = followed ? ReadControl::ReportEvery : std::numeric_limits<qsizetype>::max();
    bool started = !m_groups.empty();
    for (;;) {
        const Tokenizer::Token token = tokenizer.next();
        if (token.kind == Tokenizer::Kind::End)
            return true;
        if (token.kind == Tokenizer::Kind::Error)
            return fail(reason, QStringLiteral("control word longer than %1 letters at byte %2")
                                    .arg(Tokenizer::MaxWordLength).arg(tokenizer.offset()));
        if (tokenizer.offset() >= nextCheck) {
            if (!carryOn(control, tokenizer.offset(), total))
                return fail(reason, cancelledReason());
            nextCheck = tokenizer.offset() + ReadControl::ReportEvery;
        }
        if (started && m_groups.empty())
            return true; // the document's group has closed; what follows is not RTF
        if (token.kind == Tokenizer::Kind::GroupStart) {
            groupStart();
            started = true;
            continue;
        }
        if (m_groups.empty())
            continue;
        this->token(token, tokenizer);
    }
}

// ---- groups

// Past the depth cap a group shares its parent's state: only its depth is
// counted, so memory stays bounded and the file is still read to its end.
void Reader::groupStart()
{
    m_fallbackLeft = 0;
    if (m_skipDepth > 0) {
        m_skipDepth = std::min(m_skipDepth + 1, std::numeric_limits<qint64>::max() - 1);
        return;
    }
    dropHighSurrogate();
    m_groupOpening = true;
    const qsizetype start = m_tokenizer ? m_tokenizer->offset() - 1 : 0;
    if (m_groups.empty()) {
        m_groups.emplace_back();
        group().start = start;
        return;
    }
    if (m_overflowDepth > 0 || int(m_groups.size()) + m_outerDepth >= m_limits.maxGroupDepth) {
        ++m_overflowDepth;
        group().ignorable = false;
        return;
    }
    Group inner = group();
    inner.ignorable = false;
    inner.shapePicture = false;
    inner.start = start;
    m_groups.push_back(inner);
}

void Reader::groupEnd()
{
    m_fallbackLeft = 0;
    if (m_skipDepth > 1) {
        --m_skipDepth;
        return;
    }
    m_skipDepth = 0;
    dropHighSurrogate();
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return;
    }
    const Group closing = group();
    if (closing.destination == Destination::Picture && m_picture.endsWith(m_groups.size()))
        finishPicture();
    if (closing.destination == Destination::FontTable)
        commitFont();
    if (closing.destination == Destination::Capture && m_groups.size() == m_captureDepth)
        endCapture();
    if (!m_openFields.empty() && m_openFields.back().depth == m_groups.size())
        endField();
    if (m_textBox && m_textBoxDepth == m_groups.size())
        endTextBox();
    if (m_groups.size() == 1)
        finishDocument();
    keepClosingGroupLook(closing);
    m_groups.pop_back();
    if (closing.shapePicture)
        m_shapePictureJustEnded = m_picturesInserted > closing.picturesBeforeShape;
}

void Reader::enterSkip()
{
    if (m_overflowDepth == 0) // a shared group keeps its parent's destination
        group().destination = Destination::Skip;
    m_skipDepth = 1;
}

// ---- dispatch

void Reader::token(const Tokenizer::Token &token, Tokenizer &tokenizer)
{
    using Kind = Tokenizer::Kind;
    if (m_skipDepth > 0) {
        if (token.kind == Kind::GroupEnd)
            groupEnd();
        else if (token.kind == Kind::Word && token.text == "bin" && token.hasParam)
            tokenizer.takeBinary(token.param);
        return;
    }
    const bool opening = std::exchange(m_groupOpening, false);
    switch (token.kind) {
    case Kind::GroupEnd:
        groupEnd();
        return;
    case Kind::Text: {
        QByteArrayView bytes = token.text;
        if (m_fallbackLeft > 0) {
            const qsizetype skipped = std::min<qsizetype>(m_fallbackLeft, bytes.size());
            m_fallbackLeft -= int(skipped);
            bytes = bytes.sliced(skipped);
        }
        if (!bytes.isEmpty())
            text(bytes);
        return;
    }
    case Kind::Hex: {
        if (m_fallbackLeft > 0) {
            --m_fallbackLeft;
            return;
        }
        const char byte = char(token.hex);
        text(QByteArrayView(&byte, 1));
        return;
    }
    case Kind::Word:
        controlWord(token, tokenizer, opening);
        return;
    case Kind::Symbol:
        if (m_fallbackLeft > 0) {
            --m_fallbackLeft;
            return;
        }
        if (token.symbol == '*')
            m_groupOpening = opening; // \* comes before the word it marks
        controlSymbol(token.symbol);
        return;
    default:
        return;
    }
}

// \* marks the next word as ignorable when unknown. Only before a group's first
// word does an unknown one make the whole group a skipped destination.
void Reader::controlWord(const Tokenizer::Token &token, Tokenizer &tokenizer, bool opensGroup)
{
    const ControlWord word = lookupControlWord(token.text);
    if (m_fallbackLeft > 0) {
        --m_fallbackLeft;
        if (word.command == Command::Binary && token.hasParam)
            tokenizer.takeBinary(token.param);
        return;
    }
    if (std::exchange(group().ignorable, false) && word.command == Command::Unknown) {
        if (opensGroup) {
            keepSkippedGroup(token.text);
            enterSkip();
        }
        return;
    }
    if (m_overflowDepth > 0 && isDestination(word.command)) {
        overflowDestination(word.command);
        return;
    }
    command(word, token, tokenizer);
}

// A destination in a group past the depth cap would change its parent's:
// body text stays body text, everything else is skipped.
void Reader::overflowDestination(Command command)
{
    const bool showsText = command == Command::TextDestination || command == Command::FieldResult
                           || command == Command::ObjectResult;
    if (!showsText || group().destination != Destination::Text)
        enterSkip();
}

void Reader::controlSymbol(char symbol)
{
    switch (symbol) {
    case '*': group().ignorable = true; break;
    case '~': character(0x00A0); break;
    case '-': character(0x00AD); break;
    case '_': character(0x2011); break;
    case '{': case '}': case '\\': {
        const char byte = symbol;
        text(QByteArrayView(&byte, 1));
        break;
    }
    default: break;
    }
}

void Reader::command(const ControlWord &word, const Tokenizer::Token &token, Tokenizer &tokenizer)
{
    const CommandGroup kind = groupOf(word.command);
    if (kind == CommandGroup::Destination || kind == CommandGroup::Paragraph || kind == CommandGroup::Table
        || kind == CommandGroup::Parts)
        dropHighSurrogate(); // before the text moves elsewhere
    switch (kind) {
    case CommandGroup::Destination: destinationWord(word.command); break;
    case CommandGroup::CharacterFormat: characterFormatWord(word.command, token); break;
    case CommandGroup::Paragraph: paragraphWord(word.command, token.param); break;
    case CommandGroup::Table:
        if (!paragraphBorderWord(word.command, token))
            tableWord(word.command, token.param);
        break;
    case CommandGroup::Character: characterWord(word, token, tokenizer); break;
    case CommandGroup::CodePage: codePageWord(word.command, token.param); break;
    case CommandGroup::FontTable: fontTableWord(word.command, token.param); break;
    case CommandGroup::ColorTable: colorTableWord(word.command, token.param); break;
    case CommandGroup::Picture: m_picture.word(word.command, token.param); break;
    case CommandGroup::Parts:
        if (word.command == Command::Part)
            partWord(PartKind(word.character), token);
        else
            partsWord(word.command, token);
        break;
    case CommandGroup::Unknown: unknownWord(token); break;
    }
}

void Reader::destinationWord(Command command)
{
    Group &g = group();
    switch (command) {
    case Command::FontTable: g.destination = Destination::FontTable; break;
    case Command::ColorTable:
        g.destination = Destination::ColorTable;
        m_colors.begin();
        break;
    case Command::SkipDestination:
        keepSkippedGroup({});
        enterSkip();
        break;
    case Command::TextEntry:
        if (g.destination == Destination::Text)
            addAnchor(QStringLiteral("group:") + QString::fromLatin1(wholeGroup()));
        enterSkip();
        break;
    case Command::FontAlternative:
        if (g.destination == Destination::FontTable)
            g.destination = Destination::FontAlternative;
        else
            enterSkip();
        break;
    case Command::TextDestination:
    case Command::ObjectResult:
    case Command::NestedTableProperties:
        g.destination = Destination::Text;
        break;
    case Command::Object: g.destination = Destination::Hidden; break;
    case Command::FieldInstruction:
    case Command::FieldResult:
        fieldDestinationWord(command);
        break;
    default: pictureDestinationWord(command); break;
    }
}

void Reader::characterWord(const ControlWord &word, const Tokenizer::Token &token, Tokenizer &tokenizer)
{
    switch (word.command) {
    case Command::Character: character(word.character); break;
    case Command::Unicode: unicode(token.param); break;
    case Command::UnicodeSkip: group().unicodeSkip = std::clamp(token.param, 0, 16); break;
    case Command::Binary:
        if (token.hasParam) {
            const QByteArrayView data = tokenizer.takeBinary(token.param);
            if (group().destination == Destination::Picture)
                m_picture.binary(data);
        }
        break;
    default: break;
    }
}

void Reader::codePageWord(Command command, int param)
{
    switch (command) {
    case Command::Ansi: m_documentCodePage = 1252; break;
    case Command::Mac: m_documentCodePage = 10000; break;
    case Command::Pc: m_documentCodePage = 437; break;
    case Command::Pca: m_documentCodePage = 850; break;
    case Command::AnsiCodePage:
        if (param > 0)
            m_documentCodePage = param;
        break;
    default: break;
    }
}

} // namespace rtf
