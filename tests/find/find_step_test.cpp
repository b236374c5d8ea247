#include "tests/find/find_fixture.h"

namespace {

struct SteppingCase
{
    const char *name;
    QString document;
    QString search;
    std::vector<int> positions; // selected by the steps before the end-of-pass message
    QString endMessage;
};

void PrintTo(const SteppingCase &c, std::ostream *os) { *os << c.name; }

struct Stepping : FindFixture, ::testing::WithParamInterface<SteppingCase>
{
};

TEST_P(Stepping, SelectsEachOccurrenceThenEndsThePassAtTheTop)
{
    const SteppingCase &c = GetParam();
    editor.SetText(c.document);
    for (int expected : c.positions) {
        step(c.search);
        EXPECT_EQ(editor.SelStart(), expected);
        EXPECT_EQ(editor.SelLength(), c.search.size());
        EXPECT_EQ(bar.NextStart, expected + 1);
        EXPECT_TRUE(bar.FoundAny);
        EXPECT_TRUE(messages.shown.empty());
    }
    step(c.search);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].prompt, c.endMessage);
    EXPECT_EQ(messages.shown[0].title, "Velmo");
    EXPECT_EQ(messages.shown[0].buttons, vb::vbOKOnly);
    EXPECT_EQ(editor.SelStart(), 0);
    EXPECT_EQ(editor.SelLength(), 0);
    EXPECT_EQ(bar.NextStart, 0);
    EXPECT_FALSE(bar.FoundAny);
}

INSTANTIATE_TEST_SUITE_P(
    FindT, Stepping,
    ::testing::Values(SteppingCase{"case_is_ignored", "abc ABC abc", "abc", {0, 4, 8}, "Found All!"},
                      SteppingCase{"overlapping_occurrences_are_each_found", "aaaa", "aa", {0, 1, 2}, "Found All!"},
                      SteppingCase{"an_occurrence_inside_a_word_is_found", "concatenate", "cat", {3}, "Found All!"},
                      SteppingCase{"a_missing_text_finds_none", "hello world", "xyz", {}, "Found none!"},
                      SteppingCase{"an_empty_text_finds_none", "hello world", "", {}, "Found none!"},
                      SteppingCase{"an_empty_document_finds_none", "", "abc", {}, "Found none!"},
                      SteppingCase{"a_match_on_a_later_line_counts_the_line_break", "one\ntwo two", "TWO", {4, 8},
                                   "Found All!"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(FindFixture, TheStepAfterTheEndOfPassStartsAgainFromTheTop)
{
    editor.SetText(QStringLiteral("abc ABC abc"));
    for (int i = 0; i < 4; ++i)
        step(QStringLiteral("abc"));
    step(QStringLiteral("abc"));
    EXPECT_EQ(editor.SelStart(), 0);
    EXPECT_EQ(editor.SelLength(), 3);
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(FindFixture, ANewSearchTextContinuesOnePastThePreviousMatch)
{
    editor.SetText(QStringLiteral("xyz abc xyz"));
    step(QStringLiteral("abc"));
    ASSERT_EQ(editor.SelStart(), 4);
    step(QStringLiteral("xyz"));
    EXPECT_EQ(editor.SelStart(), 8);
    step(QStringLiteral("xyz"));
    EXPECT_EQ(lastMessage(), "Found All!");
}

TEST_F(FindFixture, TheCaretAndSelectionPlayNoPart)
{
    editor.SetText(QStringLiteral("cat dog cat dog"));
    editor.SetSelStart(9);
    editor.SetSelLength(4);
    step(QStringLiteral("cat"));
    EXPECT_EQ(editor.SelStart(), 0);
    editor.SetSelStart(14);
    step(QStringLiteral("cat"));
    EXPECT_EQ(editor.SelStart(), 8);
}

TEST_F(FindFixture, EditsBetweenStepsLeaveTheStateAsItWas)
{
    editor.SetText(QStringLiteral("ab ab ab"));
    step(QStringLiteral("ab"));
    step(QStringLiteral("ab"));
    ASSERT_EQ(bar.NextStart, 4);
    editor.SetSelStart(0);
    editor.SetSelText(QStringLiteral("ab "));
    EXPECT_EQ(bar.NextStart, 4);
    EXPECT_TRUE(bar.FoundAny);
    step(QStringLiteral("ab"));
    EXPECT_EQ(editor.SelStart(), 6) << "positions are not adjusted to the edit";
}

TEST_F(FindFixture, AStartPastTheEndOfAShortenedDocumentEndsThePass)
{
    editor.SetText(QStringLiteral("word word word"));
    step(QStringLiteral("word"));
    step(QStringLiteral("word"));
    step(QStringLiteral("word"));
    editor.SetText(QStringLiteral("word"));
    step(QStringLiteral("word"));
    EXPECT_EQ(lastMessage(), "Found All!");
    EXPECT_EQ(editor.SelStart(), 0);
    EXPECT_EQ(bar.NextStart, 0);
}

TEST_F(FindFixture, TheEditorHasTheFocusBeforeAnyMessageAndAfterEveryStep)
{
    editor.SetText(QStringLiteral("needle"));
    form.txtFind->setFocus();
    step(QStringLiteral("needle"));
    EXPECT_EQ(QApplication::focusWidget(), &editor);
    form.txtFind->setFocus();
    step(QStringLiteral("needle"));
    ASSERT_EQ(messages.focusAtShow.size(), 1u);
    EXPECT_EQ(messages.focusAtShow[0], &editor);
}

// Positions past 32,767 and 65,535 are where a 16-bit match position would go wrong.
QString longDocumentWithMatchesAt(const std::vector<int> &positions, int length)
{
    QString text(length, QLatin1Char('.'));
    for (int i = 99; i < length; i += 100)
        text[i] = QLatin1Char('\n');
    for (int p : positions) {
        text[p] = QLatin1Char('a');
        text[p + 1] = QLatin1Char('a');
    }
    return text;
}

TEST_F(FindFixture, MatchesAnywhereInALongDocumentAreFoundInOrder)
{
    // "aaa" at 32,766 and 65,535 holds two overlapping matches each.
    const std::vector<int> expected{5, 32766, 32767, 65535, 65536, 199990};
    editor.SetText(longDocumentWithMatchesAt(expected, 200000));
    for (int position : expected) {
        step(QStringLiteral("aa"));
        ASSERT_EQ(editor.SelStart(), position);
        EXPECT_EQ(bar.NextStart, position + 1);
    }
    EXPECT_TRUE(messages.shown.empty());
    step(QStringLiteral("aa"));
    EXPECT_EQ(lastMessage(), "Found All!");
    step(QStringLiteral("aa"));
    EXPECT_EQ(editor.SelStart(), 5);
}

} // namespace
