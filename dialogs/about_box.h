#pragma once
#include <QDialog>
#include <QPointer>

class QLabel;
class QPushButton;

// The About box: banner, description and version; modeless, closed by OK, Enter or Esc.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent = nullptr);

    void cmdOK_Click();

    QLabel *Picture1;
    QPushButton *cmdOK;
    QLabel *Label3;
    QLabel *lblDescription;
    QLabel *lblVersion;
};

// One About box for the run: made on first use and again after it was closed.
class AboutBoxOwner
{
public:
    explicit AboutBoxOwner(QWidget *mainWindow) : mainWindow_(mainWindow) {}
    void About_Click();
    frmAbout *current() const;

private:
    QWidget *mainWindow_;
    QPointer<frmAbout> box_;
};
