#include "editor/load_progress.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProgressDialog>
#include <QThread>

namespace {
constexpr int ShowAfterMs = 400;
constexpr int PollMs = 20;
} // namespace

bool SilentLoadProgress::waitFor(const QString &, const std::function<bool()> &finished)
{
    while (!finished())
        QThread::msleep(5);
    return true;
}

bool QtLoadProgress::waitFor(const QString &path, const std::function<bool()> &finished)
{
    QElapsedTimer clock;
    clock.start();
    while (!finished() && clock.elapsed() < ShowAfterMs)
        QThread::msleep(5);
    if (finished())
        return true; // quick reads show nothing
    QProgressDialog dialog(QStringLiteral("Opening %1...").arg(QFileInfo(path).fileName()),
                           QStringLiteral("Cancel"), 0, 0, window_);
    dialog.setObjectName(QStringLiteral("LoadProgress"));
    dialog.setWindowTitle(QStringLiteral("Opening a document..."));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(0);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.show();
    while (!finished()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, PollMs);
        if (dialog.wasCanceled())
            return false;
        QThread::msleep(PollMs);
    }
    return true;
}

LoadProgressSeam &silentLoadProgress()
{
    static SilentLoadProgress progress;
    return progress;
}
