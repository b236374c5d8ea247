// \uN surrogates: a pair joins into one character, a half left alone is U+FFFD
// in its own place.
#include "rtf_test_support.h"

using rtftest::withHeader;

namespace {

QString readText(const QByteArray &body)
{
    QTextDocument document;
    EXPECT_TRUE(rtf::read(withHeader(body), document));
    return document.toPlainText();
}

struct SurrogateCase
{
    const char *name;
    QByteArray body;
    const char16_t *expected;
};

void PrintTo(const SurrogateCase &c, std::ostream *os) { *os << c.name; }

class Surrogates : public testing::TestWithParam<SurrogateCase> {};

TEST_P(Surrogates, PairOnlyWhenAdjacent)
{
    EXPECT_EQ(readText(GetParam().body), QString::fromUtf16(GetParam().expected));
}

const SurrogateCase surrogateCases[] = {
    {"a_pair_is_one_supplementary_character", R"(\u-10179?\u-8704?)", u"\U0001F600"},
    {"a_pair_with_no_fallback", R"(\uc0\u55357\u56832 x)", u"\U0001F600x"},
    {"halves_separated_by_text_do_not_pair", R"([\u55296?][\u56319?][\u56320?])",
     u"[\uFFFD][\uFFFD][\uFFFD]"},
    {"two_highs_then_a_low_pair_the_second", R"(\u55357?\u55357?\u56832?)", u"\uFFFD\U0001F600"},
    {"a_high_before_a_paragraph_end_stays_in_its_paragraph", R"(a\u55357?\par b)", u"a\uFFFD\nb"},
    {"a_high_before_a_group_end_keeps_its_place", R"({a\u55357?}b)", u"a\uFFFDb"},
    {"a_high_before_a_named_character", R"(\u55357?\emdash)", u"\uFFFD\u2014"},
    {"a_high_at_the_end_of_the_document", R"(a\u55357?)", u"a\uFFFD"},
};
INSTANTIATE_TEST_SUITE_P(Unicode, Surrogates, testing::ValuesIn(surrogateCases),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
