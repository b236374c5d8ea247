#pragma once
#include <QObject>

class QAction;
class QKeyEvent;
class QMainWindow;

// The menu captions mark no letters, so, as the desktop does for such menus, Alt and a top-level
// caption's first letter opens that menu. No other Alt combination types into the window's fields.
class MenuAccessKeys : public QObject
{
public:
    explicit MenuAccessKeys(QMainWindow &window);
    ~MenuAccessKeys() override;

    // The top-level menu Alt and `key` opens, or null.
    QAction *menuFor(int key) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool handle(const QKeyEvent &key);

    QMainWindow &window_;
};
