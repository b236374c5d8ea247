#include "tests/editing/editing_fixture.h"
#include <QTemporaryDir>

namespace {

const QString symbol(QChar::ObjectReplacementCharacter);

// The editor pastes from the system clipboard, so these tests use it too.
struct Symbols : EditorTest
{
    SystemClipboard clipboard;
    QString sClipText = "stale";
    PictureBox smiling{"f1", symbolPictureOf(1), nullptr};
    PictureBox picture{"f5", symbolPictureOf(5), nullptr};

    void insert(const PictureBox &box) { InsertSymbol(editor, clipboard, box, sClipText); }
};

TEST_F(Symbols, TwoInsertionsAtTheCaretKeepTheClipboardTextAndBothPictures)
{
    system.setText("kept");
    editor.SetText("ab");
    select(1, 0);
    insert(smiling);
    insert(picture);
    EXPECT_EQ(editor.Text(), "a" + symbol + symbol + "b");
    EXPECT_EQ(editor.SelStart(), 3);
    expectPictures(editor, {smiling.Picture, picture.Picture});
    EXPECT_EQ(smiling.Picture.size(), QSize(18, 17));
    EXPECT_EQ(system.text(), "kept");
    EXPECT_EQ(sClipText, "kept");
}

// What the clipboard held before an insertion; a null picture or empty text is left out.
struct Held
{
    const char *name;
    QString text, html;
    QColor picture;
    QByteArray custom;
};

struct HeldContent : Symbols, ::testing::WithParamInterface<Held>
{
};

TEST_P(HeldContent, ComesBackWholeAfterAnInsertion)
{
    const Held &held = GetParam();
    QImage image(5, 3, QImage::Format_ARGB32);
    image.fill(held.picture);
    auto *data = new QMimeData;
    if (!held.text.isEmpty())
        data->setText(held.text);
    if (!held.html.isEmpty())
        data->setHtml(held.html);
    if (held.picture.isValid())
        data->setImageData(image);
    if (!held.custom.isEmpty())
        data->setData("application/x-velmo-test", held.custom);
    system.setMimeData(data);
    insert(picture);
    expectPictures(editor, {picture.Picture}); // not the held one
    const QMimeData *after = system.mimeData();
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(std::tuple(after->text(), after->html(), after->data("application/x-velmo-test"), sClipText),
              std::tuple(held.text, held.html, held.custom, held.text));
    EXPECT_TRUE(held.picture.isValid() ? samePixels(qvariant_cast<QImage>(after->imageData()), image) : !after->hasImage());
}

INSTANTIATE_TEST_SUITE_P(Clipboard, HeldContent,
                         ::testing::Values(Held{"EveryFormat", "words", "<b>words</b>", Qt::green, "raw bytes"},
                                           Held{"APictureAlone", "", "", Qt::magenta, ""},
                                           Held{"Nothing", "", "", QColor(), ""}),
                         byName);

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
    expectPictures(reopened, {smiling.Picture, picture.Picture});
    EXPECT_EQ(picture.Picture.size(), QSize(26, 25));
}

} // namespace
