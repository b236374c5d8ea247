#include "rtf/metafile_records.h"
#include <QtEndian>
#include <algorithm>
#include <cmath>

namespace rtf {
namespace {

constexpr quint32 PlaceableKey = 0x9AC6CDD7u;
constexpr qsizetype PlaceableHeaderBytes = 22;
constexpr int MaxRecordsLooked = 100000;

quint32 u32(const QByteArray &bytes, qsizetype at) { return qFromLittleEndian<quint32>(bytes.constData() + at); }
qint32 i32(const QByteArray &bytes, qsizetype at) { return qFromLittleEndian<qint32>(bytes.constData() + at); }
quint16 u16(const QByteArray &bytes, qsizetype at) { return qFromLittleEndian<quint16>(bytes.constData() + at); }
qint16 i16(const QByteArray &bytes, qsizetype at) { return qFromLittleEndian<qint16>(bytes.constData() + at); }

bool isEmfDrawing(quint32 type, const QByteArray &bytes, qsizetype at, quint32 size)
{
    switch (type) {
    case 2: case 3: case 4: case 5: case 6: case 7: case 8: // polygons and lines
    case 15:                                                // a pixel
    case 41: case 42: case 43: case 44: case 45: case 46: case 47: // arcs, ellipses, rectangles
    case 53: case 54: case 55: case 56:                     // flood fill, lines, arcs
    case 62: case 63: case 64:                              // filled and stroked paths
    case 71: case 72: case 73: case 74:                     // regions
    case 76: case 77: case 78: case 79: case 80: case 81:   // bitmaps
    case 83: case 84:                                       // text
    case 85: case 86: case 87: case 88: case 89: case 90: case 91: case 92: case 96: // 16-bit polygons
    case 108: case 114: case 116: case 118:                 // text, blended and gradient fills
        return true;
    case 70: // a comment: EMF+ records draw from inside one
        return size >= 16 && u32(bytes, at + 12) == 0x2B464D45u;
    default:
        return false;
    }
}

bool emfHasDrawing(const QByteArray &bytes)
{
    qsizetype at = 0;
    for (int records = 0; records < MaxRecordsLooked && at + 8 <= bytes.size(); ++records) {
        const quint32 type = u32(bytes, at);
        const quint32 size = u32(bytes, at + 4);
        if (size < 8 || size > quint64(bytes.size() - at))
            return false;
        if (isEmfDrawing(type, bytes, at, size))
            return true;
        if (type == 14) // end of file
            return false;
        at += size;
    }
    return false;
}

bool isWmfDrawing(quint16 function)
{
    switch (function) {
    case 0x0817: case 0x0830: case 0x0418: case 0x081A:               // arc, chord, ellipse, pie
    case 0x0548: case 0x0419:                                         // flood fills
    case 0x0228: case 0x0429: case 0x012A: case 0x012B:               // regions
    case 0x0213: case 0x0324: case 0x0325: case 0x0538:               // lines and polygons
    case 0x041B: case 0x061C: case 0x041F:                            // rectangles, a pixel
    case 0x0521: case 0x0A32:                                         // text
    case 0x061D: case 0x0922: case 0x0B23: case 0x0940: case 0x0B41: case 0x0F43: case 0x0D33: // bitmaps
        return true;
    default:
        return false;
    }
}

bool wmfHasDrawing(const QByteArray &bytes)
{
    qsizetype at = bytes.size() >= 4 && u32(bytes, 0) == PlaceableKey ? PlaceableHeaderBytes : 0;
    if (at + 18 > bytes.size())
        return false;
    at += qsizetype(u16(bytes, at + 2)) * 2; // the header's own size, in words
    for (int records = 0; records < MaxRecordsLooked && at + 6 <= bytes.size(); ++records) {
        const quint64 size = quint64(u32(bytes, at)) * 2;
        const quint16 function = u16(bytes, at + 4);
        if (size < 6 || size > quint64(bytes.size() - at) || function == 0)
            return false;
        if (isWmfDrawing(function))
            return true;
        at += qsizetype(size);
    }
    return false;
}

QSize pixelsOf(double width, double height)
{
    const QSize size(int(std::lround(std::clamp(width, 0.0, 1e6))), int(std::lround(std::clamp(height, 0.0, 1e6))));
    return size.isEmpty() ? QSize() : size;
}

} // namespace

bool hasDrawingRecords(const QByteArray &bytes, MetafileKind kind)
{
    return kind == MetafileKind::Emf ? emfHasDrawing(bytes) : wmfHasDrawing(bytes);
}

QSize metafileOwnPixels(const QByteArray &bytes, MetafileKind kind)
{
    if (kind == MetafileKind::Emf) {
        if (bytes.size() < 40)
            return {};
        // The frame, in hundredths of a millimetre.
        return pixelsOf((double(i32(bytes, 32)) - i32(bytes, 24)) * 96 / 2540,
                        (double(i32(bytes, 36)) - i32(bytes, 28)) * 96 / 2540);
    }
    if (bytes.size() < PlaceableHeaderBytes || u32(bytes, 0) != PlaceableKey || u16(bytes, 14) == 0)
        return {};
    const double unitsPerInch = u16(bytes, 14);
    return pixelsOf((double(i16(bytes, 10)) - i16(bytes, 6)) * 96 / unitsPerInch,
                    (double(i16(bytes, 12)) - i16(bytes, 8)) * 96 / unitsPerInch);
}

} // namespace rtf
