#include "editor/file_store.h"
#include "editor/command_failure.h"
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(path, reasonOf(file), true);
    const qint64 written = writeContent(file, bytes);
    if (written != bytes.size()) {
        const QString why = reasonOfShortWrite(file, written, bytes.size());
        file.cancelWriting();
        throw FileError(path, why, true);
    }
    if (!file.commit())
        throw FileError(path, reasonOf(file), true);
}

qint64 DiskFileStore::writeContent(QFileDevice &file, const QByteArray &bytes) { return file.write(bytes); }

FileStore &diskFileStore()
{
    static DiskFileStore store;
    return store;
}
