#include "app/picture_box.h"
#include "app/rich_text_box.h"
#include "app/window/form1.h"
#include "tests/editing/editing_fixture.h"
#include "tests/support/scripted_seams.h"
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <functional>

namespace {

// A shown, active main window with "one two" in the editor and "two" selected.
struct Window : ::testing::Test
{
    ScriptedMessageBox messages;
    ScriptedFileDialogs dialogs;
    Form1 form{Form1Seams{&messages, &dialogs}};
    RichTextBox &editor = *form.RichTextBox1;

    void SetUp() override
    {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        editor.SetText("one two");
        editor.SetSelStart(4);
        editor.SetSelLength(3);
    }
    void run(const char *item)
    {
        QAction *action = form.menuItem(QLatin1String(item));
        ASSERT_NE(action, nullptr) << item;
        action->trigger();
    }
    void focusFindBox()
    {
        form.txtFind->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), form.txtFind);
    }
};

struct FocusCase
{
    const char *item;
    bool editorTakesFocus;
    std::function<bool(RichTextBox &)> applied;
};

void PrintTo(const FocusCase &p, std::ostream *os) { *os << p.item; }

struct CommandFocus : Window, ::testing::WithParamInterface<FocusCase>
{
};

TEST_P(CommandFocus, ActsOnTheEditorWhileTheFindBoxHasTheFocus)
{
    focusFindBox();
    run(GetParam().item);
    EXPECT_TRUE(GetParam().applied(editor)) << GetParam().item;
    QWidget *expected = GetParam().editorTakesFocus ? static_cast<QWidget *>(&editor) : form.txtFind;
    EXPECT_EQ(QApplication::focusWidget(), expected) << GetParam().item;
}

bool colourIs(RichTextBox &e, quint32 bgr) { return e.SelColor() == bgr; }
bool sizeIs(RichTextBox &e, double points) { return e.SelFontSize() == points; }

INSTANTIATE_TEST_SUITE_P(
    MenuItems, CommandFocus,
    ::testing::Values(
        FocusCase{"Black", true, [](RichTextBox &e) { return colourIs(e, 0x000000) && e.SelLength() == 3; }},
        FocusCase{"Red", true, [](RichTextBox &e) { return colourIs(e, 0x0000FF); }},
        FocusCase{"Yellow", true, [](RichTextBox &e) { return colourIs(e, 0x00FFFF); }},
        FocusCase{"Green", true, [](RichTextBox &e) { return colourIs(e, 0x00FF00); }},
        FocusCase{"Blue", true, [](RichTextBox &e) { return colourIs(e, 0xFF0000); }},
        FocusCase{"Fsize8", false, [](RichTextBox &e) { return sizeIs(e, 8); }},
        FocusCase{"Fsize10", false, [](RichTextBox &e) { return sizeIs(e, 10); }},
        FocusCase{"Fsize15", false, [](RichTextBox &e) { return sizeIs(e, 15); }},
        FocusCase{"Fsize20", false, [](RichTextBox &e) { return sizeIs(e, 20); }},
        FocusCase{"Fsize25", false, [](RichTextBox &e) { return sizeIs(e, 25); }},
        FocusCase{"larger", false, [](RichTextBox &e) { return sizeIs(e, 14.75); }},
        FocusCase{"smaller", false, [](RichTextBox &e) { return sizeIs(e, 4.75); }},
        FocusCase{"Bold", false, [](RichTextBox &e) { return e.SelBold() == true; }},
        FocusCase{"Italic", false, [](RichTextBox &e) { return e.SelItalic() == true; }},
        FocusCase{"Underlined", false, [](RichTextBox &e) { return e.SelUnderline() == true; }},
        FocusCase{"Striketrough", false, [](RichTextBox &e) { return e.SelStrikeThru() == true; }},
        FocusCase{"Deformat", false, [](RichTextBox &e) { return e.SelBold() == false && e.SelItalic() == false; }},
        FocusCase{"LJustifiy", false, [](RichTextBox &e) { return e.SelAlignment() == 0; }},
        FocusCase{"Center", false, [](RichTextBox &e) { return e.SelAlignment() == 2; }},
        FocusCase{"RJustifiy", false, [](RichTextBox &e) { return e.SelAlignment() == 1; }},
        FocusCase{"Smiling", true, [](RichTextBox &e) { return e.Text().contains(QChar::ObjectReplacementCharacter); }}),
    [](const auto &info) { return std::string(info.param.item); });

struct Symbol
{
    const char *item;
    int box;
    QSize pixels;
};

void PrintTo(const Symbol &p, std::ostream *os) { *os << p.item; }

struct SymbolCommand : Window, ::testing::WithParamInterface<Symbol>
{
};

TEST_P(SymbolCommand, InsertsItsOwnPictureAndPutsTheClipboardTextBack)
{
    QGuiApplication::clipboard()->setText("abc");
    focusFindBox();
    run(GetParam().item);
    const auto pictures = picturesIn(editor);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_TRUE(samePixels(pictures[0], form.symbolBox(GetParam().box).Picture));
    for (int other = 1; other <= 8; ++other) {
        if (other != GetParam().box) {
            EXPECT_FALSE(samePixels(pictures[0], form.symbolBox(other).Picture)) << "f" << other;
        }
    }
    EXPECT_EQ(shownSizesIn(editor)[0], GetParam().pixels);
    EXPECT_EQ(editor.Text(), QString("one ") + QChar::ObjectReplacementCharacter);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "abc");
    EXPECT_EQ(form.state().sClipText, "abc");
    EXPECT_EQ(QApplication::focusWidget(), &editor);
}

INSTANTIATE_TEST_SUITE_P(EachSymbol, SymbolCommand,
                         ::testing::Values(Symbol{"Smiling", 1, {18, 17}}, Symbol{"Sad", 2, {15, 15}},
                                           Symbol{"Caution", 3, {18, 19}}, Symbol{"List", 4, {23, 23}},
                                           Symbol{"Picture", 5, {26, 25}}, Symbol{"Pencil", 6, {37, 38}},
                                           Symbol{"Paragraph", 7, {35, 30}}, Symbol{"Close", 8, {23, 23}}),
                         [](const auto &info) { return std::string(info.param.item); });

// Ctrl+C and Ctrl+X in the editor are the menu's plain-text commands, not the editor's rich copy.
struct EditorKeys : Window, ::testing::WithParamInterface<std::pair<char, const char *>>
{
};

TEST_P(EditorKeys, PutOnlyPlainTextOnTheClipboard)
{
    editor.SetSelBold(true);
    editor.SetFocus();
    QTest::keyClick(&editor, GetParam().first, Qt::ControlModifier);
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), "two");
    EXPECT_FALSE(data->hasHtml());
    EXPECT_EQ(editor.Text(), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(CopyAndCut, EditorKeys,
                         ::testing::Values(std::pair{'c', "one two"}, std::pair{'x', "one "}));

} // namespace
