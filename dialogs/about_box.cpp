#include "dialogs/about_box.h"
#include "editor/twips.h"
#include "editor/ui_font.h"
#include "assets/asset_paths.h"
#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace {

QLabel *label(QWidget *parent, const char *name, const QString &caption)
{
    auto *l = new QLabel(caption, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

void place(QWidget *w, int left, int top, int width, int height)
{
    w->setGeometry(twips::toPixels(left, top, width, height, w));
}

} // namespace

frmAbout::frmAbout(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Velmo"));
    QIcon key;
    key.addFile(QLatin1String(assets::AboutIcon32));
    key.addFile(QLatin1String(assets::AboutIcon16));
    setWindowIcon(key);
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setFixedSize(twips::toPixelsX(5865, this), twips::toPixelsY(2010, this));
    setFont(uiFont(8));

    Picture1 = label(this, "Picture1", QString());
    Picture1->setPixmap(QPixmap(QLatin1String(assets::AboutBanner)));
    Picture1->setFrameShape(QFrame::Box);
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(Picture1, 0, 0, 6255, 615);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    place(cmdOK, 4560, 1200, 1260, 345);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    Label3 = label(this, "Label3", QStringLiteral("Written by the Velmo team."));
    place(Label3, 960, 1440, 2535, 375);

    lblDescription = label(this, "lblDescription", QStringLiteral("Full flagged, easy to use Rich Text editor."));
    lblDescription->setFont(uiFont(9.75, true));
    place(lblDescription, 240, 720, 4485, 330);

    lblVersion = label(this, "lblVersion", QStringLiteral("Version 0.56"));
    place(lblVersion, 4800, 720, 1245, 465);
    lblVersion->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // Tab order follows the tab indexes: OK, description, version, banner, author.
    cmdOK->setFocus();
}

void frmAbout::cmdOK_Click() { close(); }

void AboutBoxOwner::About_Click()
{
    if (!box_) {
        box_ = new frmAbout(mainWindow_);
        box_->move(twips::toPixelsX(2340, box_), twips::toPixelsY(1935, box_));
    }
    box_->show();
    box_->raise();
    box_->activateWindow();
}

frmAbout *AboutBoxOwner::current() const { return box_; }
