#include "window/menu_tree.h"
#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <vector>

namespace {

const MenuEntry Entries[] = {
    {0, "File", "File", ""},
    {1, "New", "New", "Ctrl+N"},
    {1, "Open", "Open", ""},
    {1, "Save", "Save", "Ctrl+S"},
    {1, "Print", "Print", "Ctrl+P"},
    {1, "Exit", "Exit", ""},
    {0, "Edit", "Edit", ""},
    {1, "Cut", "Cut", "Ctrl+X"},
    {1, "Copy", "Copy", "Ctrl+C"},
    {1, "Paste", "Paste", ""},
    {1, "Align", "Aligment", ""},
    {2, "LJustifiy", "Left Justifiy", "F1"},
    {2, "Center", "Center", "F2"},
    {2, "RJustifiy", "Right Justifiy", "F3"},
    {1, "Color", "Font Color", ""},
    {2, "Black", "Black", "Ctrl+F5"},
    {2, "Red", "Red", "Ctrl+F2"},
    {2, "Yellow", "Yellow", "Ctrl+F3"},
    {2, "Green", "Green", "Ctrl+F4"},
    {2, "Blue", "Blue", "Ctrl+F1"},
    {1, "FontSize", "Font Size", ""},
    {2, "Fsize8", "Smallest", ""},
    {2, "Fsize10", "Smaller", ""},
    {2, "Fsize15", "Medium", ""},
    {2, "Fsize20", "Large", ""},
    {2, "Fsize25", "Larger", ""},
    {2, "Custom", "Custom", ""},
    {3, "larger", "Make larger", "Ctrl+W"},
    {3, "smaller", "Make Smaller", "Ctrl+Q"},
    {1, "Formatting", "Formating", ""},
    {2, "Bold", "Bold", "Ctrl+B"},
    {2, "Italic", "Italic", "Ctrl+I"},
    {2, "Underlined", "Underlined", "Ctrl+U"},
    {2, "Striketrough", "Striketrough", ""},
    {2, "Deformat", "Remove Formatting", "Ctrl+D"},
    {0, "Utilities", "Utilities", ""},
    {1, "Symbol", "Add Symbol", ""},
    {2, "Smiling", ":) (Smiling)", ""},
    {2, "Sad", ":( (Sad)", ""},
    {2, "Caution", "/!\\ (Caution)", ""},
    {2, "List", "[=] (List)", ""},
    {2, "Picture", "[::] (Picture)", ""},
    {2, "Pencil", "[ /] (Pencil)", ""},
    {2, "Paragraph", "[P] Paragraph", ""},
    {2, "Close", "[X] Close", ""},
    {1, "SplCheck", "SpellCheck", "F7"},
    {1, "Find", "Find", "Ctrl+F"},
    {0, "View", "View", ""},
    {0, "Help", "Help", ""},
    {1, "About", "About Velmo", ""},
};

bool opensSubmenu(std::size_t i)
{
    return Entries[i].depth == 0 || (i + 1 < std::size(Entries) && Entries[i + 1].depth > Entries[i].depth);
}

} // namespace

std::span<const MenuEntry> menuTree() { return Entries; }

void buildMenuBar(QMainWindow &window)
{
    QMenuBar *bar = window.menuBar();
    std::vector<QMenu *> open; // the submenu at each depth
    for (std::size_t i = 0; i < std::size(Entries); ++i) {
        const MenuEntry &e = Entries[i];
        const QString name = QLatin1String(e.name);
        const QString caption = QString::fromLatin1(e.caption);
        open.resize(std::size_t(e.depth));
        QAction *action;
        if (opensSubmenu(i)) {
            auto *menu = new QMenu(caption, &window);
            menu->setObjectName(name + QLatin1String("Menu"));
            action = e.depth == 0 ? bar->addMenu(menu) : open.back()->addMenu(menu);
            open.push_back(menu);
        } else {
            action = open.back()->addAction(caption);
        }
        action->setObjectName(name);
        action->setShortcut(QKeySequence::fromString(QLatin1String(e.shortcut)));
        action->setShortcutContext(Qt::WindowShortcut);
    }
}
