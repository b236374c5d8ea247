#include "window/menu_access_keys.h"
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>

namespace {

// Alt without Ctrl: AltGr, which types characters, arrives as Ctrl+Alt on Windows and as its own
// modifier on X11, so it is left alone.
bool isAltCombination(const QKeyEvent &key)
{
    const Qt::KeyboardModifiers m = key.modifiers();
    return (m & Qt::AltModifier) && !(m & (Qt::ControlModifier | Qt::MetaModifier));
}

bool belongsTo(QObject *watched, const QMainWindow &window)
{
    const auto *widget = qobject_cast<QWidget *>(watched);
    return widget && widget->window() == &window;
}

} // namespace

MenuAccessKeys::MenuAccessKeys(QMainWindow &window) : QObject(&window), window_(window)
{
#ifndef Q_OS_MACOS // there Option and a letter types a character, and menus have no access keys
    qApp->installEventFilter(this);
#endif
}

MenuAccessKeys::~MenuAccessKeys() { qApp->removeEventFilter(this); }

QAction *MenuAccessKeys::menuFor(int key) const
{
    if (key < Qt::Key_A || key > Qt::Key_Z)
        return nullptr;
    const QChar letter(QLatin1Char(char('a' + (key - Qt::Key_A))));
    for (QAction *action : window_.menuBar()->actions())
        if (action->menu() && action->isVisible() && action->text().startsWith(letter, Qt::CaseInsensitive))
            return action;
    return nullptr;
}

bool MenuAccessKeys::handle(const QKeyEvent &key)
{
    if (!isAltCombination(key))
        return false;
    if (QAction *menu = menuFor(key.key())) {
        window_.menuBar()->setActiveAction(menu);
        return true;
    }
    return !key.text().isEmpty(); // eaten: it would have typed a character
}

bool MenuAccessKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && belongsTo(watched, window_))
        return handle(*static_cast<QKeyEvent *>(event));
    return false;
}
