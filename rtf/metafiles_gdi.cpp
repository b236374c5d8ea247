// The Windows path: GDI plays metafiles itself, as every other Windows program sees them.
#include "rtf/metafiles.h"
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <memory>
#include <type_traits>
#include <windows.h>

namespace rtf {
namespace {

constexpr quint32 PlaceableKey = 0x9AC6CDD7u;
constexpr qsizetype PlaceableHeaderBytes = 22;

struct EnhMetafileDeleter
{
    void operator()(HENHMETAFILE metafile) const { DeleteEnhMetaFile(metafile); }
};
using EnhMetafile = std::unique_ptr<std::remove_pointer_t<HENHMETAFILE>, EnhMetafileDeleter>;

// GDI takes a Windows metafile without the placeable header some files carry; it is
// converted to an enhanced one whose frame has the goal's shape, which the play stretches.
EnhMetafile enhancedFromWmf(const QByteArray &bytes, QSize pixels)
{
    const qsizetype skip = qFromLittleEndian<quint32>(bytes.constData()) == PlaceableKey ? PlaceableHeaderBytes : 0;
    METAFILEPICT picture{};
    picture.mm = MM_ANISOTROPIC;
    picture.xExt = MulDiv(pixels.width(), 2540, 96); // hundredths of a millimetre
    picture.yExt = MulDiv(pixels.height(), 2540, 96);
    const auto *records = reinterpret_cast<const BYTE *>(bytes.constData() + skip);
    return EnhMetafile(SetWinMetaFileBits(UINT(bytes.size() - skip), records, nullptr, &picture));
}

EnhMetafile enhancedFrom(const QByteArray &bytes, MetafileKind kind, QSize pixels)
{
    if (kind == MetafileKind::Wmf)
        return enhancedFromWmf(bytes, pixels);
    return EnhMetafile(SetEnhMetaFileBits(UINT(bytes.size()), reinterpret_cast<const BYTE *>(bytes.constData())));
}

// A memory device context drawing into a top-down 32-bit section of the goal size.
class Canvas
{
public:
    explicit Canvas(QSize pixels) : pixels_(pixels)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = pixels.width();
        info.bmiHeader.biHeight = -pixels.height();
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        section_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        if (dc_ && section_)
            previous_ = SelectObject(dc_, section_);
    }
    ~Canvas()
    {
        if (previous_)
            SelectObject(dc_, previous_);
        if (section_)
            DeleteObject(section_);
        if (dc_)
            DeleteDC(dc_);
    }
    Canvas(const Canvas &) = delete;
    Canvas &operator=(const Canvas &) = delete;

    bool isValid() const { return previous_ != nullptr && bits_ != nullptr; }

    // The metafile over a ground of one grey level; false when GDI refuses it.
    bool play(HENHMETAFILE metafile, quint8 ground)
    {
        std::memset(bits_, ground, size_t(pixels_.width()) * size_t(pixels_.height()) * 4);
        const RECT goal{0, 0, pixels_.width(), pixels_.height()};
        const bool played = PlayEnhMetaFile(dc_, metafile, &goal);
        GdiFlush();
        return played;
    }

    QImage copy() const
    {
        return QImage(static_cast<const uchar *>(bits_), pixels_.width(), pixels_.height(), QImage::Format_RGB32)
            .copy();
    }

private:
    QSize pixels_;
    HDC dc_ = nullptr;
    HBITMAP section_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    void *bits_ = nullptr;
};

// GDI has no transparency: what a metafile leaves unpainted keeps the ground. Played
// once on black and once on white, a pixel's two results give its cover and its colour.
QImage transparentGround(const QImage &onBlack, const QImage &onWhite)
{
    QImage result(onBlack.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < result.height(); ++y) {
        const auto *black = reinterpret_cast<const QRgb *>(onBlack.constScanLine(y));
        const auto *white = reinterpret_cast<const QRgb *>(onWhite.constScanLine(y));
        auto *out = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const int alpha = std::clamp(255 - (qGreen(white[x]) - qGreen(black[x])), 0, 255);
            out[x] = qRgba(std::min(qRed(black[x]), alpha), std::min(qGreen(black[x]), alpha),
                           std::min(qBlue(black[x]), alpha), alpha);
        }
    }
    return result;
}

} // namespace

QImage playMetafile(const QByteArray &bytes, MetafileKind kind, QSize pixels)
{
    const EnhMetafile metafile = enhancedFrom(bytes, kind, pixels);
    Canvas canvas(pixels);
    if (!metafile || !canvas.isValid() || !canvas.play(metafile.get(), 0x00))
        return {};
    const QImage onBlack = canvas.copy();
    if (!canvas.play(metafile.get(), 0xFF))
        return {};
    return transparentGround(onBlack, canvas.copy());
}

} // namespace rtf
