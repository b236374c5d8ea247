#pragma once
#include <QByteArray>
#include <QString>

// Whole-file reads and writes of documents. Failures throw FileError.
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
class DiskFileStore : public FileStore
{
public:
    QByteArray readAll(const QString &path) override;
    void writeAll(const QString &path, const QByteArray &bytes) override;

protected:
    // Puts the new content into the file being prepared; returns the bytes written, -1 on a device error.
    // Tests override it to fail part-way.
    virtual qint64 writeContent(QFileDevice &file, const QByteArray &bytes);
};

FileStore &diskFileStore();
