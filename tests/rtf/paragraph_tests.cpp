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

const ParagraphCase closedGroupCases[] = {
    {"a_group_that_wrote_the_text_gives_its_alignment", R"({\qc centred}\par)", "P center | \"centred\" 12pt\nP left"},
    {"text_after_the_group_keeps_the_group_look", R"(\qc {\qj one} two\par)",
     "P justify | \"one two\" 12pt\nP center"},
    {"the_next_paragraph_takes_its_own_group_look", R"({\li720 in}\par out\par)",
     "P left li=48 | \"in\" 12pt\nP left | \"out\" 12pt\nP left"},
    {"a_word_after_the_group_wins", R"({\qr right }\qc centred\par)",
     "P center | \"right centred\" 12pt\nP center"},
    {"a_group_without_text_gives_nothing", R"({\qc}plain\par)", "P left | \"plain\" 12pt\nP left"},
    {"a_list_label_s_group_keeps_its_look_to_itself", R"(\li720 {\listtext\pard\plain 1.\tab}Item\par)",
     "P left li=48 | \"1.\t\" 12pt | \"Item\" 12pt\nP left li=48"},
    {"nested_groups_pass_the_look_out", R"({\qr {\b bold}}\par)", "P right | \"bold\" b 12pt\nP left"},
};
INSTANTIATE_TEST_SUITE_P(GroupsClosedBeforePar, ParagraphLook, testing::ValuesIn(closedGroupCases),
                         [](const auto &info) { return std::string(info.param.name); });

// Alignment and indents name the paragraph's start and end; Qt's margins are the page's sides.
const ParagraphCase rightToLeftCases[] = {
    {"the_start_indent_is_on_the_right", R"(\rtlpar\li720 x)", R"(P left rtl ri=48 | "x" 12pt)"},
    {"logical_indents_win_over_the_plain_ones", R"(\rtlpar\li0\ri720\lin1440\rin360 x)",
     R"(P left rtl li=24 ri=96 | "x" 12pt)"},
    {"right_alignment_is_the_page_s_right", R"(\rtlpar\qr x)", R"(P right rtl | "x" 12pt)"},
    {"the_first_line_indent_stays_the_first_line_s", R"(\rtlpar\fi360 x)", R"(P left rtl fi=24 | "x" 12pt)"},
    {"pard_and_ltrpar_end_it", R"(\rtlpar a\par\pard b\par\rtlpar\ltrpar\lin720 c)",
     "P left rtl | \"a\" 12pt\nP left | \"b\" 12pt\nP left li=48 | \"c\" 12pt"},
    {"logical_indents_in_a_left_to_right_paragraph", R"(\li720\lin1440\rin360 x)",
     R"(P left li=96 ri=24 | "x" 12pt)"},
};
INSTANTIATE_TEST_SUITE_P(RightToLeft, ParagraphLook, testing::ValuesIn(rightToLeftCases),
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
