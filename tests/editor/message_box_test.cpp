#include "editor/message_box.h"
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Runs `steps` on the real box once it shows, from inside its own modal loop.
void onceShown(const std::function<void(QMessageBox &)> &steps)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, steps] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        steps(*box);
    });
    poll->start(10);
}

struct Ending
{
    const char *name;
    std::function<void(QMessageBox &)> answer;
    int result;
};

class YesNoBox : public ::testing::TestWithParam<Ending>
{
};

TEST_P(YesNoBox, StaysOpenOnEscapeAndOnItsCloseBoxUntilAButtonAnswers)
{
    QtMessageBox seam(nullptr);
    bool openAfterEscape = false, openAfterClose = false;
    onceShown([&](QMessageBox &box) {
        QTest::keyClick(&box, Qt::Key_Escape);
        QTest::qWait(50);
        openAfterEscape = box.isVisible();
        box.close();
        QTest::qWait(50);
        openAfterClose = box.isVisible();
        GetParam().answer(box);
    });
    EXPECT_EQ(seam.MsgBox(QStringLiteral("Save?"), vb::vbYesNo, QStringLiteral("Velmo")), GetParam().result);
    EXPECT_TRUE(openAfterEscape) << "Escape is not an answer";
    EXPECT_TRUE(openAfterClose) << "the close box is not an answer";
}

INSTANTIATE_TEST_SUITE_P(
    Answers, YesNoBox,
    ::testing::Values(Ending{"ReturnTakesTheDefaultYes", [](QMessageBox &b) { QTest::keyClick(&b, Qt::Key_Return); }, vb::vbYes},
                      Ending{"TheNoButton", [](QMessageBox &b) { b.button(QMessageBox::No)->click(); }, vb::vbNo},
                      Ending{"TheYesButton", [](QMessageBox &b) { b.button(QMessageBox::Yes)->click(); }, vb::vbYes}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(YesNoBoxWithNoAsDefault, ReturnAnswersNo)
{
    QtMessageBox seam(nullptr);
    onceShown([](QMessageBox &box) { QTest::keyClick(&box, Qt::Key_Return); });
    EXPECT_EQ(seam.MsgBox(QStringLiteral("Replace?"), vb::vbYesNo | vb::vbDefaultButton2), vb::vbNo);
}

TEST(OkBox, EscapeStillClosesAMessage)
{
    QtMessageBox seam(nullptr);
    bool closed = false;
    onceShown([&](QMessageBox &box) {
        QTest::keyClick(&box, Qt::Key_Escape);
        closed = true;
    });
    EXPECT_EQ(seam.MsgBox(QStringLiteral("Found none!")), vb::vbOK);
    EXPECT_TRUE(closed);
}

} // namespace
