#include "editor/rich_text_box.h"
#include "window/form1.h"
#include "recording_server.h"
#include "tests/support/scripted_seams.h"
#include <QAction>
#include <gtest/gtest.h>

namespace {

TEST(SpellCheckMenuTest, F7SendsTheEditorsTextThroughWordBasicAndReports)
{
    ScriptedMessageBox messages;
    AutomationRegistry registry;
    auto log = std::make_shared<CallLog>();
    registerRecordingServer(registry, log, {{}, {}, QStringLiteral("Corrected text\r")});
    Form1 form({&messages, nullptr, nullptr, &registry, nullptr});
    form.RichTextBox1->SetText(QStringLiteral("Corected text"));

    QAction *spellCheck = form.menuItem(QStringLiteral("SplCheck"));
    ASSERT_NE(spellCheck, nullptr);
    EXPECT_EQ(spellCheck->shortcut(), QKeySequence(Qt::Key_F7));
    spellCheck->trigger();

    EXPECT_TRUE(log->calls.contains(QStringLiteral("Insert(Corected text)")));
    EXPECT_EQ(form.RichTextBox1->Text(), QStringLiteral("Corrected text"));
    EXPECT_EQ(log->released, 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].prompt, QStringLiteral("Finished Spell Check"));
}

} // namespace
