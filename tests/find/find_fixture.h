#pragma once
#include "editor/rich_text_box.h"
#include "window/form1.h"
#include "tests/support/scripted_seams.h"
#include "tools/find_bar.h"
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

// Readable failures.
inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

// Remembers which widget had the focus when each message box came up.
class FocusRecordingMessageBox : public ScriptedMessageBox
{
public:
    std::vector<QWidget *> focusAtShow;

protected:
    int show(const QString &prompt, int buttons, const QString &title) override
    {
        focusAtShow.push_back(QApplication::focusWidget());
        return ScriptedMessageBox::show(prompt, buttons, title);
    }
};

// The real window, shown and active so focus changes deliver their events.
struct FindFixture : ::testing::Test
{
    FocusRecordingMessageBox messages;
    ScriptedFileDialogs dialogs;
    Form1 form{Form1Seams{&messages, &dialogs}};
    RichTextBox &editor = *form.RichTextBox1;
    FindBar &bar = *form.findBar;

    void SetUp() override
    {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    void step(const QString &what) { bar.FindT(what, editor); }
    QString lastMessage() const { return messages.shown.empty() ? QString() : messages.shown.back().prompt; }
};
