#include "rtf/reader.h"
#include "rtf/rtf.h"
#include <QTextDocument>
#include <algorithm>

// What an RTF file can hold, and where each part is read:
//   groups, control words, \uN and \uc ........ this file
//   the font table .............................. font_table.cpp
//   the colour table ............................ color_table.cpp
//   body text and character formats ............. body_text.cpp
//   paragraphs, page breaks ..................... paragraphs.cpp
//   tables ...................................... tables.cpp
//   pictures and shapes ......................... picture_destination.cpp
//   fields ...................................... fields.cpp
// The bytes themselves are split by the tokenizer (tokenizer.cpp) and the
// words looked up in control_words.cpp.

namespace rtf {

Reader::Reader(QTextDocument &document, const ReadLimits &limits)
    : m_document(document), m_limits(limits), m_cursor(&document),
      m_defaultFamily(document.defaultFont().family())
{
}

namespace {

bool fail(QString *reason, const QString &why)
{
    if (reason)
        *reason = why;
    return false;
}

} // namespace

bool Reader::run(QByteArrayView bytes, QString *reason)
{
    Tokenizer tokenizer(bytes);
    m_unread = bytes;
    m_tokenizer = &tokenizer;
    m_groups.reserve(64);
    m_cursor.beginEditBlock();
    bool ok = true;
    bool started = false;
    for (;;) {
        const Tokenizer::Token token = tokenizer.next();
        if (token.kind == Tokenizer::Kind::End)
            break;
        if (token.kind == Tokenizer::Kind::Error) {
            ok = fail(reason, QStringLiteral("control word longer than %1 letters at byte %2")
                                  .arg(Tokenizer::MaxWordLength).arg(tokenizer.offset()));
            break;
        }
        if (started && m_groups.empty())
            break; // the document's group has closed; what follows is not RTF
        if (token.kind == Tokenizer::Kind::GroupStart) {
            if (!groupStart()) {
                ok = fail(reason, QStringLiteral("groups nested deeper than %1 at byte %2")
                                      .arg(m_limits.maxGroupDepth).arg(tokenizer.offset()));
                break;
            }
            started = true;
            continue;
        }
        if (m_groups.empty())
            continue;
        this->token(token, tokenizer);
    }
    if (ok && !m_groups.empty())
        finishDocument(); // a truncated file keeps what was read
    m_cursor.endEditBlock();
    return ok;
}

// ---- groups

bool Reader::groupStart()
{
    m_fallbackLeft = 0;
    if (int(m_groups.size()) + m_skipDepth >= m_limits.maxGroupDepth)
        return false;
    if (m_skipDepth > 0) {
        ++m_skipDepth;
        return true;
    }
    if (m_groups.empty()) {
        m_groups.emplace_back();
        return true;
    }
    Group inner = group();
    inner.ignorable = false;
    inner.shapePicture = false;
    m_groups.push_back(inner);
    return true;
}

void Reader::groupEnd()
{
    m_fallbackLeft = 0;
    if (m_skipDepth > 1) {
        --m_skipDepth;
        return;
    }
    m_skipDepth = 0;
    const Group closing = group();
    if (closing.destination == Destination::Picture && m_picture.endsWith(m_groups.size()))
        finishPicture();
    if (closing.destination == Destination::FontTable)
        commitFont();
    if (m_groups.size() == 1)
        finishDocument();
    m_groups.pop_back();
    if (closing.shapePicture)
        m_shapePictureJustEnded = m_picturesInserted > closing.picturesBeforeShape;
}

void Reader::enterSkip()
{
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
        controlWord(token, tokenizer);
        return;
    case Kind::Symbol:
        if (m_fallbackLeft > 0) {
            --m_fallbackLeft;
            return;
        }
        controlSymbol(token.symbol);
        return;
    default:
        return;
    }
}

void Reader::controlWord(const Tokenizer::Token &token, Tokenizer &tokenizer)
{
    const ControlWord word = lookupControlWord(token.text);
    if (m_fallbackLeft > 0) {
        --m_fallbackLeft;
        if (word.command == Command::Binary && token.hasParam)
            tokenizer.takeBinary(token.param);
        return;
    }
    if (group().ignorable) {
        group().ignorable = false;
        if (!isDestination(word.command)) {
            enterSkip();
            return;
        }
    }
    command(word, token, tokenizer);
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
    switch (groupOf(word.command)) {
    case CommandGroup::Destination: destinationWord(word.command); break;
    case CommandGroup::CharacterFormat: characterFormatWord(word.command, token); break;
    case CommandGroup::Paragraph: paragraphWord(word.command, token.param); break;
    case CommandGroup::Table: tableWord(word.command, token.param); break;
    case CommandGroup::Character: characterWord(word, token, tokenizer); break;
    case CommandGroup::CodePage: codePageWord(word.command, token.param); break;
    case CommandGroup::FontTable: fontTableWord(word.command, token.param); break;
    case CommandGroup::ColorTable: colorTableWord(word.command, token.param); break;
    case CommandGroup::Picture: m_picture.word(word.command, token.param); break;
    case CommandGroup::Unknown: break;
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
    case Command::SkipDestination: enterSkip(); break;
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

// ---- text, by destination

void Reader::text(QByteArrayView bytes)
{
    switch (group().destination) {
    case Destination::Text: bodyBytes(bytes); break;
    case Destination::FontTable: m_fonts.text(bytes, m_documentCodePage, m_decoder); break;
    case Destination::ColorTable:
        if (m_colors.text(bytes))
            forgetFormats();
        break;
    case Destination::Picture: m_picture.hexText(bytes); break;
    default: break;
    }
}

void Reader::character(char16_t c)
{
    if (group().destination == Destination::Text)
        bodyCharacter(c);
    else if (group().destination == Destination::FontTable)
        m_fonts.character(c, m_documentCodePage, m_decoder);
}

// \uN counts as one character; the next \uc units are its fallback.
void Reader::unicode(int value)
{
    m_fallbackLeft = group().unicodeSkip;
    const auto c = static_cast<char16_t>(value & 0xFFFF);
    if (QChar::isHighSurrogate(c)) {
        if (m_highSurrogate)
            character(0xFFFD);
        m_highSurrogate = c;
        return;
    }
    if (QChar::isLowSurrogate(c)) {
        if (!m_highSurrogate) {
            character(0xFFFD);
            return;
        }
        const char16_t high = m_highSurrogate;
        m_highSurrogate = 0;
        character(high);
        character(c);
        return;
    }
    if (m_highSurrogate) {
        m_highSurrogate = 0;
        character(0xFFFD);
    }
    if (c >= 0x20 || c == '\t')
        character(c);
}

// ---- the public entry points

bool isRtf(const QByteArray &bytes)
{
    return bytes.startsWith("{\\rtf");
}

QString decodePlainText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder local(QStringConverter::System);
    return local.decode(bytes);
}

QUrl originalPictureUrl(const QString &imageName)
{
    QUrl url(imageName);
    url.setFragment(QStringLiteral("rtf-original"));
    return url;
}

bool read(const QByteArray &bytes, QTextDocument &document, QString *reason)
{
    return read(bytes, document, ReadLimits{}, reason);
}

bool read(const QByteArray &bytes, QTextDocument &document, const ReadLimits &limits, QString *reason)
{
    return read(bytes, document, limits, reason, nullptr);
}

bool read(const QByteArray &bytes, QTextDocument &document, const ReadLimits &limits, QString *reason,
          QStringList *warnings)
{
    if (!document.isEmpty())
        document.clear();
    if (!isRtf(bytes)) {
        document.setPlainText(decodePlainText(bytes));
        return true;
    }
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    Reader reader(document, limits);
    const bool ok = reader.run(bytes, reason);
    if (ok && warnings)
        *warnings = reader.warnings();
    if (!ok)
        document.clear();
    document.setUndoRedoEnabled(undo);
    return ok;
}

} // namespace rtf
