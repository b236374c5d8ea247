#include "editor/message_box.h"
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

namespace {

// A Yes/No question is answered Yes or No: Escape and the close box leave it open,
// where QMessageBox would take either as No.
class YesNoQuestion : public QMessageBox
{
public:
    YesNoQuestion(const QString &title, const QString &prompt, bool noIsDefault, QWidget *parent)
        : QMessageBox(QMessageBox::NoIcon, title, prompt, QMessageBox::NoButton, parent)
    {
        yes_ = addButton(QMessageBox::Yes);
        addButton(QMessageBox::No);
        setDefaultButton(noIsDefault ? QMessageBox::No : QMessageBox::Yes);
    }

    int ask()
    {
        exec();
        return clickedButton() == yes_ ? vb::vbYes : vb::vbNo;
    }

protected:
    void keyPressEvent(QKeyEvent *e) override
    {
        if (e->matches(QKeySequence::Cancel)) {
            e->accept();
            return;
        }
        QMessageBox::keyPressEvent(e);
    }

    // A button hides the box without closing it, so every close comes from outside.
    void closeEvent(QCloseEvent *e) override { e->ignore(); }

private:
    QAbstractButton *yes_ = nullptr;
};

} // namespace

int QtMessageBox::show(const QString &prompt, int buttons, const QString &title)
{
    if ((buttons & ~vb::vbDefaultButton2) == vb::vbYesNo)
        return YesNoQuestion(title, prompt, buttons & vb::vbDefaultButton2, parent_).ask();
    QMessageBox box(QMessageBox::NoIcon, title, prompt, QMessageBox::NoButton, parent_);
    box.addButton(QMessageBox::Ok);
    box.exec();
    return vb::vbOK;
}
