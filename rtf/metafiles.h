#pragma once
#include <QByteArray>
#include <QImage>
#include <QSize>

namespace rtf {

// Windows metafiles and bitmaps as RTF stores them, drawn into images.
enum class MetafileKind { Wmf, Emf };

// Whether the header is one the libraries can be trusted with: they allocate
// by what it claims.
bool plausibleMetafile(const QByteArray &bytes, MetafileKind kind);

// Draws a metafile at `pixels`, stretched to fill them, on a transparent
// ground. A null image when the bytes cannot be drawn, or when the player
// left blank a metafile that paints.
QImage renderMetafile(const QByteArray &bytes, MetafileKind kind, QSize pixels);

// The platform's player behind renderMetafile's checks: Windows' own GDI on
// Windows, libwmf and libemf2svg through Qt SVG elsewhere.
QImage playMetafile(const QByteArray &bytes, MetafileKind kind, QSize pixels);

// A device-independent bitmap (BITMAPINFOHEADER, colours, bits) as a BMP
// file, which Qt's own reader takes; empty when the header is not one.
QByteArray bmpFromDib(const QByteArray &dib);

// A device-dependent bitmap (\wbitmap: rows of `widthBytes` bytes, top row
// first) as a device-independent one; empty when the sizes do not agree.
QByteArray dibFromDeviceBitmap(const QByteArray &bits, QSize pixels, int bitsPerPixel, int widthBytes);

} // namespace rtf
