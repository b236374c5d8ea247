#include "tests/find/find_fixture.h"
#include <QAction>
#include <QPushButton>

namespace {

TEST_F(FindFixture, TheFindCommandFocusesTheBoxAndColoursItLightRedWithoutSearching)
{
    editor.SetText(QStringLiteral("abc"));
    form.menuItem(QStringLiteral("Find"))->trigger();
    EXPECT_EQ(QApplication::focusWidget(), form.txtFind);
    EXPECT_EQ(bar.txtFindBackColor(), 0xC0C0FFu);
    EXPECT_EQ(form.txtFind->palette().color(QPalette::Base), QColor(255, 192, 192)) << "red is the low byte";
    EXPECT_EQ(editor.SelLength(), 0);
    EXPECT_EQ(bar.NextStart, 0);
}

TEST_F(FindFixture, ClickingIntoTheEditorTurnsTheBoxWhiteWithoutSearching)
{
    editor.SetText(QStringLiteral("abc abc"));
    form.txtFind->setText(QStringLiteral("abc"));
    form.menuItem(QStringLiteral("Find"))->trigger();
    QTest::mouseClick(editor.viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(QApplication::focusWidget(), &editor);
    EXPECT_EQ(bar.txtFindBackColor(), 0xFFFFFFu);
    EXPECT_EQ(editor.SelLength(), 0);
    EXPECT_EQ(bar.NextStart, 0);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FindFixture, EnterSearchesTurnsTheBoxWhiteAndOtherKeysOnlyType)
{
    editor.SetText(QStringLiteral("one two one"));
    form.menuItem(QStringLiteral("Find"))->trigger();
    QTest::keyClicks(form.txtFind, QStringLiteral("one"));
    EXPECT_EQ(form.txtFind->text(), "one");
    EXPECT_EQ(bar.NextStart, 0);
    EXPECT_EQ(QApplication::focusWidget(), form.txtFind);
    EXPECT_EQ(bar.txtFindBackColor(), 0xC0C0FFu) << "typing leaves the colour alone";

    QTest::keyClick(form.txtFind, Qt::Key_Return);
    EXPECT_EQ(editor.SelStart(), 0);
    EXPECT_EQ(editor.SelLength(), 3);
    EXPECT_EQ(QApplication::focusWidget(), &editor);
    EXPECT_EQ(bar.txtFindBackColor(), 0xFFFFFFu);
    EXPECT_EQ(form.txtFind->text(), "one") << "Enter adds nothing to the search text";

    form.txtFind->setFocus();
    QTest::keyClick(form.txtFind, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(editor.SelStart(), 8);
}

TEST_F(FindFixture, TheKeyPressHandlerSearchesOnlyOnCode13)
{
    editor.SetText(QStringLiteral("xx"));
    form.txtFind->setText(QStringLiteral("x"));
    for (int code : {10, 32, 65, 27, 8})
        bar.txtFind_KeyPress(code);
    EXPECT_EQ(bar.NextStart, 0);
    bar.txtFind_KeyPress(13);
    EXPECT_EQ(bar.NextStart, 1);
}

TEST_F(FindFixture, TheSearchButtonTurnsTheBoxWhiteAndSteps)
{
    editor.SetText(QStringLiteral("find me, find me"));
    form.txtFind->setText(QStringLiteral("me"));
    form.menuItem(QStringLiteral("Find"))->trigger();
    QTest::mouseClick(form.cmdFind, Qt::LeftButton);
    EXPECT_EQ(bar.txtFindBackColor(), 0xFFFFFFu);
    EXPECT_EQ(editor.SelStart(), 5);
    form.cmdFind->click();
    EXPECT_EQ(editor.SelStart(), 14);
    form.cmdFind->click();
    EXPECT_EQ(lastMessage(), "Found All!");
}

} // namespace
