#include "assets/asset_paths.h"

#include <QImage>
#include <QImageReader>
#include <gtest/gtest.h>

namespace {

struct Picture {
    const char *path;
    const char *format;
    int width;
    int height;
};

void PrintTo(const Picture &picture, std::ostream *out) { *out << picture.path; }

const Picture pictures[] = {
    {assets::WindowIcon16, "png", 16, 16},
    {assets::WindowIcon32, "png", 32, 32},
    {assets::WindowIcon48, "png", 48, 48},
    {assets::WindowIcon128, "png", 128, 128},
    {assets::WindowIcon256, "png", 256, 256},
    {assets::AboutIcon16, "png", 16, 16},
    {assets::AboutIcon32, "png", 32, 32},
    {assets::ToolbarNew, "png", 32, 32},
    {assets::ToolbarSave, "png", 32, 32},
    {assets::ToolbarCopy, "png", 32, 32},
    {assets::ToolbarSettings, "png", 32, 32},
    {assets::Banner, "jpeg", 382, 37},
    {assets::AboutBanner, "jpeg", 522, 50},
    {":/symbols/f1.jpg", "jpeg", 18, 17},
    {":/symbols/f2.jpg", "jpeg", 15, 15},
    {":/symbols/f3.jpg", "jpeg", 18, 19},
    {":/symbols/f4.jpg", "jpeg", 23, 23},
    {":/symbols/f5.gif", "gif", 26, 25},
    {":/symbols/f6.gif", "gif", 37, 38},
    {":/symbols/f7.gif", "gif", 35, 30},
    {":/symbols/f8.jpg", "jpeg", 23, 23},
};

class EmbeddedPicture : public testing::TestWithParam<Picture> {};

TEST_P(EmbeddedPicture, IsLinkedInAndDecodesAtItsSize)
{
    const Picture &expected = GetParam();
    QImageReader reader(QString::fromLatin1(expected.path));
    EXPECT_EQ(reader.format(), QByteArray(expected.format));
    const QImage image = reader.read();
    ASSERT_FALSE(image.isNull()) << qPrintable(reader.errorString());
    EXPECT_EQ(image.width(), expected.width);
    EXPECT_EQ(image.height(), expected.height);
}

INSTANTIATE_TEST_SUITE_P(Assets, EmbeddedPicture, testing::ValuesIn(pictures));

// Icons and toolbar images carry transparency where the image list had its mask colour.
class TransparentPicture : public testing::TestWithParam<const char *> {};

TEST_P(TransparentPicture, HasClearTopCorners)
{
    const QImage image(QString::fromLatin1(GetParam()));
    ASSERT_FALSE(image.isNull());
    ASSERT_TRUE(image.hasAlphaChannel());
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(image.width() - 1, 0)), 0);
}

INSTANTIATE_TEST_SUITE_P(Assets, TransparentPicture,
                         testing::Values(assets::WindowIcon16, assets::WindowIcon32,
                                         assets::WindowIcon256, assets::AboutIcon16,
                                         assets::AboutIcon32, assets::ToolbarNew,
                                         assets::ToolbarSave, assets::ToolbarCopy,
                                         assets::ToolbarSettings));

TEST(SymbolPicture, NamesTheBoxOfEachNumberInItsOwnFormat)
{
    const QStringList expected = {
        ":/symbols/f1.jpg", ":/symbols/f2.jpg", ":/symbols/f3.jpg", ":/symbols/f4.jpg",
        ":/symbols/f5.gif", ":/symbols/f6.gif", ":/symbols/f7.gif", ":/symbols/f8.jpg",
    };
    for (int number = 1; number <= 8; ++number)
        EXPECT_EQ(assets::symbolPicture(number), expected.at(number - 1)) << number;
}

TEST(SymbolPicture, IsEmptyOutsideOneToEight)
{
    EXPECT_TRUE(assets::symbolPicture(0).isEmpty());
    EXPECT_TRUE(assets::symbolPicture(9).isEmpty());
    EXPECT_TRUE(assets::symbolPicture(-1).isEmpty());
}

} // namespace
