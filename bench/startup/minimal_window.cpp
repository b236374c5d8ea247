// The baseline: the least a Qt Widgets word processor shows, one editor, a menu bar and a toolbar.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTextEdit>
#include <QToolBar>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.setCentralWidget(new QTextEdit);
    for (const char *menu : {"File", "Edit", "Utilities", "View", "Help"})
        window.menuBar()->addMenu(QLatin1String(menu))->addAction(QStringLiteral("Item"));
    QToolBar *toolbar = window.addToolBar(QStringLiteral("Toolbar"));
    for (const char *button : {"New", "Save", "Make Copy", "Settings"})
        toolbar->addAction(QLatin1String(button));
    window.show();
    return app.exec();
}
