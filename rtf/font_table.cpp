#include "rtf/font_table.h"
#include "rtf/codepages.h"
#include "rtf/reader.h"
#include <algorithm>

namespace rtf {

void FontTable::beginEntry(int number)
{
    m_pending.number = number;
}

void FontTable::setCharset(int charset)
{
    m_pending.codePage = codePageForCharset(charset);
}

void FontTable::setCodePage(int codePage)
{
    if (codePage > 0)
        m_pending.codePage = codePage;
}

void FontTable::text(QByteArrayView bytes, int documentCodePage, CodePageDecoder &decoder)
{
    for (char c : bytes) {
        if (c == ';')
            commit(documentCodePage, decoder);
        else
            m_pending.nameBytes.append(c);
    }
}

void FontTable::character(char16_t c, int documentCodePage, CodePageDecoder &decoder)
{
    if (c < 0x20)
        return;
    decodeName(documentCodePage, decoder);
    m_pending.name.append(QChar(c));
}

void FontTable::alternativeText(QByteArrayView bytes)
{
    if (m_pending.alternativeBytes.size() < 256)
        m_pending.alternativeBytes.append(bytes.first(std::min<qsizetype>(bytes.size(), 256)));
}

void FontTable::alternativeCharacter(char16_t c)
{
    if (c >= 0x20 && m_pending.alternative.size() < 256)
        m_pending.alternative.append(QChar(c));
}

void FontTable::commit(int documentCodePage, CodePageDecoder &decoder)
{
    Pending &font = m_pending;
    if (font.number >= 0 && (!font.nameBytes.isEmpty() || !font.name.isEmpty())) {
        decodeName(documentCodePage, decoder);
        Font entry{font.name.trimmed(), font.codePage, font.hint, QString()};
        if (entry.hint == QFont::AnyStyle && font.fixedPitch)
            entry.hint = QFont::Monospace;
        const int alternativeCodePage = font.codePage > 0 && font.codePage != SymbolCodePage
                                                && font.codePage != PrivateUseCodePage
                                            ? font.codePage
                                            : documentCodePage;
        decoder.append(font.alternativeBytes, alternativeCodePage, font.alternative);
        entry.alternative = font.alternative.remove(u';').trimmed();
        if (entry.codePage == SymbolCodePage && entry.name.compare(u"Symbol", Qt::CaseInsensitive))
            entry.codePage = PrivateUseCodePage;
        entry.key = int(qHash(entry.families().join(u'\n'), 0) & 0x7fffffff);
        m_fonts.insert(font.number, entry);
    }
    font = Pending{};
}

// Names are spelled in the font's own code page, except for symbol fonts.
void FontTable::decodeName(int documentCodePage, CodePageDecoder &decoder)
{
    Pending &font = m_pending;
    if (font.nameBytes.isEmpty())
        return;
    int codePage = font.codePage ? font.codePage : documentCodePage;
    if (codePage == SymbolCodePage || codePage == PrivateUseCodePage)
        codePage = documentCodePage;
    decoder.append(font.nameBytes, codePage, font.name);
    font.nameBytes.clear();
}

// ---- the reader's words for the table

void Reader::fontTableWord(Command command, int param)
{
    switch (command) {
    case Command::DefaultFont: m_fonts.setDefaultFont(param); break;
    case Command::FontCharset: m_fonts.setCharset(param); break;
    case Command::FontCodePage: m_fonts.setCodePage(param); break;
    case Command::FontFamilyNil:
    case Command::FontFamilyTech: m_fonts.setHint(QFont::AnyStyle); break;
    case Command::FontFamilyRoman: m_fonts.setHint(QFont::Serif); break;
    case Command::FontFamilySwiss: m_fonts.setHint(QFont::SansSerif); break;
    case Command::FontFamilyModern: m_fonts.setHint(QFont::Monospace); break;
    case Command::FontFamilyScript: m_fonts.setHint(QFont::Cursive); break;
    case Command::FontFamilyDecor: m_fonts.setHint(QFont::Decorative); break;
    case Command::FontPitch: m_fonts.setPitch(param); break;
    default: break;
    }
}

void Reader::commitFont()
{
    m_fonts.commit(m_documentCodePage, m_decoder);
    forgetFormats();
}

} // namespace rtf
