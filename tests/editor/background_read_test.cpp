// Reading a file on its own thread: how far it is, giving it up, and what it lost.
#include "editor/background_read.h"
#include "editor/command_failure.h"
#include "editor/load_progress.h"
#include "editor/rich_text_box.h"
#include "tests/support/read_samples.h"
#include <QSignalSpy>
#include <QTextDocument>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <gtest/gtest.h>

namespace {

using readsamples::MemoryFiles;
using readsamples::WatchingProgress;

void waitUntilFinished(const BackgroundRead &read)
{
    while (!read.finished())
        QThread::msleep(1);
}

TEST(BackgroundRead, CancelStopsTheReadLongBeforeItsEnd)
{
    BackgroundRead read(readsamples::longRtf(1'000'000), QStringLiteral("long.rtf"), QFont());
    while (!read.finished() && read.fraction() == 0)
        QThread::msleep(1);
    read.cancel();
    waitUntilFinished(read);
    EXPECT_LT(read.fraction(), 0.5) << "the thread read on after the cancel";
    EXPECT_THROW(read.take(), LoadCancelled);
}

TEST(LoadProgress, PercentShownIsRoundedDownAndBounded)
{
    const std::pair<double, int> cases[] = {
        {0.0, 0}, {0.004, 0}, {0.5, 50}, {0.999, 99}, {1.0, 100}, {1.5, 100}, {-0.5, 0}, {std::nan(""), 0},
    };
    for (const auto &[fraction, percent] : cases)
        EXPECT_EQ(percentRead(fraction), percent) << fraction;
}

struct LoadFileProgress : ::testing::Test
{
    MemoryFiles files;
    WatchingProgress progress;
    RichTextBox box;

    LoadFileProgress()
    {
        box.setFileStore(files);
        box.setLoadProgress(progress);
    }
};

TEST_F(LoadFileProgress, TheSeamSeesTheFractionGrowToTheWhole)
{
    files.files["long.rtf"] = readsamples::longRtf(200'000);
    box.LoadFile("long.rtf");
    ASSERT_FALSE(progress.seen.empty());
    EXPECT_EQ(progress.seen.back(), 1.0);
    EXPECT_TRUE(std::is_sorted(progress.seen.begin(), progress.seen.end()));
    EXPECT_EQ(box.document()->blockCount(), 200'001);
}

TEST_F(LoadFileProgress, CancelKeepsTheDocumentAndTheReadEndsWhenWaitedFor)
{
    box.SetText(QStringLiteral("old"));
    files.files["long.rtf"] = readsamples::longRtf(1'000'000);
    progress.cancelAt = 0.01;
    EXPECT_THROW(box.LoadFile("long.rtf"), LoadCancelled);
    EXPECT_EQ(box.Text(), "old");
    waitForAbandonedReads();
    EXPECT_EQ(readsUnderWay(), 0);
}

TEST_F(LoadFileProgress, WarningsAreHandedUpOnceAndOnlyWhenThereAreAny)
{
    QSignalSpy warned(&box, &RichTextBox::readWarnings);
    files.files["plain.rtf"] = "{\\rtf1 no pictures\\par}";
    box.LoadFile("plain.rtf");
    EXPECT_EQ(warned.count(), 0);
    files.files["pictures.rtf"] = readsamples::rtfWithPictures(4097);
    box.LoadFile("pictures.rtf");
    ASSERT_EQ(warned.count(), 1);
    EXPECT_EQ(warned.at(0).at(0).toStringList(), QStringList{readsamples::pictureCountWarning(1)});
}

TEST_F(LoadFileProgress, PlainTextShowsHowFarItIsAndCanBeGivenUp)
{
    QByteArray lines;
    for (int i = 0; i < 100'000; ++i)
        lines += "a line of plain text " + QByteArray::number(i) + '\n';
    files.files["long.txt"] = lines;
    box.LoadFile("long.txt");
    EXPECT_TRUE(std::any_of(progress.seen.begin(), progress.seen.end(), [](double f) { return f > 0 && f < 1; }))
        << "plain text showed no progress before its end";
    EXPECT_EQ(progress.seen.back(), 1.0);
    EXPECT_EQ(box.document()->blockCount(), 100'001);

    box.SetText(QStringLiteral("old"));
    progress.seen.clear();
    progress.cancelAt = 0.01;
    EXPECT_THROW(box.LoadFile("long.txt"), LoadCancelled);
    EXPECT_EQ(box.Text(), "old");
    EXPECT_LT(progress.seen.back(), 0.5);
}

TEST_F(LoadFileProgress, PlainTextReadInPiecesIsTheWholeTextExactly)
{
    // Pieces end mid-line, and one ends between the two halves of a character outside the basic plane.
    const QString text = QString(65535, QLatin1Char('x')) + QString::fromUcs4(U"\U0001F600 and on\nsecond") +
                         QString(70000, QLatin1Char('y'));
    files.files["astride.txt"] = text.toUtf8();
    box.LoadFile("astride.txt");
    EXPECT_EQ(box.document()->toPlainText(), text);
}

// A disk that answers slowly, or not at all, is waited for with the window still drawn.
class SlowDisk : public MemoryFiles
{
public:
    std::atomic<bool> readOnUiThread = true;
    QByteArray readAll(const QString &path) override
    {
        readOnUiThread = QThread::currentThread() == qApp->thread();
        if (path == QLatin1String("gone.rtf"))
            throw FileError(path, QStringLiteral("No such file or directory"), false);
        return MemoryFiles::readAll(path);
    }
};

TEST_F(LoadFileProgress, TheFileIsFetchedOffTheUiThreadAndItsFailureReachesTheCaller)
{
    SlowDisk disk;
    disk.files["short.rtf"] = "{\\rtf1 short}";
    box.setFileStore(disk);
    box.LoadFile("short.rtf");
    EXPECT_FALSE(disk.readOnUiThread);
    EXPECT_EQ(box.Text(), "short");
    box.SetText(QStringLiteral("kept"));
    try {
        box.LoadFile("gone.rtf");
        ADD_FAILURE() << "a missing file opened";
    } catch (const FileError &e) {
        EXPECT_EQ(e.why(), "No such file or directory");
        EXPECT_EQ(e.path(), "gone.rtf");
    }
    EXPECT_EQ(box.Text(), "kept");
}

} // namespace
