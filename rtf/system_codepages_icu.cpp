// Linux: ICU's tables through Qt, by the names ICU knows the code pages by.
#include "rtf/system_codepages.h"
#include <QStringDecoder>

namespace rtf {
namespace {

// ICU has no table for Mac Arabic (10004), Hebrew (10005), Thai (10021) and
// Icelandic (10079); Mac Japanese, Chinese and Korean are read as the
// standards their tables extend.
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
    case 10001: return "Shift_JIS";
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

} // namespace

std::unique_ptr<SystemCodePage> openSystemCodePage(int codePage)
{
    const char *name = icuName(codePage);
    if (!name)
        return nullptr;
    auto decoder = std::make_unique<IcuCodePage>(name);
    if (!decoder->isValid())
        return nullptr;
    return decoder;
}

} // namespace rtf
