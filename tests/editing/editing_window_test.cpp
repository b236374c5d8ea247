#include "window/form1.h"
#include "tests/editing/editing_fixture.h"
#include "tests/support/scripted_seams.h"
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <functional>

namespace {

// A shown, active main window with "one two" in the editor and "two" selected.
template <class Row>
struct Window : ::testing::Test, ::testing::WithParamInterface<Row>
{
    ScriptedMessageBox messages;
    ScriptedFileDialogs dialogs;
    Form1 form{Form1Seams{&messages, &dialogs}};
    RichTextBox &editor = *form.RichTextBox1;
    QClipboard &system = *QGuiApplication::clipboard();

    void SetUp() override
    {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        editor.SetText("one two");
        editor.SetSelStart(4);
        editor.SetSelLength(3);
    }
    void runFromFindBox(const char *item)
    {
        form.txtFind->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), form.txtFind);
        QAction *action = form.menuItem(QLatin1String(item));
        ASSERT_NE(action, nullptr) << item;
        action->trigger();
    }
};

struct FocusCase
{
    const char *name;
    bool editorTakesFocus;
    std::function<bool(RichTextBox &)> applied;
};

using CommandFocus = Window<FocusCase>;

TEST_P(CommandFocus, ActsOnTheEditorWhileTheFindBoxHasTheFocus)
{
    runFromFindBox(GetParam().name);
    EXPECT_TRUE(GetParam().applied(editor));
    EXPECT_EQ(QApplication::focusWidget(), GetParam().editorTakesFocus ? static_cast<QWidget *>(&editor) : form.txtFind);
}

auto colourIs(quint32 bgr) { return [bgr](RichTextBox &e) { return e.SelColor() == bgr && e.SelLength() == 3; }; }
auto sizeIs(double points) { return [points](RichTextBox &e) { return e.SelFontSize() == points; }; }
auto alignmentIs(int code) { return [code](RichTextBox &e) { return e.SelAlignment() == code; }; }

INSTANTIATE_TEST_SUITE_P(
    MenuItems, CommandFocus,
    ::testing::Values(
        FocusCase{"Black", true, colourIs(0x000000)}, FocusCase{"Red", true, colourIs(0x0000FF)},
        FocusCase{"Yellow", true, colourIs(0x00FFFF)}, FocusCase{"Green", true, colourIs(0x00FF00)},
        FocusCase{"Blue", true, colourIs(0xFF0000)}, FocusCase{"Fsize8", false, sizeIs(8)},
        FocusCase{"Fsize10", false, sizeIs(10)}, FocusCase{"Fsize15", false, sizeIs(15)},
        FocusCase{"Fsize20", false, sizeIs(20)}, FocusCase{"Fsize25", false, sizeIs(25)},
        FocusCase{"larger", false, sizeIs(14.75)}, FocusCase{"smaller", false, sizeIs(4.75)},
        FocusCase{"Bold", false, [](RichTextBox &e) { return e.SelBold() == true; }},
        FocusCase{"Italic", false, [](RichTextBox &e) { return e.SelItalic() == true; }},
        FocusCase{"Underlined", false, [](RichTextBox &e) { return e.SelUnderline() == true; }},
        FocusCase{"Striketrough", false, [](RichTextBox &e) { return e.SelStrikeThru() == true; }},
        FocusCase{"Deformat", false, [](RichTextBox &e) { return e.SelBold() == false && e.SelItalic() == false; }},
        FocusCase{"LJustifiy", false, alignmentIs(0)}, FocusCase{"Center", false, alignmentIs(2)},
        FocusCase{"RJustifiy", false, alignmentIs(1)}),
    byName);

struct Symbol
{
    const char *name;
    int box;
    QSize pixels;
};

using SymbolCommand = Window<Symbol>;

TEST_P(SymbolCommand, ReplacesTheSelectionWithItsOwnPictureAndPutsTheClipboardTextBack)
{
    system.setText("abc");
    runFromFindBox(GetParam().name);
    const QImage own = form.symbolBox(GetParam().box).Picture;
    EXPECT_EQ(own.size(), GetParam().pixels);
    expectPictures(editor, {own});
    for (int other = 1; other <= 8; ++other)
        EXPECT_EQ(samePixels(own, form.symbolBox(other).Picture), other == GetParam().box) << "f" << other;
    EXPECT_EQ(std::tuple(editor.Text(), system.text(), form.state().sClipText),
              std::tuple(QString("one ") + QChar::ObjectReplacementCharacter, QString("abc"), QString("abc")));
    EXPECT_EQ(QApplication::focusWidget(), &editor);
}

INSTANTIATE_TEST_SUITE_P(EachSymbol, SymbolCommand,
                         ::testing::Values(Symbol{"Smiling", 1, {18, 17}}, Symbol{"Sad", 2, {15, 15}},
                                           Symbol{"Caution", 3, {18, 19}}, Symbol{"List", 4, {23, 23}},
                                           Symbol{"Picture", 5, {26, 25}}, Symbol{"Pencil", 6, {37, 38}},
                                           Symbol{"Paragraph", 7, {35, 30}}, Symbol{"Close", 8, {23, 23}}),
                         byName);

// Ctrl+C and Ctrl+X in the editor are the menu's plain-text commands, not the editor's rich copy.
using EditorKeys = Window<std::pair<char, const char *>>;

TEST_P(EditorKeys, PutOnlyPlainTextOnTheClipboard)
{
    editor.SetSelBold(true);
    editor.SetFocus();
    QTest::keyClick(&editor, GetParam().first, Qt::ControlModifier);
    ASSERT_NE(system.mimeData(), nullptr);
    EXPECT_EQ(std::tuple(system.mimeData()->text(), system.mimeData()->hasHtml(), editor.Text()),
              std::tuple(QString("two"), false, QString(GetParam().second)));
}

INSTANTIATE_TEST_SUITE_P(CopyAndCut, EditorKeys, ::testing::Values(std::pair{'c', "one two"}, std::pair{'x', "one "}));

} // namespace
