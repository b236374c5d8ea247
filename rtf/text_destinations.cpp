// Text, \uN and \uc as the reader meets them: each goes where its group's destination says.
#include "rtf/reader.h"
#include <utility>

namespace rtf {

void Reader::text(QByteArrayView bytes)
{
    dropHighSurrogate();
    switch (group().destination) {
    case Destination::Text: bodyBytes(bytes); break;
    case Destination::FontTable: m_fonts.text(bytes, m_documentCodePage, m_decoder); break;
    case Destination::FontAlternative: m_fonts.alternativeText(bytes); break;
    case Destination::FieldInstruction: fieldInstructionText(bytes); break;
    case Destination::ColorTable:
        if (m_colors.text(bytes))
            forgetFormats();
        break;
    case Destination::Picture: m_picture.hexText(bytes); break;
    case Destination::Capture: captureBytes(bytes); break;
    default: break;
    }
}

void Reader::character(char16_t c)
{
    dropHighSurrogate();
    emitCharacter(c);
}

void Reader::emitCharacter(char16_t c)
{
    if (group().destination == Destination::Text)
        bodyCharacter(c);
    else if (group().destination == Destination::FontTable)
        m_fonts.character(c, m_documentCodePage, m_decoder);
    else if (group().destination == Destination::FontAlternative)
        m_fonts.alternativeCharacter(c);
    else if (group().destination == Destination::FieldInstruction && m_fieldInstruction.size() < 4096)
        m_fieldInstruction.append(QChar(c));
    else if (group().destination == Destination::Capture && m_capture.size() < 4096)
        m_capture.append(QChar(c));
}

// A high surrogate waits for its low half; anything else arriving first
// leaves it unpaired, shown as U+FFFD where it stood.
void Reader::dropHighSurrogate()
{
    if (!m_highSurrogate || m_groups.empty())
        return;
    m_highSurrogate = 0;
    emitCharacter(0xFFFD);
}

// \uN counts as one character; the next \uc units are its fallback.
void Reader::unicode(int value)
{
    const auto c = static_cast<char16_t>(value & 0xFFFF);
    if (QChar::isHighSurrogate(c)) {
        dropHighSurrogate();
        m_highSurrogate = c;
    } else if (QChar::isLowSurrogate(c)) {
        if (m_highSurrogate) {
            emitCharacter(std::exchange(m_highSurrogate, char16_t(0)));
            emitCharacter(c);
        } else {
            emitCharacter(0xFFFD);
        }
    } else if (c >= 0x20 || c == '\t') {
        character(c);
    } else {
        dropHighSurrogate();
    }
    m_fallbackLeft = group().unicodeSkip;
}

} // namespace rtf
