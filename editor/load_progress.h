#pragma once
#include "editor/command_failure.h"
#include <QString>
#include <functional>

class QWidget;

// Shows that a file is being opened while it is read elsewhere, and lets the person give up.
class LoadProgressSeam
{
public:
    virtual ~LoadProgressSeam() = default;
    // Returns once `finished` holds (true) or the person cancelled (false). Nothing else of the
    // window may run meanwhile: no command may start while another is half done.
    virtual bool waitFor(const QString &path, const std::function<bool()> &finished) = 0;
};

// The person gave up opening a file: the command ends silently and the document stays as it was.
class LoadCancelled : public DialogCancelled
{
};

// Waits without showing anything; for programs without a window to block.
class SilentLoadProgress : public LoadProgressSeam
{
public:
    bool waitFor(const QString &path, const std::function<bool()> &finished) override;
};

// A window-modal progress dialog with a Cancel button, shown only when the read takes a moment;
// being modal, it keeps every menu, shortcut and key of the window from reaching it meanwhile.
class QtLoadProgress : public LoadProgressSeam
{
public:
    explicit QtLoadProgress(QWidget *window) : window_(window) {}
    bool waitFor(const QString &path, const std::function<bool()> &finished) override;

private:
    QWidget *window_;
};

LoadProgressSeam &silentLoadProgress();
