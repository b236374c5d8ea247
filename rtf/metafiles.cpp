#include "rtf/metafiles.h"
#include "rtf/metafile_records.h"
#include <QtEndian>
#include <cstring>

namespace rtf {
namespace {

// The players read the whole input into their own structures; beyond this
// a metafile is more likely hostile than a drawing.
constexpr qsizetype MaxMetafileBytes = 64 * 1024 * 1024;

// The library takes the header's largest record and object count on trust
// and allocates by them: a few hundred bytes could ask for gigabytes.
bool plausibleWmf(const QByteArray &bytes)
{
    qsizetype at = qFromLittleEndian<quint32>(bytes.constData()) == 0x9AC6CDD7u ? 22 : 0;
    if (bytes.size() < at + 18)
        return false;
    const char *header = bytes.constData() + at;
    const quint64 maxRecordBytes = quint64(qFromLittleEndian<quint32>(header + 12)) * 2;
    return qFromLittleEndian<quint16>(header + 2) == 9 && maxRecordBytes <= quint64(bytes.size() - at);
}

// An enhanced metafile starts with its header record and signature.
bool plausibleEmf(const QByteArray &bytes)
{
    return bytes.size() >= 88 && qFromLittleEndian<quint32>(bytes.constData()) == 1
           && qFromLittleEndian<quint32>(bytes.constData() + 40) == 0x464D4520u;
}

// Nothing painted, or only white: what a player leaves when it skipped the drawing.
bool looksBlank(const QImage &image)
{
    // Both players give premultiplied pixels: white of any cover has its three colours equal
    // to its alpha, and nothing painted is all zeros.
    const QImage pixels = image.format() == QImage::Format_ARGB32_Premultiplied
                              ? image
                              : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < pixels.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            const int alpha = qAlpha(line[x]);
            if (qRed(line[x]) != alpha || qGreen(line[x]) != alpha || qBlue(line[x]) != alpha)
                return false;
        }
    }
    return true;
}

} // namespace

bool plausibleMetafile(const QByteArray &bytes, MetafileKind kind)
{
    return kind == MetafileKind::Emf ? plausibleEmf(bytes) : plausibleWmf(bytes);
}

QImage renderMetafile(const QByteArray &bytes, MetafileKind kind, QSize pixels)
{
    if (bytes.isEmpty() || bytes.size() > MaxMetafileBytes || pixels.isEmpty() || !plausibleMetafile(bytes, kind))
        return {};
    QImage image = playMetafile(bytes, kind, pixels);
    // A blank drawing of records that paint shows as a placeholder, never as empty space.
    if (!image.isNull() && looksBlank(image) && hasDrawingRecords(bytes, kind))
        return {};
    return image;
}

QByteArray bmpFromDib(const QByteArray &dib)
{
    if (dib.size() < 40)
        return {};
    const auto u32 = [&dib](int at) { return qFromLittleEndian<quint32>(dib.constData() + at); };
    const auto u16 = [&dib](int at) { return qFromLittleEndian<quint16>(dib.constData() + at); };
    const quint32 headerSize = u32(0);
    if (headerSize < 40 || headerSize > quint32(dib.size()))
        return {};
    const int bitCount = u16(14);
    const quint32 compression = u32(16);
    quint32 colours = u32(32);
    if (colours == 0 && bitCount <= 8)
        colours = 1u << bitCount;
    if (colours > 256)
        return {};
    quint32 offset = 14 + headerSize + colours * 4;
    if (headerSize == 40 && (compression == 3 || compression == 6))
        offset += compression == 3 ? 12 : 16; // the colour masks follow the header
    QByteArray bmp(14, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    qToLittleEndian<quint32>(quint32(14 + dib.size()), bmp.data() + 2);
    qToLittleEndian<quint32>(offset, bmp.data() + 10);
    return bmp + dib;
}

QByteArray dibFromDeviceBitmap(const QByteArray &bits, QSize pixels, int bitsPerPixel, int widthBytes)
{
    if (pixels.isEmpty() || pixels.width() > 20000 || pixels.height() > 20000
        || !(bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8 || bitsPerPixel == 24 || bitsPerPixel == 32))
        return {};
    const qint64 rowBytes = (qint64(pixels.width()) * bitsPerPixel + 7) / 8;
    if (widthBytes < rowBytes || qint64(widthBytes) * pixels.height() > bits.size())
        return {};
    const qint64 stride = (rowBytes + 3) / 4 * 4;
    const int colours = bitsPerPixel <= 8 ? 1 << bitsPerPixel : 0;
    QByteArray dib(40 + colours * 4 + stride * pixels.height(), '\0');
    char *header = dib.data();
    qToLittleEndian<quint32>(40, header);
    qToLittleEndian<qint32>(pixels.width(), header + 4);
    qToLittleEndian<qint32>(pixels.height(), header + 8);
    qToLittleEndian<quint16>(1, header + 12);
    qToLittleEndian<quint16>(quint16(bitsPerPixel), header + 14);
    qToLittleEndian<quint32>(quint32(colours), header + 32);
    // Without a palette of its own, a device bitmap's colours are the grey ramp.
    for (int i = 0; i < colours; ++i) {
        const auto level = char(colours == 1 ? 0 : i * 255 / (colours - 1));
        char *entry = header + 40 + i * 4;
        entry[0] = entry[1] = entry[2] = level;
    }
    char *rows = header + 40 + colours * 4;
    // Device bitmaps store the top row first, device-independent ones last.
    for (int y = 0; y < pixels.height(); ++y)
        std::memcpy(rows + (pixels.height() - 1 - y) * stride, bits.constData() + qint64(y) * widthBytes,
                    size_t(rowBytes));
    return dib;
}

} // namespace rtf
