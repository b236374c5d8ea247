#include "rtf/codepages.h"
#include "rtf/system_codepages.h"
#include <QStringDecoder>
#include <array>
#include <iterator>

namespace rtf {
namespace {

// 0x80..0x9F of windows-1252; the rest of the code page is Latin-1.
constexpr std::array<char16_t, 32> cp1252High = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0xFFFD};

// The Symbol font's letters and signs; other bytes go to the private-use
// area at U+F000, where symbol fonts draw them.
char16_t symbolToUnicode(unsigned char byte)
{
    static constexpr char16_t lower[] = { // 0x20..0x7E
        0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220B, 0x0028, 0x0029,
        0x2217, 0x002B, 0x002C, 0x2212, 0x002E, 0x002F, 0x0030, 0x0031, 0x0032, 0x0033,
        0x0034, 0x0035, 0x0036, 0x0037, 0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D,
        0x003E, 0x003F, 0x2245, 0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393,
        0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C, 0x039D, 0x039F, 0x03A0, 0x0398,
        0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9, 0x039E, 0x03A8, 0x0396, 0x005B,
        0x2234, 0x005D, 0x22A5, 0x005F, 0xF8E5, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5,
        0x03C6, 0x03B3, 0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF,
        0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9, 0x03BE, 0x03C8,
        0x03B6, 0x007B, 0x007C, 0x007D, 0x223C};
    static constexpr char16_t upper[] = { // 0xA0..0xE5
        0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663, 0x2666, 0x2665,
        0x2660, 0x2194, 0x2190, 0x2191, 0x2192, 0x2193, 0x00B0, 0x00B1, 0x2033, 0x2265,
        0x00D7, 0x221D, 0x2202, 0x2022, 0x00F7, 0x2260, 0x2261, 0x2248, 0x2026, 0x23D0,
        0x23AF, 0x21B5, 0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229,
        0x222A, 0x2283, 0x2287, 0x2284, 0x2282, 0x2286, 0x2208, 0x2209, 0x2220, 0x2207,
        0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5, 0x00AC, 0x2227, 0x2228, 0x21D4,
        0x21D0, 0x21D1, 0x21D2, 0x21D3, 0x25CA, 0x2329, 0x00AE, 0x00A9, 0x2122, 0x2211};
    static_assert(std::size(lower) == 0x7F - 0x20 && std::size(upper) == 0xE6 - 0xA0);
    if (byte >= 0x20 && byte <= 0x7E)
        return lower[byte - 0x20];
    if (byte >= 0xA0 && byte <= 0xE5)
        return upper[byte - 0xA0];
    if (byte == 0xF1) return 0x232A;
    if (byte == 0xF2) return 0x222B;
    return static_cast<char16_t>(0xF000 + byte);
}

} // namespace

bool isMacCodePage(int codePage)
{
    return codePage >= MacRomanCodePage && codePage < 10100;
}

int codePageForCharset(int charset)
{
    switch (charset) {
    case 0: return 1252;
    case 2: return SymbolCodePage;
    case 77: return MacRomanCodePage;
    case 78: return 10001;  // Mac Japanese
    case 79: return 10003;  // Mac Korean
    case 80: return 10008;  // Mac Simplified Chinese
    case 81: return 10002;  // Mac Traditional Chinese
    case 83: return 10005;  // Mac Hebrew
    case 84: return 10004;  // Mac Arabic
    case 85: return 10006;  // Mac Greek
    case 86: return 10081;  // Mac Turkish
    case 87: return 10021;  // Mac Thai
    case 88: return 10029;  // Mac Central European
    case 89: return 10007;  // Mac Cyrillic
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return 0;
    }
}

CodePageDecoder::CodePageDecoder() = default;
CodePageDecoder::~CodePageDecoder() = default;

// A Mac code page the system has no table for is read as Mac Roman: its
// letters are the Mac's, and its ASCII the same.
SystemCodePage *CodePageDecoder::decoderFor(int codePage)
{
    auto found = m_decoders.find(codePage);
    if (found == m_decoders.end())
        found = m_decoders.emplace(codePage, openSystemCodePage(codePage)).first;
    if (!found->second && isMacCodePage(codePage) && codePage != MacRomanCodePage)
        return decoderFor(MacRomanCodePage);
    return found->second.get();
}

void CodePageDecoder::append(QByteArrayView bytes, int codePage, QString &out)
{
    if (codePage == PrivateUseCodePage) {
        for (char byte : bytes)
            out.append(QChar(char16_t(0xF000 + static_cast<unsigned char>(byte))));
        return;
    }
    if (codePage == SymbolCodePage) {
        for (char byte : bytes)
            out.append(QChar(symbolToUnicode(static_cast<unsigned char>(byte))));
        return;
    }
    if (codePage == Utf8CodePage) {
        out.append(QStringDecoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless).decode(bytes));
        return;
    }
    if (codePage != 1252) {
        if (SystemCodePage *decoder = decoderFor(codePage)) {
            decoder->decode(bytes, out);
            return;
        }
    }
    // cp1252, and the fallback for code pages this build cannot decode.
    const qsizetype start = out.size();
    out.resize(start + bytes.size());
    QChar *to = out.data() + start;
    for (char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        *to++ = QChar(value >= 0x80 && value < 0xA0 ? cp1252High[value - 0x80] : char16_t(value));
    }
}

} // namespace rtf
