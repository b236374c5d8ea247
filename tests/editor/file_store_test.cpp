#include "editor/command_failure.h"
#include "editor/file_store.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray contentOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(DiskFileStore, WritesAndReadsWholeFiles)
{
    QTemporaryDir dir;
    DiskFileStore store;
    const QString path = dir.filePath("doc.rtf");
    store.writeAll(path, "{\\rtf1 hi}");
    EXPECT_EQ(store.readAll(path), "{\\rtf1 hi}");
    store.writeAll(path, "{\\rtf1 second}");
    EXPECT_EQ(contentOf(path), "{\\rtf1 second}");
}

TEST(DiskFileStore, FailuresNameTheFileAndTheReason)
{
    QTemporaryDir dir;
    DiskFileStore store;
    const QString missingFolder = dir.filePath("no/such/folder/doc.rtf");
    try {
        store.writeAll(missingFolder, "x");
        FAIL() << "a write into a missing folder must fail";
    } catch (const FileError &e) {
        EXPECT_EQ(e.path(), missingFolder);
        EXPECT_TRUE(e.reason().startsWith("Could not save " + missingFolder + ": ")) << e.reason().toStdString();
    }
    EXPECT_THROW(store.writeAll(dir.path(), "x"), FileError) << "a folder is no file";
    EXPECT_THROW(store.writeAll("", "x"), FileError);
    EXPECT_THROW(store.readAll(dir.filePath("missing")), FileError);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty()) << "a failed write leaves nothing behind";
}

} // namespace
