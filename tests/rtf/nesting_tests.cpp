// Groups: how deep they may go, what \* skips, and which destinations never show.
#include "rtf_test_support.h"

using rtftest::readDump;
using rtftest::withHeader;

namespace {

struct GroupCase
{
    const char *name;
    QByteArray body; // inside the shared header
    const char *expected;
};

void PrintTo(const GroupCase &c, std::ostream *os) { *os << c.name; }

class Groups : public testing::TestWithParam<GroupCase> {};

TEST_P(Groups, ReadAsExpected)
{
    EXPECT_EQ(readDump(withHeader(GetParam().body)), QString::fromUtf8(GetParam().expected));
}

const GroupCase starCases[] = {
    {"star_in_the_middle_of_a_group_keeps_its_text",
     R"({\loch\f2\hich\f2\*\cs7 The quick brown fox})", R"(P left | "The quick brown fox" 12pt)"},
    {"star_mid_group_before_a_known_word_applies_it", R"({\f1\*\b bold} plain)",
     R"(P left | "bold" b 12pt | " plain" 12pt)"},
    {"star_before_an_unknown_first_word_skips_the_group", R"(a{\*\foo hidden {\b deeper}}b)",
     R"(P left | "ab" 12pt)"},
    {"star_before_a_known_destination_reads_it", R"(a{\*\fldinst PAGE}{\*\listtext 1.}b)",
     R"(P left | "a" 12pt | "1." 12pt | "b" 12pt)"},
    {"star_marks_only_the_next_word", R"({\b\*\cs7\*\zzz x\i y})", R"(P left | "x" b 12pt | "y" b i 12pt)"},
};
INSTANTIATE_TEST_SUITE_P(Star, Groups, testing::ValuesIn(starCases),
                         [](const auto &info) { return std::string(info.param.name); });

// What a word processor writes for its own bookkeeping never reaches the text.
const GroupCase bookkeepingCases[] = {
    {"list_table_and_its_names",
     R"({\*\listtable{\list\listtemplateid-1\listsimple{\listlevel\levelnfc23{\leveltext\'01\u-3913 ?;}{\levelnumbers;}\fi-360\li720}{\listname List1382206859_1;}\listid1382206859}})"
     R"({\*\listoverridetable{\listoverride\listid1382206859\listoverridecount0\ls1}}x)",
     R"(P left | "x" 12pt)"},
    {"list_groups_outside_a_list_table", R"({\list{\listname Orphan;}{\listlevel{\leveltext ab;}}}x)",
     R"(P left | "x" 12pt)"},
    {"list_picture", R"({\*\listpicture{\pict\pngblip 89504e47}}x)", R"(P left | "x" 12pt)"},
    {"revision_and_generator_tables",
     R"({\*\rsidtbl \rsid123\rsid456}{\*\generator Writer 1.0;}{\*\xmlnstbl {\xmlns1 http://x}}x)",
     R"(P left | "x" 12pt)"},
    {"theme_and_latent_styles",
     R"({\*\themedata 504b0304}{\*\colorschememapping 3c3f786d}{\*\latentstyles\lsdstimax376{\lsdlockedexcept Normal;}})"
     R"({\*\datastore 0105000002000000}x)",
     R"(P left | "x" 12pt)"},
    {"page_description_table", R"({\*\pgdsctbl{\pgdsc0\pgdscuse195\pgwsxn12240{\*\pgdscnm Default Style;}}}x)",
     R"(P left | "x" 12pt)"},
    {"old_numbering_levels", R"({\*\pnseclvl1\pnucrm\pnstart1{\pntxta .}}{\pnseclvl2{\pntxtb (}}x)",
     R"(P left | "x" 12pt)"},
    {"labels_for_readers_without_lists_stay",
     R"({\listtext\pard\plain\f1 \'b7\tab}x\par {\pntext 1.\tab}y)",
     "P left | \"·\t\" 12pt | \"x\" 12pt\nP left | \"1.\t\" 12pt | \"y\" 12pt"},
};
INSTANTIATE_TEST_SUITE_P(Bookkeeping, Groups, testing::ValuesIn(bookkeepingCases),
                         [](const auto &info) { return std::string(info.param.name); });

// An Outlook message nests its groups more than 2,700 deep around ordinary text.
TEST(DeepNesting, AMessageNestedPastTheCapReadsToTheEnd)
{
    const int depth = 2714;
    QByteArray body = "start ";
    for (int level = 0; level < depth; ++level)
        body += level % 3 == 0 ? "{\\f0 " : "{";
    body += "{\\b deep}\\par after";
    for (int level = 0; level < depth; ++level)
        body += "}";
    body += " end";
    // Past the cap the bold of the innermost group stays on until the
    // nesting comes back below the cap.
    EXPECT_EQ(readDump(withHeader(body)),
              "P left | \"start \" 12pt | \"deep\" b 12pt\nP left | \"after\" b 12pt | \" end\" 12pt");
}

TEST(DeepNesting, DestinationsPastTheCapDoNotLeakIntoTheParent)
{
    rtf::ReadLimits limits;
    limits.maxGroupDepth = 3;
    QTextDocument document;
    ASSERT_TRUE(rtf::read(R"({\rtf1{{a{{\*\foo hidden}b{\fonttbl{\f0 X;}}c{\fldrslt d}}e}}})", document, limits));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("abcde"));
}

} // namespace
