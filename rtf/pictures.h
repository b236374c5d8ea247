#pragma once
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QTextFormat>
#include <string>

namespace rtf {

struct ReadLimits;

// The picture's own size in pixels, kept beside the shown image, which may be
// a placeholder of another size.
inline constexpr int PictureSourceSizeProperty = QTextFormat::UserProperty + 0x5247;

// The largest side a picture is shown at, in twips (220 inches): the reader
// accepts goals and scaled sizes up to it, and the writer never writes more.
inline constexpr int MaxPictureTwips = 316'800;

// The size a picture's header claims, without decoding it; invalid when unknown.
QSize pictureHeaderSize(const QByteArray &bytes, const char *format);

// What all decoded pictures of one document may cost together.
class PictureBudget
{
public:
    explicit PictureBudget(const ReadLimits &limits);
    // Takes the cost of decoding `pixels`, or refuses when it does not fit.
    bool take(QSize pixels);
    int refused() const { return m_refused; }

private:
    qint64 m_bytesLeft;
    int m_picturesLeft;
    int m_refused = 0;
};

// A light grey box with a thin border, shown where a picture cannot be.
QImage placeholderPicture(QSize shownPixels);

// Decodes PNG or JPEG bytes, refusing pictures larger than the limits before
// any pixel memory is taken. A null image means the picture is dropped.
QImage decodePicture(const QByteArray &bytes, const char *format, const ReadLimits &limits);

// Encoded bytes of a picture for writing, with "png" or "jpeg".
struct EncodedPicture
{
    QByteArray bytes;
    QByteArray kind;       // "png", "jpeg", "wmf", "emf" or "dib"
    QSize pixels;
    QByteArray alternative; // PNG beside a metafile or bitmap, for other readers
};
bool isMetafileOrBitmap(QByteArrayView kind);

// The picture's groups, hex-encoded at `shown` pixels: a metafile or bitmap
// goes in \shppict with its PNG alternative in \nonshppict.
void appendPictureGroups(std::string &out, const EncodedPicture &picture, QSizeF shown);
EncodedPicture encodePicture(const QImage &image);
QByteArray pictureKind(const QByteArray &bytes); // "png", "jpeg" or empty

} // namespace rtf
