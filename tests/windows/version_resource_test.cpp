// The version resource as Windows itself reads it back from the built program.
#include "editor/version.h"
#include <QDir>
#include <QString>
#include <gtest/gtest.h>
#include <vector>
#include <windows.h>

namespace {

std::vector<char> versionBlock(const QString &program)
{
    const std::wstring path = QDir::toNativeSeparators(program).toStdWString();
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &unused);
    std::vector<char> block(size);
    if (size == 0 || !GetFileVersionInfoW(path.c_str(), 0, size, block.data()))
        return {};
    return block;
}

// A string of the first language the resource lists.
QString stringValue(std::vector<char> &block, const char *name)
{
    struct Translation
    {
        WORD language, codePage;
    } *translation = nullptr;
    UINT bytes = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void **>(&translation), &bytes)
        || bytes < sizeof(Translation))
        return QStringLiteral("<no translation>");
    const QString key = QStringLiteral("\\StringFileInfo\\%1%2\\%3")
                            .arg(translation->language, 4, 16, QLatin1Char('0'))
                            .arg(translation->codePage, 4, 16, QLatin1Char('0'))
                            .arg(QLatin1String(name));
    wchar_t *value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), key.toStdWString().c_str(), reinterpret_cast<void **>(&value), &length))
        return QStringLiteral("<missing>");
    return QString::fromWCharArray(value);
}

QString dotted(DWORD high, DWORD low)
{
    return QStringLiteral("%1.%2.%3.%4").arg(HIWORD(high)).arg(LOWORD(high)).arg(HIWORD(low)).arg(LOWORD(low));
}

struct Entry
{
    const char *name;
    QString expected;
};

void PrintTo(const Entry &e, std::ostream *os) { *os << e.name; }

class VersionResource : public testing::TestWithParam<Entry> {};

// Given the built Velmo.exe, when Windows reads its version resource, then each
// entry a person sees in the file's properties is Velmo's.
TEST_P(VersionResource, ShowsVelmosOwnEntry)
{
    std::vector<char> block = versionBlock(QStringLiteral(VELMO_EXE));
    ASSERT_FALSE(block.empty()) << "no version resource in " << VELMO_EXE;
    EXPECT_EQ(stringValue(block, GetParam().name), GetParam().expected);
}

const Entry entries[] = {
    {"FileVersion", QLatin1String(velmo::Version)},
    {"ProductVersion", QLatin1String(velmo::Version)},
    {"ProductName", QLatin1String(velmo::ProductName)},
    {"InternalName", QLatin1String(velmo::InternalName)},
    {"OriginalFilename", QStringLiteral("Velmo.exe")},
    {"Comments", QLatin1String(velmo::Comment)},
};
INSTANTIATE_TEST_SUITE_P(Entries, VersionResource, testing::ValuesIn(entries),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(VersionResource, HasTheNumberedVersionsWindowsCompares)
{
    std::vector<char> block = versionBlock(QStringLiteral(VELMO_EXE));
    ASSERT_FALSE(block.empty());
    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT bytes = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void **>(&fixed), &bytes));
    ASSERT_GE(bytes, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(dotted(fixed->dwFileVersionMS, fixed->dwFileVersionLS), QLatin1String(velmo::Version));
    EXPECT_EQ(dotted(fixed->dwProductVersionMS, fixed->dwProductVersionLS), QLatin1String(velmo::Version));
}

} // namespace
