// Paragraph line spacing (\sl, \slmult) and tab stops (\tx and their kinds and leaders).
#include "rtf_test_support.h"
#include <QTextBlock>

using rtftest::readDump;
using rtftest::withHeader;

namespace {

struct ParagraphCase
{
    const char *name;
    QByteArray body; // inside the shared header
    const char *expected;
};

void PrintTo(const ParagraphCase &c, std::ostream *os) { *os << c.name; }

class ParagraphLook : public testing::TestWithParam<ParagraphCase> {};

// Given a paragraph's words, when read, then written and read again, the look is the same.
TEST_P(ParagraphLook, ReadsAndRoundTrips)
{
    const QString expected = QString::fromUtf8(GetParam().expected);
    EXPECT_EQ(readDump(withHeader(GetParam().body)), expected);
    QTextDocument document;
    ASSERT_TRUE(rtf::read(withHeader(GetParam().body), document));
    EXPECT_EQ(readDump(rtf::write(document)), expected);
}

const ParagraphCase spacingCases[] = {
    {"multiple_spacing_is_proportional", R"(\sl480\slmult1 x)", R"(P left lh=proportional:200 | "x" 12pt)"},
    {"negative_spacing_is_exact", R"(\sl-360\slmult0 x)", R"(P left lh=exact:24 | "x" 12pt)"},
    {"negative_spacing_is_exact_even_when_multiple", R"(\sl-360\slmult1 x)", R"(P left lh=exact:24 | "x" 12pt)"},
    {"positive_spacing_is_at_least", R"(\sl300 x)", R"(P left lh=atleast:20 | "x" 12pt)"},
    {"single_multiple_and_zero_are_single", R"(\sl240\slmult1 a\par\sl0 b)", "P left | \"a\" 12pt\nP left | \"b\" 12pt"},
    {"pard_resets_spacing", R"(\sl-360 a\par\pard b)", "P left lh=exact:24 | \"a\" 12pt\nP left | \"b\" 12pt"},
    {"spacing_is_clamped", R"(\sl-999999999 x)", R"(P left lh=exact:2112 | "x" 12pt)"},
};
INSTANTIATE_TEST_SUITE_P(LineSpacing, ParagraphLook, testing::ValuesIn(spacingCases),
                         [](const auto &info) { return std::string(info.param.name); });

const ParagraphCase tabCases[] = {
    {"left_tabs_in_order", R"(\tx720\tx1440 a\tab b)", "P left tabs=48,96 | \"a\tb\" 12pt"},
    {"kinds_apply_to_the_next_stop_only", R"(\tqr\tx1500\tx3000\tqc\tx4500\tqdec\tx6000 x)",
     R"(P left tabs=100r,200,300c,400d. | "x" 12pt)"},
    {"leaders_are_kept", R"(\tldot\tqr\tx7200\tlhyph\tx150\tlul\tx300\tlth\tx450\tleq\tx600\tlmdot\tx750 x)",
     R"(P left tabs=480r~.,10~-,20~_,30~t,40~=,50~m | "x" 12pt)"},
    {"bar_tabs_are_dropped_with_their_kind", R"(\tqr\tb720\tx1440 x)", R"(P left tabs=96 | "x" 12pt)"},
    {"pard_clears_the_stops", R"(\tx720 a\par\pard b)", "P left tabs=48 | \"a\" 12pt\nP left | \"b\" 12pt"},
    {"groups_restore_the_stops", R"({\tx720 a\par} b)", "P left tabs=48 | \"a\" 12pt\nP left | \" b\" 12pt"},
    {"negative_positions_are_clamped", R"(\tx-5 x)", R"(P left tabs=0 | "x" 12pt)"},
};
INSTANTIATE_TEST_SUITE_P(TabStops, ParagraphLook, testing::ValuesIn(tabCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ParagraphLook, AFileWithSpacingAndTabs)
{
    const QByteArray rtf = rtftest::fixture(QStringLiteral("spacing_and_tabs.rtf"));
    const QString expected = QStringLiteral(
        "P left lh=proportional:150 | \"One and a half lines.\" 12pt\n"
        "P left lh=exact:32 | \"Exactly 24 points.\" 12pt\n"
        "P left lh=atleast:20 | \"At least 15 points.\" 12pt\n"
        "P left tabs=96,480r~.,288c,384d. | \"Name\tLeft\tCentre\t3.14\t12\" 12pt\n"
        "P left | \"Nothing set.\" 12pt\nP left");
    EXPECT_EQ(readDump(rtf), expected);
    QTextDocument document;
    ASSERT_TRUE(rtf::read(rtf, document));
    EXPECT_EQ(readDump(rtf::write(document)), expected);
}

TEST(ParagraphLook, ManyTabStopsAreBounded)
{
    QTextDocument document;
    ASSERT_TRUE(rtf::read(withHeader(QByteArray("\tx10").repeated(100000) + " x"), document));
    EXPECT_LE(document.begin().blockFormat().tabPositions().size(), 64);
}

} // namespace
