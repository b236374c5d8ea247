#include "rtf_test_support.h"
#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <cmath>

using rtftest::withHeader;

namespace {

QByteArray png(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    return bytes;
}

QByteArray pict(const QByteArray &words, const QByteArray &bytes)
{
    return "{\\pict\\pngblip" + words + "\n" + bytes.toHex() + "}";
}

QList<QTextImageFormat> imagesOf(const QTextDocument &document)
{
    QList<QTextImageFormat> images;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                for (int i = 0; i < it.fragment().length(); ++i)
                    images << it.fragment().charFormat().toImageFormat();
    return images;
}

QImage shown(const QTextDocument &document, const QTextImageFormat &format)
{
    return document.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
}

// Given pictures past the budget, when read, then they keep their size as
// placeholders, the file opens with one warning, and saving loses none of them.
TEST(PictureBudget, PicturesPastTheBudgetArePlaceholdersOfTheirSize)
{
    rtf::ReadLimits limits;
    limits.maxTotalPictureBytes = 2 * 40 * 30 * 4; // two pictures of 40x30
    const QByteArray rtf = withHeader(pict("", png(40, 30, qRgb(255, 0, 0))) + pict("", png(40, 30, qRgb(0, 255, 0)))
                                      + pict("\\picwgoal900\\pichgoal450", png(40, 30, qRgb(0, 0, 255))));
    QTextDocument document;
    QString reason;
    QStringList warnings;
    ASSERT_TRUE(rtf::read(rtf, document, limits, &reason, &warnings));
    const QList<QTextImageFormat> images = imagesOf(document);
    ASSERT_EQ(images.size(), 3);
    EXPECT_EQ(shown(document, images[1]).pixel(20, 15), qRgb(0, 255, 0));
    EXPECT_EQ(images[2].width(), 60);
    EXPECT_EQ(images[2].height(), 30);
    const QImage placeholder = shown(document, images[2]);
    EXPECT_NE(placeholder.pixel(placeholder.width() / 2, placeholder.height() / 2), qRgb(0, 0, 255));
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings.first().contains(u"placeholder"));

    QTextDocument again;
    ASSERT_TRUE(rtf::read(rtf::write(document), again));
    const QList<QTextImageFormat> reread = imagesOf(again);
    ASSERT_EQ(reread.size(), 3);
    EXPECT_EQ(shown(again, reread[2]).pixel(20, 15), qRgb(0, 0, 255)) << "the original bytes were written back";
}

TEST(PictureBudget, TheCountBoundsPicturesAndRepeatsCostNothing)
{
    rtf::ReadLimits limits;
    limits.maxPictures = 1;
    const QByteArray red = pict("", png(8, 8, qRgb(255, 0, 0)));
    const QByteArray rtf = withHeader(red + red + pict("", png(8, 8, qRgb(0, 0, 255))));
    QTextDocument document;
    QString reason;
    QStringList warnings;
    ASSERT_TRUE(rtf::read(rtf, document, limits, &reason, &warnings));
    const QList<QTextImageFormat> images = imagesOf(document);
    ASSERT_EQ(images.size(), 3);
    EXPECT_EQ(shown(document, images[1]).pixel(4, 4), qRgb(255, 0, 0));
    EXPECT_NE(shown(document, images[2]).pixel(4, 4), qRgb(0, 0, 255));
    EXPECT_EQ(warnings.size(), 1);
}

TEST(PictureBudget, NoWarningWithinTheBudget)
{
    QTextDocument document;
    QString reason;
    QStringList warnings{QStringLiteral("stale")};
    ASSERT_TRUE(rtf::read(withHeader(pict("", png(8, 8, qRgb(1, 2, 3)))), document, rtf::ReadLimits{}, &reason,
                          &warnings));
    EXPECT_TRUE(warnings.isEmpty());
}

struct SizeCase
{
    const char *name;
    const char *words;
};

class PictureSizes : public testing::TestWithParam<SizeCase> {};

// Given any goal and scale the reader accepts, when read, written and read
// again, then the picture is shown at the same size.
TEST_P(PictureSizes, SurviveAWriteAndARead)
{
    const QByteArray rtf = withHeader(pict(GetParam().words, png(20, 10, qRgb(9, 9, 9))));
    QTextDocument first;
    ASSERT_TRUE(rtf::read(rtf, first));
    QTextDocument second;
    ASSERT_TRUE(rtf::read(rtf::write(first), second));
    const QList<QTextImageFormat> before = imagesOf(first), after = imagesOf(second);
    ASSERT_EQ(before.size(), 1);
    ASSERT_EQ(after.size(), 1);
    // Twips are whole on writing: half a twip is a thirtieth of a pixel.
    EXPECT_NEAR(after[0].width(), before[0].width(), 1.0 / 30);
    EXPECT_NEAR(after[0].height(), before[0].height(), 1.0 / 30);
}

const SizeCase sizeCases[] = {
    {"pixelsOnly", ""},
    {"goalsOnly", "\\picwgoal300\\pichgoal150"},
    {"largestGoalAtLargestScale", "\\picwgoal31680\\pichgoal31680\\picscalex1000\\picscaley1000"},
    {"goalPastTheOldCapAtFullScale", "\\picwgoal316800\\pichgoal100000"},
    {"goalBeyondWhatIsShownIsCapped", "\\picwgoal900000\\pichgoal40000\\picscalex1000"},
    {"smallestScale", "\\picwgoal31680\\pichgoal15\\picscalex1\\picscaley1"},
    {"oddGoalAndScale", "\\picwgoal33\\pichgoal7777\\picscalex37\\picscaley999"},
    {"pixelsScaledUp", "\\picscalex1000\\picscaley250"},
};
INSTANTIATE_TEST_SUITE_P(GoalsAndScales, PictureSizes, testing::ValuesIn(sizeCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(PictureSizes, AThousandPercentOfTheLargestGoalIsShownTenTimesLarger)
{
    QTextDocument document;
    ASSERT_TRUE(rtf::read(withHeader(pict("\\picwgoal31680\\pichgoal1500\\picscalex1000", png(4, 4, 0))), document));
    ASSERT_EQ(imagesOf(document).size(), 1);
    EXPECT_EQ(imagesOf(document)[0].width(), 316800 / 15);
    QTextDocument again;
    ASSERT_TRUE(rtf::read(rtf::write(document), again));
    EXPECT_EQ(imagesOf(again)[0].width(), 316800 / 15);
}

} // namespace
