// Quitting while an open given up by a cancel is still being read. The checks are that the process
// ends cleanly, also under the sanitizers: no thread may still use Qt once the application goes.
// Its own program, so the application ends right after the abandoned reads.
#include "editor/background_read.h"
#include "editor/rich_text_box.h"
#include "tests/support/read_samples.h"
#include <QThread>
#include <gtest/gtest.h>

namespace {

TEST(QuitDuringRead, TheEditorGoesOnlyOnceItsAbandonedReadHasEnded)
{
    {
        readsamples::MemoryFiles files;
        files.files["long.rtf"] = readsamples::longRtf(1'000'000);
        readsamples::WatchingProgress progress;
        progress.cancelAt = 0.001;
        RichTextBox box;
        box.setFileStore(files);
        box.setLoadProgress(progress);
        EXPECT_THROW(box.LoadFile("long.rtf"), LoadCancelled);
    }
    EXPECT_EQ(readsUnderWay(), 0);
}

// Left running on purpose: the application's end must wait for it.
TEST(QuitDuringRead, AReadAbandonedWithoutAnEditorIsLeftToTheApplicationsEnd)
{
    BackgroundRead read(readsamples::longRtf(1'000'000), QStringLiteral("long.rtf"), QFont());
    while (!read.finished() && read.fraction() == 0)
        QThread::msleep(1);
}

} // namespace
