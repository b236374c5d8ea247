// The version resource as Windows itself reads it back from the built program.
#include "editor/version.h"
#include "tests/document/document_fixture.h"
#include <vector>
#include <windows.h>

namespace {

// An entry of Velmo.exe's version resource: a string of its first language, or "#File"/"#Product"
// for the numbered versions Windows compares.
QString versionEntry(const QString &entry)
{
    const std::wstring program = QDir::toNativeSeparators(QStringLiteral(VELMO_EXE)).toStdWString();
    DWORD unused = 0;
    std::vector<char> block(GetFileVersionInfoSizeW(program.c_str(), &unused));
    if (block.empty() || !GetFileVersionInfoW(program.c_str(), 0, DWORD(block.size()), block.data()))
        return QStringLiteral("<no version resource>");
    void *value = nullptr;
    UINT bytes = 0;
    if (entry.startsWith(QLatin1Char('#'))) {
        if (!VerQueryValueW(block.data(), L"\\", &value, &bytes) || bytes < sizeof(VS_FIXEDFILEINFO))
            return QStringLiteral("<no numbers>");
        const auto *fixed = static_cast<const VS_FIXEDFILEINFO *>(value);
        const bool file = entry == u"#File";
        const DWORD high = file ? fixed->dwFileVersionMS : fixed->dwProductVersionMS;
        const DWORD low = file ? fixed->dwFileVersionLS : fixed->dwProductVersionLS;
        return QStringLiteral("%1.%2.%3.%4").arg(HIWORD(high)).arg(LOWORD(high)).arg(HIWORD(low)).arg(LOWORD(low));
    }
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &bytes) || bytes < 4)
        return QStringLiteral("<no language>");
    const auto *language = static_cast<const WORD *>(value);
    const QString key = QStringLiteral("\\StringFileInfo\\%1%2\\%3")
                            .arg(language[0], 4, 16, QLatin1Char('0'))
                            .arg(language[1], 4, 16, QLatin1Char('0'))
                            .arg(entry);
    if (!VerQueryValueW(block.data(), key.toStdWString().c_str(), &value, &bytes))
        return QStringLiteral("<missing>");
    return QString::fromWCharArray(static_cast<const wchar_t *>(value));
}

struct Entry
{
    const char *name;
    const char *expected;
};

class VersionResource : public testing::TestWithParam<Entry> {};

// Given the built Velmo.exe, when Windows reads its version resource, then each entry a person
// sees in the file's properties, and each number Windows compares, is Velmo's.
TEST_P(VersionResource, ShowsVelmosOwnEntry)
{
    EXPECT_EQ(versionEntry(QLatin1String(GetParam().name)), QLatin1String(GetParam().expected));
}

const Entry entries[] = {
    {"#File", velmo::Version},          {"#Product", velmo::Version},
    {"FileVersion", velmo::Version},    {"ProductVersion", velmo::Version},
    {"ProductName", velmo::ProductName}, {"InternalName", velmo::InternalName},
    {"OriginalFilename", "Velmo.exe"},  {"Comments", velmo::Comment},
};
INSTANTIATE_TEST_SUITE_P(Entries, VersionResource, testing::ValuesIn(entries), [](const auto &info) {
    return rowName(info.param.name[0] == '#' ? (std::string(info.param.name + 1) + "Numbers").c_str() : info.param.name);
});

} // namespace
