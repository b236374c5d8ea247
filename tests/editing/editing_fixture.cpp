#include "tests/editing/editing_fixture.h"
#include "assets/asset_paths.h"
#include <QTextBlock>
#include <QTextCursor>

QTextCharFormat EditorTest::formatAt(int position) const
{
    QTextCursor c(editor.document());
    c.setPosition(position + 1);
    return c.charFormat();
}

void EditorTest::setSizes(const QString &text, const std::vector<double> &points)
{
    editor.SetText(text);
    auto size = points.begin();
    for (int i = 0; i < text.size() && size != points.end(); ++i) {
        if (text[i] == u'\n')
            continue;
        select(i, 1);
        if (const double p = *size++; p > 0)
            editor.SetSelFontSize(p);
    }
}

std::vector<double> EditorTest::sizes() const
{
    std::vector<double> points;
    const QString text = editor.Text();
    for (int i = 0; i < text.size(); ++i)
        if (text[i] != u'\n')
            points.push_back(formatAt(i).font().resolve(editor.document()->defaultFont()).pointSizeF());
    return points;
}

namespace {

std::vector<QTextImageFormat> imageFormatsIn(const RichTextBox &editor)
{
    std::vector<QTextImageFormat> images;
    for (QTextBlock b = editor.document()->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                for (int i = 0; i < it.fragment().length(); ++i)
                    images.push_back(it.fragment().charFormat().toImageFormat());
    return images;
}

} // namespace

bool samePixels(const QImage &a, const QImage &b)
{
    return !a.isNull() && a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}

void expectPictures(const RichTextBox &editor, const std::vector<QImage> &expected)
{
    const std::vector<QTextImageFormat> shown = imageFormatsIn(editor);
    ASSERT_EQ(shown.size(), expected.size());
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const QVariant stored = editor.document()->resource(QTextDocument::ImageResource, QUrl(shown[i].name()));
        EXPECT_TRUE(samePixels(stored.value<QImage>(), expected[i])) << "picture " << i;
        EXPECT_EQ(QSize(int(shown[i].width()), int(shown[i].height())), expected[i].size()) << "picture " << i;
    }
}

QImage symbolPictureOf(int number) { return QImage(assets::symbolPicture(number)); }
