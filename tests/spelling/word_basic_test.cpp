#include "app/rich_text_box.h"
#include "scripted_spelling.h"
#include "tests/support/scripted_seams.h"
#include "tools/spelling/hunspell_engine.h"
#include "tools/spelling/spell_check.h"
#include "tools/spelling/word_basic.h"
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <gtest/gtest.h>

namespace {

const QString SystemDictionaries = QStringLiteral("/usr/share/hunspell");

// ---- The server's commands ------------------------------------------------------------------

struct WordBasicTest : ::testing::Test
{
    std::shared_ptr<ScriptedSpelling> prompt = std::make_shared<ScriptedSpelling>();
    WordBasicServer server{std::make_unique<ListedWords>(QStringList{"The", "the", "cat", "sat", "word", "here"}), prompt};

    QVariant call(const char *command, const QVariantList &arguments = {})
    {
        return server.invoke(QLatin1String(command), arguments);
    }
    QString wholeText()
    {
        call("EditSelectAll");
        return call("Selection").toString();
    }
};

TEST_F(WordBasicTest, ANewDocumentHoldsTheInsertedTextAndItsFinalParagraphMark)
{
    call("FileNew");
    EXPECT_EQ(wholeText(), QStringLiteral("\r"));
    call("Insert", {QStringLiteral("one\ntwo\r\nthree")});
    EXPECT_EQ(wholeText(), QStringLiteral("one\rtwo\rthree\r"));
}

TEST_F(WordBasicTest, InsertingOverTheWholeDocumentKeepsTheFinalMark)
{
    call("FileNew");
    call("Insert", {QStringLiteral("old")});
    call("EditSelectAll");
    call("Insert", {QStringLiteral("new")});
    EXPECT_EQ(wholeText(), QStringLiteral("new\r"));
}

TEST_F(WordBasicTest, DocumentVariablesKeepWhatTheyAreGiven)
{
    call("FileNew");
    EXPECT_EQ(call("GetDocumentVar", {QStringLiteral("MyVar")}).toString(), QString());
    call("SetDocumentVar", {QStringLiteral("MyVar"), QStringLiteral("a\rb\r")});
    EXPECT_EQ(call("GetDocumentVar", {QStringLiteral("MyVar")}).toString(), QStringLiteral("a\rb\r"));
    call("FileNew");
    EXPECT_EQ(call("GetDocumentVar", {QStringLiteral("MyVar")}).toString(), QString()) << "a new document has none";
}

TEST_F(WordBasicTest, CommandNamesAreNotCaseSensitive)
{
    call("filenew");
    call("INSERT", {QStringLiteral("x")});
    EXPECT_EQ(wholeText(), QStringLiteral("x\r"));
}

struct BadCall
{
    const char *name;
    const char *command;
    QVariantList arguments;
    bool withDocument;
};

class RejectedCallTest : public WordBasicTest, public ::testing::WithParamInterface<BadCall>
{
};

TEST_P(RejectedCallTest, FailsLikeAnAutomationError)
{
    if (GetParam().withDocument)
        call("FileNew");
    EXPECT_THROW(call(GetParam().command, GetParam().arguments), AutomationError);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RejectedCallTest,
    ::testing::Values(BadCall{"unknown_command", "FileSaveAs", {}, true},
                      BadCall{"too_few_arguments", "SetDocumentVar", {QStringLiteral("MyVar")}, true},
                      BadCall{"too_many_arguments", "FileNew", {1}, true},
                      BadCall{"text_that_is_not_text", "Insert", {QVariantList{1, 2}}, true},
                      BadCall{"insert_without_a_document", "Insert", {QStringLiteral("x")}, false},
                      BadCall{"selection_without_a_document", "Selection", {}, false}),
    [](const auto &info) { return std::string(info.param.name); });

// ---- The interactive check ------------------------------------------------------------------

TEST_F(WordBasicTest, ToolsSpellingAsksAboutEachUnknownWordInItsSentence)
{
    call("FileNew");
    call("Insert", {QStringLiteral("The cat sat. Teh wrod here.\nThe cat")});
    prompt->change(QStringLiteral("The")).change(QStringLiteral("word"));
    call("ToolsSpelling");
    EXPECT_EQ(prompt->askedWords(), (QStringList{"Teh", "wrod"}));
    ASSERT_EQ(prompt->asked.size(), 2u);
    EXPECT_EQ(prompt->asked[0].sentence, QStringLiteral("Teh wrod here."));
    EXPECT_EQ(prompt->asked[0].wordInSentence, 0);
    EXPECT_EQ(prompt->asked[0].suggestions, (QStringList{"The", "cat", "sat", "the"}));
    EXPECT_EQ(prompt->asked[1].sentence, QStringLiteral("The wrod here.")) << "shows the correction already made";
    EXPECT_EQ(prompt->asked[1].wordInSentence, 4);
    EXPECT_EQ(wholeText(), QStringLiteral("The cat sat. The word here.\rThe cat\r"));
    EXPECT_EQ(prompt->ended, 1);
}

struct CheckRow
{
    const char *name;
    const char *text;
    std::vector<SpellingAnswer> answers;
    QStringList asked;
    const char *result;
};

class SpellingPassTest : public ::testing::TestWithParam<CheckRow>
{
};

TEST_P(SpellingPassTest, AppliesTheAnswers)
{
    ListedWords engine({"the", "cat", "sat", "on", "mat"});
    ScriptedSpelling prompt;
    for (const SpellingAnswer &a : GetParam().answers)
        prompt.answers.push_back(a);
    const QString result = checkSpelling(QString::fromUtf8(GetParam().text), engine, prompt);
    EXPECT_EQ(prompt.askedWords(), GetParam().asked);
    EXPECT_EQ(result, QString::fromUtf8(GetParam().result));
}

using A = SpellingAnswer;
INSTANTIATE_TEST_SUITE_P(
    Rows, SpellingPassTest,
    ::testing::Values(
        CheckRow{"ignore_asks_again", "teh cat teh", {{A::Ignore, {}}, {A::Ignore, {}}}, {"teh", "teh"}, "teh cat teh"},
        CheckRow{"ignore_all_asks_once", "teh cat teh", {{A::IgnoreAll, {}}}, {"teh"}, "teh cat teh"},
        CheckRow{"add_accepts_later_ones", "teh cat teh", {{A::Add, {}}}, {"teh"}, "teh cat teh"},
        CheckRow{"change_all_changes_later_ones", "teh cat\rteh", {{A::ChangeAll, "the"}}, {"teh"}, "the cat\rthe"},
        CheckRow{"change_goes_on_after_a_longer_word", "ct sat mt", {{A::Change, "cat"}, {A::Change, "mat"}}, {"ct", "mt"}, "cat sat mat"},
        CheckRow{"close_keeps_what_was_done", "teh cat mt", {{A::Change, "the"}, {A::Close, {}}}, {"teh", "mt"}, "the cat mt"},
        CheckRow{"words_with_digits_pass", "cat 4th mp3", {}, {}, "cat 4th mp3"},
        CheckRow{"apostrophes_inside_words", "cat's 'mat'", {{A::Ignore, {}}}, {"cat's"}, "cat's 'mat'"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SpellingQuestionTest, ShowsTheWordInItsOwnSentenceOfItsOwnParagraph)
{
    const QString text = QStringLiteral("Before.\rFirst one. The wrod is here. Last one.\rAfter.\r");
    const int at = int(text.indexOf(QLatin1String("wrod")));
    const SpellingQuestion q = questionAbout(text, at, at + 4);
    EXPECT_EQ(q.word, QStringLiteral("wrod"));
    EXPECT_EQ(q.sentence, QStringLiteral("The wrod is here."));
    EXPECT_EQ(q.sentence.mid(q.wordInSentence, 4), QStringLiteral("wrod"));
}

TEST(SpellingQuestionTest, ClipsAVeryLongSentenceAroundTheWord)
{
    const QString text = QString(QStringLiteral("long ")).repeated(100) + QStringLiteral("wrod ") + QString(QStringLiteral("tail ")).repeated(100);
    const int at = int(text.indexOf(QLatin1String("wrod")));
    const SpellingQuestion q = questionAbout(text, at, at + 4);
    EXPECT_LT(q.sentence.size(), 200);
    EXPECT_EQ(q.sentence.mid(q.wordInSentence, 4), QStringLiteral("wrod"));
}

// ---- Dictionaries ---------------------------------------------------------------------------

struct DictionaryFolder : ::testing::Test
{
    QTemporaryDir dir;
    void install(const QString &name)
    {
        for (const char *ext : {".aff", ".dic"}) {
            QFile f(dir.filePath(name + QLatin1String(ext)));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("SET UTF-8\n");
        }
    }
    std::optional<QString> chosenFor(const char *locale)
    {
        const auto found = findDictionary(QLatin1String(locale), {dir.path()});
        return found ? std::optional<QString>(found->name) : std::nullopt;
    }
};

TEST_F(DictionaryFolder, TheLocalesOwnDictionaryComesFirstThenItsLanguageThenEnglish)
{
    install(QStringLiteral("en_US"));
    install(QStringLiteral("de_AT"));
    install(QStringLiteral("fr_FR"));
    EXPECT_EQ(chosenFor("fr_FR"), QStringLiteral("fr_FR"));
    EXPECT_EQ(chosenFor("de_DE"), QStringLiteral("de_AT"));
    EXPECT_EQ(chosenFor("de-CH.UTF-8"), QStringLiteral("de_AT"));
    EXPECT_EQ(chosenFor("nl_NL"), QStringLiteral("en_US"));
    EXPECT_EQ(chosenFor("C"), QStringLiteral("en_US"));
}

TEST_F(DictionaryFolder, WithoutEnglishOrTheLocalesLanguageThereIsNone)
{
    install(QStringLiteral("fr_FR"));
    EXPECT_EQ(chosenFor("nl_NL"), std::nullopt);
    QFile::resize(dir.filePath(QStringLiteral("fr_FR.dic")), 0);
    EXPECT_EQ(chosenFor("fr_FR"), std::nullopt) << "an empty word list is not a dictionary";
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
    HunspellEngine fresh(*dictionary);
    EXPECT_FALSE(fresh.isKnown(QStringLiteral("Velmo")));
}

// ---- The whole check through the built-in server ------------------------------------------

struct BuiltInSpellCheck : ::testing::Test
{
    RichTextBox editor;
    ScriptedMessageBox messages;
    AutomationRegistry registry;
    std::shared_ptr<ScriptedSpelling> prompt = std::make_shared<ScriptedSpelling>();

    void SetUp() override
    {
        registerWordBasic(registry, {QStringLiteral("en_US"), {SystemDictionaries}, prompt});
        // "Helo" bold in a centred first paragraph, a picture, then a second paragraph.
        editor.SetText(QStringLiteral("Helo world.\nThis sentense is fine."));
        editor.SetSelStart(0);
        editor.SetSelLength(4);
        editor.SetSelBold(true);
        editor.SetSelAlignment(2);
        editor.SetSelStart(12);
        editor.insertPicture(QImage(16, 16, QImage::Format_RGB32));
    }
    bool boldAt(int position)
    {
        editor.SetSelStart(position);
        editor.SetSelLength(1);
        return editor.SelBold().value_or(false);
    }
    int alignmentOf(int block) { return int(editor.document()->findBlockByNumber(block).blockFormat().alignment()); }
    bool pictureAt(int position)
    {
        QTextCursor c(editor.document());
        c.setPosition(position + 1);
        return c.charFormat().isImageFormat();
    }
};

TEST_F(BuiltInSpellCheck, CorrectsBothWordsAndKeepsBoldAlignmentAndPicture)
{
    prompt->change(QStringLiteral("Hello")).change(QStringLiteral("sentence"));
    SplCheck_Click(editor, messages, registry);

    EXPECT_EQ(prompt->askedWords(), (QStringList{"Helo", "sentense"}));
    EXPECT_TRUE(prompt->asked[0].suggestions.contains(QStringLiteral("Hello")));
    EXPECT_EQ(editor.Text(), QStringLiteral("Hello world.\n\xfffcThis sentence is fine."));
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(boldAt(i)) << "at " << i;
    EXPECT_FALSE(boldAt(6));
    EXPECT_EQ(alignmentOf(0) & Qt::AlignHCenter, Qt::AlignHCenter);
    EXPECT_FALSE(alignmentOf(1) & Qt::AlignHCenter);
    EXPECT_TRUE(pictureAt(13));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].prompt, QStringLiteral("Finished Spell Check"));
}

TEST_F(BuiltInSpellCheck, ClosingAfterTheFirstCorrectionKeepsItAndLeavesTheRest)
{
    prompt->change(QStringLiteral("Hello")).then(SpellingAnswer::Close);
    SplCheck_Click(editor, messages, registry);

    EXPECT_EQ(editor.Text(), QStringLiteral("Hello world.\n\xfffcThis sentense is fine."));
    EXPECT_TRUE(boldAt(0));
    EXPECT_TRUE(pictureAt(13));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].prompt, QStringLiteral("Finished Spell Check"));
}

TEST_F(BuiltInSpellCheck, WithoutADictionaryTheCheckFailsAndSaysSo)
{
    QTemporaryDir empty;
    AutomationRegistry bare;
    registerWordBasic(bare, {QStringLiteral("en_US"), {empty.path()}, prompt});
    const QString before = editor.toHtml();

    SplCheck_Click(editor, messages, bare);

    EXPECT_TRUE(prompt->asked.empty());
    EXPECT_EQ(editor.toHtml(), before);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].prompt.startsWith(QStringLiteral("The spell check could not be completed.\nNo spelling dictionary")))
        << messages.shown[0].prompt.toStdString();
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("Spell Checker"));
    EXPECT_EQ(messages.shown[0].buttons, vb::vbOKOnly);
}

} // namespace
