#include "editor/rich_text_box.h"
#include "window/form1.h"
#include "window/menu_tree.h"
#include "tests/support/scripted_seams.h"
#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void describe(const QList<QAction *> &actions, int depth, QStringList &out)
{
    for (QAction *a : actions) {
        out << QStringLiteral("%1%2 [%3] %4").arg(QString(depth * 2, ' '), a->objectName(), a->text(),
                                                   a->shortcut().toString());
        if (a->menu())
            describe(a->menu()->actions(), depth + 1, out);
    }
}

TEST(MenuBar, MatchesTheDesignedTreeWithCaptionsAndShortcuts)
{
    ScriptedMessageBox messages;
    ScriptedFileDialogs dialogs;
    Form1 form{Form1Seams{&messages, &dialogs}};
    QStringList tree;
    describe(form.menuBar()->actions(), 0, tree);
    const QStringList expected = {
        "File [File] ", "  New [New] Ctrl+N", "  Open [Open] ", "  Save [Save] Ctrl+S", "  Print [Print] Ctrl+P",
        "  Exit [Exit] ", "Edit [Edit] ", "  Cut [Cut] Ctrl+X", "  Copy [Copy] Ctrl+C", "  Paste [Paste] ",
        "  Align [Aligment] ", "    LJustifiy [Left Justifiy] F1", "    Center [Center] F2",
        "    RJustifiy [Right Justifiy] F3", "  Color [Font Color] ", "    Black [Black] Ctrl+F5",
        "    Red [Red] Ctrl+F2", "    Yellow [Yellow] Ctrl+F3", "    Green [Green] Ctrl+F4", "    Blue [Blue] Ctrl+F1",
        "  FontSize [Font Size] ", "    Fsize8 [Smallest] ", "    Fsize10 [Smaller] ", "    Fsize15 [Medium] ",
        "    Fsize20 [Large] ", "    Fsize25 [Larger] ", "    Custom [Custom] ", "      larger [Make larger] Ctrl+W",
        "      smaller [Make Smaller] Ctrl+Q", "  Formatting [Formating] ", "    Bold [Bold] Ctrl+B",
        "    Italic [Italic] Ctrl+I", "    Underlined [Underlined] Ctrl+U", "    Striketrough [Striketrough] ",
        "    Deformat [Remove Formatting] Ctrl+D", "Utilities [Utilities] ", "  Symbol [Add Symbol] ",
        "    Smiling [:) (Smiling)] ", "    Sad [:( (Sad)] ", "    Caution [/!\\ (Caution)] ", "    List [[=] (List)] ",
        "    Picture [[::] (Picture)] ", "    Pencil [[ /] (Pencil)] ", "    Paragraph [[P] Paragraph] ",
        "    Close [[X] Close] ", "  SplCheck [SpellCheck] F7", "  Find [Find] Ctrl+F", "View [View] ", "Help [Help] ",
        "  About [About Velmo] ",
    };
    EXPECT_EQ(tree, expected);
    for (QMenu *menu : form.findChildren<QMenu *>()) {
        for (QAction *a : menu->actions()) {
            EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
            EXPECT_FALSE(a->isCheckable()) << a->objectName().toStdString();
            EXPECT_FALSE(a->text().contains('&')) << "no access keys";
        }
    }
}

struct Shortcuts : ::testing::TestWithParam<std::pair<const char *, QKeySequence>>
{
};

TEST_P(Shortcuts, RunTheirMenuCommandWhileTheEditorHasTheFocus)
{
    ScriptedMessageBox messages;
    ScriptedFileDialogs dialogs;
    Form1 form{Form1Seams{&messages, &dialogs}};
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.RichTextBox1->setFocus();
    form.RichTextBox1->SetText("some text");
    form.RichTextBox1->selectAll();
    const auto &[name, keys] = GetParam();
    QAction *action = form.menuItem(name);
    ASSERT_NE(action, nullptr);
    int runs = 0;
    QObject::connect(action, &QAction::triggered, [&] { ++runs; });
    const QKeyCombination key = keys[0];
    QTest::keyClick(form.RichTextBox1, key.key(), key.keyboardModifiers());
    EXPECT_EQ(runs, 1) << name;
}

INSTANTIATE_TEST_SUITE_P(EditorKeys, Shortcuts,
                         ::testing::Values(std::pair{"Copy", QKeySequence("Ctrl+C")}, std::pair{"Cut", QKeySequence("Ctrl+X")},
                                           std::pair{"Bold", QKeySequence("Ctrl+B")}, std::pair{"Italic", QKeySequence("Ctrl+I")},
                                           std::pair{"Underlined", QKeySequence("Ctrl+U")}, std::pair{"LJustifiy", QKeySequence("F1")},
                                           std::pair{"Blue", QKeySequence("Ctrl+F1")}, std::pair{"Deformat", QKeySequence("Ctrl+D")},
                                           std::pair{"Find", QKeySequence("Ctrl+F")}, std::pair{"SplCheck", QKeySequence("F7")}));

// The README's table of shortcuts is the menu table's, so a changed key or caption shows up here.
TEST(MenuBar, TheReadmeListsEveryShortcutWithItsMenuPath)
{
    QFile readme(qEnvironmentVariable("VELMO_SOURCE_DIR") + QStringLiteral("/README.md"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly | QIODevice::Text)) << "README.md not found";
    // The table of menu items: the first table of the section.
    const QString text = QString::fromUtf8(readme.readAll());
    const QString section = text.section(QLatin1String("## Keyboard shortcuts"), 1).section(QLatin1String("\n\n|"), 1);
    QStringList rows;
    for (const QString &line : section.section(QLatin1String("\n\n"), 0, 0).split(QLatin1Char('\n')))
        if (line.contains(QLatin1String(" > ")))
            rows << line;
    QStringList path; // the captions leading to the current entry
    QStringList expected;
    for (const MenuEntry &e : menuTree()) {
        path.resize(e.depth);
        path << QString::fromLatin1(e.caption);
        if (*e.shortcut)
            expected << QStringLiteral("| %1 | %2 |").arg(QLatin1String(e.shortcut), path.join(QLatin1String(" > ")));
    }
    rows.sort();
    expected.sort();
    EXPECT_EQ(rows.join(QLatin1Char('\n')).toStdString(), expected.join(QLatin1Char('\n')).toStdString());
}

TEST(MenuBar, ViewHasNoItems)
{
    ScriptedMessageBox messages;
    ScriptedFileDialogs dialogs;
    Form1 form{Form1Seams{&messages, &dialogs}};
    QAction *view = form.menuItem("View");
    ASSERT_NE(view, nullptr);
    ASSERT_NE(view->menu(), nullptr);
    EXPECT_TRUE(view->menu()->actions().isEmpty());
}

} // namespace
