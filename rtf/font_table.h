#pragma once
#include <QByteArray>
#include <QFont>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QTextFormat>

namespace rtf {

// Qt hashes every list of font families alike, so each insertion in a file
// with thousands of fonts would compare its format with those of all the other
// fonts. Runs of such a file carry a number made from their families, which Qt
// hashes by value. A file with a few fonts goes without: the extra property
// costs more per insertion than comparing a few formats.
inline constexpr int FontKeyProperty = QTextFormat::UserProperty + 0x5248;

class CodePageDecoder;

// The \fonttbl destination and what it leaves behind: each font's name, the
// code page its bytes are spelled in, its kind and an alternative name.
class FontTable
{
public:
    struct Font
    {
        QString name;
        int codePage = 0; // 0: the document's code page
        QFont::StyleHint hint = QFont::AnyStyle; // from the family and pitch
        QString alternative;                     // \falt: used when name is missing
        QStringList families() const
        {
            if (alternative.isEmpty() || alternative == name)
                return {name};
            return {name, alternative};
        }
        int key = 0; // FontKeyProperty: equal for equal families
    };

    // Inside the table: \fN starts an entry, \fcharset and \cpg give its code
    // page, text up to ';' is its name.
    void beginEntry(int number);
    void setCharset(int charset);
    void setCodePage(int codePage);
    void setHint(QFont::StyleHint hint) { m_pending.hint = hint; }
    void setPitch(int pitch) { m_pending.fixedPitch = pitch == 1; }
    // The {\*\falt name} group inside an entry.
    void alternativeText(QByteArrayView bytes);
    void alternativeCharacter(char16_t c);
    void text(QByteArrayView bytes, int documentCodePage, CodePageDecoder &decoder);
    void character(char16_t c, int documentCodePage, CodePageDecoder &decoder);
    void commit(int documentCodePage, CodePageDecoder &decoder);

    void setDefaultFont(int number) { m_defaultFont = number; }
    bool keysFonts() const { return m_fonts.size() > 8; } // runs carry FontKeyProperty
    // The font a run names, -1 meaning the document's default font; null when unknown.
    const Font *find(int number) const
    {
        const auto found = m_fonts.constFind(number < 0 ? m_defaultFont : number);
        return found == m_fonts.constEnd() ? nullptr : &*found;
    }
    const QHash<int, Font> &all() const { return m_fonts; }
    int codePageOf(int number, int documentCodePage) const
    {
        const Font *font = find(number);
        return font && font->codePage ? font->codePage : documentCodePage;
    }

private:
    struct Pending
    {
        int number = -1;
        int codePage = 0;
        QFont::StyleHint hint = QFont::AnyStyle;
        bool fixedPitch = false;
        QByteArray nameBytes;
        QString name;
        QByteArray alternativeBytes;
        QString alternative;
    };
    void decodeName(int documentCodePage, CodePageDecoder &decoder);

    int m_defaultFont = 0;
    QHash<int, Font> m_fonts;
    Pending m_pending;
};

} // namespace rtf
