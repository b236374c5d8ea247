#include "editor/rich_text_box.h"
#include "tests/support/scripted_seams.h"
#include "tools/spelling/hunspell_engine.h"
#include "tools/spelling/spell_check.h"
#include "tools/spelling/spelling_engine.h"
#include "tools/spelling/spelling_pass.h"
#include "tools/spelling/word_basic.h"
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <deque>
#include <gtest/gtest.h>

namespace {

using A = SpellingAnswer;
const QString SystemDictionaries = QStringLiteral("/usr/share/hunspell");

// Answers the spelling questions from a queue (Close when it runs out) and keeps every question.
struct ScriptedSpelling : SpellingPrompt
{
    std::deque<SpellingAnswer> answers;
    QStringList askedWords;
    std::vector<SpellingQuestion> asked;
    int ended = 0;

    SpellingAnswer ask(const SpellingQuestion &question) override
    {
        asked.push_back(question);
        askedWords << question.word;
        const SpellingAnswer next = answers.empty() ? SpellingAnswer{A::Close, {}} : answers.front();
        if (!answers.empty())
            answers.pop_front();
        return next;
    }
    void checkEnded() override { ++ended; }
};

// Knows a fixed list of words; suggests the known words of the same length.
struct ListedWords : SpellingEngine
{
    QStringList words;
    explicit ListedWords(QStringList known) : words(std::move(known)) {}
    bool isKnown(const QString &word) override { return words.contains(word); }
    void addForThisRun(const QString &word) override { words << word; }
    QStringList suggestions(const QString &word) override
    {
        QStringList same;
        for (const QString &known : std::as_const(words))
            if (known.size() == word.size())
                same << known;
        same.sort();
        return same;
    }
};

// ---- The server's commands ------------------------------------------------------------------

struct WordBasicTest : ::testing::Test
{
    std::shared_ptr<ScriptedSpelling> prompt = std::make_shared<ScriptedSpelling>();
    WordBasicServer server{std::make_unique<ListedWords>(QStringList{"The", "the", "cat", "sat", "word", "here"}), prompt};

    QVariant call(const char *command, const QVariantList &arguments = {}) { return server.invoke(QLatin1String(command), arguments); }
};

const char *const Fails = "(fails)";
struct Step
{
    const char *command;
    QVariantList arguments = {};
    const char *returns = nullptr; // null: not checked; Fails: an automation error
};
struct Script
{
    const char *name;
    std::vector<Step> steps;
};

class CommandTest : public WordBasicTest, public ::testing::WithParamInterface<Script>
{
};

TEST_P(CommandTest, AnswerLikeAWordProcessor)
{
    for (const Step &step : GetParam().steps) {
        SCOPED_TRACE(step.command);
        if (step.returns == Fails) {
            EXPECT_THROW(call(step.command, step.arguments), AutomationError);
        } else if (step.returns) {
            EXPECT_EQ(call(step.command, step.arguments).toString(), QString::fromUtf8(step.returns));
        } else {
            call(step.command, step.arguments);
        }
    }
}

const QString MyVar = QStringLiteral("MyVar");
INSTANTIATE_TEST_SUITE_P(
    Rows, CommandTest,
    ::testing::Values(
        Script{"ANewDocumentHoldsOnlyItsFinalMark", {{"FileNew"}, {"EditSelectAll"}, {"Selection", {}, "\r"}}},
        Script{"LineEndsBecomeParagraphMarks", {{"FileNew"}, {"Insert", {QStringLiteral("one\ntwo\r\nthree")}}, {"EditSelectAll"}, {"Selection", {}, "one\rtwo\rthree\r"}}},
        Script{"InsertingOverTheWholeDocumentKeepsTheFinalMark",
               {{"FileNew"}, {"Insert", {QStringLiteral("old")}}, {"EditSelectAll"}, {"Insert", {QStringLiteral("new")}}, {"EditSelectAll"}, {"Selection", {}, "new\r"}}},
        Script{"CommandNamesAreNotCaseSensitive", {{"filenew"}, {"INSERT", {QStringLiteral("x")}}, {"editselectall"}, {"SELECTION", {}, "x\r"}}},
        Script{"DocumentVariablesKeepWhatTheyAreGivenUntilANewDocument",
               {{"FileNew"}, {"GetDocumentVar", {MyVar}, ""}, {"SetDocumentVar", {MyVar, QStringLiteral("a\rb\r")}}, {"GetDocumentVar", {MyVar}, "a\rb\r"}, {"FileNew"}, {"GetDocumentVar", {MyVar}, ""}}},
        Script{"AnUnknownCommandFails", {{"FileNew"}, {"FileSaveAs", {}, Fails}}},
        Script{"AWrongArgumentCountFails", {{"FileNew", {1}, Fails}, {"FileNew"}, {"SetDocumentVar", {MyVar}, Fails}}},
        Script{"TextThatIsNotTextFails", {{"FileNew"}, {"Insert", {QVariant(QVariantList{1, 2})}, Fails}}},
        Script{"NothingButFileNewWorksWithoutADocument", {{"Insert", {QStringLiteral("x")}, Fails}, {"Selection", {}, Fails}}}),
    [](const auto &info) { return std::string(info.param.name); });

// ---- The interactive check ------------------------------------------------------------------

TEST_F(WordBasicTest, ToolsSpellingAsksAboutEachUnknownWordInItsSentence)
{
    call("FileNew");
    call("Insert", {QStringLiteral("The cat sat. Teh wrod here.\nThe cat")});
    prompt->answers = {{A::Change, QStringLiteral("The")}, {A::Change, QStringLiteral("word")}};
    call("ToolsSpelling");
    EXPECT_EQ(prompt->askedWords, (QStringList{"Teh", "wrod"}));
    ASSERT_EQ(prompt->asked.size(), 2u);
    EXPECT_EQ(prompt->asked[0].sentence, QStringLiteral("Teh wrod here."));
    EXPECT_EQ(prompt->asked[0].wordInSentence, 0);
    EXPECT_EQ(prompt->asked[0].suggestions, (QStringList{"The", "cat", "sat", "the"}));
    EXPECT_EQ(prompt->asked[1].sentence, QStringLiteral("The wrod here.")) << "shows the correction already made";
    EXPECT_EQ(prompt->asked[1].wordInSentence, 4);
    call("EditSelectAll");
    EXPECT_EQ(call("Selection").toString(), QStringLiteral("The cat sat. The word here.\rThe cat\r"));
    EXPECT_EQ(prompt->ended, 1);
}

TEST(SpellingPassTest, AppliesTheAnswers)
{
    const struct
    {
        const char *text;
        std::deque<SpellingAnswer> answers;
        QStringList asked;
        const char *result;
    } rows[] = {
        {"teh cat teh", {{A::Ignore, {}}, {A::Ignore, {}}}, {"teh", "teh"}, "teh cat teh"}, // Ignore asks again
        {"teh cat teh", {{A::IgnoreAll, {}}}, {"teh"}, "teh cat teh"},
        {"teh cat teh", {{A::Add, {}}}, {"teh"}, "teh cat teh"},
        {"teh cat\rteh", {{A::ChangeAll, "the"}}, {"teh"}, "the cat\rthe"},
        {"ct sat mt", {{A::Change, "cat"}, {A::Change, "mat"}}, {"ct", "mt"}, "cat sat mat"}, // goes on after a longer word
        {"teh cat mt", {{A::Change, "the"}, {A::Close, {}}}, {"teh", "mt"}, "the cat mt"},    // Close keeps what was done
        {"cat 4th mp3", {}, {}, "cat 4th mp3"},
        {"cat's 'mat'", {{A::Ignore, {}}}, {"cat's"}, "cat's 'mat'"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.text);
        ListedWords engine({"the", "cat", "sat", "on", "mat"});
        ScriptedSpelling prompt;
        prompt.answers = row.answers;
        EXPECT_EQ(checkSpelling(QString::fromUtf8(row.text), engine, prompt), QString::fromUtf8(row.result));
        EXPECT_EQ(prompt.askedWords, row.asked);
    }
}

// Counts what the pass asks the dictionary.
struct CountingWords : ListedWords
{
    using ListedWords::ListedWords;
    QHash<QString, int> lookups;
    bool isKnown(const QString &word) override
    {
        ++lookups[word];
        return ListedWords::isKnown(word);
    }
};

TEST(SpellingPassTest, AsksTheDictionaryOncePerDistinctWordUntilAWordIsAdded)
{
    CountingWords engine({"the", "cat", "mt"});
    ScriptedSpelling prompt;
    prompt.answers = {{A::Ignore, {}}, {A::Ignore, {}}, {A::Add, {}}};
    EXPECT_EQ(checkSpelling(QStringLiteral("the cat teh the cat teh\rteh mt the mt"), engine, prompt),
              QStringLiteral("the cat teh the cat teh\rteh mt the mt"));
    EXPECT_EQ(prompt.askedWords, (QStringList{"teh", "teh", "teh"})) << "an ignored word is asked again, an added one not";
    EXPECT_EQ(engine.lookups.value(QStringLiteral("cat")), 1);
    EXPECT_EQ(engine.lookups.value(QStringLiteral("teh")), 1);
    EXPECT_EQ(engine.lookups.value(QStringLiteral("the")), 2) << "adding a word forgets what was known";
    EXPECT_EQ(engine.lookups.value(QStringLiteral("mt")), 1);
}

TEST(SpellingQuestionTest, ShowsTheWordInItsOwnSentenceClippedWhenVeryLong)
{
    const QString paragraphs = QStringLiteral("Before.\rFirst one. The wrod is here. Last one.\rAfter.\r");
    const QString longOne = QStringLiteral("long ").repeated(100) + QStringLiteral("wrod ") + QStringLiteral("tail ").repeated(100);
    for (const QString &text : {paragraphs, longOne}) {
        const int at = int(text.indexOf(QLatin1String("wrod")));
        const SpellingQuestion q = questionAbout(text, at, at + 4);
        EXPECT_EQ(q.word, QStringLiteral("wrod"));
        EXPECT_EQ(q.sentence.mid(q.wordInSentence, 4), QStringLiteral("wrod"));
        if (text == paragraphs) {
            EXPECT_EQ(q.sentence, QStringLiteral("The wrod is here."));
        }
        EXPECT_LT(q.sentence.size(), 200);
    }
}

// ---- Dictionaries ---------------------------------------------------------------------------

TEST(DictionaryTest, TheLocalesOwnComesFirstThenItsLanguageThenEnglish)
{
    QTemporaryDir dir;
    const auto install = [&](const char *name) {
        for (const char *ext : {".aff", ".dic"}) {
            QFile f(dir.filePath(QLatin1String(name) + QLatin1String(ext)));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("SET UTF-8\n") > 0);
        }
    };
    const auto chosen = [&](const char *locale) {
        const auto found = findDictionary(QLatin1String(locale), {dir.path()});
        return found ? found->name : QStringLiteral("none");
    };
    install("fr_FR");
    EXPECT_EQ(chosen("nl_NL"), QStringLiteral("none"));
    install("en_US");
    install("de_AT");
    for (const char *row : {"fr_FR fr_FR", "de_DE de_AT", "de-CH.UTF-8 de_AT", "nl_NL en_US", "C en_US"}) {
        const QStringList localeAndChosen = QString::fromLatin1(row).split(QLatin1Char(' '));
        EXPECT_EQ(chosen(qPrintable(localeAndChosen[0])), localeAndChosen[1]) << row;
    }
    QFile::resize(dir.filePath(QStringLiteral("fr_FR.dic")), 0);
    EXPECT_EQ(chosen("fr_FR"), QStringLiteral("en_US")) << "an empty word list is not a dictionary";
}

TEST(HunspellEngineTest, KnowsEnglishSuggestsAndLearnsForThisRun)
{
    const auto dictionary = findDictionary(QStringLiteral("en_US"), {SystemDictionaries});
    ASSERT_TRUE(dictionary) << "hunspell-en-us is not installed";
    HunspellEngine engine(*dictionary);
    EXPECT_TRUE(engine.isKnown(QStringLiteral("world")));
    EXPECT_TRUE(engine.isKnown(QStringLiteral("don't")));
    EXPECT_FALSE(engine.isKnown(QStringLiteral("wrld")));
    EXPECT_TRUE(engine.suggestions(QStringLiteral("wrld")).contains(QStringLiteral("world")));
    EXPECT_FALSE(engine.isKnown(QStringLiteral("Velmo")));
    engine.addForThisRun(QStringLiteral("Velmo"));
    EXPECT_TRUE(engine.isKnown(QStringLiteral("Velmo")));
    EXPECT_FALSE(HunspellEngine(*dictionary).isKnown(QStringLiteral("Velmo")));
}

// ---- The whole check through the built-in server ------------------------------------------

struct BuiltInSpellCheck : ::testing::Test
{
    RichTextBox editor;
    ScriptedMessageBox messages;
    std::shared_ptr<ScriptedSpelling> prompt = std::make_shared<ScriptedSpelling>();

    // Runs the check on "Helo" bold in a centred first paragraph, a picture, then a second paragraph.
    void check(const QStringList &dictionaryFolders)
    {
        AutomationRegistry registry;
        registerWordBasic(registry, {QStringLiteral("en_US"), dictionaryFolders, prompt});
        editor.SetText(QStringLiteral("Helo world.\nThis sentense is fine."));
        editor.SetSelStart(0);
        editor.SetSelLength(4);
        editor.SetSelBold(true);
        editor.SetSelAlignment(2);
        editor.SetSelStart(12);
        editor.insertPicture(QImage(16, 16, QImage::Format_RGB32));
        before = editor.toHtml();
        SplCheck_Click(editor, messages, registry);
    }
    bool boldAt(int position)
    {
        editor.SetSelStart(position);
        editor.SetSelLength(1);
        return editor.SelBold().value_or(false);
    }
    void expectCorrectedTo(const QString &text)
    {
        ASSERT_EQ(messages.shown.size(), 1u);
        ASSERT_EQ(prompt->askedWords, (QStringList{"Helo", "sentense"}));
        EXPECT_TRUE(prompt->asked[0].suggestions.contains(QStringLiteral("Hello")));
        EXPECT_EQ(editor.Text(), text);
        for (int i = 0; i < 5; ++i)
            EXPECT_TRUE(boldAt(i)) << "at " << i;
        EXPECT_FALSE(boldAt(6));
        const auto alignmentOf = [&](int block) { return editor.document()->findBlockByNumber(block).blockFormat().alignment(); };
        EXPECT_EQ(alignmentOf(0) & Qt::AlignHCenter, Qt::AlignHCenter);
        EXPECT_FALSE(alignmentOf(1) & Qt::AlignHCenter);
        QTextCursor picture(editor.document());
        picture.setPosition(14);
        EXPECT_TRUE(picture.charFormat().isImageFormat());
        EXPECT_EQ(messages.shown[0].prompt, QStringLiteral("Finished Spell Check"));
    }
    QString before;
};

TEST_F(BuiltInSpellCheck, CorrectsBothWordsAndKeepsBoldAlignmentAndPicture)
{
    prompt->answers = {{A::Change, QStringLiteral("Hello")}, {A::Change, QStringLiteral("sentence")}};
    check({SystemDictionaries});
    expectCorrectedTo(QStringLiteral("Hello world.\n\xfffcThis sentence is fine."));
}

TEST_F(BuiltInSpellCheck, ClosingAfterTheFirstCorrectionKeepsItAndLeavesTheRest)
{
    prompt->answers = {{A::Change, QStringLiteral("Hello")}, {A::Close, {}}};
    check({SystemDictionaries});
    expectCorrectedTo(QStringLiteral("Hello world.\n\xfffcThis sentense is fine."));
}

TEST_F(BuiltInSpellCheck, WithoutADictionaryTheCheckFailsAndSaysSo)
{
    QTemporaryDir empty;
    check({empty.path()});
    EXPECT_TRUE(prompt->asked.empty());
    EXPECT_EQ(editor.toHtml(), before);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].prompt.startsWith(QStringLiteral("The spell check could not be completed.\nNo spelling dictionary")))
        << messages.shown[0].prompt.toStdString();
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("Spell Checker"));
    EXPECT_EQ(messages.shown[0].buttons, vb::vbOKOnly);
}

} // namespace
