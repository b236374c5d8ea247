#include "editor/version.h"
#include "document/recovery.h"
#include "window/form1.h"
#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QLatin1String(velmo::InternalName));
    QApplication::setApplicationVersion(QLatin1String(velmo::Version));
    QApplication::setOrganizationName(QLatin1String(velmo::ProductName));
    QApplication::setDesktopFileName(QStringLiteral("velmo"));
    const RecoverySettings recovery = RecoverySettings::forThisUser();
    Form1Seams seams;
    seams.recovery = &recovery;
    Form1 window(seams);
    window.show();
    // A recovered document is not replaced by the file handed over, which would lose it.
    const bool recovered = window.offerRecovery();
    if (const QStringList args = QApplication::arguments(); args.size() > 1 && !recovered)
        OpenFromDesktop(window.session(), args.at(1));
    return app.exec();
}
