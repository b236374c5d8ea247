#include "app/clipboard.h"
#include "app/picture_box.h"
#include "editing/editing_commands.h"
#include "tests/editing/editing_fixture.h"
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>

namespace {

// The editor pastes from the system clipboard, so these tests use it too.
struct Symbols : EditorTest
{
    SystemClipboard clipboard;
    QClipboard &system = *QGuiApplication::clipboard();
    QString sClipText;
    PictureBox smiling{"f1", symbolPictureOf(1), nullptr};
    PictureBox picture{"f5", symbolPictureOf(5), nullptr};

    void insert(const PictureBox &box) { InsertSymbol(editor, clipboard, box, sClipText); }
};

TEST_F(Symbols, InsertsThePictureAtTheCaretAtItsPixelSizeAndPutsTheTextBack)
{
    system.setText("abc");
    editor.SetText("ab");
    select(1, 0);
    insert(smiling);
    EXPECT_EQ(editor.Text(), QString("a") + QChar::ObjectReplacementCharacter + "b");
    ASSERT_EQ(picturesIn(editor).size(), 1u);
    EXPECT_TRUE(samePixels(picturesIn(editor)[0], smiling.Picture));
    EXPECT_EQ(shownSizesIn(editor)[0], QSize(18, 17));
    EXPECT_EQ(editor.SelStart(), 2);
    EXPECT_EQ(system.text(), "abc");
    EXPECT_EQ(sClipText, "abc");
}

TEST_F(Symbols, ThePictureReplacesTheSelection)
{
    editor.SetText("a-b");
    select(1, 1);
    insert(smiling);
    EXPECT_EQ(editor.Text(), QString("a") + QChar::ObjectReplacementCharacter + "b");
}

TEST_F(Symbols, EveryFormatTheClipboardHeldComesBack)
{
    QImage held(5, 3, QImage::Format_ARGB32);
    held.fill(Qt::green);
    auto *data = new QMimeData;
    data->setText("words");
    data->setHtml("<b>words</b>");
    data->setImageData(held);
    data->setData("application/x-velmo-test", "raw bytes");
    system.setMimeData(data);
    insert(picture);
    const QMimeData *after = system.mimeData();
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->text(), "words");
    EXPECT_EQ(after->html(), "<b>words</b>");
    EXPECT_TRUE(samePixels(qvariant_cast<QImage>(after->imageData()), held));
    EXPECT_EQ(after->data("application/x-velmo-test"), "raw bytes");
    EXPECT_EQ(sClipText, "words");
    EXPECT_TRUE(samePixels(picturesIn(editor).at(0), picture.Picture)) << "the held picture is not the one pasted";
}

TEST_F(Symbols, APictureAloneOnTheClipboardSurvives)
{
    QImage held(7, 7, QImage::Format_RGB32);
    held.fill(Qt::magenta);
    system.setImage(held);
    sClipText = "stale";
    insert(smiling);
    EXPECT_TRUE(samePixels(system.image(), held));
    EXPECT_EQ(system.text(), "");
    EXPECT_EQ(sClipText, "");
}

TEST_F(Symbols, AnEmptyClipboardStaysEmpty)
{
    system.clear();
    insert(smiling);
    EXPECT_EQ(picturesIn(editor).size(), 1u);
    EXPECT_EQ(system.text(), "");
    EXPECT_TRUE(system.image().isNull());
}

TEST_F(Symbols, TwoInsertionsInARowKeepTheTextAndBothPictures)
{
    system.setText("kept");
    insert(smiling);
    insert(picture);
    EXPECT_EQ(system.text(), "kept");
    EXPECT_EQ(sClipText, "kept");
    const auto pictures = picturesIn(editor);
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_TRUE(samePixels(pictures[0], smiling.Picture));
    EXPECT_TRUE(samePixels(pictures[1], picture.Picture));
}

TEST_F(Symbols, PicturesSurviveSaveAndOpen)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("symbols.rtf");
    editor.SetText("face  tree");
    select(5, 0);
    insert(smiling);
    select(7, 0);
    insert(picture);
    editor.SaveFile(path);
    RichTextBox reopened;
    reopened.LoadFile(path);
    EXPECT_EQ(reopened.Text(), editor.Text());
    const auto pictures = picturesIn(reopened);
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_TRUE(samePixels(pictures[0], smiling.Picture));
    EXPECT_TRUE(samePixels(pictures[1], picture.Picture));
    EXPECT_EQ(shownSizesIn(reopened), (std::vector<QSize>{{18, 17}, {26, 25}}));
}

} // namespace
