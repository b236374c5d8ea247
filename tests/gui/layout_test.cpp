// The main window's layout in twips, whatever the scale factor (ctest runs this at 1 and at 2).
#include "editor/twips.h"
#include "window/form1.h"
#include "editor/rich_text_box.h"
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

constexpr double Pixel = 15 + 1; // one logical pixel at 96 dpi, and rounding

QRectF inTwips(const QWidget *w, const QWidget *relativeTo)
{
    const QPoint topLeft = w->mapTo(relativeTo, QPoint(0, 0));
    return {twips::fromPixelsX(topLeft.x(), w), twips::fromPixelsY(topLeft.y(), w), twips::fromPixelsX(w->width(), w),
            twips::fromPixelsY(w->height(), w)};
}

// The text fits the control's width at the font it is drawn with.
bool textFits(const QWidget *w, const QString &text, int margin)
{
    return w->fontMetrics().horizontalAdvance(text) + margin <= w->width();
}

class Layout : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    QWidget *client() const { return form.centralWidget(); }
    Form1 form;
};

} // namespace

TEST(Scale, TwipsFollowTheLogicalDpiNotTheDevicePixels)
{
    QWidget w;
    const double scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    EXPECT_DOUBLE_EQ(w.devicePixelRatioF(), scale);
    EXPECT_EQ(twips::toPixelsX(1440, &w), w.logicalDpiX()) << "an inch of twips is an inch of logical pixels";
}

TEST_F(Layout, TheEditorStartsAnInchFromTheTopOfTheClientArea)
{
    EXPECT_NEAR(inTwips(form.RichTextBox1, client()).top(), 1440, Pixel);
    EXPECT_NEAR(inTwips(form.RichTextBox1, client()).left(), 0, Pixel);
}

TEST_F(Layout, TheFindBarLiesOnTheToolbarStripRightOfTheButtons)
{
    const QRectF strip = inTwips(form.Toolbar1, client());
    EXPECT_NEAR(strip.top(), 495, Pixel);
    EXPECT_NEAR(strip.height(), 870, Pixel);
    for (QWidget *w : {static_cast<QWidget *>(form.txtFind), static_cast<QWidget *>(form.cmdFind)}) {
        const QRectF r = inTwips(w, client());
        EXPECT_TRUE(strip.adjusted(-Pixel, -Pixel, Pixel, Pixel).contains(r)) << w->objectName().toStdString();
        EXPECT_TRUE(w->isVisible());
    }
    const QRectF lastButton = inTwips(form.toolbarButton(4), client());
    EXPECT_LE(lastButton.right(), inTwips(form.txtFind, client()).left() + Pixel) << "buttons stop before the find box";
    EXPECT_LE(inTwips(form.txtFind, client()).right(), inTwips(form.cmdFind, client()).left() + Pixel);
}

TEST_F(Layout, NothingIsClipped)
{
    EXPECT_TRUE(textFits(form.cmdFind, form.cmdFind->text(), 4)) << "Search caption";
    EXPECT_GE(form.txtFind->height(), form.txtFind->fontMetrics().height()) << "find box shows a line of text";
    for (int i = 1; i <= 4; ++i) {
        QToolButton *b = form.toolbarButton(i);
        EXPECT_TRUE(textFits(b, b->text(), 2)) << b->text().toStdString();
        EXPECT_GE(b->height(), b->iconSize().height() + b->fontMetrics().height()) << b->text().toStdString();
        EXPECT_TRUE(b->isVisible()) << b->text().toStdString();
    }
}

TEST_F(Layout, TheBannerAndToolbarSpanTheWindowAndTheEditorFollowsIt)
{
    EXPECT_EQ(form.Picture1->width(), client()->width());
    EXPECT_EQ(form.Toolbar1->width(), client()->width());
    const double outer = twips::fromPixelsX(form.frameGeometry().width(), &form);
    EXPECT_NEAR(inTwips(form.RichTextBox1, client()).width(), outer - 100, Pixel);
}
