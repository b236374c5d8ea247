// Body text: runs of bytes decoded once per run in the font's code page, and
// the character formats they are inserted with.
#include "model/text_properties.h"
#include "rtf/reader.h"
#include <algorithm>
#include <utility>

namespace rtf {
namespace {

bool isPlainAscii(QByteArrayView bytes)
{
    for (char c : bytes) {
        const auto value = static_cast<unsigned char>(c);
        if (value >= 0x7F || (value < 0x20 && value != '\t'))
            return false;
    }
    return true;
}

} // namespace

void Reader::characterFormatWord(Command command, const Tokenizer::Token &token)
{
    Group &g = group();
    CharState &chars = g.chars;
    const int param = token.param;
    const bool on = !token.hasParam || param != 0;
    switch (command) {
    case Command::Bold: chars.bold = on; break;
    case Command::Italic: chars.italic = on; break;
    case Command::Underline: chars.underline = on; break;
    case Command::UnderlineNone: chars.underline = false; break;
    case Command::Strike:
    case Command::DoubleStrike: chars.strike = on; break;
    case Command::FontSize:
        chars.halfPoints = token.hasParam && param > 0 ? std::clamp(param, 2, 3276) : 24;
        break;
    case Command::Font:
        if (g.destination == Destination::FontTable) {
            commitFont();
            m_fonts.beginEntry(param);
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
    case Command::Raise: chars.raise = std::clamp(token.hasParam ? param : 6, -3276, 3276); break;
    case Command::Lower: chars.raise = -std::clamp(token.hasParam ? param : 6, -3276, 3276); break;
    case Command::Plain: {
        // What the group is (a link, a field's result, a list label) is not a format to reset.
        CharState reset;
        reset.link = chars.link;
        reset.field = chars.field;
        reset.listLabel = chars.listLabel;
        chars = reset;
        break;
    }
    default: break;
    }
}

void Reader::bodyBytes(QByteArrayView bytes)
{
    if (m_footnoteMark)
        m_footnoteMark.reset();
    m_bodyCharacters += bytes.size();
    beginBodyText();
    const int codePage = m_fonts.codePageOf(m_runState.font, m_documentCodePage);
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
    if (m_footnoteMark)
        m_footnoteMark.reset();
    ++m_bodyCharacters;
    beginBodyText();
    decodePending();
    m_runText.append(QChar(c));
}

void Reader::beginBodyText()
{
    m_shapePictureJustEnded = false;
    syncTable();
    materializeBlock();
    m_paragraphTextDepth = std::max(m_paragraphTextDepth, m_groups.size());
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
    if (m_pendingAnchors.isEmpty() && m_hiddenText.isEmpty() && !m_runState.hidden)
        m_cursor.insertText(m_runText, charFormat(m_runState));
    else
        insertRun(charFormat(m_runState)); // hidden_text.cpp
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
    const FontTable::Font *font = m_fonts.find(state.font);
    // The document's own default family is left unset, as the editor leaves it.
    if (font && !font->name.isEmpty() && font->name != m_defaultFamily) {
        // Where neither name is installed, the hint picks a face of the same kind.
        format.setFontFamilies(font->families());
        if (m_fonts.keysFonts())
            format.setProperty(FontKeyProperty, font->key);
        if (font->hint != QFont::AnyStyle)
            format.setFontStyleHint(font->hint);
    }
    format.setFontPointSize(state.halfPoints / 2.0);
    if (state.bold)
        format.setFontWeight(QFont::Bold);
    if (state.italic)
        format.setFontItalic(true);
    if (state.underline)
        format.setFontUnderline(true);
    if (state.strike)
        format.setFontStrikeOut(true);
    if (const QColor c = m_colors.at(state.foreground); c.isValid())
        format.setForeground(c);
    if (const QColor c = m_colors.at(state.highlight ? state.highlight : state.background); c.isValid())
        format.setBackground(c);
    if (state.link > 0) {
        format.setAnchor(true);
        format.setAnchorHref(m_links.at(state.link - 1));
    }
    setPartProperties(format, state);
    if (state.vertical == 1)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (state.vertical == 2)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (state.raise != 0) // Qt raises by a share of the font's height
        format.setBaselineOffset(100.0 * state.raise / state.halfPoints);
    if (m_formats.size() > 4096)
        m_formats.clear(); // a file that keeps changing formats gets no cache
    m_formats.insert(state, format);
    return format;
}

void Reader::setPartProperties(QTextCharFormat &format, const CharState &state) const
{
    if (state.field > 0) {
        format.setProperty(model::FieldInstructionProperty, m_fieldInstructions.at(state.field - 1));
        format.setProperty(model::FieldNumberProperty, state.field);
    }
    if (state.style >= 0)
        format.setProperty(model::CharacterStyleProperty, state.style);
    if (state.listLabel)
        format.setProperty(model::ListLabelProperty, true);
    if (!state.kept.isEmpty())
        format.setProperty(model::KeptCharacterWordsProperty, state.kept);
}

// Fonts and colours defined after a format was made change what it looks like.
void Reader::forgetFormats()
{
    m_formats.clear();
    m_lastState.reset();
}

} // namespace rtf
