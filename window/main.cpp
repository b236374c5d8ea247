#include "editor/version.h"
#include "window/form1.h"
#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QLatin1String(velmo::InternalName));
    QApplication::setApplicationVersion(QLatin1String(velmo::Version));
    QApplication::setOrganizationName(QLatin1String(velmo::ProductName));
    QApplication::setDesktopFileName(QStringLiteral("velmo"));
    Form1 window;
    window.show();
    if (const QStringList args = QApplication::arguments(); args.size() > 1)
        OpenFromDesktop(window.session(), args.at(1));
    return app.exec();
}
