// Velmo as a person meets it: its own process on a private X server, driven with real key presses,
// the real file dialog, message boxes and X clipboard.
#include "rtf/rtf.h"
#include "tests/gui/x_session.h"
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QThread>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

// Polls until `read` gives `expected`; gives back the last value read, for the failure message.
QString eventually(const std::function<QString()> &read, const QString &expected)
{
    QString last;
    waitUntil([&] { return (last = read()) == expected; });
    return last;
}

class RealWindow : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { x = new XServer; }
    static void TearDownTestSuite()
    {
        delete x;
        x = nullptr;
    }

    void SetUp() override { startVelmo(); }

    void startVelmo(const QStringList &environment = {})
    {
        ASSERT_TRUE(x->started()) << "Xvfb did not start";
        velmo = std::make_unique<VelmoProcess>(*x, QStringLiteral(VELMO_BINARY), environment);
        window = velmo->waitForMainWindow(20s);
        ASSERT_FALSE(window.isEmpty()) << "no window titled Velmo: " << velmo->errors().toStdString();
        // There is no window manager to give a new window the focus, so do as one would.
        x->run(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        ASSERT_TRUE(waitUntil([&] { return x->focusedWindow() == window; }));
    }

    // The document's text, read the way a person would take it elsewhere: select all, copy.
    QString documentTextBecomes(const QString &expected)
    {
        x->key(QStringLiteral("ctrl+a ctrl+c"));
        return eventually([&] { return x->clipboardText(); }, expected);
    }

    // A dialog or message box of Velmo's, by its title; empty when none shows up in time.
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

    // Menus have no access keys, so the keyboard walks them: Alt highlights the bar, arrows move along
    // it, Down opens a menu on its first item; its popup is one more window of the program.
    void chooseFromMenuBar(const QString &alongTheBar, int item)
    {
        const auto windows = [&] { return x->windowsOfClass(QStringLiteral("^Velmo$")); };
        const QStringList before = windows();
        QString popup;
        x->key((QStringLiteral("alt ") + alongTheBar + QStringLiteral(" Down")).simplified());
        ASSERT_TRUE(waitUntil([&] {
            for (const QString &w : windows())
                if (!before.contains(w))
                    popup = w;
            return !popup.isEmpty();
        })) << "the menu did not open";
        // The popup takes the keyboard a moment after it shows, and nothing outside tells when.
        QThread::msleep(300);
        x->key((QStringLiteral("Down ").repeated(item - 1) + QStringLiteral("Return")));
        ASSERT_TRUE(waitUntil([&] { return !windows().contains(popup); })) << "the menu did not close";
    }

    inline static XServer *x = nullptr;
    std::unique_ptr<VelmoProcess> velmo;
    QString window;
};

std::optional<QTextDocument *> readRtf(const QString &path, QTextDocument &document, QString &why)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        why = f.errorString();
        return std::nullopt;
    }
    if (!rtf::read(f.readAll(), document, &why))
        return std::nullopt;
    return &document;
}

bool isBold(QTextDocument &document, int from, int to)
{
    for (int i = from; i < to; ++i) {
        QTextCursor c(&document);
        c.setPosition(i + 1); // the format of the character before the cursor
        if (c.charFormat().fontWeight() < QFont::Bold)
            return false;
    }
    return true;
}

} // namespace

TEST_F(RealWindow, ShowsOneWindowTitledVelmoWithTheEditorFocused)
{
    EXPECT_EQ(x->windowName(window), "Velmo");
    EXPECT_EQ(x->windows(QStringLiteral("^Velmo$")).size(), 1);
    x->type(QStringLiteral("typed at once"));
    EXPECT_EQ(documentTextBecomes(QStringLiteral("typed at once")), "typed at once")
        << "keys typed right after start land in the editor";
}

TEST_F(RealWindow, ShiftArrowsAndCtrlBThenCtrlSWriteTheBoldTextThroughTheSaveDialog)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("typed.rtf"));
    x->type(QStringLiteral("plain bold"));
    x->key(QStringLiteral("shift+Left shift+Left shift+Left shift+Left ctrl+b"));
    x->key(QStringLiteral("ctrl+s"));
    const QString dialog = waitForWindow(QStringLiteral("^Save"));
    ASSERT_FALSE(dialog.isEmpty()) << "Ctrl+S showed no save dialog";
    ASSERT_TRUE(waitUntil([&] { return x->focusedWindow() == dialog; })) << "the save dialog has the keyboard";
    x->type(path);
    x->key(QStringLiteral("Return"));
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(path); })) << "nothing written to " << path.toStdString();
    EXPECT_TRUE(waitUntil([&] { return x->windows(QStringLiteral("^Save")).isEmpty(); })) << "the dialog closed";

    QTextDocument saved;
    QString why;
    ASSERT_TRUE(readRtf(path, saved, why)) << why.toStdString();
    EXPECT_EQ(saved.toPlainText(), "plain bold");
    EXPECT_TRUE(isBold(saved, 6, 10)) << "the selected word was saved bold";
    EXPECT_FALSE(isBold(saved, 0, 5)) << "the rest stays regular";
}

TEST_F(RealWindow, TheCloseBoxOnAModifiedDocumentAsksAndNoCloses)
{
    x->type(QStringLiteral("unsaved"));
    ASSERT_EQ(documentTextBecomes(QStringLiteral("unsaved")), "unsaved");
    ASSERT_TRUE(x->requestClose(window));
    const QString prompt = waitForWindow(QStringLiteral("^Alert! Document not saved!$"));
    ASSERT_FALSE(prompt.isEmpty()) << "closing a modified document asked nothing";
    EXPECT_TRUE(velmo->running()) << "the program waits for the answer";
    ASSERT_TRUE(waitUntil([&] { return x->focusedWindow() == prompt; }));
    x->key(QStringLiteral("n")); // the No button
    EXPECT_TRUE(velmo->waitForExit()) << "No closes the window and ends the program";
    EXPECT_EQ(velmo->exitCode(), 0);
}

TEST_F(RealWindow, TextFromAnotherProgramComesInThroughEditPasteAsPlainText)
{
    ASSERT_TRUE(x->offerClipboardText(QStringLiteral("from elsewhere")));
    x->type(QStringLiteral("A "));
    chooseFromMenuBar(QStringLiteral("Right"), 3); // Edit > Cut, Copy, Paste
    EXPECT_EQ(documentTextBecomes(QStringLiteral("A from elsewhere")), "A from elsewhere");
}

TEST_F(RealWindow, CtrlCPutsTheSelectionOnTheXClipboard)
{
    x->type(QStringLiteral("keep this"));
    x->key(QStringLiteral("shift+Home ctrl+c"));
    EXPECT_EQ(eventually([&] { return x->clipboardText(); }, QStringLiteral("keep this")), "keep this");
    x->key(QStringLiteral("End shift+Left shift+Left shift+Left shift+Left ctrl+c"));
    EXPECT_EQ(eventually([&] { return x->clipboardText(); }, QStringLiteral("this")), "this");
}

TEST_F(RealWindow, CtrlFAWordAndEnterSelectTheWord)
{
    x->type(QStringLiteral("one two three"));
    x->key(QStringLiteral("ctrl+f"));
    x->type(QStringLiteral("two"));
    x->key(QStringLiteral("Return"));
    // The step hands the focus back to the editor with the word selected: copying it shows which.
    x->key(QStringLiteral("ctrl+c"));
    EXPECT_EQ(eventually([&] { return x->clipboardText(); }, QStringLiteral("two")), "two");
    EXPECT_EQ(x->windows(QStringLiteral("^Velmo$")).size(), 1) << "no end-of-pass message on a hit";
}

TEST_F(RealWindow, TabFromTheEditorReachesTheFindBox)
{
    x->type(QStringLiteral("red green blue"));
    x->key(QStringLiteral("Tab"));
    x->type(QStringLiteral("green"));
    x->key(QStringLiteral("Return ctrl+c"));
    EXPECT_EQ(eventually([&] { return x->clipboardText(); }, QStringLiteral("green")), "green");
    x->key(QStringLiteral("End ctrl+Tab"));
    EXPECT_EQ(documentTextBecomes(QStringLiteral("red green blue\t")), "red green blue\t") << "Ctrl+Tab types a tab";
}

TEST_F(RealWindow, AboutShowsOneBoxAndEscClosesIt)
{
    chooseFromMenuBar(QStringLiteral("Left"), 1); // Help > About Velmo
    ASSERT_FALSE(waitForWindow(QStringLiteral("^About Velmo$")).isEmpty()) << "no About box";
    x->run(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    chooseFromMenuBar(QStringLiteral("Left"), 1);
    const QString about = waitForWindow(QStringLiteral("^About Velmo$"));
    EXPECT_EQ(x->windows(QStringLiteral("^About Velmo$")).size(), 1) << "About twice still shows one box";
    ASSERT_TRUE(waitUntil([&] { return x->focusedWindow() == about; }));
    x->key(QStringLiteral("Escape"));
    EXPECT_TRUE(waitUntil([&] { return x->windows(QStringLiteral("^About Velmo$")).isEmpty(); })) << "Esc closes it";
    EXPECT_TRUE(velmo->running());
}

TEST_F(RealWindow, AtScaleTwoTheWindowKeepsItsProportions)
{
    const QSize atOne = x->windowSize(window);
    velmo.reset();
    startVelmo({QStringLiteral("QT_SCALE_FACTOR=2")});
    const QSize atTwo = x->windowSize(window);
    EXPECT_NEAR(atTwo.width(), 2 * atOne.width(), 2);
    EXPECT_NEAR(atTwo.height(), 2 * atOne.height(), 2);
}

TEST_F(RealWindow, CtrlYAndCtrlShiftZBothRedoWhatCtrlZUndid)
{
    for (const QString &redo : {QStringLiteral("ctrl+y"), QStringLiteral("ctrl+shift+z")}) {
        x->type(QStringLiteral("word"));
        ASSERT_EQ(documentTextBecomes(QStringLiteral("word")), "word");
        x->key(QStringLiteral("ctrl+z"));
        // Copying an empty document copies nothing, so the clipboard must not already hold the word.
        ASSERT_TRUE(x->offerClipboardText(QStringLiteral("undone")));
        x->key(redo);
        EXPECT_EQ(documentTextBecomes(QStringLiteral("word")), "word") << redo.toStdString() << " redoes";
        x->key(QStringLiteral("ctrl+a Delete"));
    }
}
