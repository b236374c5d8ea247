// The file commands' prompts, quirks and edge cases, through the real window.
#include "tests/document/document_fixture.h"
#include <QAction>
#include <QLabel>
#include <QToolButton>

namespace {

using FileCommands = DocumentFixture;

struct PromptRow
{
    const char *name;
    std::function<void(DocumentSession &)> command;
    QString prompt;
    QString title;
};

TEST_F(FileCommands, EachCommandAsksWithItsOwnWords)
{
    const PromptRow rows[] = {
        {"Open", Open_Click, "Would you like to save your work?", "Opening a new document..."},
        {"New", New_Click, "Would your like to save you work?", "Create a new document..."},
        {"Exit", Exit_Click, "Would your like to save you work?", "Alert! Document not saved!"},
        {"close", [](DocumentSession &s) { Form_QueryUnload(s); }, "Would your like to save you work?",
         "Alert! Document not saved!"},
        {"toolbar New", [](DocumentSession &s) { Toolbar1_ButtonClick(s, 1); }, "Save Changes?", "Alert!"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        messages.shown.clear();
        state.Modified = 1;
        messages.answer(vb::vbYes);
        dialogs.cancel();
        row.command(session);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].prompt, row.prompt);
        EXPECT_EQ(messages.shown[0].title, row.title);
        EXPECT_EQ(messages.shown[0].buttons, vb::vbYesNo);
    }
}

TEST_F(FileCommands, OnlyToolbarNewAsksAboutAnUnmodifiedDocument)
{
    Open_Click(session);
    New_Click(session);
    Form_QueryUnload(session);
    EXPECT_TRUE(messages.shown.empty());
    Toolbar1_ButtonClick(session, 1);
    EXPECT_EQ(prompts(), QStringList{"Save Changes?"});
}

TEST_F(FileCommands, OpenAnsweredNoThenCancelledKeepsTheDocument)
{
    type("mine");
    messages.answer(vb::vbNo);
    dialogs.cancel();
    Open_Click(session);
    EXPECT_EQ(dialogKinds(), QStringList{"open"});
    EXPECT_EQ(editor.Text(), "mine");
    EXPECT_EQ(state.Modified, 1);
    EXPECT_EQ(FileName, "");
}

TEST_F(FileCommands, OpenWhoseSaveIsCancelledNeverShowsTheOpenDialog)
{
    type("mine");
    messages.answer(vb::vbYes);
    dialogs.cancel();
    Open_Click(session);
    EXPECT_EQ(dialogKinds(), QStringList{"save"});
    EXPECT_EQ(editor.Text(), "mine");
    EXPECT_EQ(state.Modified, 1);
    EXPECT_EQ(state.HasFileName, 0);
}

TEST_F(FileCommands, OpenSavedFirstThenCancelledKeepsTheSavedDocument)
{
    type("mine");
    messages.answer(vb::vbYes);
    dialogs.confirm(path("mine.rtf"));
    dialogs.cancel();
    Open_Click(session);
    EXPECT_EQ(editor.Text(), "mine");
    EXPECT_EQ(state.Modified, 0);
    EXPECT_EQ(state.HasFileName, 1);
    EXPECT_EQ(FileName, "");
}

TEST_F(FileCommands, OpensOfferedSaveAlwaysShowsTheDialog)
{
    type("one");
    const QString first = saveFirstTime("first.rtf");
    type(" two");
    messages.answer(vb::vbYes);
    dialogs.confirm(path("second.rtf"));
    dialogs.cancel();
    Open_Click(session);
    EXPECT_EQ(dialogKinds(), (QStringList{"save", "save", "open"}));
    EXPECT_EQ(documentText(first), "one");
    EXPECT_EQ(documentText(path("second.rtf")), "one two");
}

TEST_F(FileCommands, SaveThenOpenKeepsTheFormatting)
{
    type("plain bold");
    editor.SetSelStart(6);
    editor.SetSelLength(4);
    editor.SetSelBold(true);
    editor.SetSelColor(0x0000FF);
    const QString file = saveFirstTime("styled.rtf");
    New_Click(session);
    messages.answer(vb::vbNo);
    dialogs.confirm(file);
    Open_Click(session);
    ASSERT_EQ(editor.Text(), "plain bold");
    editor.SetSelStart(6);
    editor.SetSelLength(4);
    EXPECT_EQ(editor.SelBold(), true);
    EXPECT_EQ(editor.SelColor(), 0x0000FFu);
    editor.SetSelStart(0);
    editor.SetSelLength(5);
    EXPECT_EQ(editor.SelBold(), false);
}

TEST_F(FileCommands, AFileThatIsNotRtfOpensAsPlainText)
{
    QFile file(path("notes.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("plain\r\ntext");
    file.close();
    dialogs.confirm(path("notes.txt"));
    Open_Click(session);
    EXPECT_EQ(editor.Text(), "plain\ntext");
    EXPECT_EQ(state.Modified, 0);
}

TEST_F(FileCommands, OpeningDoesNotGiveTheDocumentAName)
{
    dialogs.confirm(writeDocument("opened.rtf", "text"));
    Open_Click(session);
    dialogs.confirm(path("chosen.rtf"));
    Save_Click(session);
    EXPECT_EQ(dialogKinds(), (QStringList{"open", "save"}));
    EXPECT_EQ(documentText(path("chosen.rtf")), "text");
}

TEST_F(FileCommands, AfterTheFirstSaveSavesGoToTheFileOpenedLast)
{
    type("first");
    const QString first = saveFirstTime("first.rtf");
    const QString opened = writeDocument("opened.rtf", "opened");
    dialogs.confirm(opened);
    Open_Click(session);
    type(" edited");
    Save_Click(session);
    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(documentText(opened), "opened edited");
    EXPECT_EQ(documentText(first), "first");
}

TEST_F(FileCommands, AfterMakeCopyEverySaveGoesToTheCopy)
{
    type("first");
    const QString first = saveFirstTime("first.rtf");
    dialogs.confirm(path("copy.rtf"));
    Toolbar1_ButtonClick(session, 3);
    type(" menu");
    Save_Click(session);
    EXPECT_EQ(documentText(path("copy.rtf")), "first menu");
    type(" toolbar");
    Toolbar1_ButtonClick(session, 2);
    EXPECT_EQ(documentText(path("copy.rtf")), "first menu toolbar");
    EXPECT_EQ(documentText(first), "first");
}

TEST_F(FileCommands, MakeCopyWithoutANameLeavesTheNextSaveAsking)
{
    type("text");
    dialogs.confirm(path("copy.rtf"));
    Toolbar1_ButtonClick(session, 3);
    dialogs.confirm(path("named.rtf"));
    Save_Click(session);
    EXPECT_EQ(dialogKinds(), (QStringList{"save", "save"}));
    EXPECT_EQ(documentText(path("named.rtf")), "text");
}

TEST_F(FileCommands, ATypedNameGetsNoExtension)
{
    type("text");
    saveFirstTime("no extension");
    EXPECT_TRUE(QFileInfo::exists(path("no extension")));
    EXPECT_FALSE(QFileInfo::exists(path("no extension.rtf")));
}

TEST_F(FileCommands, SavingTwiceWritesTheSameFileTwice)
{
    type("text");
    const QString file = saveFirstTime("doc.rtf");
    const QByteArray once = bytesOf(file);
    QFile::remove(file);
    Save_Click(session);
    EXPECT_EQ(bytesOf(file), once);
}

TEST_F(FileCommands, ASavedDocumentClosesWithoutAQuestion)
{
    type("text");
    saveFirstTime("doc.rtf");
    type(" more");
    Save_Click(session);
    EXPECT_EQ(state.Modified, 0);
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FileCommands, ACancelledFirstSaveLeavesTheNextSaveAsking)
{
    type("text");
    dialogs.cancel();
    Save_Click(session);
    EXPECT_EQ(state.HasFileName, 0);
    saveFirstTime("doc.rtf");
    EXPECT_EQ(dialogKinds(), (QStringList{"save", "save"}));
    EXPECT_EQ(documentText(path("doc.rtf")), "text");
}

TEST_F(FileCommands, NewOnAnUnmodifiedDocumentEmptiesItSilently)
{
    dialogs.confirm(writeDocument("doc.rtf", "text"));
    Open_Click(session);
    New_Click(session);
    EXPECT_EQ(editor.Text(), "");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(state.Modified, 1) << "the clearing is a change; the next New asks";
    New_Click(session);
    EXPECT_EQ(prompts(), QStringList{"Would your like to save you work?"});
}

TEST_F(FileCommands, NewAnsweredNoEmptiesWithoutSaving)
{
    type("text");
    messages.answer(vb::vbNo);
    New_Click(session);
    EXPECT_EQ(editor.Text(), "");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(FileCommands, NewWhoseSaveIsCancelledKeepsTheText)
{
    type("text");
    messages.answer(vb::vbYes);
    dialogs.cancel();
    New_Click(session);
    EXPECT_EQ(editor.Text(), "text");
    EXPECT_EQ(state.Modified, 1);
}

TEST_F(FileCommands, NewKeepsTheNameSoTheNextSaveOverwritesTheLastFile)
{
    type("old");
    const QString file = saveFirstTime("doc.rtf");
    type(" changed");
    messages.answer(vb::vbNo);
    New_Click(session);
    type("new");
    Save_Click(session);
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(documentText(file), "new");
}

TEST_F(FileCommands, ExitWhoseSaveIsCancelledKeepsRunning)
{
    type("text");
    messages.answer(vb::vbYes);
    dialogs.cancel();
    Exit_Click(session);
    EXPECT_FALSE(form.ended());
    EXPECT_EQ(editor.Text(), "text");
    EXPECT_EQ(state.Modified, 1);
}

TEST_F(FileCommands, ClosingAnsweredNoClosesWithoutSaving)
{
    form.show();
    type("text");
    messages.answer(vb::vbNo);
    EXPECT_TRUE(form.close());
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(FileCommands, ToolbarNewAnsweredNoEmptiesWithoutSaving)
{
    type("text");
    messages.answer(vb::vbNo);
    Toolbar1_ButtonClick(session, 1);
    EXPECT_EQ(editor.Text(), "");
    EXPECT_EQ(state.Modified, 1);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(FileCommands, SettingsAndUnknownButtonsDoNothing)
{
    type("text");
    for (int index : {0, 4, 5, -1}) {
        Toolbar1_ButtonClick(session, index);
        EXPECT_TRUE(messages.shown.empty()) << index;
        EXPECT_TRUE(dialogs.shown.empty()) << index;
        EXPECT_EQ(editor.Text(), "text");
        EXPECT_EQ(state.Modified, 1);
    }
}

TEST_F(FileCommands, MenuItemsAndToolbarButtonsRunTheirCommands)
{
    type("text");
    dialogs.confirm(path("menu.rtf"));
    form.menuItem("Save")->trigger();
    EXPECT_EQ(documentText(path("menu.rtf")), "text");
    dialogs.confirm(path("copy.rtf"));
    form.toolbarButton(3)->click();
    EXPECT_EQ(documentText(path("copy.rtf")), "text");
    messages.answer(vb::vbNo);
    form.toolbarButton(1)->click();
    EXPECT_EQ(prompts(), QStringList{"Save Changes?"});
    EXPECT_EQ(editor.Text(), "");
    messages.answer(vb::vbNo);
    form.menuItem("Exit")->trigger();
    EXPECT_TRUE(form.ended());
}

TEST_F(FileCommands, TheCaptionAndFileLabelNeverChange)
{
    const QString caption = form.windowTitle();
    const QString label = form.lblFileName->text();
    type("text");
    saveFirstTime("doc.rtf");
    dialogs.confirm(writeDocument("other.rtf", "other"));
    Open_Click(session);
    EXPECT_EQ(form.windowTitle(), caption);
    EXPECT_EQ(form.lblFileName->text(), label);
}

} // namespace

TEST_F(DocumentFixture, ADocumentHandedOverByTheDesktopOpensLikeOpen)
{
    const QString file = writeDocument("given.rtf", "from the file manager");
    type("typed before");
    OpenFromDesktop(session, file);
    EXPECT_EQ(editor.Text(), "from the file manager");
    EXPECT_EQ(state.Modified, 0);
    EXPECT_EQ(FileName, file);
    EXPECT_TRUE(messages.shown.empty());

    OpenFromDesktop(session, path("missing.rtf"));
    EXPECT_EQ(editor.Text(), "from the file manager");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].prompt.startsWith("Could not open")) << messages.shown[0].prompt.toStdString();
}
