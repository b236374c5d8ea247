#include "editor/save_beside.h"
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <filesystem>
#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace {

const QString Marker = QStringLiteral(".velmo-save-");
constexpr int RandomLength = 6;

const QDateTime startedAt = QDateTime::currentDateTimeUtc();

QString randomSuffix()
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString suffix;
    for (int i = 0; i < RandomLength; ++i)
        suffix += QLatin1Char(alphabet[QRandomGenerator::global()->bounded(int(sizeof alphabet - 1))]);
    return suffix;
}

// A symbolic link keeps pointing where it did: the save replaces the file it names.
QString resolvedTarget(const QString &path)
{
    const QFileInfo info(path);
    return info.isSymLink() && info.exists() ? info.canonicalFilePath() : path;
}

bool ownedByThisUser(const QFileInfo &info)
{
#if defined(Q_OS_UNIX)
    return info.ownerId() == geteuid();
#else
    Q_UNUSED(info);
    return true;
#endif
}

bool syncToDisk(QFile &file)
{
    if (!file.flush())
        return false;
#if defined(Q_OS_UNIX)
    return fsync(file.handle()) == 0;
#else
    return true;
#endif
}

// Windows reads narrow names in the ANSI code page, which may not spell the file's name.
std::filesystem::path nativePath(const QString &file)
{
#if defined(Q_OS_WIN)
    return std::filesystem::path(file.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(file).toStdString());
#endif
}

} // namespace

QDateTime instanceStart() { return startedAt; }

SaveBeside::SaveBeside(const QString &target) : target_(resolvedTarget(target)) {}

SaveBeside::~SaveBeside()
{
    if (!committed_ && file_.isOpen()) {
        file_.close();
        file_.remove();
    }
}

bool SaveBeside::open()
{
    const QFileInfo existing(target_);
    if (existing.exists() && !existing.isWritable()) {
        error_ = QStringLiteral("The file is read-only");
        return false;
    }
    const QFileDevice::Permissions permissions = existing.exists()
        ? existing.permissions()
        : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::WriteGroup
              | QFileDevice::ReadOther | QFileDevice::WriteOther;
    for (int attempt = 0; attempt < 100; ++attempt) {
        file_.setFileName(target_ + Marker + randomSuffix());
        if (file_.open(QIODevice::WriteOnly | QIODevice::NewOnly, permissions))
            return true;
        if (file_.error() != QFileDevice::OpenError || !file_.exists())
            break; // anything but a name already taken
    }
    error_ = file_.errorString();
    return false;
}

bool SaveBeside::commit()
{
    if (!syncToDisk(file_)) {
        error_ = file_.errorString();
        return false;
    }
    file_.close();
    std::error_code failed;
    std::filesystem::rename(nativePath(file_.fileName()), nativePath(target_), failed);
    if (failed) {
        error_ = QString::fromLocal8Bit(failed.message());
        file_.remove();
        return false;
    }
    committed_ = true;
    return true;
}

bool SaveBeside::isSaveFileOf(const QString &name, const QString &targetName)
{
    static const QRegularExpression suffix(QStringLiteral("^[A-Za-z0-9]{%1}$").arg(RandomLength));
    const QString prefix = targetName + Marker;
    return name.size() == prefix.size() + RandomLength && name.startsWith(prefix)
        && suffix.match(QStringView(name).mid(prefix.size())).hasMatch();
}

int SaveBeside::removeInterrupted(const QString &target, const QDateTime &before)
{
    const QFileInfo resolved(resolvedTarget(target));
    const QDir folder = resolved.absoluteDir();
    int removed = 0;
    // No wildcard filter: the document's own name may hold wildcard characters.
    const QStringList candidates = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : candidates) {
        const QFileInfo info(folder.filePath(name));
        if (!isSaveFileOf(name, resolved.fileName()) || info.isSymLink() || !ownedByThisUser(info))
            continue;
        if (info.lastModified().toUTC() < before && QFile::remove(info.filePath()))
            ++removed;
    }
    return removed;
}
