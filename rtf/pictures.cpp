#include "rtf/pictures.h"
#include "rtf/rtf.h"
#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <algorithm>

namespace rtf {

QSize pictureHeaderSize(const QByteArray &bytes, const char *format)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer, format).size();
}

PictureBudget::PictureBudget(const ReadLimits &limits)
    : m_bytesLeft(limits.maxTotalPictureBytes), m_picturesLeft(limits.maxPictures)
{
}

bool PictureBudget::take(QSize pixels)
{
    const qint64 bytes = qint64(std::max(pixels.width(), 1)) * std::max(pixels.height(), 1) * 4;
    if (m_picturesLeft <= 0 || bytes > m_bytesLeft) {
        ++m_refused;
        return false;
    }
    --m_picturesLeft;
    m_bytesLeft -= bytes;
    return true;
}

QImage placeholderPicture(QSize shownPixels)
{
    // Drawn small and stretched when shown: its memory stays bounded whatever
    // size the file claims.
    constexpr int MaxSide = 256;
    QSize size = shownPixels.expandedTo(QSize(1, 1));
    if (size.width() > MaxSide || size.height() > MaxSide)
        size.scale(MaxSide, MaxSide, Qt::KeepAspectRatio);
    size = size.expandedTo(QSize(2, 2));
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(0xe6, 0xe6, 0xe6));
    QPainter painter(&image);
    painter.setPen(QColor(0x99, 0x99, 0x99));
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    return image;
}

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
