// Linux: ICU's tables through Qt, by the names ICU knows the code pages by.
#include "rtf/system_codepages.h"
#include <QStringDecoder>
#include <algorithm>

namespace rtf {
namespace {

// ICU has no table for Mac Arabic (10004), Hebrew (10005), Thai (10021) and
// Icelandic (10079, made below from Mac Roman); Mac Japanese, Chinese and
// Korean are read as the standards their tables extend.
const char *icuName(int codePage)
{
    switch (codePage) {
    case 437: return "ibm437";
    case 850: return "ibm850";
    case 852: return "ibm852";
    case 866: return "ibm866";
    case 874: return "windows-874";
    case 932: return "windows-31j";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "cp950";
    case 1250: return "windows-1250";
    case 1251: return "windows-1251";
    case 1253: return "windows-1253";
    case 1254: return "windows-1254";
    case 1255: return "windows-1255";
    case 1256: return "windows-1256";
    case 1257: return "windows-1257";
    case 1258: return "windows-1258";
    case 1361: return "johab";
    case 10000: return "macintosh";
    case 10002: return "Big5";
    case 10003: return "EUC-KR";
    case 10006: return "x-mac-greek";
    case 10007: return "x-mac-cyrillic";
    case 10008: return "GB2312";
    case 10029: return "x-mac-centraleurroman";
    case 10081: return "x-mac-turkish";
    default: return nullptr;
    }
}

class IcuCodePage final : public SystemCodePage
{
public:
    explicit IcuCodePage(const char *name) : m_decoder(name, QStringConverter::Flag::Stateless) {}
    bool isValid() const { return m_decoder.isValid(); }
    void decode(QByteArrayView bytes, QString &out) override { out.append(m_decoder.decode(bytes)); }

private:
    QStringDecoder m_decoder;
};

// Mac Icelandic is Mac Roman with six letters in the place of signs Icelandic has no use for.
class MacIcelandic final : public SystemCodePage
{
public:
    void decode(QByteArrayView bytes, QString &out) override
    {
        const qsizetype start = out.size();
        m_roman.decode(bytes, out);
        for (auto it = out.begin() + start; it != out.end(); ++it)
            *it = icelandic(*it);
    }

private:
    static QChar icelandic(QChar roman)
    {
        switch (roman.unicode()) {
        case 0x2020: return QChar(0x00DD); // Ý
        case 0x2039: return QChar(0x00D0); // Ð
        case 0x203A: return QChar(0x00F0); // ð
        case 0xFB01: return QChar(0x00DE); // Þ
        case 0xFB02: return QChar(0x00FE); // þ
        case 0x2021: return QChar(0x00FD); // ý
        default: return roman;
        }
    }
    IcuCodePage m_roman{"macintosh"};
};

// Mac Japanese is Shift-JIS with a few signs of its own in single bytes Shift-JIS leaves out.
class MacJapanese final : public SystemCodePage
{
public:
    void decode(QByteArrayView bytes, QString &out) override
    {
        qsizetype start = 0;
        for (qsizetype at = 0; at < bytes.size(); ++at) {
            const auto byte = static_cast<unsigned char>(bytes[at]);
            if ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC)) {
                ++at; // a lead byte: its trail byte is part of the same letter
                continue;
            }
            const char16_t sign = macSign(byte);
            if (!sign)
                continue;
            m_shiftJis.decode(bytes.sliced(start, at - start), out);
            out.append(QChar(sign));
            start = at + 1;
        }
        m_shiftJis.decode(bytes.sliced(std::min(start, bytes.size())), out);
    }

private:
    static char16_t macSign(unsigned char byte)
    {
        switch (byte) {
        case 0xA0: return 0x00A0; // no-break space
        case 0xFD: return 0x00A9; // ©
        case 0xFE: return 0x2122; // ™
        case 0xFF: return 0x2026; // …
        default: return 0;
        }
    }
    IcuCodePage m_shiftJis{"Shift_JIS"};
};

} // namespace

std::unique_ptr<SystemCodePage> openSystemCodePage(int codePage)
{
    if (codePage == 10079)
        return std::make_unique<MacIcelandic>();
    if (codePage == 10001)
        return std::make_unique<MacJapanese>();
    const char *name = icuName(codePage);
    if (!name)
        return nullptr;
    auto decoder = std::make_unique<IcuCodePage>(name);
    if (!decoder->isValid())
        return nullptr;
    return decoder;
}

} // namespace rtf
