#include "rtf_test_support.h"
#include <QStringDecoder>
#include <QTextDocument>

using rtftest::readDump;
using rtftest::withHeader;

namespace {

struct ReaderCase
{
    const char *name;
    QByteArray body;     // inside the shared header
    const char *expected;
};

void PrintTo(const ReaderCase &c, std::ostream *os) { *os << c.name; }

class ReaderFeature : public testing::TestWithParam<ReaderCase> {};

TEST_P(ReaderFeature, ReadsAsExpected)
{
    EXPECT_EQ(readDump(withHeader(GetParam().body)), QString::fromUtf8(GetParam().expected));
}

const ReaderCase characterCases[] = {
    {"bold_italic_underline_toggle_on_and_off", R"(\b B\b0 \i I\i0 \ul U\ul0 N)",
     R"(P left | "B" b 12pt | "I" i 12pt | "U" u 12pt | "N" 12pt)"},
    {"ulnone_and_every_underline_kind_read_as_underline", R"(\ulw W\ulnone x\uldb D\uld d\ulwave w\ul0 n)",
     R"(P left | "W" u 12pt | "x" 12pt | "Ddw" u 12pt | "n" 12pt)"},
    {"underline_colour_is_not_an_underline", R"(\ulc1 plain)", R"(P left | "plain" 12pt)"},
    {"strike_and_double_strike", R"(\strike S\strike0 \striked1 D\striked0 n)",
     R"(P left | "SD" s 12pt | "n" 12pt)"},
    {"sizes_in_half_points", R"(\fs20 ten\fs21 half\fs0 back)",
     R"(P left | "ten" 10pt | "half" 10.5pt | "back" 12pt)"},
    {"colours_from_the_table_and_auto_entry", R"(\cf1 red\cf2 blue\cf0 auto\cf9 missing)",
     R"(P left | "red" 12pt #ff0000 | "blue" 12pt #0000ff | "automissing" 12pt)"},
    {"highlight_and_cb_are_backgrounds", R"(\highlight3 hl\highlight0 \cb1 cb)",
     R"(P left | "hl" 12pt bg#008000 | "cb" 12pt bg#ff0000)"},
    {"super_sub_and_nosupersub", R"(x\super 2\nosupersub y\sub i\nosupersub z)",
     R"(P left | "x" 12pt | "2" sup 12pt | "y" 12pt | "i" sub 12pt | "z" 12pt)"},
    {"plain_resets_character_formatting", R"(\b\i\ul\fs40\cf1 all\plain none)",
     R"(P left | "all" b i u 20pt #ff0000 | "none" 12pt)"},
    {"groups_restore_character_state", R"(a{\b b{\i c}d}e)",
     R"(P left | "a" 12pt | "b" b 12pt | "c" b i 12pt | "d" b 12pt | "e" 12pt)"},
};
INSTANTIATE_TEST_SUITE_P(Characters, ReaderFeature, testing::ValuesIn(characterCases),
                         [](const auto &info) { return std::string(info.param.name); });

const ReaderCase paragraphCases[] = {
    {"alignments", R"(\qc C\par\qr R\par\qj J\par\pard L)",
     "P center | \"C\" 12pt\nP right | \"R\" 12pt\nP justify | \"J\" 12pt\nP left | \"L\" 12pt"},
    {"pard_resets_paragraph_but_not_characters", R"(\qc\li720\b x\par\pard y)",
     "P center li=48 | \"x\" b 12pt\nP left | \"y\" b 12pt"},
    {"indents_and_spacing_in_twips", R"(\li1440\ri720\fi-360\sb240\sa120 t)",
     R"(P left li=96 ri=48 fi=-24 sb=16 sa=8 | "t" 12pt)"},
    {"paragraph_properties_set_late_still_apply", R"(text\qr\par)", "P right | \"text\" 12pt\nP right"},
    {"line_tab_and_page", R"(a\line b\tab c\page d\sect e)",
     "P left | \"a\\nb\tc\" 12pt\nP left pagebreak | \"d\" 12pt\nP left | \"e\" 12pt"},
    {"backslash_newline_is_a_paragraph", "a\\\nb", "P left | \"a\" 12pt\nP left | \"b\" 12pt"},
    {"raw_newlines_are_ignored", "a\nb\r\nc", R"(P left | "abc" 12pt)"},
};
INSTANTIATE_TEST_SUITE_P(Paragraphs, ReaderFeature, testing::ValuesIn(paragraphCases),
                         [](const auto &info) { return std::string(info.param.name); });

const ReaderCase characterCodeCases[] = {
    {"named_characters", R"(\emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote\~\-\_\{\}\\)",
     "P left | \"—–•‘’“”\u00a0\u00ad\u2011{}\\\" 12pt"},
    {"unicode_with_one_fallback_character", R"(caf\u233?s)", R"(P left | "cafés" 12pt)"},
    {"negative_unicode_values", R"(\u-3913?\u-26?)", "P left | \"\uf0b7\uffe6\" 12pt"},
    {"uc0_skips_nothing", R"(\uc0\u233 e)", R"(P left | "ée" 12pt)"},
    {"uc2_skips_two_hex_bytes", R"(\uc2\u26085\'93\'fa!)", R"(P left | "日!" 12pt)"},
    {"uc_skip_counts_a_control_word_as_one", R"(\uc2\u233\emdash x!)", R"(P left | "é!" 12pt)"},
    {"uc_skip_ends_at_a_brace", R"(\uc3\u233{x}y)", R"(P left | "éxy" 12pt)"},
    {"uc_is_scoped_to_its_group", R"({\uc0\u233}\u233xy)", R"(P left | "ééy" 12pt)"},
    {"surrogate_pairs_join", R"(\u-10179?\u-8704?)", "P left | \"\U0001F600\" 12pt"},
    {"lone_surrogate_becomes_replacement", R"(\u-8704?x)", "P left | \"\ufffdx\" 12pt"},
    {"hex_bytes_in_cp1252", R"(\'e9\'80\'93)", "P left | \"é€“\" 12pt"},
    {"nul_and_control_bytes_are_dropped", QByteArray("a\0b\\'01c", 9), R"(P left | "abc" 12pt)"},
};
INSTANTIATE_TEST_SUITE_P(CharacterCodes, ReaderFeature, testing::ValuesIn(characterCodeCases),
                         [](const auto &info) { return std::string(info.param.name); });

const ReaderCase destinationCases[] = {
    {"ignorable_unknown_destination_skipped", R"(a{\*\unknownthing {nested} text}b)", R"(P left | "ab" 12pt)"},
    {"stylesheet_info_and_generator_skipped",
     R"({\stylesheet{\s0 Normal;}}{\info{\title T}{\author A}}{\*\generator G;}x)", R"(P left | "x" 12pt)"},
    {"headers_and_footers_kept_out_notes_leave_their_marks",
     R"({\header H}{\footerf F}a{\super\chftn}{\footnote\pard N}{\*\atnid X}{\annotation A}b)",
     R"(P left | "a" 12pt | "￼" sup 12pt | "￼" 12pt | "b" 12pt)"},
    {"field_shows_its_result_not_its_instruction",
     R"({\field{\*\fldinst{ HYPERLINK "http://x"}}{\fldrslt{\ul link}}} end)",
     R"(P left | "link" u 12pt link=http://x | " end" 12pt)"},
    {"list_labels_stay_as_text", R"({\listtext\'b7\tab}item\par{\pntext 1.\tab}next)",
     "P left | \"·\t\" 12pt | \"item\" 12pt\nP left | \"1.\t\" 12pt | \"next\" 12pt"},
    {"object_shows_its_result_only",
     R"({\object\objemb{\*\objclass Paint}{\*\objdata 0102ff}{\result shown}}!)", R"(P left | "shown!" 12pt)"},
    {"bin_data_in_a_skipped_group_is_not_read_as_rtf", "{\\*\\blob\\bin4 }{\\}}x", R"(P left | "x" 12pt)"},
};
INSTANTIATE_TEST_SUITE_P(Destinations, ReaderFeature, testing::ValuesIn(destinationCases),
                         [](const auto &info) { return std::string(info.param.name); });

const ReaderCase tableCases[] = {
    {"table_cells_in_reading_order",
     R"(\trowd\cellx1000\cellx2000\pard\intbl A\cell B\cell\row\trowd\cellx1000\cellx2000\pard\intbl C\cell\cell\row\pard after)",
     "P left\ncell 0,0 P left | \"A\" 12pt\ncell 0,1 P left | \"B\" 12pt\n"
     "cell 1,0 P left | \"C\" 12pt\ncell 1,1 P left\nP left | \"after\" 12pt"},
    {"table_after_a_paragraph_keeps_no_empty_paragraph",
     R"(before\par\trowd\cellx1000\pard\intbl A\cell\row\pard after)",
     "P left | \"before\" 12pt\ncell 0,0 P left | \"A\" 12pt\nP left | \"after\" 12pt"},
    {"more_cells_than_boundaries_add_columns", R"(\trowd\cellx1000\pard\intbl A\cell B\cell\row)",
     "P left\ncell 0,0 P left | \"A\" 12pt\ncell 0,1 P left | \"B\" 12pt\nP left"},
    {"nested_cells_make_a_table_inside_the_cell",
     R"(\pard\intbl\itap2 X\nestcell Y\nestcell\nestrow\itap1 Z\cell\row)",
     "P left\ncell 0,0 P left\ncell 0,0 > cell 0,0 P left | \"X\" 12pt\ncell 0,0 > cell 0,1 P left | \"Y\" 12pt\n"
     "cell 0,0 P left | \"Z\" 12pt\nP left"},
};
INSTANTIATE_TEST_SUITE_P(Tables, ReaderFeature, testing::ValuesIn(tableCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(ReaderDocument, TextAfterTheDocumentGroupIsIgnored)
{
    EXPECT_EQ(readDump(R"({\rtf1 in}out{\b more})"), R"(P left | "in" 12pt)");
    EXPECT_EQ(readDump(R"({\rtf1 in}{\b more})"), R"(P left | "in" 12pt)");
}

TEST(ReaderFonts, RunsTakeTheirFontFromTheTableAndTheDefault)
{
    EXPECT_EQ(readDump(withHeader(R"(a\f1 b\plain c)"), true),
              R"(P left | "a" 12pt f=Arial | "b" 12pt f=Times New Roman | "c" 12pt f=Arial)");
}

TEST(ReaderFonts, FontTableWithoutInnerGroupsAndOddEntries)
{
    const QByteArray rtf = R"({\rtf1\deff1{\fonttbl\f0\fnil Courier;\f1\fswiss{\*\panose 020b}Helvetica;}x})";
    EXPECT_EQ(readDump(rtf, true), R"(P left | "x" 12pt f=Helvetica)");
}

TEST(ReaderPlainText, BytesWithoutTheRtfSignatureOpenAsText)
{
    EXPECT_EQ(readDump("caf\xc3\xa9\nline two"), "P left | \"café\"\nP left | \"line two\"");
    EXPECT_EQ(readDump(""), "P left");
}

TEST(ReaderPlainText, InvalidUtf8FallsBackToTheLocaleEncoding)
{
    QTextDocument document;
    ASSERT_TRUE(rtf::read("caf\xe9", document));
    EXPECT_EQ(document.toPlainText(), QStringDecoder(QStringConverter::System).decode(QByteArray("caf\xe9")));
}

TEST(ReaderDocument, ReplacesWhatTheDocumentHeld)
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("old"));
    ASSERT_TRUE(rtf::read(withHeader("new"), document));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("new"));
}

} // namespace
