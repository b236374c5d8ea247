// Each command's effect on Modified, HasFileName and the remembered file name, row by row.
#include "tests/document/document_fixture.h"

namespace {

using StateTable = DocumentFixture;

TEST_F(StateTable, AChangeReportSetsModifiedAndNothingElse)
{
    FileName = "/kept.rtf";
    type("x");
    EXPECT_EQ(state.Modified, 1);
    EXPECT_EQ(state.HasFileName, 0);
    EXPECT_EQ(FileName, "/kept.rtf");
}

TEST_F(StateTable, TheWindowStartsUnmodifiedWithoutAName)
{
    EXPECT_EQ(state.Modified, 0);
    EXPECT_EQ(state.HasFileName, 0);
    EXPECT_EQ(FileName, "");
}

TEST_F(StateTable, OpenClearsModifiedAfterTheLoadAndLeavesHasFileName)
{
    const QString file = writeDocument("other.rtf", "from disk");
    dialogs.confirm(file);
    Open_Click(session);
    EXPECT_EQ(editor.Text(), "from disk");
    EXPECT_EQ(state.Modified, 0);
    EXPECT_EQ(state.HasFileName, 0);
    EXPECT_EQ(FileName, file);
    EXPECT_TRUE(messages.shown.empty()) << "an unmodified document is replaced without asking";
}

TEST_F(StateTable, OpenAfterSavingFirstEndsWithTheOpenedFile)
{
    const QString opened = writeDocument("opened.rtf", "opened text");
    type("unsaved");
    messages.answer(vb::vbYes);
    dialogs.confirm(path("saved.rtf"));
    dialogs.confirm(opened);
    Open_Click(session);
    EXPECT_EQ(dialogKinds(), (QStringList{"save", "open"}));
    EXPECT_EQ(documentText(path("saved.rtf")), "unsaved");
    EXPECT_EQ(editor.Text(), "opened text");
    EXPECT_EQ(state.Modified, 0);
    EXPECT_EQ(state.HasFileName, 1);
    EXPECT_EQ(FileName, opened);
}

TEST_F(StateTable, TheFirstSaveAsksForANameAndRemembersIt)
{
    type("first");
    const QString file = saveFirstTime("doc.rtf");
    EXPECT_EQ(dialogKinds(), QStringList{"save"});
    EXPECT_EQ(dialogs.shown[0].filters, QStringList{"RichText files (*.rtf)"});
    EXPECT_EQ(documentText(file), "first");
    EXPECT_EQ(state.Modified, 0);
    EXPECT_EQ(state.HasFileName, 1);
    EXPECT_EQ(FileName, file);
}

TEST_F(StateTable, ASaveToTheKnownNameWritesWithoutADialog)
{
    type("first");
    const QString file = saveFirstTime("doc.rtf");
    type(" second");
    Save_Click(session);
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(documentText(file), "first second");
    EXPECT_EQ(state.Modified, 0);
    EXPECT_EQ(FileName, file);
}

TEST_F(StateTable, NewAfterSavingFirstEmptiesTheEditorAndLeavesModifiedSet)
{
    type("old text");
    messages.answer(vb::vbYes);
    dialogs.confirm(path("old.rtf"));
    New_Click(session);
    EXPECT_EQ(documentText(path("old.rtf")), "old text");
    EXPECT_EQ(editor.Text(), "");
    EXPECT_EQ(state.Modified, 1) << "clearing the text is a change";
    EXPECT_EQ(state.HasFileName, 0);
    EXPECT_EQ(FileName, path("old.rtf"));
}

TEST_F(StateTable, ExitAfterSavingFirstEndsTheProgram)
{
    type("last words");
    messages.answer(vb::vbYes);
    dialogs.confirm(path("last.rtf"));
    Exit_Click(session);
    EXPECT_TRUE(form.ended());
    EXPECT_EQ(documentText(path("last.rtf")), "last words");
    EXPECT_EQ(state.Modified, 0);
    EXPECT_EQ(state.HasFileName, 0);
    EXPECT_EQ(FileName, path("last.rtf"));
    EXPECT_EQ(messages.shown.size(), 1u) << "no second prompt on the way out";
}

TEST_F(StateTable, ClosingAfterSavingFirstEndsTheProgram)
{
    form.show();
    type("last words");
    messages.answer(vb::vbYes);
    dialogs.confirm(path("last.rtf"));
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(form.ended());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(documentText(path("last.rtf")), "last words");
    EXPECT_EQ(state.Modified, 0);
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(StateTable, ToolbarNewAnsweredYesSavesAndKeepsTheText)
{
    type("kept");
    messages.answer(vb::vbYes);
    dialogs.confirm(path("kept.rtf"));
    Toolbar1_ButtonClick(session, 1);
    EXPECT_EQ(documentText(path("kept.rtf")), "kept");
    EXPECT_EQ(editor.Text(), "kept");
    EXPECT_EQ(state.Modified, 0);
    EXPECT_EQ(state.HasFileName, 0);
    EXPECT_EQ(FileName, path("kept.rtf"));
}

TEST_F(StateTable, ToolbarSaveWithoutANameAsksAndRemembers)
{
    type("text");
    dialogs.confirm(path("doc.rtf"));
    Toolbar1_ButtonClick(session, 2);
    EXPECT_EQ(dialogKinds(), QStringList{"save"});
    EXPECT_EQ(documentText(path("doc.rtf")), "text");
    EXPECT_EQ(state.Modified, 0);
    EXPECT_EQ(state.HasFileName, 1);
    EXPECT_EQ(FileName, path("doc.rtf"));
}

TEST_F(StateTable, ToolbarSaveToTheKnownNameLeavesModifiedAsItWas)
{
    type("text");
    const QString file = saveFirstTime("doc.rtf");
    type(" more");
    Toolbar1_ButtonClick(session, 2);
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(documentText(file), "text more");
    EXPECT_EQ(state.Modified, 1);
    EXPECT_EQ(FileName, file);
}

TEST_F(StateTable, MakeCopyClearsModifiedAndMovesTheNameToTheCopy)
{
    type("text");
    dialogs.confirm(path("copy.rtf"));
    Toolbar1_ButtonClick(session, 3);
    EXPECT_EQ(documentText(path("copy.rtf")), "text");
    EXPECT_EQ(state.Modified, 0);
    EXPECT_EQ(state.HasFileName, 0);
    EXPECT_EQ(FileName, path("copy.rtf"));
}

// Every command that shows a file dialog, with what leads up to it.
struct CancelledDialogRow
{
    const char *name;
    int answer; // to the save prompt, 0 when none is shown
    std::function<void(DocumentSession &)> command;
};

TEST_F(StateTable, ACancelledDialogChangesOnlyTheRememberedName)
{
    const CancelledDialogRow rows[] = {
        {"Open", vb::vbNo, Open_Click},
        {"Open, saving first", vb::vbYes, Open_Click},
        {"Save", 0, Save_Click},
        {"New, saving first", vb::vbYes, New_Click},
        {"Exit, saving first", vb::vbYes, Exit_Click},
        {"toolbar New", vb::vbYes, [](DocumentSession &s) { Toolbar1_ButtonClick(s, 1); }},
        {"toolbar Save", 0, [](DocumentSession &s) { Toolbar1_ButtonClick(s, 2); }},
        {"Make Copy", 0, [](DocumentSession &s) { Toolbar1_ButtonClick(s, 3); }},
    };
    type("text");
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        FileName = "/before.rtf";
        messages.shown.clear();
        if (row.answer)
            messages.answer(row.answer);
        dialogs.cancel();
        row.command(session);
        EXPECT_EQ(FileName, "");
        EXPECT_EQ(state.Modified, 1);
        EXPECT_EQ(state.HasFileName, 0);
        EXPECT_EQ(editor.Text(), "text");
        EXPECT_FALSE(form.ended());
        EXPECT_EQ(messages.shown.size(), row.answer ? 1u : 0u) << "a cancel is silent";
    }
}

} // namespace
