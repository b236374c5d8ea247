#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QString>

// Whole-file reads and writes of documents. Failures throw FileError. Reads run on a reader
// thread while the UI thread waits for them.
class FileStore
{
public:
    virtual ~FileStore() = default;
    virtual QByteArray readAll(const QString &path) = 0;
    // Replaces the file only once the new content is completely written.
    virtual void writeAll(const QString &path, const QByteArray &bytes) = 0;
};

class QFileDevice;

// Writes go to a file beside the target that is renamed over it only once complete.
// Files that interrupted saves of the same document left beside it are removed first.
class DiskFileStore : public FileStore
{
public:
    DiskFileStore();
    // Leftovers written before `startedAt` count as interrupted; later ones may be another save's.
    explicit DiskFileStore(const QDateTime &startedAt) : startedAt_(startedAt) {}
    QByteArray readAll(const QString &path) override;
    void writeAll(const QString &path, const QByteArray &bytes) override;

protected:
    // Puts the new content into the file being prepared; returns the bytes written, -1 on a device error.
    // Tests override it to fail part-way.
    virtual qint64 writeContent(QFileDevice &file, const QByteArray &bytes);

private:
    QDateTime startedAt_;
};

FileStore &diskFileStore();
