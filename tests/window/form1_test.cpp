#include "editor/picture_box.h"
#include "editor/rich_text_box.h"
#include "editor/twips.h"
#include "window/form1.h"
#include "tests/support/scripted_seams.h"
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

struct MainWindow : ::testing::Test
{
    ScriptedMessageBox messages;
    ScriptedFileDialogs dialogs;
    Form1 form{Form1Seams{&messages, &dialogs}};

    QRect twipsOf(const QWidget *w) const
    {
        const QRect g = w->geometry();
        return {int(twips::fromPixelsX(g.x(), w)), int(twips::fromPixelsY(g.y(), w)),
                int(twips::fromPixelsX(g.width(), w)), int(twips::fromPixelsY(g.height(), w))};
    }
    double outerWidthTwips() const { return twips::fromPixelsX(form.frameGeometry().width(), &form); }
    double editorWidthTwips() const { return twips::fromPixelsX(form.RichTextBox1->width(), &form); }
    double editorHeightTwips() const { return twips::fromPixelsY(form.RichTextBox1->height(), &form); }
};

// One pixel of rounding either way.
constexpr int Pixel = 16;

void expectNear(const QRect &actual, const QRect &expected, const char *what)
{
    EXPECT_NEAR(actual.x(), expected.x(), Pixel) << what;
    EXPECT_NEAR(actual.y(), expected.y(), Pixel) << what;
    EXPECT_NEAR(actual.width(), expected.width(), Pixel) << what;
    EXPECT_NEAR(actual.height(), expected.height(), Pixel) << what;
}

TEST_F(MainWindow, ControlsStandAtTheirDesignPositions)
{
    EXPECT_EQ(form.windowTitle(), "Velmo");
    expectNear(twipsOf(form.cmdFind), {6000, 600, 975, 255}, "cmdFind");
    expectNear(twipsOf(form.txtFind), {3720, 600, 2175, 315}, "txtFind");
    EXPECT_EQ(form.cmdFind->text(), "Search");
    EXPECT_NEAR(twipsOf(form.Picture1).height(), 495, Pixel);
    expectNear(twipsOf(form.Toolbar1).adjusted(0, 0, -twipsOf(form.Toolbar1).width(), 0), {0, 495, 0, 870}, "Toolbar1");
    EXPECT_NEAR(twipsOf(form.RichTextBox1).topLeft().y(), 1440, Pixel);
    EXPECT_EQ(form.RichTextBox1->x(), 0);
    const QRect symbols[] = {{5640, 5520, 255, 255}, {6360, 5520, 375, 255}, {5040, 5520, 255, 255}, {4440, 5520, 375, 375},
                             {2280, 5400, 375, 375}, {1440, 5400, 615, 615}, {360, 5400, 495, 495}, {3240, 5400, 375, 375}};
    for (int n = 1; n <= 8; ++n) {
        expectNear(twipsOf(&form.symbolBox(n)), symbols[n - 1], "symbol box");
        EXPECT_FALSE(form.symbolBox(n).Picture.isNull()) << "f" << n << " has its picture";
    }
    EXPECT_EQ(form.Label1->text(), "Font size:");
    EXPECT_EQ(form.Label1->parent(), form.Toolbar1);
    EXPECT_EQ(form.lblFileName->text(), "");
}

TEST_F(MainWindow, ToolbarHasFourCaptionedPictureButtons)
{
    const char *captions[] = {"New", "Save", "Make Copy", "Settings"};
    for (int i = 1; i <= 4; ++i) {
        QToolButton *b = form.toolbarButton(i);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), captions[i - 1]);
        EXPECT_FALSE(b->icon().isNull());
        EXPECT_EQ(b->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        EXPECT_NEAR(twips::fromPixelsX(b->width(), b), 900, Pixel);
        EXPECT_NEAR(twips::fromPixelsY(b->height(), b), 780, Pixel);
    }
}

TEST_F(MainWindow, EarlierControlsLieOnTopWhereTheyOverlap)
{
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QWidget *client = form.centralWidget();
    const QPoint inFindBox = form.txtFind->geometry().center();
    ASSERT_TRUE(form.Toolbar1->geometry().contains(inFindBox));
    EXPECT_EQ(client->childAt(inFindBox), form.txtFind);
    EXPECT_EQ(client->childAt(form.cmdFind->geometry().center()), form.cmdFind);

    form.resize(form.width(), form.height() + 200);
    const QPoint inPencil = form.symbolBox(6).geometry().center();
    ASSERT_TRUE(form.RichTextBox1->geometry().contains(inPencil)) << "the editor has grown under the symbols";
    EXPECT_EQ(client->childAt(inPencil), &form.symbolBox(6));
}

TEST_F(MainWindow, LoadSetsTheOuterWidthAndTheEditorFollowsTheWindow)
{
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_NEAR(outerWidthTwips(), 7470, Pixel);
    EXPECT_NEAR(editorWidthTwips(), 7370, Pixel);
    EXPECT_EQ(form.state().HasFileName, 0);
    EXPECT_EQ(form.RichTextBox1->OLEDropMode(), 1);

    const double height = twips::fromPixelsY(form.frameGeometry().height(), &form);
    EXPECT_NEAR(editorHeightTwips(), height - 2250, Pixel);

    form.resize(form.width() + twips::toPixelsX(300, &form), form.height());
    EXPECT_NEAR(editorWidthTwips(), 7670, Pixel) << "300 twips wider window, 300 twips wider editor";
    EXPECT_NEAR(twips::fromPixelsY(form.RichTextBox1->y(), &form), 1440, Pixel);
}

TEST_F(MainWindow, AWindowLowerThanTheBannerKeepsTheEditorsHeightButFollowsTheWidth)
{
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const int heightBefore = form.RichTextBox1->height();
    form.setMinimumSize(0, 0);
    form.resize(form.width() - twips::toPixelsX(600, &form), twips::toPixelsY(1500, &form));
    ASSERT_LT(twips::fromPixelsY(form.frameGeometry().height(), &form), 2250);
    EXPECT_EQ(form.RichTextBox1->height(), heightBefore);
    EXPECT_NEAR(editorWidthTwips(), 7470 - 600 - 100, Pixel);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainWindow, TheEditorHasTheFocusAtStartAndTheDefaultFont)
{
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_TRUE(form.RichTextBox1->hasFocus());
    EXPECT_EQ(form.RichTextBox1->document()->defaultFont().pointSizeF(), 9.75);
    EXPECT_EQ(form.RichTextBox1->Text(), "");
}

TEST_F(MainWindow, TypingMarksTheDocumentModified)
{
    EXPECT_EQ(form.state().Modified, 0);
    QTest::keyClicks(form.RichTextBox1, "a");
    EXPECT_EQ(form.state().Modified, 1);
}

QWidget *nextTabStop(QWidget *w)
{
    do
        w = w->nextInFocusChain();
    while (!(w->focusPolicy() & Qt::TabFocus) || w->isHidden());
    return w;
}

TEST_F(MainWindow, TabOrderFollowsTheTabIndexes)
{
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(nextTabStop(form.RichTextBox1), form.txtFind);
    EXPECT_EQ(nextTabStop(form.txtFind), form.cmdFind);
    EXPECT_EQ(nextTabStop(form.cmdFind), form.toolbarButton(1)) << nextTabStop(form.cmdFind)->objectName().toStdString();
}

} // namespace
