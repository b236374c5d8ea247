#include "rtf/metafiles.h"
#include "rtf/pictures.h"
#include "rtf_test_support.h"
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>

using rtftest::fixture;
using rtftest::withHeader;

namespace {

struct Shown
{
    QTextImageFormat format;
    QImage image;
    QByteArray original;
};

QList<Shown> picturesOf(const QTextDocument &document)
{
    QList<Shown> shown;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat()) {
                const QTextImageFormat format = it.fragment().charFormat().toImageFormat();
                const QString name = format.name();
                shown.append({format,
                              document.resource(QTextDocument::ImageResource, QUrl(name)).value<QImage>(),
                              document.resource(QTextDocument::ImageResource, rtf::originalPictureUrl(name))
                                  .toByteArray()});
            }
    return shown;
}

struct PictureCase
{
    const char *file;
    int width, height; // shown, in pixels
    const char *written; // the kind word the writer keeps
};

void PrintTo(const PictureCase &c, std::ostream *os) { *os << c.file; }

class PictureKinds : public testing::TestWithParam<PictureCase> {};

// Given a picture stored as a metafile, bitmap, shape property or object
// result, when read, then it is drawn at its goal size in its own colour;
// when saved and read again, the same bytes come back.
TEST_P(PictureKinds, AppearAtTheirSizeAndSurviveASave)
{
    const PictureCase &c = GetParam();
    QTextDocument document;
    ASSERT_TRUE(rtf::read(fixture(QStringLiteral("pictures/") + QLatin1StringView(c.file)), document));
    const QList<Shown> pictures = picturesOf(document);
    ASSERT_EQ(pictures.size(), 1);
    EXPECT_EQ(pictures[0].format.width(), c.width);
    EXPECT_EQ(pictures[0].format.height(), c.height);
    const QImage &image = pictures[0].image;
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() / 2).rgb(), qRgb(255, 0, 0))
        << "a placeholder or a blank image instead of the drawing";
    EXPECT_TRUE(document.toPlainText().startsWith(QStringLiteral("a\uFFFCb")));

    const QByteArray written = rtf::write(document);
    EXPECT_TRUE(written.contains(c.written)) << written.left(200).toStdString();
    EXPECT_TRUE(written.contains("\\nonshppict{\\pict\\pngblip")) << "no alternative for other readers";
    QTextDocument again;
    ASSERT_TRUE(rtf::read(written, again));
    const QList<Shown> reread = picturesOf(again);
    ASSERT_EQ(reread.size(), 1);
    EXPECT_EQ(reread[0].original, pictures[0].original);
    EXPECT_EQ(reread[0].format.width(), c.width);
    EXPECT_EQ(reread[0].format.height(), c.height);
    EXPECT_EQ(rtf::write(again), written);
}

const PictureCase cases[] = {
    {"wmf.rtf", 200, 100, "\\wmetafile8"},
    {"emf.rtf", 200, 100, "\\emfblip"},
    {"dib.rtf", 16, 8, "\\dibitmap0"},
    {"wbitmap.rtf", 16, 8, "\\dibitmap0"},
    {"shape_pib.rtf", 200, 100, "\\emfblip"},
    {"object_result.rtf", 200, 100, "\\wmetafile8"},
    {"wmf_stretchdib.rtf", 200, 100, "\\wmetafile8"},
    {"wmf_dibstretchblt.rtf", 200, 100, "\\wmetafile8"},
    {"wmf_clipped.rtf", 200, 100, "\\wmetafile8"},
    {"wmf_y_up.rtf", 200, 100, "\\wmetafile8"},
    {"wmf_without_placeable_header.rtf", 200, 100, "\\wmetafile8"},
    {"wmf_without_goal.rtf", 200, 100, "\\wmetafile8"},
    {"wmf_without_any_size.rtf", 200, 100, "\\wmetafile8"},
    {"emf_stretchdibits.rtf", 200, 100, "\\emfblip"},
    {"emf_bitblt.rtf", 200, 100, "\\emfblip"},
    {"emf_mapping_mode.rtf", 200, 100, "\\emfblip"},
    {"emf_y_up.rtf", 200, 100, "\\emfblip"},
    {"emf_plus_dual.rtf", 200, 100, "\\emfblip"},
    {"emf_without_any_size.rtf", 200, 100, "\\emfblip"},
};
INSTANTIATE_TEST_SUITE_P(Fixtures, PictureKinds, testing::ValuesIn(cases), [](const auto &info) {
    std::string name = info.param.file;
    return name.substr(0, name.find('.'));
});

struct BadCase
{
    const char *name;
    const char *rtf;
};

class UndrawablePictures : public testing::TestWithParam<BadCase> {};

// Given metafile or bitmap bytes that no library can draw, or draws blank, when
// read, then a grey placeholder of the picture's size shows, and its bytes are kept.
TEST_P(UndrawablePictures, ShowAPlaceholderOfTheirSize)
{
    QTextDocument document;
    ASSERT_TRUE(rtf::read(withHeader(GetParam().rtf), document));
    const QList<Shown> pictures = picturesOf(document);
    ASSERT_EQ(pictures.size(), 1);
    EXPECT_EQ(pictures[0].format.width(), 100);
    EXPECT_EQ(pictures[0].format.height(), 50);
    const QImage &image = pictures[0].image;
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() / 2).rgb(), qRgb(0xe6, 0xe6, 0xe6));
    EXPECT_FALSE(pictures[0].original.isEmpty());
    EXPECT_TRUE(rtf::write(document).contains(pictures[0].original.toHex().left(8)));
}

const BadCase badCases[] = {
    {"wmfOfNoise", "{\\pict\\wmetafile8\\picwgoal1500\\pichgoal750 0102030405060708090a}"},
    {"emfOfNoise", "{\\pict\\emfblip\\picwgoal1500\\pichgoal750 01000000ffffff7f0000000000000000}"},
    {"emfWithAHugeRecordSize",
     "{\\pict\\emfblip\\picwgoal1500\\pichgoal750 01000000ffffffff00000000000000000000000000000000}"},
    // Drawn blank, which would leave empty space: GDI plays no EMF+, libemf2svg skips these
    // EMF+ records, and white on a white page shows nothing.
    {"emfPlusWithoutItsGdiTwin",
     "{\\pict\\emfblip\\picwgoal1500\\pichgoal750 "
     "010000006c0000000000000000000000c7000000630000000000000000000000ac140000560a000020454d4600000100"
     "fc00000004000000020000000000000000000000000000008007000038040000fc0100001d0100000000000000000000"
     "0000000060c00700365c0400460000006000000054000000454d462b014000001c000000100000000210c0db01000000"
     "60000000600000003040020010000000040000000000803f0a40008024000000180000000000ffff0100000000000000"
     "00000000000048430000c842460000001c00000010000000454d462b024000000c000000000000000e00000014000000"
     "000000001000000014000000"
     "}"},
    {"wmfPaintingOnlyWhite",
     "{\\pict\\wmetafile8\\picwgoal1500\\pichgoal750 "
     "d7cdc69a000000000000c8006400600000000000dd57010009000003340000000200080000000000050000000b020000"
     "0000050000000c026400c80007000000fc020000ffffff000000040000002d01000008000000fa020500000000000000"
     "0000040000002d010100070000001b046400c80000000000030000000000"
     "}"},
    {"dibOfNoise", "{\\pict\\dibitmap0\\picw100\\pich50\\picwgoal1500\\pichgoal750 2800000064000000}"},
};
INSTANTIATE_TEST_SUITE_P(Hostile, UndrawablePictures, testing::ValuesIn(badCases),
                         [](const auto &info) { return std::string(info.param.name); });

// Found by fuzzing: a WMF header claiming a record of 2.7 GB made the library
// allocate it.
TEST(UndrawablePictures, AMetafileHeaderIsNotTakenOnTrust)
{
    QTextDocument document;
    ASSERT_TRUE(rtf::read(fixture(QStringLiteral("hostile/wmf_huge_max_record.rtf")), document));
    const QList<Shown> pictures = picturesOf(document);
    ASSERT_EQ(pictures.size(), 1);
    EXPECT_EQ(pictures[0].format.width(), 200);
    EXPECT_EQ(pictures[0].image.pixelColor(0, 0).rgb(), qRgb(0x99, 0x99, 0x99)) << "not the placeholder";
    const QVariant original = document.resource(QTextDocument::ImageResource,
                                                rtf::originalPictureUrl(pictures[0].format.name()));
    EXPECT_FALSE(rtf::plausibleMetafile(original.toByteArray(), rtf::MetafileKind::Wmf));
    QTextDocument drawable;
    ASSERT_TRUE(rtf::read(fixture(QStringLiteral("pictures/wmf.rtf")), drawable));
    EXPECT_TRUE(rtf::plausibleMetafile(picturesOf(drawable)[0].original, rtf::MetafileKind::Wmf));
    QTextDocument enhanced;
    ASSERT_TRUE(rtf::read(fixture(QStringLiteral("pictures/emf.rtf")), enhanced));
    EXPECT_TRUE(rtf::plausibleMetafile(picturesOf(enhanced)[0].original, rtf::MetafileKind::Emf));
    EXPECT_FALSE(rtf::plausibleMetafile(picturesOf(enhanced)[0].original, rtf::MetafileKind::Wmf));
}

TEST(DeviceBitmaps, RowsShorterThanTheirWidthAreRefused)
{
    EXPECT_TRUE(rtf::dibFromDeviceBitmap(QByteArray(24, '\0'), QSize(8, 1), 24, 24).size() > 40);
    EXPECT_TRUE(rtf::dibFromDeviceBitmap(QByteArray(23, '\0'), QSize(8, 1), 24, 24).isEmpty());
    EXPECT_TRUE(rtf::dibFromDeviceBitmap(QByteArray(24, '\0'), QSize(8, 1), 24, 20).isEmpty());
    EXPECT_TRUE(rtf::dibFromDeviceBitmap(QByteArray(24, '\0'), QSize(8, 1), 7, 24).isEmpty());
}

} // namespace
