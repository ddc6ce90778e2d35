// The skin answers an image of the right size and kind for every number the controls and the
// main window use, in both pixel ratios, and the drawing helpers honour key colours, partial
// copies and missing numbers.

#include "controls/ControlConstants.h"
#include "controls/ResourceDrawing.h"
#include "controls/SkinIds.h"
#include "controls/SkinRegistry.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <set>

namespace kx {
namespace {

struct FixedImage {
    int number;
    int width;
    int height;
    bool png;
};

TEST(Skin, HasEveryFixedImageAtItsSizeInBothRatios) {
    std::vector<FixedImage> images = {
        {skin::kTopTile, 100, 33, false},         {skin::kSeekTrack, 547, 9, false},
        {skin::kSeekThumb, 11, 22, false},        {skin::kSeekFill, 3, 7, false},
        {skin::kSmallTrack, 66, 9, false},        {skin::kSmallThumb, 13, 13, false},
        {skin::kVolumeEmpty, 70, 21, false},      {skin::kVolumeFull, 70, 21, false},
        {skin::kSpeedBackgroundKmh, 124, 38, false}, {skin::kSpeedBackgroundMph, 124, 38, false},
        {skin::kSpeedPoint, 6, 18, false},        {skin::kScrollTopCap, 18, 18, false},
        {skin::kScrollUpArrow, 18, 18, false},    {skin::kScrollTrack, 18, 1, false},
        {skin::kScrollDownArrow, 18, 18, false},  {skin::kScrollBottomCap, 18, 18, false},
        {skin::kScrollThumb, 18, 18, false},      {skin::kMapCloseNormal, 30, 24, false},
        {skin::kMapCloseHover, 30, 24, false},    {skin::kMapClosePressed, 30, 24, false},
        {skin::kOkNormal, 83, 32, false},         {skin::kOkPressed, 83, 32, false},
    };
    for (int d = 0; d < 10; ++d) images.push_back({skin::kSpeedDigit0 + d, 10, 18, false});
    for (const auto& pair : skin::kMapPlaceholders) {
        images.push_back({pair.noConnection, skin::kPlaceholderWidth, skin::kPlaceholderHeight, true});
        images.push_back({pair.noData, skin::kPlaceholderWidth, skin::kPlaceholderHeight, true});
    }
    for (const FixedImage& expected : images) {
        SCOPED_TRACE(expected.number);
        const SkinImage* image = SkinRegistry::Find(expected.number);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->size(), QSize(expected.width, expected.height));
        EXPECT_EQ(image->image2x.size(), QSize(expected.width, expected.height) * 2);
        EXPECT_EQ(image->png, expected.png);
    }
    const SkinImage* icon = SkinRegistry::Find(skin::kAppIcon);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->size(), QSize(256, 256));
}

TEST(Skin, HasEveryButtonStateOfEveryLanguageAtTheButtonsSize) {
    std::set<int> numbers;
    for (int language = 0; language < skin::kLanguageCount; ++language) {
        for (int f = 0; f < skin::kButtonFaceCount; ++f) {
            const auto face = static_cast<skin::ButtonFace>(f);
            const skin::ButtonImages set = skin::ButtonImageSet(face, language);
            const skin::ButtonSize size = skin::ButtonFaceSize(face);
            for (int number : {set.normal, set.pressed, set.hover, set.disabled, set.checked}) {
                if (number == 0) continue;
                SCOPED_TRACE(number);
                const SkinImage* image = SkinRegistry::Find(number);
                ASSERT_NE(image, nullptr);
                EXPECT_EQ(image->size(), QSize(size.width, size.height));
                EXPECT_EQ(image->png, !skin::ButtonIsBitmap(face));
                numbers.insert(number);
            }
            EXPECT_EQ(set.checked != 0, skin::ButtonHasChecked(face));
        }
    }
    // Per-language sets differ between languages; the Korean rear-mirror set is its own.
    EXPECT_NE(skin::ButtonImageSet(skin::ButtonFace::KindEvent, 0).normal,
              skin::ButtonImageSet(skin::ButtonFace::KindEvent, 1).normal);
    EXPECT_NE(skin::ButtonImageSet(skin::ButtonFace::RearMirror, 1).normal,
              skin::ButtonImageSet(skin::ButtonFace::RearMirror, 2).normal);
    EXPECT_EQ(skin::ButtonImageSet(skin::ButtonFace::RearMirror, 0).normal,
              skin::ButtonImageSet(skin::ButtonFace::RearMirror, 2).normal);
    // An index outside the twelve languages takes the English set.
    EXPECT_EQ(skin::ButtonImageSet(skin::ButtonFace::Front, 12).normal,
              skin::ButtonImageSet(skin::ButtonFace::Front, 0).normal);
    // No number of a button collides with a fixed image.
    for (int fixed : {skin::kTopTile, skin::kSeekTrack, skin::kVolumeEmpty, skin::kAppIcon,
                      skin::kOkNormal, skin::kScrollThumb}) {
        EXPECT_EQ(numbers.count(fixed), 0u) << fixed;
    }
}

TEST(Skin, SpeedGlyphsAreKeyedOnWhite) {
    const SkinImage* digit = SkinRegistry::Find(skin::kSpeedDigit0 + 8);
    ASSERT_NE(digit, nullptr);
    EXPECT_EQ(digit->image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(digit->image.pixel(9, 17), qRgb(255, 255, 255));
    const SkinImage* keyed = SkinRegistry::FindKeyed(skin::kSpeedDigit0 + 8, kColorSpeedKey);
    ASSERT_NE(keyed, nullptr);
    EXPECT_EQ(qAlpha(keyed->image.pixel(0, 0)), 0);
    int opaque = 0;
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 10; ++x) opaque += qAlpha(keyed->image.pixel(x, y)) == 255;
    EXPECT_GT(opaque, 20);  // the 8 itself
}

class DrawingHelpers : public ::testing::Test {
protected:
    QImage canvas{40, 40, QImage::Format_RGB32};
    static constexpr QRgb kCanvas = 0xFF123456;
    void SetUp() override { canvas.fill(kCanvas); }
};

TEST_F(DrawingHelpers, MissingNumbersDrawNothingAndSayFalse) {
    QPainter p(&canvas);
    EXPECT_FALSE(DrawBitmapResource(10, 10, p, 9999, 0, 0, false, QColor()));
    EXPECT_FALSE(BlitBitmapPart(p, 9999, 0, 0, 10, 10, 0, 0));
    EXPECT_FALSE(DrawPngResource(p, 9999));
    EXPECT_TRUE(ResourceSize(9999).isEmpty());
    p.end();
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(canvas.pixel(x, y), kCanvas);
}

TEST_F(DrawingHelpers, TransparentCopyLeavesTheKeyColourOut) {
    QPainter p(&canvas);
    ASSERT_TRUE(DrawBitmapResource(18, 10, p, skin::kSpeedDigit0 + 1, 5, 5, true, kColorSpeedKey));
    p.end();
    const QImage& digit = SkinRegistry::Find(skin::kSpeedDigit0 + 1)->image;
    for (int y = 0; y < 18; ++y) {
        for (int x = 0; x < 10; ++x) {
            const QRgb source = digit.pixel(x, y);
            const QRgb expected = source == qRgb(255, 255, 255) ? kCanvas : source;
            ASSERT_EQ(canvas.pixel(5 + x, 5 + y), expected) << x << "," << y;
        }
    }
    EXPECT_EQ(canvas.pixel(4, 5), kCanvas);
}

TEST_F(DrawingHelpers, PartialCopyTakesTheSourceRectangleOnly) {
    QPainter p(&canvas);
    ASSERT_TRUE(BlitBitmapPart(p, skin::kScrollDownArrow, 2, 3, 6, 4, 7, 9));
    p.end();
    const QImage& arrow = SkinRegistry::Find(skin::kScrollDownArrow)->image;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) ASSERT_EQ(canvas.pixel(2 + x, 3 + y), arrow.pixel(7 + x, 9 + y));
    EXPECT_EQ(canvas.pixel(8, 3), kCanvas);
    EXPECT_EQ(canvas.pixel(2, 7), kCanvas);
}

TEST_F(DrawingHelpers, DoubleRatioTargetsGetTheDoubleSizeImage) {
    QImage sharp(QSize(20, 20), QImage::Format_RGB32);
    sharp.setDevicePixelRatio(2);
    sharp.fill(kCanvas);
    QPainter p(&sharp);
    ASSERT_TRUE(BlitBitmapPart(p, skin::kScrollThumb, 0, 0, 10, 10, 0, 0));
    p.end();
    const QImage& twice = SkinRegistry::Find(skin::kScrollThumb)->image2x;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(sharp.pixel(x, y), twice.pixel(x, y));
}

}  // namespace
}  // namespace kx
