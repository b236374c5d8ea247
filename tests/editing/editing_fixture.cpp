#include "tests/editing/editing_fixture.h"
#include "assets/asset_paths.h"
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

QTextCharFormat EditorTest::formatAt(int position) const
{
    QTextCursor c(editor.document());
    c.setPosition(position + 1);
    return c.charFormat();
}

double EditorTest::sizeAt(int position) const
{
    return formatAt(position).font().resolve(editor.document()->defaultFont()).pointSizeF();
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

std::vector<QImage> picturesIn(const RichTextBox &editor)
{
    std::vector<QImage> pictures;
    for (const QTextImageFormat &f : imageFormatsIn(editor))
        pictures.push_back(editor.document()->resource(QTextDocument::ImageResource, QUrl(f.name())).value<QImage>());
    return pictures;
}

std::vector<QSize> shownSizesIn(const RichTextBox &editor)
{
    std::vector<QSize> sizes;
    for (const QTextImageFormat &f : imageFormatsIn(editor))
        sizes.push_back(QSize(int(f.width()), int(f.height())));
    return sizes;
}

bool samePixels(const QImage &a, const QImage &b)
{
    return !a.isNull() && a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}

QImage symbolPictureOf(int number) { return QImage(assets::symbolPicture(number)); }
