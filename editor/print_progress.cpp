#include "editor/print_progress.h"
#include <QCoreApplication>
#include <QProgressDialog>

namespace {

constexpr int ShowAfterMs = 500;
constexpr int EventsEveryMs = 40;

} // namespace

PrintProgress::PrintProgress(QWidget *window) : window_(window)
{
    started_.start();
    lastEvents_.start();
}

PrintProgress::~PrintProgress() = default;

bool PrintProgress::update(int done, int total)
{
    if (cancelled_)
        return false;
    if (lastEvents_.elapsed() < EventsEveryMs)
        return true;
    lastEvents_.restart();
    if (!dialog_ && started_.elapsed() >= ShowAfterMs) {
        dialog_ = std::make_unique<QProgressDialog>(window_);
        dialog_->setWindowTitle(QStringLiteral("Print"));
        dialog_->setWindowModality(Qt::WindowModal);
        dialog_->setMinimumDuration(0);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        dialog_->show();
    }
    if (dialog_) {
        dialog_->setLabelText(total > 0  ? QStringLiteral("Printing page %1 of %2").arg(done).arg(total)
                              : done > 0 ? QStringLiteral("Laying out page %1").arg(done)
                                         : QStringLiteral("Preparing the pages"));
        dialog_->setMaximum(qMax(total, 0));
        dialog_->setValue(total > 0 ? done : 0);
    }
    // Until the box stands in the way, keys and clicks wait: no second command starts meanwhile.
    QCoreApplication::processEvents(dialog_ ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents, EventsEveryMs);
    cancelled_ = dialog_ && dialog_->wasCanceled();
    return !cancelled_;
}
