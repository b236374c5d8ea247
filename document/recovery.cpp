#include "document/recovery.h"
#include "document/document_state.h"
#include "document/recovery_copy.h"
#include "editor/command_failure.h"
#include "editor/common_dialog.h"
#include "editor/message_box.h"
#include "editor/rich_text_box.h"
#include "editor/version.h"
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextDocument>
#include <QThread>
#include <QUuid>
#include <algorithm>
#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {

const QString CopyPattern = QStringLiteral("*.rtf");
const QString LockSuffix = QStringLiteral(".lock");
const QString SetAsideSuffix = QStringLiteral(".unreadable");
const QString RecoverPrompt = QStringLiteral("Velmo was not closed properly. Recover the unsaved document?");

void writeAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        qWarning("Velmo: the recovery copy %s could not be written: %s", qPrintable(path), qPrintable(file.errorString()));
}

QByteArray readWhole(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

RecoverySettings RecoverySettings::forThisUser()
{
    RecoverySettings settings;
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // A plain lower-case name under XDG_DATA_HOME, as Linux desktops expect.
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    settings.folder = dataHome + QStringLiteral("/velmo/recovery");
    settings.earlierFolders << dataHome + QLatin1Char('/') + QLatin1String(velmo::ProductName) + QLatin1Char('/') +
                                   QLatin1String(velmo::InternalName) + QStringLiteral("/recovery");
#else
    // The local folder: a roaming profile would carry the copy to computers the run never was on.
    settings.folder =
        QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/recovery");
#endif
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("VELMO_RECOVERY_INTERVAL_MS", &ok);
    if (ok && ms > 0)
        settings.interval = std::chrono::milliseconds(ms);
    return settings;
}

DocumentRecovery::DocumentRecovery(RichTextBox &editor, CommonDialog &dialog, DocumentState &state,
                                   MessageBoxSeam &messages, RecoverySettings settings)
    : editor_(editor), dialog_(dialog), state_(state), messages_(messages), settings_(std::move(settings)),
      writer_(std::make_unique<QThread>())
{
    QDir().mkpath(settings_.folder);
    ownCopy_ = QDir(settings_.folder).filePath(QUuid::createUuid().toString(QUuid::WithoutBraces) + QStringLiteral(".rtf"));
    ownLock_ = std::make_unique<QLockFile>(ownCopy_ + LockSuffix);
    if (!ownLock_->tryLock(0))
        qWarning("Velmo: the recovery copy %s could not be locked", qPrintable(ownCopy_));
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &DocumentRecovery::checkpoint);
    writerContext_ = new QObject;
    writerContext_->moveToThread(writer_.get());
    writer_->setObjectName(QStringLiteral("recovery writer"));
    writer_->start(QThread::LowPriority);
#ifdef Q_OS_LINUX
    // Thread priorities mean nothing to Linux's normal scheduler; niceness does, per thread.
    QMetaObject::invokeMethod(writerContext_, [] { setpriority(PRIO_PROCESS, id_t(gettid()), 10); });
#endif
}

DocumentRecovery::~DocumentRecovery()
{
    timer_.stop();
    removeOwnCopy();
    waitForWrites();
    writer_->quit();
    writer_->wait();
    delete writerContext_;
    ownLock_->unlock();
}

bool DocumentRecovery::somethingUnsaved() const
{
    return state_.Modified == 1 && !editor_.document()->isEmpty();
}

void DocumentRecovery::documentChanged()
{
    // Not restarted by later changes, so steady typing cannot hold the copy back.
    if (!timer_.isActive())
        timer_.start(settings_.interval);
}

void DocumentRecovery::followState()
{
    if (!somethingUnsaved()) {
        timer_.stop();
        removeOwnCopy();
    }
}

void DocumentRecovery::checkpoint()
{
    timer_.stop();
    if (!somethingUnsaved()) {
        removeOwnCopy();
        return;
    }
    auto snapshot = std::make_shared<const DocumentSnapshot>(takeSnapshot(*editor_.document()));
    const RecoveryHeader header{dialog_.FileName, state_.HasFileName};
    const QString path = ownCopy_;
    QMetaObject::invokeMethod(writerContext_, [snapshot, header, path] { writeAtomically(path, recoveryBytes(*snapshot, header)); });
    copyExists_ = true;
}

void DocumentRecovery::removeOwnCopy()
{
    if (!copyExists_)
        return;
    copyExists_ = false;
    const QString path = ownCopy_;
    QMetaObject::invokeMethod(writerContext_, [path] { QFile::remove(path); });
}

void DocumentRecovery::waitForWrites()
{
    QMetaObject::invokeMethod(writerContext_, [] {}, Qt::BlockingQueuedConnection);
}

// Newest first, from every folder a copy may have been left in.
QStringList DocumentRecovery::leftOverCopies() const
{
    QFileInfoList found;
    for (const QString &folder : QStringList{settings_.folder} + settings_.earlierFolders)
        found += QDir(folder).entryInfoList({CopyPattern}, QDir::Files);
    std::stable_sort(found.begin(), found.end(),
                     [](const QFileInfo &a, const QFileInfo &b) { return a.lastModified() > b.lastModified(); });
    QStringList copies;
    for (const QFileInfo &file : found)
        if (file.absoluteFilePath() != QFileInfo(ownCopy_).absoluteFilePath())
            copies << file.absoluteFilePath();
    return copies;
}

// An earlier folder emptied by the offer goes, with the parents it alone kept, up to the data folder.
void DocumentRecovery::removeEmptyEarlierFolders() const
{
    const QString dataHome = QFileInfo(QFileInfo(settings_.folder).absolutePath()).absolutePath();
    for (const QString &folder : settings_.earlierFolders) {
        QDir dir(folder);
        while (dir.absolutePath().startsWith(dataHome + QLatin1Char('/')) && QDir().rmdir(dir.absolutePath()))
            dir.cdUp();
    }
}

bool DocumentRecovery::offerLeftOver()
{
    const bool recovered = offerNewestLeftOver();
    removeEmptyEarlierFolders();
    return recovered;
}

bool DocumentRecovery::offerNewestLeftOver()
{
    for (const QString &path : leftOverCopies()) {
        QLockFile lock(path + LockSuffix);
        lock.setStaleLockTime(0); // only a dead owner frees a copy, however long a live one runs
        if (!lock.tryLock(0))
            continue; // its instance is still running
        if (!readRecoveryHeader(readWhole(path))) {
            setAside(path);
            continue;
        }
        if (messages_.MsgBox(RecoverPrompt, vb::vbYesNo, QStringLiteral("Velmo")) == vb::vbYes) {
            if (recover(path))
                return true;
            setAside(path);
        } else {
            QFile::remove(path);
        }
        return false;
    }
    return false;
}

bool DocumentRecovery::recover(const QString &path)
{
    const auto header = readRecoveryHeader(readWhole(path));
    try {
        editor_.LoadFile(path);
    } catch (const CommandFailure &) {
        return false;
    }
    state_.Modified = 1;
    state_.HasFileName = header->hasFileName;
    dialog_.FileName = header->fileName;
    // The copy becomes this instance's own, so it stays safe until the document is saved.
    waitForWrites();
    QFile::remove(ownCopy_);
    copyExists_ = QFile::rename(path, ownCopy_);
    return true;
}

void DocumentRecovery::setAside(const QString &path)
{
    const QString aside = path + SetAsideSuffix;
    QFile::remove(aside);
    QFile::rename(path, aside);
    messages_.MsgBox(QStringLiteral("A recovery copy of an unsaved document could not be read. It was set aside as %1.")
                         .arg(QDir::toNativeSeparators(aside)),
                     vb::vbOKOnly, QStringLiteral("Velmo"));
}
