// What a file lost in reading is told once, after it has opened, in one box over the window.
#include "editor/load_progress.h"
#include "editor/message_box.h"
#include "editor/rich_text_box.h"
#include "window/form1.h"
#include "tests/support/read_samples.h"
#include "tests/support/scripted_seams.h"
#include <QAction>
#include <QCoreApplication>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct OpenWarnings : ::testing::Test
{
    ScriptedMessageBox messages;
    ScriptedFileDialogs dialogs;
    readsamples::MemoryFiles files;
    Form1 form{Form1Seams{.messages = &messages, .dialogs = &dialogs, .files = &files,
                          .progress = &silentLoadProgress()}};

    void openFromMenu(const QString &path)
    {
        dialogs.confirm(path);
        form.menuItem(QStringLiteral("Open"))->trigger();
    }
    void openFromCommandLine(const QString &path) { OpenFromDesktop(form.session(), path); }
};

using Opening = void (OpenWarnings::*)(const QString &);

TEST_F(OpenWarnings, PicturesPastTheBudgetAreToldOnceAfterTheOpen)
{
    files.files["pictures.rtf"] = readsamples::rtfWithPictures(4097);
    const std::pair<const char *, Opening> ways[] = {
        {"menu", &OpenWarnings::openFromMenu},
        {"command line", &OpenWarnings::openFromCommandLine},
    };
    for (const auto &[way, open] : ways) {
        messages.shown.clear();
        (this->*open)(QStringLiteral("pictures.rtf"));
        EXPECT_TRUE(messages.shown.empty()) << way << ": not before the open has ended";
        QCoreApplication::processEvents();
        ASSERT_EQ(messages.shown.size(), 1u) << way;
        EXPECT_EQ(messages.shown[0].prompt, readsamples::pictureCountWarning(1)) << way;
        EXPECT_EQ(messages.shown[0].title, QStringLiteral("Velmo")) << way;
        EXPECT_EQ(messages.shown[0].buttons, vb::vbOKOnly) << way;
        EXPECT_EQ(form.state().Modified, 0) << way;
        QCoreApplication::processEvents();
        EXPECT_EQ(messages.shown.size(), 1u) << way << ": shown once";
    }
}

TEST_F(OpenWarnings, AFileReadWholeShowsNoBox)
{
    files.files["plain.rtf"] = "{\\rtf1 nothing lost\\par}";
    files.files["notes.txt"] = "plain text";
    openFromMenu(QStringLiteral("plain.rtf"));
    openFromCommandLine(QStringLiteral("notes.txt"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(form.RichTextBox1->Text(), QStringLiteral("plain text"));
}

} // namespace
