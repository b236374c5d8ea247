#include "editor/command_failure.h"
#include "editor/common_dialog.h"
#include "tests/support/scripted_seams.h"
#include <QDir>
#include <gtest/gtest.h>

namespace {

TEST(CommonDialogFilter, BarSeparatedPairsBecomeTheDialogsFilterList)
{
    EXPECT_EQ(CommonDialog::filterList("RichText files | *.rtf; "), QStringList{"RichText files (*.rtf)"});
    EXPECT_EQ(CommonDialog::filterList("Text files (*.txt)|*.txt|All Files (*.*)|*.*"),
              (QStringList{"Text files (*.txt) (*.txt)", "All Files (*.*) (*.*)"}));
    EXPECT_EQ(CommonDialog::filterList("Pictures|*.png;*.jpg"), QStringList{"Pictures (*.png *.jpg)"});
}

TEST(CommonDialog, StartsWithItsDesignValues)
{
    ScriptedFileDialogs seam;
    CommonDialog dialog(seam);
    EXPECT_EQ(dialog.Filter, "Text files (*.txt)|*.txt|All Files (*.*)|*.*");
    EXPECT_EQ(dialog.FileName, "");
    EXPECT_FALSE(dialog.CancelError);
#ifndef Q_OS_WIN
    EXPECT_EQ(dialog.folder(), QDir::homePath());
#endif
}

TEST(CommonDialog, ConfirmSetsFileNameAndCancelKeepsIt)
{
    ScriptedFileDialogs seam;
    CommonDialog dialog(seam);
    seam.confirm("/tmp/a.rtf");
    dialog.ShowSave();
    EXPECT_EQ(dialog.FileName, "/tmp/a.rtf");
    seam.cancel();
    EXPECT_NO_THROW(dialog.ShowOpen()) << "without CancelError a cancel returns normally";
    EXPECT_EQ(dialog.FileName, "/tmp/a.rtf");
}

TEST(CommonDialog, CancelErrorTurnsACancelIntoAFailureOfTheShowCall)
{
    ScriptedFileDialogs seam;
    CommonDialog dialog(seam);
    dialog.CancelError = true;
    seam.cancel();
    EXPECT_THROW(dialog.ShowOpen(), DialogCancelled);
    seam.cancel();
    EXPECT_THROW(dialog.ShowSave(), DialogCancelled);
    seam.cancelPrinter();
    EXPECT_THROW(dialog.ShowPrinter(), DialogCancelled);
}

TEST(CommonDialog, PropertiesKeepTheirValuesBetweenUses)
{
    ScriptedFileDialogs seam;
    CommonDialog dialog(seam);
    dialog.Flags = 264;
    dialog.Filter = "RichText files | *.rtf; ";
    seam.confirm("/tmp/x");
    dialog.ShowOpen();
    seam.confirmPrinter("/tmp/x.pdf");
    dialog.ShowPrinter();
    EXPECT_EQ(dialog.Flags, 264);
    EXPECT_EQ(seam.shown.back().flags, 264);
    EXPECT_EQ(seam.shown.front().filters, QStringList{"RichText files (*.rtf)"});
    EXPECT_EQ(dialog.FileName, "/tmp/x") << "the print dialog leaves FileName alone";
}

} // namespace
