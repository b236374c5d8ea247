#pragma once
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <map>
#include <memory>

namespace rtf {

// Code page numbers for the charsets and code pages RTF names.
inline constexpr int SymbolCodePage = 42;      // the Symbol font's letters
inline constexpr int PrivateUseCodePage = 43;  // other symbol fonts: U+F000 + byte
inline constexpr int Utf8CodePage = 65001;
int codePageForCharset(int charset); // 0 when the charset means "the document's code page"

// Decodes byte runs by Windows code page number. Decoders are made once per
// code page; cp1252 and the symbol charset need no ICU.
class CodePageDecoder
{
public:
    void append(QByteArrayView bytes, int codePage, QString &out);

private:
    QStringDecoder *decoderFor(int codePage);
    std::map<int, std::unique_ptr<QStringDecoder>> m_decoders;
};

} // namespace rtf
