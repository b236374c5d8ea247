// Keys pressed in the find box: the menu's shortcuts act on the editor, the clipboard keys on the box.
#include "tests/find/find_fixture.h"
#include <QClipboard>
#include <functional>

namespace {

struct MenuKey
{
    const char *name;
    QKeyCombination key;
    std::function<bool(RichTextBox &)> applied;
};

class MenuKeyInFindBox : public FindFixture, public ::testing::WithParamInterface<MenuKey>
{
};

TEST_P(MenuKeyInFindBox, ActsOnTheEditorsSelectionAndTheBoxKeepsFocusAndText)
{
    editor.SetText(QStringLiteral("one two"));
    editor.SetSelStart(4);
    editor.SetSelLength(3);
    form.menuItem(QStringLiteral("Find"))->trigger();
    QTest::keyClicks(form.txtFind, QStringLiteral("two"));
    form.txtFind->setCursorPosition(2);
    QTest::keyClick(form.txtFind, GetParam().key.key(), GetParam().key.keyboardModifiers());
    EXPECT_TRUE(GetParam().applied(editor)) << GetParam().name;
    EXPECT_EQ(form.txtFind->text(), "two");
    EXPECT_EQ(QApplication::focusWidget(), form.txtFind);
}

INSTANTIATE_TEST_SUITE_P(
    Shortcuts, MenuKeyInFindBox,
    ::testing::Values(
        MenuKey{"CtrlUUnderlines", Qt::CTRL | Qt::Key_U, [](RichTextBox &e) { return e.SelUnderline() == true; }},
        MenuKey{"CtrlBMakesBold", Qt::CTRL | Qt::Key_B, [](RichTextBox &e) { return e.SelBold() == true; }},
        MenuKey{"CtrlIMakesItalic", Qt::CTRL | Qt::Key_I, [](RichTextBox &e) { return e.SelItalic() == true; }},
        MenuKey{"CtrlWMakesLarger", Qt::CTRL | Qt::Key_W, [](RichTextBox &e) { return e.SelFontSize() == 14.75; }},
        MenuKey{"CtrlDRemovesFormatting", Qt::CTRL | Qt::Key_D, [](RichTextBox &e) { return e.SelLength() == 3; }},
        MenuKey{"F2Centres", QKeyCombination(Qt::Key_F2), [](RichTextBox &e) { return e.SelAlignment() == 2; }}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(FindFixture, ClipboardKeysInTheFindBoxActOnTheBox)
{
    QClipboard &clipboard = *QGuiApplication::clipboard();
    editor.SetText(QStringLiteral("editor text"));
    editor.selectAll();
    form.menuItem(QStringLiteral("Find"))->trigger();
    QTest::keyClicks(form.txtFind, QStringLiteral("needle"));
    form.txtFind->setSelection(0, 3);
    QTest::keyClick(form.txtFind, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard.text(), "nee");
    QTest::keyClick(form.txtFind, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(form.txtFind->text(), "dle");
    form.txtFind->setCursorPosition(3);
    QTest::keyClick(form.txtFind, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(form.txtFind->text(), "dlenee");
    EXPECT_EQ(editor.Text(), "editor text") << "the editor is left alone";
    EXPECT_EQ(QApplication::focusWidget(), form.txtFind);
}

} // namespace
