#include "editor/rich_text_box.h"
#include "recording_server.h"
#include "tests/support/scripted_seams.h"
#include "tools/spelling/spell_check.h"
#include <QSignalSpy>
#include <QTextBlock>
#include <gtest/gtest.h>

namespace {

const QString Failed = QStringLiteral("The spell check could not be completed.");

TEST(AutomationRegistryTest, ProgIdsAreFoundWhateverTheirCaseAndAMovedObjectIsReleasedOnce)
{
    EXPECT_TRUE(defaultAutomation().isRegistered(QStringLiteral("word.basic")));
    AutomationRegistry registry;
    auto log = std::make_shared<CallLog>();
    registerRecordingServer(registry, log);
    {
        AutomationObject first = registry.CreateObject(QStringLiteral("WORD.basic"));
        AutomationObject moved = std::move(first);
        moved.call(QStringLiteral("FileNew"));
        EXPECT_EQ(log->released, 0);
    }
    EXPECT_EQ(log->calls, QStringList{QStringLiteral("FileNew()")});
    EXPECT_EQ(log->created, 1);
    EXPECT_EQ(log->released, 1);
}

struct SpellCheckTest : ::testing::Test
{
    RichTextBox editor;
    ScriptedMessageBox messages;
    AutomationRegistry registry;
    std::shared_ptr<CallLog> log = std::make_shared<CallLog>();

    void serve(RecordingSetup setup = {}) { registerRecordingServer(registry, log, setup); }
    void expectMessage(const QString &prompt, const QString &title)
    {
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].prompt, prompt);
        EXPECT_EQ(messages.shown[0].title, title);
        EXPECT_EQ(messages.shown[0].buttons, vb::vbOKOnly);
    }
};

TEST_F(SpellCheckTest, SendsTheStepsInOrderWithTheirArgumentsAndEachCheckHasItsOwnObject)
{
    serve();
    editor.SetText(QStringLiteral("Helo wrld\nSecond"));

    SplCheck_Click(editor, messages, registry);

    const QStringList expected{"FileNew()", "Insert(Helo wrld\nSecond)", "ToolsSpelling()", "EditSelectAll()",
                               "Selection()", "SetDocumentVar(MyVar|Helo wrld\nSecond\r)", "GetDocumentVar(MyVar)"};
    EXPECT_EQ(log->calls, expected);
    EXPECT_EQ(log->released, 1);
    EXPECT_EQ(editor.Text(), QStringLiteral("Helo wrld\nSecond"));
    expectMessage(QStringLiteral("Finished Spell Check"), MessageBoxSeam::DefaultTitle);

    EXPECT_TRUE(ChkSpell(editor, registry));
    EXPECT_EQ(log->created, 2);
    EXPECT_EQ(log->released, 2);
    EXPECT_EQ(log->calls.mid(7), expected);
}

struct Failure
{
    const char *name;
    const char *failing; // the failing step; null: nothing is registered as "Word.Basic"
    const char *reason;  // the message's second line; empty: none
    const char *returned = "Changed completely\r";
    bool foreignError = false;
};

class FailureTest : public SpellCheckTest, public ::testing::WithParamInterface<Failure>
{
};

TEST_P(FailureTest, LeavesTheEditorAsItWasReleasesTheObjectAndSaysWhy)
{
    const Failure &row = GetParam();
    if (row.failing)
        serve({QLatin1String(row.failing), QStringLiteral("\r"), QString::fromUtf8(row.returned), row.foreignError});
    // "Helo" bold in a centred paragraph, a picture: what a careless check would lose.
    editor.SetText(QStringLiteral("Helo wrld\nSecond line"));
    editor.SetSelStart(0);
    editor.SetSelLength(4);
    editor.SetSelBold(true);
    editor.SetSelAlignment(2);
    editor.SetSelStart(5);
    editor.insertPicture(QImage(8, 8, QImage::Format_RGB32));
    const QString before = editor.toHtml();
    QSignalSpy changes(&editor, &RichTextBox::Change);

    SplCheck_Click(editor, messages, registry);

    EXPECT_EQ(editor.toHtml(), before);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(log->released, log->created);
    if (row.failing && *row.failing && !log->calls.isEmpty()) {
        EXPECT_TRUE(log->calls.constLast().startsWith(QLatin1String(row.failing) + QLatin1Char('('))) << "no step runs after a failure";
    }
    expectMessage(*row.reason ? Failed + QLatin1Char('\n') + QString::fromUtf8(row.reason) : Failed, QStringLiteral("Spell Checker"));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FailureTest,
    ::testing::Values(Failure{"NothingIsRegistered", nullptr, "No automation server is registered as \"Word.Basic\"."},
                      Failure{"TheServerCannotStart", "CreateObject", "cannot start"}, Failure{"TheReturnedTextIsEmpty", "", "", ""},
                      Failure{"FileNewThrowsAPlainException", "FileNew", "FileNew refused", "", true},
                      Failure{"FileNewFails", "FileNew", "FileNew refused"}, Failure{"InsertFails", "Insert", "Insert refused"},
                      Failure{"ToolsSpellingFails", "ToolsSpelling", "ToolsSpelling refused"},
                      Failure{"EditSelectAllFails", "EditSelectAll", "EditSelectAll refused"},
                      Failure{"SelectionFails", "Selection", "Selection refused"},
                      Failure{"SetDocumentVarFails", "SetDocumentVar", "SetDocumentVar refused"},
                      Failure{"GetDocumentVarFails", "GetDocumentVar", "GetDocumentVar refused"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(SpellCheckTest, TheLastCharacterOfTheReturnedTextIsDroppedAndMarksBecomeParagraphs)
{
    const struct
    {
        const char *returned, *inEditor;
    } rows[] = {{"abc\r", "abc"}, {"abc", "ab"}, {"one\rtwo\r", "one\ntwo"}, {"\r", ""}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.returned);
        serve({{}, {}, QString::fromUtf8(row.returned)});
        editor.SetText(QStringLiteral("something else"));
        EXPECT_TRUE(ChkSpell(editor, registry));
        EXPECT_EQ(editor.Text(), QString::fromUtf8(row.inEditor));
    }
}

TEST_F(SpellCheckTest, ParagraphsKeepTheirAlignmentAndChangeFiresOnlyWhenTheTextChanged)
{
    serve();
    editor.SetText(QStringLiteral("First\nSecond\n\nFourth"));
    editor.SetSelStart(8);
    editor.SetSelAlignment(1);
    QSignalSpy changes(&editor, &RichTextBox::Change);
    EXPECT_TRUE(ChkSpell(editor, registry));
    EXPECT_EQ(editor.Text(), QStringLiteral("First\nSecond\n\nFourth"));
    EXPECT_EQ(changes.count(), 0);

    serve({{}, {}, QStringLiteral("First\rSecond\r\rFifth\r")});
    EXPECT_TRUE(ChkSpell(editor, registry));
    EXPECT_EQ(editor.Text(), QStringLiteral("First\nSecond\n\nFifth"));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(editor.document()->findBlockByNumber(1).blockFormat().alignment() & Qt::AlignRight, Qt::AlignRight);
}

} // namespace
