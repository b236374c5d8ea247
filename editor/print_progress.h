#pragma once
#include <QElapsedTimer>
#include <QPointer>
#include <memory>

class QProgressDialog;
class QWidget;

// Shows how far printing has got, with a Cancel button, once it takes a moment: pages counted as
// they are laid out, then pages printed of all. Being window-modal, it keeps commands from
// starting meanwhile while the window stays drawn.
class PrintProgress
{
public:
    explicit PrintProgress(QWidget *window);
    ~PrintProgress();
    // `total` is 0 while pages are still being counted. False once the person cancelled.
    bool update(int done, int total);

private:
    QWidget *window_;
    QElapsedTimer started_, lastEvents_;
    std::unique_ptr<QProgressDialog> dialog_;
    bool cancelled_ = false;
};
