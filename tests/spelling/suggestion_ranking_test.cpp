// Suggestions for common typing slips, from the system's en_US dictionary, nearest slip first.
#include "tools/spelling/hunspell_engine.h"
#include "tools/spelling/suggestion_ranking.h"
#include <gtest/gtest.h>
#include <memory>

namespace {

struct Typo
{
    const char *typed;
    const char *meant;
};

class CommonTypo : public ::testing::TestWithParam<Typo>
{
protected:
    static void SetUpTestSuite()
    {
        if (const auto dictionary = findDictionary(QStringLiteral("en_US"), {QStringLiteral("/usr/share/hunspell")}))
            engine = std::make_unique<HunspellEngine>(*dictionary);
    }
    static void TearDownTestSuite() { engine.reset(); }
    inline static std::unique_ptr<HunspellEngine> engine;
};

TEST_P(CommonTypo, GetsTheMeantWordFirst)
{
    ASSERT_TRUE(engine) << "hunspell-en-us is not installed";
    const QStringList suggestions = engine->suggestions(QLatin1String(GetParam().typed));
    ASSERT_FALSE(suggestions.isEmpty());
    EXPECT_EQ(suggestions.first().toStdString(), GetParam().meant) << suggestions.join(QLatin1Char(' ')).toStdString();
}

// The first rows are where the dictionary's own first suggestion is another word.
INSTANTIATE_TEST_SUITE_P(
    Slips, CommonTypo,
    ::testing::Values(Typo{"Teh", "The"}, Typo{"Thsi", "This"}, Typo{"evry", "every"}, Typo{"Hte", "The"},
                      Typo{"nad", "and"}, Typo{"taht", "that"}, Typo{"frist", "first"}, Typo{"wierd", "weird"}, Typo{"wiht", "with"},
                      Typo{"teh", "the"}, Typo{"thsi", "this"}, Typo{"adn", "and"}, Typo{"hte", "the"},
                      Typo{"waht", "what"}, Typo{"wnat", "want"}, Typo{"jsut", "just"}, Typo{"konw", "know"},
                      Typo{"wrok", "work"}, Typo{"thier", "their"}, Typo{"recieve", "receive"},
                      Typo{"becuase", "because"}, Typo{"seperate", "separate"}, Typo{"definately", "definitely"},
                      Typo{"occured", "occurred"}, Typo{"untill", "until"}, Typo{"beleive", "believe"},
                      Typo{"begining", "beginning"}, Typo{"goverment", "government"}, Typo{"truely", "truly"},
                      Typo{"arund", "around"}, Typo{"lenght", "length"}, Typo{"peopel", "people"},
                      Typo{"yuor", "your"}, Typo{"whcih", "which"}, Typo{"thnig", "thing"}),
    [](const auto &info) { return std::string(info.param.typed); });

struct Distance
{
    const char *typed;
    const char *suggestion;
    double slips;
};

class TypingDistance : public ::testing::TestWithParam<Distance>
{
};

TEST_P(TypingDistance, CountsEachSlipAtItsWeight)
{
    EXPECT_DOUBLE_EQ(typingDistance(QLatin1String(GetParam().typed), QLatin1String(GetParam().suggestion)),
                     GetParam().slips);
}

INSTANTIATE_TEST_SUITE_P(
    Slips, TypingDistance,
    ::testing::Values(Distance{"teh", "the", 0.6}, Distance{"evry", "every", 0.8}, Distance{"evry", "very", 0.85}, Distance{"untill", "until", 0.8},
                      Distance{"thsi", "thai", 0.9}, Distance{"teh", "te", 1.0}, Distance{"cat", "cut", 1.0},
                      Distance{"nad", "NAD", 1.0}, Distance{"Hte", "The", 0.6}, Distance{"Teh", "the", 1.6},
                      Distance{"same", "same", 0.0}, Distance{"", "ab", 1.6}),
    [](const auto &info) { return std::string(info.param.typed) + "_" + info.param.suggestion; });

TEST(RankedByTypingDistance, KeepsTheEnginesOrderBetweenEquallyNearWords)
{
    EXPECT_EQ(rankedByTypingDistance(QStringLiteral("cat"), {"cut", "cot"}), (QStringList{"cut", "cot"}));
    EXPECT_EQ(rankedByTypingDistance(QStringLiteral("cat"), {"cot", "cut"}), (QStringList{"cot", "cut"}));
    EXPECT_EQ(rankedByTypingDistance(QStringLiteral("cat"), {"cut", "cot", "act"}), (QStringList{"act", "cut", "cot"}));
}

} // namespace
