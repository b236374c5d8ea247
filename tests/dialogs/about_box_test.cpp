#include "window/form1.h"
#include "dialogs/about_box.h"
#include "tests/support/scripted_seams.h"
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

int openAboutBoxes()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<frmAbout *>(w) && w->isVisible())
            ++n;
    return n;
}

struct AboutBox : ::testing::Test
{
    ScriptedMessageBox messages;
    ScriptedFileDialogs dialogs;
    Form1 form{Form1Seams{&messages, &dialogs}};

    frmAbout *openAbout()
    {
        form.menuItem("About")->trigger();
        frmAbout *box = form.about().current();
        if (box) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(box));
        }
        return box;
    }
};

TEST_F(AboutBox, ShowsItsFixedTexts)
{
    frmAbout *box = openAbout();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "About Velmo");
    EXPECT_EQ(box->lblDescription->text(), "Full flagged, easy to use Rich Text editor.");
    EXPECT_EQ(box->lblVersion->text(), "Version 0.56");
    EXPECT_FALSE(box->Picture1->pixmap().isNull());
    EXPECT_FALSE(box->isModal());
    EXPECT_TRUE(box->cmdOK->isDefault());
}

TEST_F(AboutBox, ChoosingAboutTwiceOpensOneWindow)
{
    frmAbout *first = openAbout();
    frmAbout *second = openAbout();
    EXPECT_EQ(first, second);
    EXPECT_EQ(openAboutBoxes(), 1);
}

struct AboutBoxKeys : AboutBox, ::testing::WithParamInterface<Qt::Key>
{
};

TEST_P(AboutBoxKeys, CloseTheBoxAndTheNextAboutOpensItAgain)
{
    frmAbout *box = openAbout();
    ASSERT_NE(box, nullptr);
    QTest::keyClick(box, GetParam());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(openAboutBoxes(), 0);
    ASSERT_NE(openAbout(), nullptr);
    EXPECT_EQ(openAboutBoxes(), 1);
}

INSTANTIATE_TEST_SUITE_P(EscapeAndEnter, AboutBoxKeys, ::testing::Values(Qt::Key_Escape, Qt::Key_Return));

TEST_F(AboutBox, OkClosesIt)
{
    frmAbout *box = openAbout();
    ASSERT_NE(box, nullptr);
    box->cmdOK->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(openAboutBoxes(), 0);
}

} // namespace
