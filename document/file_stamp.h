#pragma once
#include <QDateTime>
#include <QString>

// A file as this run last read or wrote it, so that a save to the same name can tell whether
// another program (or another Velmo window) has changed it since.
struct FileStamp
{
    QString path;
    qint64 size = -1;
    QDateTime modified;

    // The file as it is on disk now; an empty stamp when it does not exist.
    static FileStamp of(const QString &path);
    bool operator==(const FileStamp &) const = default;

    // True when `path` is the stamped file and it now differs on disk; a file deleted since
    // has nothing left to lose, so it counts as unchanged.
    bool changedOnDisk(const QString &path) const;
};
