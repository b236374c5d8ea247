#include "rtf_test_support.h"
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>

using rtftest::readDump;
using rtftest::withHeader;

namespace {

QImage testImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgba(x * 13 % 256, y * 29 % 256, (x * y) % 256, 255 - x % 3));
    return image;
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray pict(const QByteArray &words, const QByteArray &bytes)
{
    return "{\\pict" + words + "\n" + bytes.toHex() + "}";
}

// The images the document shows, in order, as their resources hold them.
QList<QImage> picturesOf(const QTextDocument &document)
{
    QList<QImage> images;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                images << document.resource(QTextDocument::ImageResource,
                                            QUrl(it.fragment().charFormat().toImageFormat().name()))
                              .value<QImage>();
    return images;
}

TEST(ReaderPictures, PngInHexIsAResourceWithItsGoalSize)
{
    const QImage image = testImage(18, 17);
    QTextDocument document;
    ASSERT_TRUE(rtf::read(withHeader("a" + pict("\\pngblip\\picw18\\pich17\\picwgoal540\\pichgoal255",
                                                 encoded(image, "png")) + "b"),
                          document));
    EXPECT_EQ(rtftest::dumpDocument(document), R"(P left | "a" 12pt | [img 36x17] | "b" 12pt)");
    const QList<QImage> images = picturesOf(document);
    ASSERT_EQ(images.size(), 1);
    EXPECT_EQ(images.first().convertToFormat(QImage::Format_ARGB32), image);
}

TEST(ReaderPictures, SizeFollowsScaleAndFallsBackToPixels)
{
    const QByteArray png = encoded(testImage(20, 10), "png");
    EXPECT_EQ(readDump(withHeader(pict("\\pngblip\\picscalex50\\picscaley200", png))),
              "P left | [img 10x20]");
    EXPECT_EQ(readDump(withHeader(pict("\\pngblip\\picwgoal600\\pichgoal300\\picscalex200", png))),
              "P left | [img 80x20]");
}

TEST(ReaderPictures, JpegIsMarkedSoItIsWrittenBackAsJpeg)
{
    const QByteArray jpeg = encoded(testImage(16, 16), "jpeg");
    QTextDocument document;
    ASSERT_TRUE(rtf::read(withHeader(pict("\\jpegblip", jpeg)), document));
    const QByteArray written = rtf::write(document);
    EXPECT_TRUE(written.contains("\\jpegblip"));
    EXPECT_TRUE(written.contains(jpeg.toHex().left(64)));
}

TEST(ReaderPictures, BinaryDataWorksLikeHex)
{
    const QByteArray png = encoded(testImage(5, 4), "png");
    const QByteArray rtf = withHeader("{\\pict\\pngblip\\bin" + QByteArray::number(png.size()) + " " + png + "}x");
    EXPECT_EQ(readDump(rtf), R"(P left | [img 5x4] | "x" 12pt)");
}

TEST(ReaderPictures, ShapePictureWinsOverItsNonShapeAlternative)
{
    const QByteArray png = encoded(testImage(4, 4), "png");
    const QByteArray rtf = withHeader("{\\*\\shppict" + pict("\\pngblip", png) + "}{\\nonshppict"
                                      + pict("\\wmetafile8", "abcd") + "}x");
    EXPECT_EQ(readDump(rtf), R"(P left | [img 4x4] | "x" 12pt)");
}

TEST(ReaderPictures, UndrawableMetafilesAreAPlaceholderOrGiveWayToTheirPngAlternative)
{
    // A metafile that cannot be drawn keeps a placeholder of its size; one with no size is dropped.
    EXPECT_EQ(readDump(withHeader(pict("\\wmetafile8\\picw2540\\pich1270", "0102") + "x")),
              R"(P left | [img 96x48] | "x" 12pt)");
    EXPECT_EQ(readDump(withHeader(pict("\\wmetafile8\\picw10\\pich10", "0102") + "x")), R"(P left | "x" 12pt)");
    const QByteArray png = encoded(testImage(3, 3), "png");
    EXPECT_EQ(readDump(withHeader("{\\nonshppict" + pict("\\emfblip", "01") + "}{\\*\\shppict"
                                  + pict("\\pngblip", png) + "}")),
              "P left | [img 3x3]");
}

TEST(ReaderPictures, PictureInsideAShapeIsShownOnceWithoutItsResult)
{
    const QByteArray png = encoded(testImage(6, 2), "png");
    const QByteArray rtf = withHeader("{\\shp{\\*\\shpinst\\shpleft0{\\sp{\\sn pib}{\\sv " + pict("\\pngblip", png)
                                      + "}}{\\sp{\\sn fLine}{\\sv 0}}}{\\shprslt{\\*\\do\\dobxcolumn}"
                                      + pict("\\pngblip", png) + "}}x");
    EXPECT_EQ(readDump(rtf), R"(P left | [img 6x2] | "x" 12pt)");
    const QByteArray twice = withHeader("{\\shp{\\*\\shpinst{\\sp{\\sn fillBlip}{\\sv " + pict("\\pngblip", png)
                                        + "}}{\\sp{\\sn pib}{\\sv " + pict("\\pngblip", png) + "}}}}x");
    EXPECT_EQ(readDump(twice), R"(P left | [img 6x2] | "x" 12pt)") << "a picture given as the shape's fill too";
}

TEST(ReaderPictures, IdenticalPicturesShareOneResource)
{
    const QByteArray one = pict("\\pngblip", encoded(testImage(4, 4), "png"));
    QTextDocument document;
    ASSERT_TRUE(rtf::read(withHeader(one + one), document));
    const QByteArray written = rtf::write(document);
    EXPECT_EQ(written.count("\\pngblip"), 2);
    // Equal formats make one fragment holding both pictures.
    const QTextFragment fragment = document.begin().begin().fragment();
    EXPECT_TRUE(fragment.charFormat().isImageFormat());
    EXPECT_EQ(fragment.text(), QString(2, QChar::ObjectReplacementCharacter));
}

TEST(ReaderPictures, BrokenPicturesAreDroppedAndTheTextKept)
{
    const QByteArray png = encoded(testImage(4, 4), "png");
    EXPECT_EQ(readDump(withHeader("a{\\pict\\pngblip 89504e47zz}b")), R"(P left | "ab" 12pt)");
    EXPECT_EQ(readDump(withHeader("a" + pict("\\pngblip", png.left(png.size() / 2)) + "b")),
              R"(P left | "ab" 12pt)");
    EXPECT_EQ(readDump(withHeader("a{\\pict\\pngblip}b")), R"(P left | "ab" 12pt)");
}

quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (char byte : bytes) {
        crc ^= static_cast<unsigned char>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

TEST(ReaderPictures, PicturesBeyondTheLimitsAreDropped)
{
    rtf::ReadLimits limits;
    limits.maxPictureSide = 10;
    QTextDocument document;
    ASSERT_TRUE(rtf::read(withHeader("a" + pict("\\pngblip", encoded(testImage(11, 2), "png")) + "b"),
                          document, limits));
    EXPECT_EQ(rtftest::dumpDocument(document), R"(P left | "ab" 12pt)");
}

TEST(ReaderPictures, AnOversizedPictureIsRefusedBeforeDecoding)
{
    // A valid PNG header that claims 100,000 x 100,000 pixels.
    QByteArray png = encoded(testImage(2, 2), "png");
    const auto setBigEndian = [&png](int offset, quint32 value) {
        for (int i = 0; i < 4; ++i)
            png[offset + i] = char(value >> (24 - 8 * i));
    };
    setBigEndian(16, 100000);
    setBigEndian(20, 100000);
    setBigEndian(29, crc32(png.mid(12, 17)));
    EXPECT_EQ(readDump(withHeader("a" + pict("\\pngblip", png) + "b")), R"(P left | "ab" 12pt)");
}

} // namespace
