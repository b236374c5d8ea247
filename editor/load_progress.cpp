#include "editor/load_progress.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProgressDialog>
#include <QThread>
#include <algorithm>
#include <cmath>

namespace {
constexpr int ShowAfterMs = 400;
constexpr int PollMs = 20;
} // namespace

bool SilentLoadProgress::waitFor(const QString &, const LoadWatch &read)
{
    while (!read.finished())
        QThread::msleep(5);
    return true;
}

bool QtLoadProgress::waitFor(const QString &path, const LoadWatch &read)
{
    QElapsedTimer clock;
    clock.start();
    while (!read.finished() && clock.elapsed() < ShowAfterMs)
        QThread::msleep(5);
    if (read.finished())
        return true; // quick reads show nothing
    QProgressDialog dialog(QStringLiteral("Opening %1...").arg(QFileInfo(path).fileName()),
                           QStringLiteral("Cancel"), 0, 100, window_);
    dialog.setObjectName(QStringLiteral("LoadProgress"));
    dialog.setWindowTitle(QStringLiteral("Opening a document..."));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(0);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setValue(percentRead(read.fraction()));
    dialog.show();
    while (!read.finished()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, PollMs);
        if (dialog.wasCanceled())
            return false;
        dialog.setValue(percentRead(read.fraction()));
        QThread::msleep(PollMs);
    }
    return true;
}

// Rounded down, so 100 shows only once everything is read.
int percentRead(double fraction)
{
    if (!(fraction > 0))
        return 0;
    return std::clamp(int(std::floor(fraction * 100)), 0, 100);
}

LoadProgressSeam &silentLoadProgress()
{
    static SilentLoadProgress progress;
    return progress;
}
