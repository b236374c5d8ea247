#include "editor/rich_text_box.h"
#include "window/form1.h"
#include "tests/support/scripted_seams.h"
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct AltKey
{
    const char *name;
    Qt::Key key;
    const char *opens; // the menu's object name, or nothing
};

struct AltKeys : ::testing::TestWithParam<AltKey>
{
    ScriptedMessageBox messages;
    ScriptedFileDialogs dialogs;
    Form1 form{Form1Seams{&messages, &dialogs}};

    void SetUp() override
    {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        form.RichTextBox1->SetText(QStringLiteral("whole document"));
        form.RichTextBox1->selectAll();
        form.txtFind->setText(QStringLiteral("find"));
    }
    void TearDown() override
    {
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
    }

    void pressIn(QWidget *field)
    {
        field->setFocus();
        QTest::keyClick(field, GetParam().key, Qt::AltModifier);
        QTest::qWait(20);
    }
    QString openMenu() const
    {
        QWidget *popup = QApplication::activePopupWidget();
        return popup ? popup->objectName() : QString();
    }
};

TEST_P(AltKeys, OpenTheirMenuOrNothingAndNeverTypeIntoTheDocument)
{
    pressIn(form.RichTextBox1);
    EXPECT_EQ(openMenu(), QLatin1String(GetParam().opens));
    EXPECT_EQ(form.RichTextBox1->Text(), "whole document");
    EXPECT_EQ(form.RichTextBox1->SelLength(), 14) << "the selection stays";
}

TEST_P(AltKeys, DoTheSameFromTheFindBox)
{
    pressIn(form.txtFind);
    EXPECT_EQ(openMenu(), QLatin1String(GetParam().opens));
    EXPECT_EQ(form.txtFind->text(), "find");
}

INSTANTIATE_TEST_SUITE_P(
    Letters, AltKeys,
    ::testing::Values(AltKey{"AltFOpensFile", Qt::Key_F, "FileMenu"}, AltKey{"AltEOpensEdit", Qt::Key_E, "EditMenu"},
                      AltKey{"AltVOpensView", Qt::Key_V, "ViewMenu"}, AltKey{"AltUOpensUtilities", Qt::Key_U, "UtilitiesMenu"},
                      AltKey{"AltHOpensHelp", Qt::Key_H, "HelpMenu"}, AltKey{"AltZOpensNothing", Qt::Key_Z, ""},
                      AltKey{"AltDigitOpensNothing", Qt::Key_1, ""}, AltKey{"AltSpaceOpensNothing", Qt::Key_Space, ""}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(MenuCaptions, KeepNoMarkedLetters)
{
    ScriptedMessageBox messages;
    ScriptedFileDialogs dialogs;
    Form1 form{Form1Seams{&messages, &dialogs}};
    for (const char *name : {"File", "Edit", "Utilities", "View", "Help"})
        EXPECT_EQ(form.menuItem(QLatin1String(name))->text(), QLatin1String(name));
}

} // namespace
