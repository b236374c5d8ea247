#include "editor/command_failure.h"
#include "editor/common_dialog.h"
#include "editor/rich_text_box.h"
#include "document/dialog_steps.h"
#include "tests/support/scripted_seams.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct DialogSteps : ::testing::Test
{
    ScriptedFileDialogs seam;
    CommonDialog dialog{seam};
    RichTextBox editor;
    QTemporaryDir dir;
};

TEST_F(DialogSteps, SaveWithDialogPreparesTheDialogThenWritesRtf)
{
    editor.SetText("hello");
    dialog.FileName = "/old/name.rtf";
    const QString path = dir.filePath("saved"); // no extension is added
    seam.confirm(path);
    SaveWithDialog(dialog, editor);
    EXPECT_EQ(dialog.Filter, "RichText files | *.rtf; ");
    EXPECT_TRUE(dialog.CancelError);
    EXPECT_EQ(dialog.FileName, path);
    ASSERT_EQ(seam.shown.size(), 1u);
    EXPECT_EQ(seam.shown[0].kind, "save");
    EXPECT_EQ(seam.shown[0].filters, QStringList{"RichText files (*.rtf)"});
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("{\\rtf"));
}

TEST_F(DialogSteps, ACancelledDialogEndsTheStepWithFileNameEmpty)
{
    dialog.FileName = "/old/name.rtf";
    seam.cancel();
    EXPECT_THROW(SaveWithDialog(dialog, editor), DialogCancelled);
    EXPECT_EQ(dialog.FileName, "");
    seam.cancel();
    EXPECT_THROW(OpenWithDialog(dialog, editor), DialogCancelled);
    EXPECT_EQ(dialog.FileName, "");
}

TEST_F(DialogSteps, OpenWithDialogLoadsTheChosenFile)
{
    editor.SetText("written");
    const QString path = dir.filePath("doc.rtf");
    editor.SaveFile(path);
    editor.SetText("other");
    seam.confirm(path);
    OpenWithDialog(dialog, editor);
    EXPECT_EQ(editor.Text(), "written");
    EXPECT_EQ(dialog.FileName, path);
    EXPECT_EQ(seam.shown.back().kind, "open");
}

TEST_F(DialogSteps, AFailedLoadOrSaveKeepsTheChosenPathAndTheContent)
{
    editor.SetText("keep");
    const QString missing = dir.filePath("missing.rtf");
    seam.confirm(missing);
    EXPECT_THROW(OpenWithDialog(dialog, editor), FileError);
    EXPECT_EQ(dialog.FileName, missing);
    EXPECT_EQ(editor.Text(), "keep");
    seam.confirm(dir.filePath("no/folder/x.rtf"));
    EXPECT_THROW(SaveWithDialog(dialog, editor), FileError);
}

} // namespace
