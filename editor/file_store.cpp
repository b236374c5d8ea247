#include "editor/file_store.h"
#include "editor/command_failure.h"
#include "editor/save_beside.h"
#include <QFile>
#include <QFileInfo>

static QString reasonOf(const QFileDevice &file)
{
    QString why = file.errorString();
    return why.isEmpty() ? QStringLiteral("Unknown error") : why;
}

static QString reasonOfShortWrite(const QFileDevice &file, qint64 written, qsizetype wanted)
{
    if (file.error() != QFileDevice::NoError)
        return reasonOf(file);
    return QStringLiteral("Only %1 of %2 bytes were written").arg(qMax<qint64>(written, 0)).arg(wanted);
}

DiskFileStore::DiskFileStore() : startedAt_(instanceStart()) {}

QByteArray DiskFileStore::readAll(const QString &path)
{
    if (QFileInfo(path).isDir())
        throw FileError(path, QStringLiteral("Is a directory"), false);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(path, reasonOf(file), false);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(path, reasonOf(file), false);
    return bytes;
}

void DiskFileStore::writeAll(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        throw FileError(path, QStringLiteral("No file name"), true);
    if (QFileInfo(path).isDir())
        throw FileError(path, QStringLiteral("Is a directory"), true);
    // What earlier saves of this file left when they were killed would only fill the disk.
    SaveBeside::removeInterrupted(path, startedAt_);
    SaveBeside save(path);
    if (!save.open())
        throw FileError(path, save.errorString(), true);
    const qint64 written = writeContent(save.file(), bytes);
    if (written != bytes.size())
        throw FileError(path, reasonOfShortWrite(save.file(), written, bytes.size()), true);
    if (!save.commit())
        throw FileError(path, save.errorString(), true);
}

qint64 DiskFileStore::writeContent(QFileDevice &file, const QByteArray &bytes) { return file.write(bytes); }

FileStore &diskFileStore()
{
    static DiskFileStore store;
    return store;
}
