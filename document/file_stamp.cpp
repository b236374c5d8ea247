#include "document/file_stamp.h"
#include <QFileInfo>

FileStamp FileStamp::of(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return {};
    return {path, info.size(), info.lastModified()};
}

bool FileStamp::changedOnDisk(const QString &target) const
{
    if (path.isEmpty() || target != path)
        return false;
    const FileStamp now = of(path);
    return !now.path.isEmpty() && now != *this;
}
