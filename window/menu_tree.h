#pragma once
#include <span>

class QMainWindow;

// One row of the menu bar: its nesting depth (0 is the bar), name, caption and shortcut.
struct MenuEntry
{
    int depth;
    const char *name;
    const char *caption;
    const char *shortcut;
};

std::span<const MenuEntry> menuTree();

// Builds the menu bar from the tree; every item and submenu is an action named as in the tree.
void buildMenuBar(QMainWindow &window);
