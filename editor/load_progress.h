#pragma once
#include "editor/command_failure.h"
#include <QString>
#include <functional>

class QWidget;

// A read under way, as its progress sees it.
struct LoadWatch
{
    std::function<bool()> finished;
    std::function<double()> fraction; // how much is read, 0 to 1
};

// Shows that a file is being opened while it is read elsewhere, and lets the person give up.
class LoadProgressSeam
{
public:
    virtual ~LoadProgressSeam() = default;
    // Returns once the read has finished (true) or the person cancelled (false). Nothing else of the
    // window may run meanwhile: no command may start while another is half done.
    virtual bool waitFor(const QString &path, const LoadWatch &read) = 0;
};

// The person gave up opening a file: the command ends silently and the document stays as it was.
class LoadCancelled : public DialogCancelled
{
};

// Waits without showing anything; for programs without a window to block.
class SilentLoadProgress : public LoadProgressSeam
{
public:
    bool waitFor(const QString &path, const LoadWatch &read) override;
};

// A window-modal progress dialog with a Cancel button and the percentage read, shown only when
// the read takes a moment; being modal, it keeps every menu, shortcut and key of the window from
// reaching it meanwhile.
class QtLoadProgress : public LoadProgressSeam
{
public:
    explicit QtLoadProgress(QWidget *window) : window_(window) {}
    bool waitFor(const QString &path, const LoadWatch &read) override;

private:
    QWidget *window_;
};

// The percentage a progress bar of 0 to 100 shows for a fraction read.
int percentRead(double fraction);

LoadProgressSeam &silentLoadProgress();
