#include "editor/message_box.h"
#include <QMessageBox>

int QtMessageBox::show(const QString &prompt, int buttons, const QString &title)
{
    QMessageBox box(QMessageBox::NoIcon, title, prompt, QMessageBox::NoButton, parent_);
    if (buttons == vb::vbYesNo) {
        box.addButton(QMessageBox::Yes);
        box.addButton(QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? vb::vbYes : vb::vbNo;
    }
    box.addButton(QMessageBox::Ok);
    box.exec();
    return vb::vbOK;
}
