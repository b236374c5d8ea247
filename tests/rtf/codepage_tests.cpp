#include "rtf_test_support.h"

using rtftest::readDump;

namespace {

struct CodePageCase
{
    const char *name;
    QByteArray rtf;
    const char *expected; // the paragraph's text
};

void PrintTo(const CodePageCase &c, std::ostream *os) { *os << c.name; }

class CodePages : public testing::TestWithParam<CodePageCase> {};

TEST_P(CodePages, DecodeHexBytesAndRawBytes)
{
    QTextDocument document;
    ASSERT_TRUE(rtf::read(GetParam().rtf, document));
    EXPECT_EQ(document.toPlainText(), QString::fromUtf8(GetParam().expected));
}

const CodePageCase cases[] = {
    {"ansicpg1251_cyrillic", R"({\rtf1\ansi\ansicpg1251 \'cf\'f0\'e8\'e2\'e5\'f2})", "Привет"},
    {"ansicpg1250_central_european", R"({\rtf1\ansi\ansicpg1250 \'9a\'e8\'f8})", "ščř"},
    {"ansicpg1253_greek", R"({\rtf1\ansi\ansicpg1253 \'e1\'e2\'e3})", "αβγ"},
    {"ansicpg1254_turkish", R"({\rtf1\ansi\ansicpg1254 \'fe\'f0})", "şğ"},
    {"ansicpg1255_hebrew", R"({\rtf1\ansi\ansicpg1255 \'f9\'ec})", "של"},
    {"ansicpg1256_arabic", R"({\rtf1\ansi\ansicpg1256 \'c7\'e1})", "ال"},
    {"ansicpg1257_baltic", R"({\rtf1\ansi\ansicpg1257 \'e0\'e8})", "ąč"},
    {"ansicpg1258_vietnamese", R"({\rtf1\ansi\ansicpg1258 \'e2\'f4})", "âô"},
    {"ansicpg874_thai", R"({\rtf1\ansi\ansicpg874 \'a1\'a2})", "กข"},
    {"ansicpg932_japanese_double_bytes", R"({\rtf1\ansi\ansicpg932 \'93\'fa\'96\'7b})", "日本"},
    {"ansicpg936_chinese_simplified", R"({\rtf1\ansi\ansicpg936 \'d6\'d0\'ce\'c4})", "中文"},
    {"ansicpg949_korean", R"({\rtf1\ansi\ansicpg949 \'c7\'d1})", "한"},
    {"ansicpg950_chinese_traditional", R"({\rtf1\ansi\ansicpg950 \'a4\'a4\'a4\'e5})", "中文"},
    {"raw_high_bytes_use_the_code_page", "{\\rtf1\\ansi\\ansicpg1251 \xcf\xf0\xe8}", "При"},
    {"font_charset_wins_over_the_document_code_page",
     R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0 Arial;}{\f1\fcharset204 Arial Cyr;}}\'e9{\f1\'e9}\'e9})", "éйé"},
    {"font_cpg_wins_too", R"({\rtf1\ansi{\fonttbl{\f0\cpg1253 Greek;}}\f0\'e1})", "α"},
    {"double_byte_font_in_a_western_document",
     R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0 Arial;}{\f1\fcharset128 MS Mincho;}}{\f1\'93\'fa}})", "日"},
    {"symbol_font_letters", R"({\rtf1\ansi{\fonttbl{\f0 Arial;}{\f1\fcharset2 Symbol;}}{\f1 abp\'b7}})", "αβπ•"},
    {"other_symbol_fonts_map_to_private_use",
     R"({\rtf1\ansi{\fonttbl{\f0 Arial;}{\f1\fcharset2 Wingdings;}}{\f1 J}})", "\uf04a"},
    {"mac_roman", R"({\rtf1\mac \'8e\'a5})", "é•"},
    {"pc_code_page_437", R"({\rtf1\pc \'82\'db})", "é█"},
    {"unknown_code_page_falls_back_to_cp1252", R"({\rtf1\ansi\ansicpg99999 \'e9})", "é"},
    {"unicode_needs_no_code_page", R"({\rtf1\ansi\ansicpg1251\uc1\u1046?})", "Ж"},
    {"mac_japanese_document", R"({\rtf1\mac\ansicpg10001 \'93\'fa\'96\'7b})", "日本"},
    {"mac_traditional_chinese_document", R"({\rtf1\mac\ansicpg10002 \'a4\'a4\'a4\'e5})", "中文"},
    {"mac_korean_document", R"({\rtf1\mac\ansicpg10003 \'c7\'d1})", "한"},
    {"mac_simplified_chinese_document", R"({\rtf1\mac\ansicpg10008 \'d6\'d0\'ce\'c4})", "中文"},
    {"mac_cyrillic_document", R"({\rtf1\mac\ansicpg10007 \'8f\'f0\'e8\'e2\'e5\'f2})", "Привет"},
    {"mac_greek_document", R"({\rtf1\mac\ansicpg10006 \'e1\'e2\'e7})", "αβγ"},
    {"mac_central_european_document", R"({\rtf1\mac\ansicpg10029 \'e4\'8b\'de})", "ščř"},
    {"mac_turkish_document", R"({\rtf1\mac\ansicpg10081 \'df\'db})", "şğ"},
    {"mac_font_charsets_in_a_western_document",
     R"({\rtf1\ansi{\fonttbl{\f0 Arial;}{\f1\fcharset77 Geneva;}{\f2\fcharset78 Osaka;}{\f3\fcharset79 Seoul;})"
     R"({\f4\fcharset80 Song;}{\f5\fcharset81 Apple LiSung;}{\f6\fcharset85 Athens;}{\f7\fcharset86 Ankara;})"
     R"({\f8\fcharset88 Praha;}{\f9\fcharset89 Moskva;}})"
     R"({\f1\'8e}{\f2\'93\'fa}{\f3\'c7\'d1}{\f4\'d6\'d0}{\f5\'a4\'e5}{\f6\'e1}{\f7\'df}{\f8\'e4}{\f9\'8f}})",
     "é日한中文αşšП"},
    {"mac_roman_fonts_of_a_mac_japanese_document",
     R"({\rtf1\mac\ansicpg10001{\fonttbl{\f0\fcharset78 Osaka;}{\f1\fcharset77 Times;}}\f0\'93\'fa{\f1 caf\'8e}})", "日café"},
    {"mac_japanese_signs_in_single_bytes", R"({\rtf1\mac\ansicpg10001 \'93\'fa\'fd\'fe\'ff\'88\'a0})", "日©™…唖"},
    {"mac_icelandic_document", R"({\rtf1\mac\ansicpg10079 \'a0\'dc\'dd\'de\'df\'e0\'8e})", "ÝÐðÞþýé"},
    {"mac_code_page_without_a_table_keeps_its_roman_letters", R"({\rtf1\mac\ansicpg10005 \'80\'83\'8a\'8e})", "ÄÉäé"},
    {"lead_byte_without_its_trail_byte_is_dropped", R"({\rtf1\ansi\ansicpg932 \'93\'fa\'93})", "日"},
    {"lead_byte_before_a_space_is_dropped", R"({\rtf1\ansi\ansicpg932 a\'81 b})", "a b"},
    {"font_names_decoded_by_their_charset_do_not_leak_into_text",
     R"({\rtf1\ansi{\fonttbl{\f0\fcharset128 \'82\'6c\'82\'72;}}x})", "x"},
};
INSTANTIATE_TEST_SUITE_P(Decoding, CodePages, testing::ValuesIn(cases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(CodePageFontNames, AreDecodedWithTheFontsCharset)
{
    EXPECT_EQ(readDump(R"({\rtf1\ansi{\fonttbl{\f0\fcharset128 \'82\'6c\'82\'72 \'96\'be\'92\'a9;}}x})", true),
              R"(P left | "x" 12pt f=ＭＳ 明朝)");
}

} // namespace
