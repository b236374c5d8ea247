// Fields: HYPERLINK instructions as link targets, read and written back.
#include "rtf/field_instruction.h"
#include "rtf_test_support.h"

using rtftest::readDump;
using rtftest::withHeader;

namespace {

struct InstructionCase
{
    const char *name;
    const char *instruction;
    const char *target; // empty: not a link
};

void PrintTo(const InstructionCase &c, std::ostream *os) { *os << c.name; }

class HyperlinkInstructions : public testing::TestWithParam<InstructionCase> {};

TEST_P(HyperlinkInstructions, GiveTheTargetAndWriteItBack)
{
    const QString target = rtf::hyperlinkTarget(QString::fromUtf8(GetParam().instruction));
    EXPECT_EQ(target, QString::fromUtf8(GetParam().target));
    if (!target.isEmpty()) {
        EXPECT_EQ(rtf::hyperlinkTarget(rtf::hyperlinkInstruction(target)), target);
    }
}

const InstructionCase instructionCases[] = {
    {"quoted_url", R"(HYPERLINK "http://example.org/")", "http://example.org/"},
    {"bare_url_and_spaces", R"(  hyperlink   http://x.test/p  )", "http://x.test/p"},
    {"anchor_only", R"(HYPERLINK \l "_Toc123")", "#_Toc123"},
    {"url_with_anchor", R"(HYPERLINK "http://x/" \l "part")", "http://x/#part"},
    {"tooltip_and_target_are_not_the_url", R"(HYPERLINK \o "tip" \t "_blank" "http://x/")", "http://x/"},
    {"doubled_backslashes_in_quotes", R"(HYPERLINK "C:\\dir\\a b.doc")", R"(C:\dir\a b.doc)"},
    {"other_fields_are_not_links", R"(PAGE \* MERGEFORMAT)", ""},
    {"a_word_that_only_starts_like_it", R"(HYPERLINKS "http://x/")", ""},
    {"no_target", "HYPERLINK", ""},
};
INSTANTIATE_TEST_SUITE_P(Fields, HyperlinkInstructions, testing::ValuesIn(instructionCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Hyperlinks, AFileWithLinksReadsAndRoundTrips)
{
    const QString expected = QStringLiteral(
        "P left | \"See \" 12pt | \"the site\" u 12pt #0000ff link=http://example.com/a?b=c | \" and \" 12pt | "
        "\"plain \" 12pt link=#chapter2 | \"bold\" b 12pt link=#chapter2 | \" for more.\" 12pt\n"
        "P left | \"x\" 12pt link=file:///C:\\docs\\x.rtf#top\nP left");
    const QByteArray rtf = rtftest::fixture(QStringLiteral("hyperlinks.rtf"));
    EXPECT_EQ(readDump(rtf), expected) << "the result keeps its own look: no colour or underline added";
    QTextDocument document;
    ASSERT_TRUE(rtf::read(rtf, document));
    const QByteArray written = rtf::write(document);
    EXPECT_EQ(readDump(written), expected);
    EXPECT_EQ(written.count("\\field"), 3) << "one field per link, however many runs it has";
    EXPECT_TRUE(written.contains(R"({\*\fldinst HYPERLINK \\l "chapter2"})")) << written.toStdString();
}

TEST(Hyperlinks, AFieldInsideAnInstructionIsPartOfIt)
{
    EXPECT_EQ(readDump(withHeader(R"({\field{\*\fldinst IF {\field{\*\fldinst DATE}{\fldrslt 2024}} > 1 "y" "n"}{\fldrslt y}})")),
              R"(P left | "y" 12pt)");
    EXPECT_EQ(readDump(withHeader(R"({\field{\*\fldinst HYPERLINK "http://a/"}{\fldrslt {\field{\*\fldinst PAGE}{\fldrslt 3}}}})")),
              R"(P left | "3" 12pt link=http://a/)")
        << "a field inside a link's result stays inside the link";
}

TEST(Hyperlinks, TheLinkEndsWithTheResult)
{
    EXPECT_EQ(readDump(withHeader(R"({\field{\*\fldinst HYPERLINK "http://a/"}{\fldrslt a}}b\par c)")),
              "P left | \"a\" 12pt link=http://a/ | \"b\" 12pt\nP left | \"c\" 12pt");
}

} // namespace
