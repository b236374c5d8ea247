#include "rtf/codepages.h"
#include "rtf/control_words.h"
#include "rtf/pictures.h"
#include "rtf/rtf.h"
#include "rtf/tokenizer.h"
#include <QColor>
#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace rtf {
namespace {

constexpr int MaxTableColumns = 63;
constexpr double TwipsPerPixel = 15.0; // at 96 pixels per inch
constexpr int MaxTwips = 31680;        // 22 inches

struct CharState
{
    int font = -1; // -1: the document's default font
    int halfPoints = 24;
    int foreground = 0;
    int highlight = 0;
    int background = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    quint8 vertical = 0; // 1 superscript, 2 subscript
    bool operator==(const CharState &) const = default;
};

// Packed into three words: cheaper than hashing the ten fields one by one.
size_t qHash(const CharState &s, size_t seed = 0)
{
    const auto pair = [](int high, int low) { return quint64(quint32(high)) << 32 | quint32(low); };
    const quint64 flags = quint64(s.bold) | quint64(s.italic) << 1 | quint64(s.underline) << 2
                          | quint64(s.strike) << 3 | quint64(s.vertical) << 4
                          | quint64(quint32(s.background)) << 32;
    return qHashMulti(seed, pair(s.font, s.halfPoints), pair(s.foreground, s.highlight), flags);
}

struct ParaState
{
    Qt::Alignment alignment = Qt::AlignLeft;
    int left = 0, right = 0, first = 0, before = 0, after = 0; // twips
    bool inTable = false;
};

// What a paragraph looks like, as far as the block format goes.
struct BlockLook
{
    Qt::Alignment alignment = Qt::AlignLeft;
    int left = 0, right = 0, first = 0, before = 0, after = 0;
    bool pageBreak = false;
    bool operator==(const BlockLook &) const = default;
};

enum class Destination : quint8 { Text, Skip, FontTable, ColorTable, Picture, Hidden };

struct Group
{
    CharState chars;
    ParaState para;
    Destination destination = Destination::Text;
    int unicodeSkip = 1;
    bool ignorable = false;       // after \*: an unknown destination skips the group
    bool shapePicture = false;    // this group is a \shppict
    int picturesBeforeShape = -1; // inside \shp: pictures inserted before it began
};

struct FontEntry
{
    QString name;
    int codePage = 0; // 0: the document's code page
};

struct PendingFont
{
    int number = -1;
    int codePage = 0;
    QByteArray nameBytes;
    QString name;
};

struct PictureState
{
    QByteArray data;
    const char *format = nullptr;
    bool supported = false;
    bool broken = false;
    int nibble = -1;
    int widthGoal = 0, heightGoal = 0, scaleX = 100, scaleY = 100;
    size_t depth = 0; // the group that holds the picture
};

struct StoredPicture
{
    QString name;
    QSize pixels;
};

int clampInt(int value, int low, int high) { return std::clamp(value, low, high); }

bool isPlainAscii(QByteArrayView bytes)
{
    for (char c : bytes) {
        const auto value = static_cast<unsigned char>(c);
        if (value >= 0x7F || (value < 0x20 && value != '\t'))
            return false;
    }
    return true;
}

constexpr std::array<qint8, 256> makeHexDigits()
{
    std::array<qint8, 256> digits{};
    for (auto &d : digits)
        d = -1;
    for (int c = '0'; c <= '9'; ++c)
        digits[size_t(c)] = qint8(c - '0');
    for (int c = 'a'; c <= 'f'; ++c)
        digits[size_t(c)] = qint8(c - 'a' + 10);
    for (int c = 'A'; c <= 'F'; ++c)
        digits[size_t(c)] = qint8(c - 'A' + 10);
    return digits;
}
constexpr auto hexDigits = makeHexDigits();

int hexDigit(char c) { return hexDigits[static_cast<unsigned char>(c)]; }

class Reader
{
public:
    Reader(QTextDocument &document, const ReadLimits &limits)
        : m_document(document), m_limits(limits), m_cursor(&document),
          m_defaultFamily(document.defaultFont().family())
    {
    }
    bool run(QByteArrayView bytes, QString *reason);

private:
    bool fail(QString *reason, const QString &why);
    bool groupStart();
    void groupEnd();
    void token(const Tokenizer::Token &token, Tokenizer &tokenizer);
    void controlWord(const Tokenizer::Token &token, Tokenizer &tokenizer);
    void controlSymbol(char symbol);
    void command(const ControlWord &word, const Tokenizer::Token &token, Tokenizer &tokenizer);
    void destinationWord(Command command);
    void enterSkip();

    // text of the current destination
    void text(QByteArrayView bytes);
    void character(char16_t c);
    void unicode(int value);
    void bodyBytes(QByteArrayView bytes);
    void bodyCharacter(char16_t c);
    void fontText(QByteArrayView bytes);
    void colorText(QByteArrayView bytes);
    void pictureText(QByteArrayView bytes);

    // building the document
    void beginBodyText();
    void decodePending();
    void flushRun();
    QTextCharFormat charFormat(const CharState &state);
    QTextCharFormat cachedCharFormat(const CharState &state);
    void forgetFormats();
    BlockLook currentLook() const;
    static QTextBlockFormat blockFormat(const BlockLook &look);
    void materializeBlock();
    void applyBlockLook();
    void paragraphEnd();
    void pageBreak();
    void syncTable();
    void enterCell();
    void joinEmptyBlockBeforeTable();
    void cellEnd();
    void rowEnd();
    void leaveTable();
    void finishPicture();
    void insertPicture(const StoredPicture &picture, const char *format);

    void finishDocument();
    void commitFont();
    void decodeFontName();
    int codePageOf(int font) const;

    Group &group() { return m_groups.back(); }

    QTextDocument &m_document;
    const ReadLimits &m_limits;
    QTextCursor m_cursor;
    const QString m_defaultFamily;
    std::vector<Group> m_groups;
    int m_skipDepth = 0;     // nesting inside a skipped destination
    int m_fallbackLeft = 0;  // \uc fallback units still to skip
    char16_t m_highSurrogate = 0;

    int m_documentCodePage = 1252;
    int m_defaultFont = 0;
    QHash<int, FontEntry> m_fonts;
    PendingFont m_pendingFont;
    std::vector<QColor> m_colors;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colorGiven = false;

    CodePageDecoder m_decoder;
    CharState m_runState;
    QString m_runText;
    QByteArray m_pendingBytes;
    int m_pendingCodePage = 0;
    QHash<CharState, QTextCharFormat> m_formats;
    // The last format asked for: runs mostly alternate between a few states.
    std::optional<CharState> m_lastState;
    QTextCharFormat m_lastFormat;

    std::optional<BlockLook> m_appliedLook;
    bool m_blockPageBreak = false;
    bool m_blockPending = false;

    QTextTable *m_table = nullptr;
    int m_row = 0, m_column = 0;
    bool m_rowOpen = false, m_cellEnded = false;
    int m_rowBoundaries = 0;

    PictureState m_picture;
    QHash<QByteArray, StoredPicture> m_storedPictures;
    int m_picturesInserted = 0;
    bool m_shapePictureJustEnded = false;
};

bool Reader::fail(QString *reason, const QString &why)
{
    if (reason)
        *reason = why;
    return false;
}

bool Reader::run(QByteArrayView bytes, QString *reason)
{
    Tokenizer tokenizer(bytes);
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
    if (closing.destination == Destination::Picture && m_picture.depth == m_groups.size())
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

void Reader::destinationWord(Command command)
{
    Group &g = group();
    switch (command) {
    case Command::FontTable: g.destination = Destination::FontTable; break;
    case Command::ColorTable: g.destination = Destination::ColorTable; m_colorGiven = false; break;
    case Command::SkipDestination: enterSkip(); break;
    case Command::TextDestination:
    case Command::ObjectResult:
    case Command::ShapeText:
        g.destination = Destination::Text;
        break;
    case Command::Object:
    case Command::ShapeInstance:
        g.destination = Destination::Hidden;
        break;
    case Command::Shape: g.picturesBeforeShape = m_picturesInserted; break;
    case Command::ShapeResult:
        if (g.picturesBeforeShape >= 0 && m_picturesInserted > g.picturesBeforeShape)
            enterSkip();
        break;
    case Command::ShapePicture:
        g.shapePicture = true;
        g.picturesBeforeShape = m_picturesInserted;
        g.destination = Destination::Text;
        break;
    case Command::NonShapePicture:
        if (m_shapePictureJustEnded)
            enterSkip();
        break;
    case Command::Picture:
        if (g.destination == Destination::Picture || g.destination == Destination::Skip) {
            enterSkip();
            break;
        }
        g.destination = Destination::Picture;
        m_picture = PictureState{};
        m_picture.depth = m_groups.size();
        break;
    default: break;
    }
}

void Reader::command(const ControlWord &word, const Tokenizer::Token &token, Tokenizer &tokenizer)
{
    Group &g = group();
    CharState &chars = g.chars;
    ParaState &para = g.para;
    const int param = token.param;
    const bool on = !token.hasParam || param != 0;
    const auto twips = [&](int low) { return clampInt(param, low, MaxTwips); };
    if (isDestination(word.command)) {
        destinationWord(word.command);
        return;
    }
    switch (word.command) {
    case Command::Bold: chars.bold = on; break;
    case Command::Italic: chars.italic = on; break;
    case Command::Underline: chars.underline = on; break;
    case Command::UnderlineNone: chars.underline = false; break;
    case Command::Strike:
    case Command::DoubleStrike: chars.strike = on; break;
    case Command::FontSize:
        chars.halfPoints = token.hasParam && param > 0 ? clampInt(param, 2, 3276) : 24;
        break;
    case Command::Font:
        if (g.destination == Destination::FontTable) {
            commitFont();
            m_pendingFont.number = param;
        } else {
            chars.font = param;
        }
        break;
    case Command::Foreground: chars.foreground = std::max(param, 0); break;
    case Command::Highlight: chars.highlight = std::max(param, 0); break;
    case Command::Background: chars.background = std::max(param, 0); break;
    case Command::Super: chars.vertical = 1; break;
    case Command::Sub: chars.vertical = 2; break;
    case Command::NoSuperSub: chars.vertical = 0; break;
    case Command::Plain: chars = CharState{}; break;

    case Command::ParagraphDefaults: para = ParaState{}; break;
    case Command::Paragraph: paragraphEnd(); break;
    case Command::AlignLeft: para.alignment = Qt::AlignLeft; break;
    case Command::AlignCenter: para.alignment = Qt::AlignHCenter; break;
    case Command::AlignRight: para.alignment = Qt::AlignRight; break;
    case Command::AlignJustify: para.alignment = Qt::AlignJustify; break;
    case Command::LeftIndent: para.left = twips(-MaxTwips); break;
    case Command::RightIndent: para.right = twips(-MaxTwips); break;
    case Command::FirstIndent: para.first = twips(-MaxTwips); break;
    case Command::SpaceBefore: para.before = twips(0); break;
    case Command::SpaceAfter: para.after = twips(0); break;
    case Command::InTable: para.inTable = true; break;
    case Command::TableLevel: para.inTable = param > 0; break;
    case Command::Cell: cellEnd(); break;
    case Command::Row: rowEnd(); break;
    case Command::NestedCell: paragraphEnd(); break;
    case Command::RowDefaults: m_rowBoundaries = 0; break;
    case Command::CellBoundary: m_rowBoundaries = std::min(m_rowBoundaries + 1, MaxTableColumns); break;
    case Command::Page: pageBreak(); break;
    case Command::Section: paragraphEnd(); break;

    case Command::Character: character(word.character); break;
    case Command::Unicode: unicode(param); break;
    case Command::UnicodeSkip: g.unicodeSkip = clampInt(param, 0, 16); break;
    case Command::Binary:
        if (token.hasParam) {
            const QByteArrayView data = tokenizer.takeBinary(param);
            if (g.destination == Destination::Picture && m_picture.supported && m_picture.nibble < 0)
                m_picture.data.append(data);
        }
        break;

    case Command::Ansi: m_documentCodePage = 1252; break;
    case Command::Mac: m_documentCodePage = 10000; break;
    case Command::Pc: m_documentCodePage = 437; break;
    case Command::Pca: m_documentCodePage = 850; break;
    case Command::AnsiCodePage:
        if (param > 0)
            m_documentCodePage = param;
        break;
    case Command::DefaultFont: m_defaultFont = param; break;
    case Command::FontCharset: m_pendingFont.codePage = codePageForCharset(param); break;
    case Command::FontCodePage:
        if (param > 0)
            m_pendingFont.codePage = param;
        break;
    case Command::Red: m_red = clampInt(param, 0, 255); m_colorGiven = true; break;
    case Command::Green: m_green = clampInt(param, 0, 255); m_colorGiven = true; break;
    case Command::Blue: m_blue = clampInt(param, 0, 255); m_colorGiven = true; break;

    case Command::PngBlip: m_picture.format = "png"; m_picture.supported = true; break;
    case Command::JpegBlip: m_picture.format = "jpeg"; m_picture.supported = true; break;
    case Command::OtherBlip: m_picture.format = nullptr; m_picture.supported = false; break;
    case Command::PictureWidthGoal: m_picture.widthGoal = twips(0); break;
    case Command::PictureHeightGoal: m_picture.heightGoal = twips(0); break;
    case Command::PictureScaleX: m_picture.scaleX = clampInt(param, 1, 1000); break;
    case Command::PictureScaleY: m_picture.scaleY = clampInt(param, 1, 1000); break;
    default: break;
    }
}

// ---- text of each destination

void Reader::text(QByteArrayView bytes)
{
    switch (group().destination) {
    case Destination::Text: bodyBytes(bytes); break;
    case Destination::FontTable: fontText(bytes); break;
    case Destination::ColorTable: colorText(bytes); break;
    case Destination::Picture: pictureText(bytes); break;
    default: break;
    }
}

void Reader::character(char16_t c)
{
    if (group().destination == Destination::Text)
        bodyCharacter(c);
    else if (group().destination == Destination::FontTable && c >= 0x20) {
        decodeFontName();
        m_pendingFont.name.append(QChar(c));
    }
}

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

void Reader::bodyBytes(QByteArrayView bytes)
{
    beginBodyText();
    const int codePage = codePageOf(m_runState.font);
    if (m_pendingBytes.isEmpty() && codePage != SymbolCodePage && codePage != PrivateUseCodePage
        && isPlainAscii(bytes)) {
        m_runText.append(QLatin1StringView(bytes.data(), bytes.size()));
        return;
    }
    if (!m_pendingBytes.isEmpty() && codePage != m_pendingCodePage)
        decodePending();
    m_pendingCodePage = codePage;
    m_pendingBytes.append(bytes);
}

void Reader::bodyCharacter(char16_t c)
{
    beginBodyText();
    decodePending();
    m_runText.append(QChar(c));
}

void Reader::fontText(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (c == ';')
            commitFont();
        else
            m_pendingFont.nameBytes.append(c);
    }
}

void Reader::colorText(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (c != ';')
            continue;
        m_colors.push_back(m_colorGiven ? QColor(m_red, m_green, m_blue) : QColor());
        forgetFormats();
        m_red = m_green = m_blue = 0;
        m_colorGiven = false;
    }
}

void Reader::pictureText(QByteArrayView bytes)
{
    PictureState &p = m_picture;
    if (p.broken || !p.supported)
        return;
    // Decode straight into the buffer; hex takes two characters a byte.
    const qsizetype start = p.data.size();
    p.data.resize(start + bytes.size() / 2 + 1);
    char *out = p.data.data() + start;
    for (char c : bytes) {
        const int digit = hexDigit(c);
        if (digit < 0) {
            if (c == ' ' || c == '\t')
                continue;
            p.broken = true;
            break;
        }
        if (p.nibble < 0) {
            p.nibble = digit;
        } else {
            *out++ = char(p.nibble * 16 + digit);
            p.nibble = -1;
        }
    }
    p.data.truncate(out - p.data.data());
}

void Reader::commitFont()
{
    PendingFont &font = m_pendingFont;
    if (font.number >= 0 && (!font.nameBytes.isEmpty() || !font.name.isEmpty())) {
        decodeFontName();
        FontEntry entry{font.name.trimmed(), font.codePage};
        if (entry.codePage == SymbolCodePage && entry.name.compare(u"Symbol", Qt::CaseInsensitive))
            entry.codePage = PrivateUseCodePage;
        m_fonts.insert(font.number, entry);
    }
    font = PendingFont{};
    forgetFormats();
}

// Names are spelled in the font's own code page, except for symbol fonts.
void Reader::decodeFontName()
{
    PendingFont &font = m_pendingFont;
    if (font.nameBytes.isEmpty())
        return;
    int codePage = font.codePage ? font.codePage : m_documentCodePage;
    if (codePage == SymbolCodePage || codePage == PrivateUseCodePage)
        codePage = m_documentCodePage;
    m_decoder.append(font.nameBytes, codePage, font.name);
    font.nameBytes.clear();
}

int Reader::codePageOf(int font) const
{
    const auto found = m_fonts.constFind(font < 0 ? m_defaultFont : font);
    if (found != m_fonts.constEnd() && found->codePage)
        return found->codePage;
    return m_documentCodePage;
}

// ---- building the document

void Reader::beginBodyText()
{
    m_shapePictureJustEnded = false;
    syncTable();
    materializeBlock();
    if (!(group().chars == m_runState)) {
        flushRun();
        m_runState = group().chars;
    }
}

void Reader::decodePending()
{
    if (m_pendingBytes.isEmpty())
        return;
    const qsizetype start = m_runText.size();
    m_decoder.append(m_pendingBytes, m_pendingCodePage, m_runText);
    m_pendingBytes.resize(0);
    // Control characters would corrupt the document; tabs are kept.
    const auto isControl = [](QChar c) { return c.unicode() < 0x20 && c != u'\t'; };
    const auto first = std::find_if(m_runText.cbegin() + start, m_runText.cend(), isControl);
    if (first != m_runText.cend())
        m_runText.removeIf(isControl);
}

void Reader::flushRun()
{
    decodePending();
    if (m_runText.isEmpty())
        return;
    m_cursor.insertText(m_runText, charFormat(m_runState));
    m_runText.resize(0); // keeps the capacity for the next run
}

QTextCharFormat Reader::charFormat(const CharState &state)
{
    if (m_lastState && *m_lastState == state)
        return m_lastFormat;
    m_lastFormat = cachedCharFormat(state);
    m_lastState = state;
    return m_lastFormat;
}

QTextCharFormat Reader::cachedCharFormat(const CharState &state)
{
    if (const auto found = m_formats.constFind(state); found != m_formats.constEnd())
        return *found;
    QTextCharFormat format;
    const auto font = m_fonts.constFind(state.font < 0 ? m_defaultFont : state.font);
    // The document's own default family is left unset, as the editor leaves it.
    if (font != m_fonts.constEnd() && !font->name.isEmpty() && font->name != m_defaultFamily)
        format.setFontFamilies(QStringList{font->name});
    format.setFontPointSize(state.halfPoints / 2.0);
    if (state.bold)
        format.setFontWeight(QFont::Bold);
    if (state.italic)
        format.setFontItalic(true);
    if (state.underline)
        format.setFontUnderline(true);
    if (state.strike)
        format.setFontStrikeOut(true);
    const auto color = [this](int index) {
        return index > 0 && size_t(index) < m_colors.size() ? m_colors[size_t(index)] : QColor();
    };
    if (const QColor c = color(state.foreground); c.isValid())
        format.setForeground(c);
    if (const QColor c = color(state.highlight ? state.highlight : state.background); c.isValid())
        format.setBackground(c);
    if (state.vertical == 1)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (state.vertical == 2)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (m_formats.size() > 4096)
        m_formats.clear(); // a file that keeps changing formats gets no cache
    m_formats.insert(state, format);
    return format;
}

void Reader::forgetFormats()
{
    m_formats.clear();
    m_lastState.reset();
}

void Reader::finishDocument()
{
    m_highSurrogate = 0;
    materializeBlock();
    flushRun();
    applyBlockLook();
}

BlockLook Reader::currentLook() const
{
    const ParaState &para = m_groups.back().para;
    return {para.alignment, para.left, para.right, para.first, para.before, para.after, m_blockPageBreak};
}

// A \par only marks the next paragraph as due: it is inserted when its
// content comes, with the properties it has by then, which spares most
// paragraphs a second change of format.
void Reader::materializeBlock()
{
    if (!m_blockPending)
        return;
    m_blockPending = false;
    m_appliedLook = currentLook();
    m_cursor.insertBlock(blockFormat(*m_appliedLook), charFormat(group().chars));
}

void Reader::applyBlockLook()
{
    const BlockLook look = currentLook();
    if (m_appliedLook && *m_appliedLook == look)
        return;
    m_appliedLook = look;
    m_cursor.setBlockFormat(blockFormat(look));
}

QTextBlockFormat Reader::blockFormat(const BlockLook &look)
{
    QTextBlockFormat format;
    format.setAlignment(look.alignment);
    if (look.left) format.setLeftMargin(look.left / TwipsPerPixel);
    if (look.right) format.setRightMargin(look.right / TwipsPerPixel);
    if (look.first) format.setTextIndent(look.first / TwipsPerPixel);
    if (look.before) format.setTopMargin(look.before / TwipsPerPixel);
    if (look.after) format.setBottomMargin(look.after / TwipsPerPixel);
    if (look.pageBreak) format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    return format;
}

void Reader::paragraphEnd()
{
    if (group().destination != Destination::Text)
        return;
    syncTable();
    materializeBlock();
    flushRun();
    applyBlockLook();
    m_blockPending = true;
    m_blockPageBreak = false;
}

void Reader::pageBreak()
{
    if (group().destination != Destination::Text)
        return;
    decodePending();
    const bool blockEmpty = m_blockPending || (m_cursor.atBlockStart() && m_runText.isEmpty());
    if (!blockEmpty)
        paragraphEnd();
    m_blockPageBreak = true;
}

// Tables: the first paragraph marked \intbl opens a table; the rows grow as
// cells arrive; the first paragraph without \intbl leaves the table.
void Reader::syncTable()
{
    if (group().para.inTable)
        enterCell();
    else if (m_table)
        leaveTable();
}

void Reader::enterCell()
{
    if (!m_table) {
        flushRun();
        m_blockPending = false; // the table itself starts the next paragraph
        joinEmptyBlockBeforeTable();
        m_table = m_cursor.insertTable(1, std::max(1, m_rowBoundaries));
        m_row = m_column = 0;
        m_rowOpen = true;
        m_cellEnded = false;
        m_appliedLook.reset();
        return;
    }
    if (!m_rowOpen) {
        flushRun();
        m_table->appendRows(1);
        ++m_row;
        m_column = 0;
        m_rowOpen = true;
        m_cellEnded = false;
    } else if (m_cellEnded) {
        flushRun();
        m_cellEnded = false;
        if (m_column + 1 >= m_table->columns()) {
            if (m_table->columns() >= MaxTableColumns) {
                // Past the last column: the text joins the last cell.
                m_cursor = m_table->cellAt(m_row, m_column).lastCursorPosition();
                m_cursor.insertText(QStringLiteral("\t"));
                return;
            }
            m_table->appendColumns(1);
        }
        ++m_column;
    } else {
        return;
    }
    m_cursor = m_table->cellAt(m_row, m_column).firstCursorPosition();
    m_appliedLook.reset();
}

// Qt keeps the block a table is inserted into in front of the table; when
// that block is the empty one a \par just opened, fold it into the one before.
void Reader::joinEmptyBlockBeforeTable()
{
    const QTextBlock current = m_cursor.block();
    const QTextBlock previous = current.previous();
    if (current.length() != 1 || !previous.isValid())
        return;
    QTextCursor before(previous);
    if (before.currentFrame() != m_cursor.currentFrame() || before.currentTable())
        return;
    m_cursor.deletePreviousChar();
    m_appliedLook.reset();
}

void Reader::cellEnd()
{
    if (group().destination != Destination::Text)
        return;
    enterCell();
    materializeBlock();
    flushRun();
    applyBlockLook();
    m_cellEnded = true;
}

void Reader::rowEnd()
{
    if (!m_table || group().destination != Destination::Text)
        return;
    flushRun();
    m_rowOpen = false;
    m_cellEnded = false;
}

void Reader::leaveTable()
{
    flushRun();
    m_blockPending = false;
    m_cursor.setPosition(m_table->lastPosition() + 1);
    m_table = nullptr;
    m_appliedLook.reset();
}

void Reader::finishPicture()
{
    PictureState &p = m_picture;
    p.depth = 0;
    if (!p.supported || p.broken || p.data.isEmpty())
        return;
    auto stored = m_storedPictures.constFind(p.data);
    if (stored == m_storedPictures.constEnd()) {
        const QImage image = decodePicture(p.data, p.format, m_limits);
        if (image.isNull())
            return;
        const QString name = QStringLiteral("rtf-picture-%1.%2")
                                 .arg(m_storedPictures.size() + 1)
                                 .arg(QLatin1StringView(p.format == QByteArrayView("jpeg") ? "jpg" : "png"));
        m_document.addResource(QTextDocument::ImageResource, QUrl(name), image);
        m_document.addResource(QTextDocument::ImageResource, originalPictureUrl(name), p.data);
        stored = m_storedPictures.insert(p.data, StoredPicture{name, image.size()});
    }
    insertPicture(*stored, p.format);
    p.data = QByteArray();
}

void Reader::insertPicture(const StoredPicture &picture, const char *format)
{
    syncTable();
    materializeBlock();
    flushRun();
    const PictureState &p = m_picture;
    const double width = p.widthGoal > 0 ? p.widthGoal / TwipsPerPixel : picture.pixels.width();
    const double height = p.heightGoal > 0 ? p.heightGoal / TwipsPerPixel : picture.pixels.height();
    QTextImageFormat image;
    image.setName(picture.name);
    image.setWidth(width * p.scaleX / 100.0);
    image.setHeight(height * p.scaleY / 100.0);
    image.setProperty(PictureEncodingProperty, QString::fromLatin1(format));
    m_cursor.insertImage(image);
    ++m_picturesInserted;
}

} // namespace

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
    if (!ok)
        document.clear();
    document.setUndoRedoEnabled(undo);
    return ok;
}

} // namespace rtf
