// Nothing typed is lost and nothing surprises, tried in the real window with real keys: questions
// that Escape cannot answer, Alt keys, the find box's keys, and recovery after a kill.
#include "rtf/rtf.h"
#include "tests/gui/x_session.h"
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QThread>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

class SafeWindow : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { x = new XServer; }
    static void TearDownTestSuite()
    {
        delete x;
        x = nullptr;
    }

    void SetUp() override { ASSERT_TRUE(x->started()) << "Xvfb did not start"; }

    // Velmo over the test's own data folder; a short autosave interval where the test asks for one.
    void start(int autosaveMs = 0)
    {
        QStringList env{QStringLiteral("XDG_DATA_HOME=") + data.path()};
        if (autosaveMs)
            env << QStringLiteral("VELMO_RECOVERY_INTERVAL_MS=%1").arg(autosaveMs);
        velmo = std::make_unique<VelmoProcess>(*x, QStringLiteral(VELMO_BINARY), env);
        window = velmo->waitForMainWindow(20s);
        ASSERT_FALSE(window.isEmpty()) << "no window titled Velmo: " << velmo->errors().toStdString();
    }
    void focus(const QString &w)
    {
        x->run(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), QStringLiteral("--sync"), w});
        ASSERT_TRUE(waitUntil([&] { return x->focusedWindow() == w; }));
    }
    void startFocused()
    {
        start();
        focus(window);
    }

    QString clipboardBecomes(const QString &expected)
    {
        QString last;
        waitUntil([&] { return (last = x->clipboardText()) == expected; });
        return last;
    }
    QString documentTextBecomes(const QString &expected)
    {
        x->key(QStringLiteral("ctrl+a ctrl+c"));
        return clipboardBecomes(expected);
    }
    QString waitForWindow(const QString &titleRegex)
    {
        QString found;
        waitUntil([&] {
            const QStringList w = x->windows(titleRegex);
            found = w.isEmpty() ? QString() : w.first();
            return !found.isEmpty();
        });
        return found;
    }
    QStringList ownWindows() const { return x->windowsOfClass(QStringLiteral("^Velmo$")); }
    QString newWindowSince(const QStringList &before)
    {
        QString opened;
        waitUntil([&] {
            for (const QString &w : ownWindows())
                if (!before.contains(w))
                    opened = w;
            return !opened.isEmpty();
        });
        return opened;
    }
    QStringList recoveryCopies() const
    {
        QStringList copies;
        QDirIterator it(data.path(), {QStringLiteral("*.rtf")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            copies << it.next();
        return copies;
    }
    // Saves through Ctrl+S and the real save dialog, and reads the file back.
    void saveAndRead(QTextDocument &saved)
    {
        const QString path = files.filePath(QStringLiteral("saved.rtf"));
        x->key(QStringLiteral("ctrl+s"));
        const QString dialog = waitForWindow(QStringLiteral("^Save"));
        ASSERT_FALSE(dialog.isEmpty()) << "Ctrl+S showed no save dialog";
        ASSERT_TRUE(waitUntil([&] { return x->focusedWindow() == dialog; }));
        x->type(path);
        x->key(QStringLiteral("Return"));
        ASSERT_TRUE(waitUntil([&] { return QFile::exists(path) && QFileInfo(path).size() > 0; }));
        QThread::msleep(200);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        ASSERT_TRUE(rtf::read(f.readAll(), saved));
    }

    inline static XServer *x = nullptr;
    QTemporaryDir data, files;
    std::unique_ptr<VelmoProcess> velmo;
    QString window;
};

QTextCharFormat formatAt(QTextDocument &document, int position)
{
    QTextCursor c(&document);
    c.setPosition(position + 1);
    return c.charFormat();
}

TEST_F(SafeWindow, EscapeAndTheCloseBoxLeaveTheClosePromptOpenAndTheTextIntact)
{
    startFocused();
    x->type(QStringLiteral("keep me"));
    ASSERT_EQ(documentTextBecomes(QStringLiteral("keep me")), "keep me");
    ASSERT_TRUE(x->requestClose(window));
    const QString prompt = waitForWindow(QStringLiteral("^Alert! Document not saved!$"));
    ASSERT_FALSE(prompt.isEmpty()) << "closing a modified document asked nothing";
    ASSERT_TRUE(waitUntil([&] { return x->focusedWindow() == prompt; }));
    x->key(QStringLiteral("Escape"));
    QThread::msleep(500);
    EXPECT_EQ(x->windows(QStringLiteral("^Alert! Document not saved!$")), QStringList{prompt}) << "Escape is no answer";
    ASSERT_TRUE(x->requestClose(prompt));
    QThread::msleep(500);
    EXPECT_EQ(x->windows(QStringLiteral("^Alert! Document not saved!$")), QStringList{prompt}) << "nor is its close box";
    EXPECT_TRUE(velmo->running());
    // Yes, then a cancelled save dialog, keeps the window: the text is still all there.
    focus(prompt);
    x->key(QStringLiteral("y"));
    const QString dialog = waitForWindow(QStringLiteral("^Save"));
    ASSERT_FALSE(dialog.isEmpty());
    ASSERT_TRUE(waitUntil([&] { return x->focusedWindow() == dialog; }));
    x->key(QStringLiteral("Escape"));
    ASSERT_TRUE(waitUntil([&] { return x->windows(QStringLiteral("^Save")).isEmpty(); }));
    focus(window);
    EXPECT_EQ(documentTextBecomes(QStringLiteral("keep me")), "keep me");
    EXPECT_TRUE(velmo->running());
}

TEST_F(SafeWindow, AltFAndAltEOpenTheirMenusAndTheSelectedTextStays)
{
    startFocused();
    x->type(QStringLiteral("whole text"));
    x->key(QStringLiteral("ctrl+a"));
    for (const char *keys : {"alt+f", "alt+e", "alt+u", "alt+h", "alt+v"}) {
        const QStringList before = ownWindows();
        x->key(QLatin1String(keys));
        if (QLatin1String(keys) != QLatin1String("alt+v")) { // View has no items, so no popup to see
            const QString popup = newWindowSince(before);
            EXPECT_FALSE(popup.isEmpty()) << keys << " opened no menu";
        }
        QThread::msleep(300);
        x->key(QStringLiteral("Escape Escape"));
        ASSERT_TRUE(waitUntil([&] { return ownWindows().size() == 1; })) << keys << ": the menu did not close";
    }
    x->key(QStringLiteral("alt+z alt+1"));
    focus(window);
    EXPECT_EQ(documentTextBecomes(QStringLiteral("whole text")), "whole text") << "no Alt key typed into the document";
}

TEST_F(SafeWindow, CtrlUFromTheFindBoxUnderlinesTheSelectionAndTheBoxKeepsItsText)
{
    startFocused();
    x->type(QStringLiteral("one two"));
    x->key(QStringLiteral("shift+Left shift+Left shift+Left ctrl+f"));
    x->type(QStringLiteral("two"));
    x->key(QStringLiteral("ctrl+u"));
    x->key(QStringLiteral("ctrl+a ctrl+c"));
    EXPECT_EQ(clipboardBecomes(QStringLiteral("two")), "two") << "the box kept the focus and its text";
    focus(window);
    x->key(QStringLiteral("shift+Tab"));
    QTextDocument saved;
    saveAndRead(saved);
    EXPECT_EQ(saved.toPlainText(), "one two");
    EXPECT_TRUE(formatAt(saved, 5).fontUnderline()) << "the editor's selection was underlined";
    EXPECT_FALSE(formatAt(saved, 1).fontUnderline());
}

// Down from "Print all" would pick "Pages from" (pages 1 to 1) were the range offered: the PDF shows which.
TEST_F(SafeWindow, APageRangeCannotBeChosenInThePrintDialog)
{
    startFocused();
    QString lines;
    for (int i = 1; i <= 150; ++i)
        lines += QStringLiteral("line %1\n").arg(i);
    ASSERT_TRUE(x->offerClipboardText(lines));
    x->key(QStringLiteral("ctrl+v ctrl+Home"));
    x->key(QStringLiteral("ctrl+p"));
    const QString dialog = waitForWindow(QStringLiteral("^Print"));
    ASSERT_FALSE(dialog.isEmpty()) << "Ctrl+P showed no print dialog";
    focus(dialog);
    x->key(QStringLiteral("alt+o")); // Options >>: the page choices
    QThread::msleep(500);
    const auto click = [&](int dx, int dy) {
        x->run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QStringLiteral("--window"), dialog,
                                           QString::number(dx), QString::number(dy), QStringLiteral("click"), QStringLiteral("1")});
        QThread::msleep(200);
    };
    const QString pdf = files.filePath(QStringLiteral("printed.pdf"));
    click(239, 118); // the output file
    x->key(QStringLiteral("ctrl+a"));
    x->type(pdf);
    click(38, 218); // "Print all"
    x->key(QStringLiteral("Down Down"));
    click(38, 243); // "Pages from", were it enabled
    x->key(QStringLiteral("Return"));
    ASSERT_TRUE(waitUntil([&] { return x->windows(QStringLiteral("^Print")).isEmpty(); })) << "the dialog did not print";
    ASSERT_TRUE(waitUntil([&] { return QFileInfo(pdf).size() > 0; }, 10s)) << "nothing printed to " << pdf.toStdString();
    QThread::msleep(500);
    const QString info = x->run(QStringLiteral("pdfinfo"), {pdf});
    const QString pages = info.section(QStringLiteral("Pages:"), 1).section(QLatin1Char('\n'), 0, 0).trimmed();
    EXPECT_GE(pages.toInt(), 3) << "every page printed: " << info.toStdString();
}

TEST_F(SafeWindow, AfterAKillTheNextStartOffersTheTextAndYesBringsItBackWithItsFormats)
{
    start(1000);
    focus(window);
    x->type(QStringLiteral("plain bold"));
    x->key(QStringLiteral("shift+Left shift+Left shift+Left shift+Left ctrl+b End"));
    ASSERT_TRUE(waitUntil([&] { return !recoveryCopies().isEmpty(); }, 10s)) << "no recovery copy was written";
    QThread::msleep(1500); // the copy after the bold
    velmo.reset(); // kill -9
    ASSERT_FALSE(recoveryCopies().isEmpty()) << "the kill left the copy";

    start();
    ASSERT_TRUE(waitUntil([&] { return x->windows(QStringLiteral("^Velmo$")).size() == 2; }, 10s)) << "no recovery box";
    QString box;
    for (const QString &w : x->windows(QStringLiteral("^Velmo$")))
        if (box.isEmpty() || x->windowSize(w).width() < x->windowSize(box).width())
            box = w;
    if (const QByteArray shot = qgetenv("VELMO_SCREENSHOT"); !shot.isEmpty())
        x->run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), QString::fromLocal8Bit(shot)});
    ASSERT_TRUE(waitUntil([&] { return x->focusedWindow() == box; }));
    x->key(QStringLiteral("Return")); // Yes is the default
    ASSERT_TRUE(waitUntil([&] { return x->windows(QStringLiteral("^Velmo$")).size() == 1; }));
    window = x->windows(QStringLiteral("^Velmo$")).first();
    focus(window);
    EXPECT_EQ(documentTextBecomes(QStringLiteral("plain bold")), "plain bold");
    x->key(QStringLiteral("End"));
    QTextDocument saved;
    saveAndRead(saved);
    EXPECT_EQ(saved.toPlainText(), "plain bold");
    EXPECT_EQ(formatAt(saved, 7).fontWeight(), QFont::Bold) << "the bold came back";
    EXPECT_LT(formatAt(saved, 1).fontWeight(), QFont::Bold);
}

TEST_F(SafeWindow, ACleanExitLeavesNoCopyAndNoBoxAtTheNextStart)
{
    start(500);
    focus(window);
    x->type(QStringLiteral("thrown away"));
    ASSERT_TRUE(waitUntil([&] { return !recoveryCopies().isEmpty(); }, 10s));
    ASSERT_TRUE(x->requestClose(window));
    const QString prompt = waitForWindow(QStringLiteral("^Alert! Document not saved!$"));
    ASSERT_FALSE(prompt.isEmpty());
    focus(prompt);
    x->key(QStringLiteral("n"));
    ASSERT_TRUE(velmo->waitForExit());
    EXPECT_TRUE(recoveryCopies().isEmpty());
    start();
    QThread::msleep(1500);
    EXPECT_EQ(x->windows(QStringLiteral("^Velmo$")).size(), 1) << "no recovery box after a clean exit";
}

// At the real 30-second interval, as a person would meet it; run by its own ctest entry.
TEST_F(SafeWindow, DISABLED_AtTheRealIntervalAKilledRunLeavesACopyThatIsOffered)
{
    start();
    focus(window);
    x->type(QStringLiteral("typed once"));
    QThread::msleep(5000);
    EXPECT_TRUE(recoveryCopies().isEmpty()) << "well within the interval no copy is due";
    ASSERT_TRUE(waitUntil([&] { return !recoveryCopies().isEmpty(); }, 35s)) << "no copy within 30 s of the change";
    QThread::msleep(500);
    velmo.reset();
    start();
    ASSERT_TRUE(waitUntil([&] { return x->windows(QStringLiteral("^Velmo$")).size() == 2; }, 10s)) << "no recovery box";
}

} // namespace
