#include "rtf_test_support.h"

using rtftest::fixture;
using rtftest::readDump;

namespace {

struct FixtureCase
{
    const char *file;
    const char *expected;
};

void PrintTo(const FixtureCase &c, std::ostream *os) { *os << c.file; }

class Fixtures : public testing::TestWithParam<FixtureCase> {};

// Given a file as another program writes it, when read, then the dump matches;
// written and read again, it still matches.
TEST_P(Fixtures, ReadAndSurviveARoundTrip)
{
    const QByteArray rtf = fixture(QString::fromLatin1(GetParam().file));
    const QString expected = QString::fromUtf8(GetParam().expected);
    EXPECT_EQ(readDump(rtf, true), expected);
    QTextDocument document;
    ASSERT_TRUE(rtf::read(rtf, document));
    EXPECT_EQ(readDump(rtf::write(document), true), expected);
}

const FixtureCase cases[] = {
    {"word_shppict.rtf",
     "P center sa=10.6667 lh=proportional:107.917 | \"Hello\" b 11pt #ff0000 f=Calibri | \" picture \" 11pt f=Calibri | [img 6x4] | "
     "\"été “done”\" 11pt f=Calibri\nP center sa=10.6667 lh=proportional:107.917"},
    {"wordpad_1251.rtf",
     "P left sa=13.3333 lh=proportional:115 | \"café \" 11pt f=Calibri | \"Привет, \" 11pt f=Calibri | \"мир\" b 11pt #004dbb f=Calibri | \"!\" 11pt f=Calibri\n"
     "P right | \"До свидания\" 11pt f=Calibri\nP right"},
    {"uc2_japanese.rtf", "P left | \"日本語\" 12pt f=ＭＳ 明朝 | \": Japanese\" 12pt f=Arial\nP left | \"あいい\" 12pt f=ＭＳ 明朝\nP left"},
    {"mac_japanese.rtf", "P left | \"日本語のテキスト\" 12pt f=平成明朝 | \": café\" 12pt f=Times\n"
                         "P left | \"Mac “quotes” \" 12pt f=Helvetica | \"漢字\" 12pt f=平成明朝\nP left"},
    {"fields.rtf",
     "P left | \"Visit \" 12pt f=Arial | \"example.org\" u 12pt #0563c1 link=https://example.org/ f=Arial | \" now.\" 12pt f=Arial\n"
     "P left | \"Page \" 12pt f=Arial | \"1\" 12pt f=Arial | \" of \" 12pt f=Arial | \"9\" 12pt f=Arial | \".\" 12pt f=Arial\nP left | \"new\" 12pt f=Arial\nP left | \"·\" 12pt f=Arial"},
};
INSTANTIATE_TEST_SUITE_P(OtherWriters, Fixtures, testing::ValuesIn(cases), [](const auto &info) {
    std::string name = info.param.file;
    return name.substr(0, name.find('.'));
});

} // namespace
