// Metafiles drawn by GDI: made here by GDI itself, played back through the reader's player.
#include "rtf/metafiles.h"
#include "tests/document/document_fixture.h"
#include <QImage>
#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>
#include <windows.h>

namespace {

// A picture of 200 by 100 logical units whose left half is red and right half unpainted.
void paintLeftHalfRed(HDC dc)
{
    const HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    const RECT left{0, 0, 100, 100};
    FillRect(dc, &left, red);
    DeleteObject(red);
}

QByteArray enhancedMetafile()
{
    const RECT frame{0, 0, 5292, 2646}; // 200 by 100 pixels at 96 dpi, in hundredths of a millimetre
    const HDC dc = CreateEnhMetaFileW(nullptr, nullptr, &frame, nullptr);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, 200, 100, nullptr);
    SetViewportExtEx(dc, 200, 100, nullptr);
    paintLeftHalfRed(dc);
    const HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    QByteArray bytes(int(GetEnhMetaFileBits(metafile, 0, nullptr)), '\0');
    GetEnhMetaFileBits(metafile, UINT(bytes.size()), reinterpret_cast<BYTE *>(bytes.data()));
    DeleteEnhMetaFile(metafile);
    return bytes;
}

QByteArray windowsMetafile()
{
    const HDC dc = CreateMetaFileW(nullptr);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetWindowExtEx(dc, 200, 100, nullptr);
    paintLeftHalfRed(dc);
    const HMETAFILE metafile = CloseMetaFile(dc);
    QByteArray bytes(int(GetMetaFileBitsEx(metafile, 0, nullptr)), '\0');
    GetMetaFileBitsEx(metafile, UINT(bytes.size()), bytes.data());
    DeleteMetaFile(metafile);
    return bytes;
}

// The header files on disk carry before a Windows metafile: its bounds and units per inch.
QByteArray placeable(const QByteArray &metafile)
{
    QByteArray header(22, '\0');
    qToLittleEndian<quint32>(0x9AC6CDD7u, header.data());
    qToLittleEndian<qint16>(200, header.data() + 10);
    qToLittleEndian<qint16>(100, header.data() + 12);
    qToLittleEndian<quint16>(1440, header.data() + 14);
    quint16 checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= qFromLittleEndian<quint16>(header.constData() + 2 * i);
    qToLittleEndian<quint16>(checksum, header.data() + 20);
    return header + metafile;
}

struct MetafileCase
{
    const char *sentence;
    std::function<QByteArray()> bytes;
    rtf::MetafileKind kind;
    QSize goal;
};

void PrintTo(const MetafileCase &c, std::ostream *os) { *os << c.sentence; }

class GdiMetafiles : public testing::TestWithParam<MetafileCase> {};

// Given a metafile painting only its left half, when drawn at a goal size, then it fills
// the goal's left half in red and leaves the right half transparent, whatever the size.
TEST_P(GdiMetafiles, FillTheGoalAndKeepUnpaintedPartsTransparent)
{
    const MetafileCase &c = GetParam();
    const QByteArray bytes = c.bytes();
    ASSERT_TRUE(rtf::plausibleMetafile(bytes, c.kind));
    const QImage image = rtf::renderMetafile(bytes, c.kind, c.goal);
    ASSERT_EQ(image.size(), c.goal);
    const int w = c.goal.width(), h = c.goal.height();
    for (const QPoint left : {QPoint(1, 1), QPoint(w / 4, h / 2), QPoint(w / 2 - 2, h - 2)})
        EXPECT_EQ(image.pixelColor(left).rgba(), qRgba(255, 0, 0, 255)) << left.x() << "," << left.y();
    for (const QPoint right : {QPoint(w / 2 + 2, 1), QPoint(w * 3 / 4, h / 2), QPoint(w - 1, h - 1)})
        EXPECT_EQ(qAlpha(image.pixel(right)), 0) << right.x() << "," << right.y();
}

const MetafileCase cases[] = {
    {"an enhanced metafile at its own size", enhancedMetafile, rtf::MetafileKind::Emf, {200, 100}},
    {"an enhanced metafile stretched wider and taller", enhancedMetafile, rtf::MetafileKind::Emf, {600, 120}},
    {"a Windows metafile at its own size", windowsMetafile, rtf::MetafileKind::Wmf, {200, 100}},
    {"a Windows metafile shrunk", windowsMetafile, rtf::MetafileKind::Wmf, {50, 25}},
    {"a Windows metafile with a placeable header", [] { return placeable(windowsMetafile()); },
     rtf::MetafileKind::Wmf, {300, 150}},
};
INSTANTIATE_TEST_SUITE_P(Gdi, GdiMetafiles, testing::ValuesIn(cases),
                         [](const auto &info) { return rowName(info.param.sentence); });

} // namespace
