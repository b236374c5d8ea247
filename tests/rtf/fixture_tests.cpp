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
    {"outlook_html_paragraphs.rtf", "P justify | \"This first paragraph of the mail is justified: its words spread to both edges of the line once the line is full, as the author set it in the mail program before sending it to everyone on the list.\" 11pt f=\"Calibri\"\n"
     "P center | \"A centred line\" 11pt f=\"Calibri\"\nP left | \"A plain paragraph after them.\" 11pt f=\"Calibri\"\n"
     "P right | \"Right in a group\" 12pt f=Arial\nP left | \"Left again\" 12pt f=Arial\nP left"},
    {"right_to_left.rtf", "P left | \"An English paragraph, left to right.\" 12pt f=Times New Roman\n"
     "P right rtl | \"שלום עולם\" 12pt f=Arial\nP left rtl | \"שלום עולם, זו פסקה ראשונה.\" 12pt f=Arial\n"
     "P left rtl ri=96 | \"פסקה עם הזחה בהתחלה.\" 12pt f=Arial\n"
     "P left rtl fi=48 | \"مرحبا بالعالم مرحبا بالعالم مرحبا بالعالم مرحبا بالعالم مرحبا بالعالم\" 12pt f=Arial\n"
     "P center rtl | \"מרכז\" 12pt f=Arial\nP left li=48 | \"Back to English, indented.\" 12pt f=Times New Roman\nP left li=48"},
    {"hidden_and_raised.rtf", "P left | \"Visible \" 12pt f=Times New Roman | \"t\" 12pt f=Times New Roman | \"ext, and water is H\" 12pt f=Times New Roman | "
     "\"2\" sub 12pt f=Times New Roman | \"O; E = mc\" 12pt f=Times New Roman | \"2\" sup 12pt f=Times New Roman | \".\" 12pt f=Times New Roman\n"
     "P left | \"Raised \" 12pt f=Times New Roman | \"up\" raised=25% 12pt f=Times New Roman | \" and lowered \" 12pt f=Times New Roman | "
     "\"down\" raised=-25% 12pt f=Times New Roman | \" text\" 12pt f=Times New Roman | \".\" 12pt f=Times New Roman\n"
     "P left\nP left | \"The last line.\" 12pt f=Times New Roman\nP left"},
    {"shapes.rtf", "P left | \"A rectangle \" 12pt f=Times New Roman | [img 96x48] | \" and an ellipse \" 12pt f=Times New Roman | [img 72x48] | "
     "\" in a line.\" 12pt f=Times New Roman\n"
     "P left | \"A rounded box \" 12pt f=Times New Roman | [img 96x60] | \", a line \" 12pt f=Times New Roman | [img 96x24] | "
     "\" and an empty one \" 12pt f=Times New Roman | [img 48x48] | \".\" 12pt f=Times New Roman\n"
     "P left | \"Before the text box.\" 12pt f=Times New Roman\n"
     "cell 0,0 borders=tlbr P left | \"Text in a box\" 12pt f=Times New Roman\ncell 0,0 borders=tlbr P left | \"Its second line\" 12pt f=Times New Roman\n"
     "P left | \"After the box.\" 12pt f=Times New Roman\n"
     "P left | \"A picture frame: \" 12pt f=Times New Roman | [img 80x60] | \" once.\" 12pt f=Times New Roman\n"
     "P left | \"First heading\" b 12pt f=Times New Roman\nP left | \"Second heading\" b 12pt f=Times New Roman\n"
     "cell 0,0 borders=tlbr P left | \"Boxed One\" b 12pt f=Times New Roman\nP left\n"
     "cell 0,0 borders=tlbr P left | \"Boxed Two\" b 12pt f=Times New Roman\n"
     "P left | \"The end.\" 12pt f=Times New Roman\nP left"},
};
INSTANTIATE_TEST_SUITE_P(OtherWriters, Fixtures, testing::ValuesIn(cases), [](const auto &info) {
    std::string name = info.param.file;
    return name.substr(0, name.find('.'));
});

} // namespace
