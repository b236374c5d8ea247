#include "rtf/pictures.h"
#include "rtf/rtf.h"
#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

namespace rtf {

QImage decodePicture(const QByteArray &bytes, const char *format, const ReadLimits &limits)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > limits.maxPictureSide
        || size.height() > limits.maxPictureSide
        || qint64(size.width()) * size.height() > limits.maxPicturePixels)
        return {};
    reader.setAllocationLimit(int(limits.maxPicturePixels * 8 / (1024 * 1024)) + 1);
    return reader.read();
}

QByteArray pictureKind(const QByteArray &bytes)
{
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return "png";
    if (bytes.startsWith("\xff\xd8\xff"))
        return "jpeg";
    return {};
}

EncodedPicture encodePicture(const QImage &image)
{
    EncodedPicture picture;
    QBuffer buffer(&picture.bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.write(image);
    picture.kind = "png";
    picture.pixels = image.size();
    return picture;
}

} // namespace rtf
