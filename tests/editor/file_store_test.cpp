#include "editor/command_failure.h"
#include "editor/file_store.h"
#include "editor/save_beside.h"
#include <QDir>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
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

// What a save killed before its rename leaves: a full-size file of Velmo's naming, written earlier.
void leaveFile(const QString &path, const QDateTime &written)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.flush();
    ASSERT_TRUE(f.setFileTime(written, QFileDevice::FileModificationTime));
}

TEST(DiskFileStore, SaveRemovesWhatInterruptedSavesOfThatFileLeft)
{
    QTemporaryDir dir;
    const QDateTime started = QDateTime::currentDateTimeUtc();
    DiskFileStore store(started);
    const QString path = dir.filePath("doc.rtf");
    const QDateTime before = started.addSecs(-3600), after = started.addSecs(60);
    struct Leftover { const char *name; QDateTime written; bool removed; };
    const Leftover leftovers[] = {
        {"doc.rtf.velmo-save-a1B2c3", before, true},
        {"doc.rtf.velmo-save-ZZZZZZ", before, true},
        {"doc.rtf.velmo-save-q9q9q9", after, false},  // a save of another instance, still running
        {"doc.rtf.Ab12Cd", before, false},             // another program's naming
        {"doc.rtf.backup", before, false},
        {"doc.rtf.velmo-save-abc", before, false},     // not the whole naming
        {"doc.rtf.velmo-save-abcdefg", before, false},
        {"other.rtf.velmo-save-a1B2c3", before, false}, // beside another document
        {"doc.rtf.velmo-save-a-b_c.", before, false},
    };
    for (const Leftover &l : leftovers)
        leaveFile(dir.filePath(l.name), l.written);
    store.writeAll(path, "{\\rtf1 saved}");
    EXPECT_EQ(contentOf(path), "{\\rtf1 saved}");
    for (const Leftover &l : leftovers)
        EXPECT_EQ(QFile::exists(dir.filePath(l.name)), !l.removed) << l.name;
    QStringList expected{"doc.rtf"};
    for (const Leftover &l : leftovers)
        if (!l.removed)
            expected << l.name;
    expected.sort();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name), expected) << "the save leaves no file of its own";
}

TEST(DiskFileStore, SaveKeepsTheFilesPermissions)
{
    QTemporaryDir dir;
    DiskFileStore store;
    const QString path = dir.filePath("doc.rtf");
    store.writeAll(path, "first");
    const auto privateOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    ASSERT_TRUE(QFile::setPermissions(path, privateOnly));
    store.writeAll(path, "second");
    const auto ownerGroupOther = QFileDevice::Permissions::fromInt(0x7077); // not the ones for "this user"
    EXPECT_EQ(QFile::permissions(path) & ownerGroupOther, privateOnly);
}

TEST(DiskFileStore, SaveRefusesAReadOnlyFileAndLeavesItAsItWas)
{
    QTemporaryDir dir;
    DiskFileStore store;
    const QString path = dir.filePath("doc.rtf");
    store.writeAll(path, "second");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner));
    if (QFileInfo(path).isWritable())
        GTEST_SKIP() << "running as a user who may write every file";
    EXPECT_THROW(store.writeAll(path, "third"), FileError);
    EXPECT_EQ(contentOf(path), "second");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"doc.rtf"});
}

TEST(DiskFileStore, SaveThroughALinkReplacesTheFileItNames)
{
    QTemporaryDir dir;
    DiskFileStore store;
    const QString real = dir.filePath("real.rtf"), link = dir.filePath("link.rtf");
    store.writeAll(real, "old");
    ASSERT_TRUE(QFile::link(real, link));
    store.writeAll(link, "new");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(contentOf(real), "new");
}

TEST(SaveBeside, NamingIsRecognisedExactly)
{
    EXPECT_TRUE(SaveBeside::isSaveFileOf("a.rtf.velmo-save-x1Y2z3", "a.rtf"));
    EXPECT_FALSE(SaveBeside::isSaveFileOf("a.rtf.velmo-save-x1Y2z3", "b.rtf"));
    EXPECT_FALSE(SaveBeside::isSaveFileOf("xa.rtf.velmo-save-x1Y2z3", "a.rtf"));
    EXPECT_FALSE(SaveBeside::isSaveFileOf("a.rtf.velmo-save-x1Y2z", "a.rtf"));
    EXPECT_FALSE(SaveBeside::isSaveFileOf("a.rtf.velmo-save-x1Y2z!", "a.rtf"));
    EXPECT_FALSE(SaveBeside::isSaveFileOf("a.rtf", "a.rtf"));
}

} // namespace
