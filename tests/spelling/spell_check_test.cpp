#include "app/rich_text_box.h"
#include "recording_server.h"
#include "tests/support/scripted_seams.h"
#include "tools/spelling/spell_check.h"
#include <QSignalSpy>
#include <QTextBlock>
#include <gtest/gtest.h>

namespace {

const QString Failed = QStringLiteral("The spell check could not be completed.");

struct SpellCheckTest : ::testing::Test
{
    RichTextBox editor;
    ScriptedMessageBox messages;
    AutomationRegistry registry;
    std::shared_ptr<CallLog> log = std::make_shared<CallLog>();

    void serve(RecordingSetup setup = {}) { registerRecordingServer(registry, log, setup); }

    // A document whose formatting a careless check would lose.
    void writeFormattedDocument()
    {
        editor.SetText(QStringLiteral("Helo wrld\nSecond line"));
        editor.SetSelStart(0);
        editor.SetSelLength(4);
        editor.SetSelBold(true);
        editor.SetSelAlignment(2);
        editor.SetSelStart(5);
        editor.insertPicture(QImage(8, 8, QImage::Format_RGB32));
    }
};

TEST_F(SpellCheckTest, SendsTheStepsInOrderWithTheirArgumentsAndReleasesTheObject)
{
    serve();
    editor.SetText(QStringLiteral("Helo wrld\nSecond"));

    SplCheck_Click(editor, messages, registry);

    const QStringList expected{"FileNew", "Insert", "ToolsSpelling", "EditSelectAll",
                               "Selection", "SetDocumentVar", "GetDocumentVar"};
    ASSERT_EQ(log->commands(), expected);
    const QVariantList none;
    EXPECT_EQ(log->calls[0].arguments, none);
    EXPECT_EQ(log->calls[1].arguments, QVariantList{QStringLiteral("Helo wrld\nSecond")});
    EXPECT_EQ(log->calls[2].arguments, none);
    EXPECT_EQ(log->calls[3].arguments, none);
    EXPECT_EQ(log->calls[4].arguments, none);
    EXPECT_EQ(log->calls[5].arguments, (QVariantList{QStringLiteral("MyVar"), QStringLiteral("Helo wrld\nSecond\r")}));
    EXPECT_EQ(log->calls[6].arguments, QVariantList{QStringLiteral("MyVar")});
    EXPECT_EQ(log->created, 1);
    EXPECT_EQ(log->released, 1);
    EXPECT_EQ(editor.Text(), QStringLiteral("Helo wrld\nSecond"));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].prompt, QStringLiteral("Finished Spell Check"));
    EXPECT_EQ(messages.shown[0].title, MessageBoxSeam::DefaultTitle);
    EXPECT_EQ(messages.shown[0].buttons, vb::vbOKOnly);
}

TEST_F(SpellCheckTest, EachCheckHasItsOwnObject)
{
    serve();
    editor.SetText(QStringLiteral("one"));
    EXPECT_TRUE(ChkSpell(editor, registry));
    EXPECT_TRUE(ChkSpell(editor, registry));
    EXPECT_EQ(log->created, 2);
    EXPECT_EQ(log->released, 2);
    EXPECT_EQ(log->commands().count(QStringLiteral("FileNew")), 2);
}

class FailingStepTest : public SpellCheckTest, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(FailingStepTest, LeavesTheEditorAsItWasReleasesTheObjectAndSaysWhy)
{
    const QString failing = QLatin1String(GetParam());
    serve({failing, QStringLiteral("\r"), QStringLiteral("Changed completely\r")});
    writeFormattedDocument();
    const QString before = editor.toHtml();
    QSignalSpy changes(&editor, &RichTextBox::Change);

    SplCheck_Click(editor, messages, registry);

    EXPECT_EQ(editor.toHtml(), before);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(log->released, log->created);
    if (failing != QLatin1String("CreateObject")) {
        EXPECT_EQ(log->commands().constLast(), failing) << "no step runs after a failure";
    }
    ASSERT_EQ(messages.shown.size(), 1u);
    const QString reason = failing == QLatin1String("CreateObject") ? QStringLiteral("cannot start")
                                                                     : failing + QStringLiteral(" refused");
    EXPECT_EQ(messages.shown[0].prompt, Failed + QLatin1Char('\n') + reason);
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("Spell Checker"));
    EXPECT_EQ(messages.shown[0].buttons, vb::vbOKOnly);
}

INSTANTIATE_TEST_SUITE_P(EveryStep, FailingStepTest,
                         ::testing::Values("CreateObject", "FileNew", "Insert", "ToolsSpelling", "EditSelectAll",
                                           "Selection", "SetDocumentVar", "GetDocumentVar"));

TEST_F(SpellCheckTest, WithoutAServerTheCheckFailsNamingIt)
{
    editor.SetText(QStringLiteral("text"));
    SplCheck_Click(editor, messages, registry);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].prompt.startsWith(Failed + QLatin1Char('\n')));
    EXPECT_TRUE(messages.shown[0].prompt.contains(QLatin1String("Word.Basic")));
    EXPECT_EQ(editor.Text(), QStringLiteral("text"));
}

TEST_F(SpellCheckTest, AnEmptyReturnedTextFailsBeforeTheEditorIsTouched)
{
    serve({{}, QString(), QStringLiteral("")});
    writeFormattedDocument();
    const QString before = editor.toHtml();

    SplCheck_Click(editor, messages, registry);

    EXPECT_EQ(editor.toHtml(), before);
    EXPECT_EQ(log->released, 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].prompt, Failed);
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("Spell Checker"));
}

struct ReturnedText
{
    const char *returned;
    const char *inEditor;
};

class LastCharacterTest : public SpellCheckTest, public ::testing::WithParamInterface<ReturnedText>
{
};

TEST_P(LastCharacterTest, TheLastCharacterOfTheReturnedTextIsDropped)
{
    serve({{}, QString(), QString::fromUtf8(GetParam().returned)});
    editor.SetText(QStringLiteral("something else"));
    EXPECT_TRUE(ChkSpell(editor, registry));
    EXPECT_EQ(editor.Text(), QString::fromUtf8(GetParam().inEditor));
}

INSTANTIATE_TEST_SUITE_P(Rows, LastCharacterTest,
                         ::testing::Values(ReturnedText{"abc\r", "abc"}, ReturnedText{"abc", "ab"},
                                           ReturnedText{"one\rtwo\r", "one\ntwo"}, ReturnedText{"\r", ""}));

TEST_F(SpellCheckTest, ParagraphsAndTheirAlignmentSurviveTheRoundTrip)
{
    serve();
    editor.SetText(QStringLiteral("First\nSecond\n\nFourth"));
    editor.SetSelStart(8);
    editor.SetSelAlignment(1);
    EXPECT_TRUE(ChkSpell(editor, registry));
    EXPECT_EQ(editor.Text(), QStringLiteral("First\nSecond\n\nFourth"));
    EXPECT_EQ(editor.document()->findBlockByNumber(1).blockFormat().alignment() & Qt::AlignRight, Qt::AlignRight);
}

TEST_F(SpellCheckTest, TheChangeEventFiresOnlyWhenTheTextChanged)
{
    serve();
    editor.SetText(QStringLiteral("same text"));
    QSignalSpy unchanged(&editor, &RichTextBox::Change);
    EXPECT_TRUE(ChkSpell(editor, registry));
    EXPECT_EQ(unchanged.count(), 0);

    AutomationRegistry other;
    registerRecordingServer(other, log, {{}, QString(), QStringLiteral("same test\r")});
    QSignalSpy changed(&editor, &RichTextBox::Change);
    EXPECT_TRUE(ChkSpell(editor, other));
    EXPECT_EQ(editor.Text(), QStringLiteral("same test"));
    EXPECT_EQ(changed.count(), 1);
}

} // namespace
