#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

namespace rtf {

struct ReadLimits;

// Decodes PNG or JPEG bytes, refusing pictures larger than the limits before
// any pixel memory is taken. A null image means the picture is dropped.
QImage decodePicture(const QByteArray &bytes, const char *format, const ReadLimits &limits);

// Encoded bytes of a picture for writing, with "png" or "jpeg".
struct EncodedPicture
{
    QByteArray bytes;
    QByteArray kind;
    QSize pixels;
};
EncodedPicture encodePicture(const QImage &image);
QByteArray pictureKind(const QByteArray &bytes); // "png", "jpeg" or empty

} // namespace rtf
