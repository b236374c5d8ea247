// A large file opened in the real window: the window keeps drawing and taking keys, and the open can
// be given up with the old document kept.
#include "tests/gui/x_session.h"
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

// Short paragraphs, like a long log or a list: tens of megabytes that take seconds to read.
QString writeLargeDocument(const QTemporaryDir &dir, int paragraphs)
{
    QFile file(dir.filePath(QStringLiteral("large.rtf")));
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20\n");
    const QByteArray paragraph = "\\pard the quick brown fox jumps over a lazy dog while wizards judge\\par\n";
    QByteArray chunk;
    for (int i = 0; i < 1000; ++i)
        chunk += paragraph;
    for (int i = 0; i < paragraphs / 1000; ++i)
        file.write(chunk);
    file.write("}");
    return file.fileName();
}

TEST(RealWindowOpen, ProgressShowsAndCancelKeepsTheWindowWorking)
{
    XServer x;
    ASSERT_TRUE(x.started()) << "Xvfb did not start";
    QTemporaryDir dir;
    const QString large = writeLargeDocument(dir, 800'000);
    ASSERT_FALSE(large.isEmpty());
    VelmoProcess velmo(x, QStringLiteral(VELMO_BINARY), {}, {large});
    const QString window = velmo.waitForMainWindow(20s);
    ASSERT_FALSE(window.isEmpty()) << velmo.errors().toStdString();

    QString progress;
    ASSERT_TRUE(waitUntil([&] {
        const QStringList found = x.windows(QStringLiteral("^Opening a document\\.\\.\\.$"));
        progress = found.isEmpty() ? QString() : found.first();
        return !progress.isEmpty();
    }, 20s)) << "no progress while the file is read";
    // The window still answers the window system while the file is read elsewhere.
    EXPECT_EQ(x.windowName(window), QStringLiteral("Velmo"));

    x.run(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), QStringLiteral("--sync"), progress});
    x.key(QStringLiteral("Escape"));
    ASSERT_TRUE(waitUntil([&] { return x.windows(QStringLiteral("^Opening a document")).isEmpty(); }, 10s))
        << "Escape did not cancel the open";

    x.run(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    x.type(QStringLiteral("kept"));
    x.key(QStringLiteral("ctrl+a ctrl+c"));
    QString text;
    EXPECT_TRUE(waitUntil([&] { return (text = x.clipboardText()) == QStringLiteral("kept"); }, 10s))
        << "the old, empty document should take the keys; it holds: " << text.left(80).toStdString();
    EXPECT_TRUE(velmo.running());
}

} // namespace
