// The main window inside a real window manager's frame: the outer size includes the frame, which
// the window system tells only after the window is mapped.
#include "editor/rich_text_box.h"
#include "editor/twips.h"
#include "tests/gui/x_session.h"
#include "window/form1.h"
#include "document/recovery.h"
#include "document/recovery_copy.h"
#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>
#include <QWindow>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>

using namespace std::chrono_literals;

namespace {

constexpr double Pixel = 15 + 1;

bool processEventsUntil(const std::function<bool()> &ready)
{
    return waitUntil([&] {
        QCoreApplication::processEvents();
        return ready();
    });
}

class FramedWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form, 30000));
        ASSERT_TRUE(processEventsUntil([&] { return form.frameGeometry().height() > form.height(); }))
            << "the window manager put no frame round the window";
        QTest::qWait(300); // let the frame's late news and the window's answer to it settle
    }
    double outerWidth() const { return twips::fromPixelsX(form.frameGeometry().width(), &form); }
    double outerHeight() const { return twips::fromPixelsY(form.frameGeometry().height(), &form); }
    double editorWidth() const { return twips::fromPixelsX(form.RichTextBox1->width(), &form); }
    double editorHeight() const { return twips::fromPixelsY(form.RichTextBox1->height(), &form); }
    Form1 form;
};

TEST_F(FramedWindow, TheOuterWidthAtLoadIncludesTheFrame)
{
    EXPECT_NEAR(outerWidth(), 7470, Pixel);
    EXPECT_NEAR(editorWidth(), 7470 - 100, Pixel);
}

TEST_F(FramedWindow, TheFirstSizingCountsTheTitleBar)
{
    EXPECT_NEAR(editorHeight(), outerHeight() - 2250, Pixel);
}

TEST_F(FramedWindow, AFirstResizeBy300TwipsWidensTheEditorBy300Twips)
{
    const double before = editorWidth();
    form.resize(form.width() + twips::toPixelsX(300, &form), form.height());
    ASSERT_TRUE(processEventsUntil([&] { return editorWidth() > before; }));
    EXPECT_NEAR(editorWidth() - before, 300, Pixel);
    EXPECT_NEAR(outerWidth(), 7770, Pixel);
}

// A window manager that centres new windows moves Velmo's only after mapping it; a box placed
// before then would sit over the window's first place, the screen's top-left corner.
TEST(RecoveryOffer, ShowsCentredOverTheWindowWhereTheWindowManagerPlacedIt)
{
    QTemporaryDir folder;
    QFile left(folder.filePath(QStringLiteral("dead.rtf")));
    ASSERT_TRUE(left.open(QIODevice::WriteOnly));
    QTextDocument document;
    document.setPlainText(QStringLiteral("left by a crash"));
    left.write(recoveryBytes(takeSnapshot(document), {}));
    left.close();
    const RecoverySettings settings{folder.path(), 1h};
    Form1Seams seams;
    seams.recovery = &settings;
    Form1 form(seams);
    QRect box, window;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget *offer = QApplication::activeModalWidget();
        if (!offer || !offer->windowHandle() || !offer->windowHandle()->isExposed())
            return;
        QTest::qWait(300); // the frame comes a moment after the box is mapped
        box = offer->frameGeometry();
        window = form.frameGeometry();
        for (QAbstractButton *button : offer->findChildren<QAbstractButton *>())
            if (button->text().remove(QLatin1Char('&')) == QLatin1String("No"))
                button->click();
    });
    answer.start(50);
    form.show(); // as main() starts the program
    form.offerRecovery();
    ASSERT_TRUE(box.isValid()) << "no recovery box";
    EXPECT_GT(window.left(), 100) << "the window manager centred the window";
    EXPECT_NEAR(box.center().x(), window.center().x(), 40);
    EXPECT_NEAR(box.center().y(), window.center().y(), 40);
}

} // namespace

// The test owns its X server and window manager, so it runs on xcb whatever the caller uses.
int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    XServer x;
    if (!x.started() || !x.startWindowManager(QStringLiteral(OPENBOX_CONFIG))) {
        std::fprintf(stderr, "no X server with a window manager could be started\n");
        return 1;
    }
    qputenv("DISPLAY", x.display().toLatin1());
    qputenv("QT_QPA_PLATFORM", "xcb");
    std::optional<QApplication> app(std::in_place, argc, argv);
    const int result = RUN_ALL_TESTS();
    app.reset();
    return result;
}
