// Windows: the system's own code page tables, which hold every code page RTF names.
#include "rtf/system_codepages.h"
#include <bitset>
#include <windows.h>

namespace rtf {
namespace {

constexpr char16_t Substitute = 0x001A;

class WindowsCodePage final : public SystemCodePage
{
public:
    WindowsCodePage(UINT codePage, const CPINFO &info) : m_codePage(codePage)
    {
        for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i]; i += 2)
            for (unsigned byte = info.LeadByte[i]; byte <= info.LeadByte[i + 1]; ++byte)
                m_leadBytes.set(byte);
    }

    void decode(QByteArrayView bytes, QString &out) override
    {
        bytes = bytes.first(completeLength(bytes));
        if (bytes.isEmpty())
            return;
        if (!convert(bytes, MB_ERR_INVALID_CHARS, out))
            decodeEachCharacter(bytes, out);
    }

private:
    bool isLead(char byte) const { return m_leadBytes.test(static_cast<unsigned char>(byte)); }

    // The bytes up to a lead byte that has lost its trail byte.
    qsizetype completeLength(QByteArrayView bytes) const
    {
        if (m_leadBytes.none())
            return bytes.size();
        qsizetype at = 0;
        while (at < bytes.size())
            at += isLead(bytes[at]) ? 2 : 1;
        return at > bytes.size() ? bytes.size() - 1 : bytes.size();
    }

    bool convert(QByteArrayView bytes, DWORD flags, QString &out) const
    {
        const int length = MultiByteToWideChar(m_codePage, flags, bytes.data(), int(bytes.size()), nullptr, 0);
        if (length <= 0)
            return false;
        const qsizetype start = out.size();
        out.resize(start + length);
        MultiByteToWideChar(m_codePage, flags, bytes.data(), int(bytes.size()),
                            reinterpret_cast<wchar_t *>(out.data() + start), length);
        return true;
    }

    // Something did not decode: each character alone, as ICU substitutes.
    void decodeEachCharacter(QByteArrayView bytes, QString &out) const
    {
        for (qsizetype at = 0; at < bytes.size();) {
            qsizetype length = isLead(bytes[at]) ? 2 : 1;
            QByteArrayView character = bytes.sliced(at, length);
            if (convert(character, MB_ERR_INVALID_CHARS, out)) {
                at += length;
                continue;
            }
            // A code page that takes no error flag at all.
            if (GetLastError() == ERROR_INVALID_FLAGS && convert(character, 0, out)) {
                at += length;
                continue;
            }
            out.append(QChar(Substitute));
            // A trail byte outside the trail range starts a character of its own.
            at += length == 2 && static_cast<unsigned char>(bytes[at + 1]) < 0x40 ? 1 : length;
        }
    }

    UINT m_codePage;
    std::bitset<256> m_leadBytes;
};

// The pseudo code pages (the system's current ones) would make a file read differently
// on each machine; the symbol code page and UTF-8 are read by the caller.
bool isFixedCodePage(int codePage)
{
    return codePage > CP_THREAD_ACP && codePage != CP_SYMBOL && codePage != CP_UTF8;
}

} // namespace

std::unique_ptr<SystemCodePage> openSystemCodePage(int codePage)
{
    CPINFO info{};
    if (!isFixedCodePage(codePage) || !IsValidCodePage(UINT(codePage)) || !GetCPInfo(UINT(codePage), &info))
        return nullptr;
    return std::make_unique<WindowsCodePage>(UINT(codePage), info);
}

} // namespace rtf
