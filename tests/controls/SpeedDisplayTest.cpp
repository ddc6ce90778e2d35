// The speed display: which digits land where, and which background it uses. The picture is
// read back by matching each digit place against the skin's digit images keyed over the
// background, so a digit drawn at the wrong place or not at all shows.

#include "ControlTestSupport.h"

#include "controls/CDvSpeedCtrl.h"
#include "controls/ControlConstants.h"
#include "controls/SkinIds.h"
#include "controls/SkinRegistry.h"
#include "telemetry/TelemetryLookup.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace kx {
namespace {

QImage Paint(double speed, bool miles) {
    QImage image(124, 38, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter p(&image);
    CDvSpeedCtrl::Paint(p, speed, miles);
    return image;
}

bool GlyphAt(const QImage& shown, const QImage& background, int number, int x) {
    const QImage& glyph = SkinRegistry::Find(number)->image;
    for (int j = 0; j < glyph.height(); ++j) {
        for (int i = 0; i < glyph.width(); ++i) {
            const QRgb g = glyph.pixel(i, j);
            const QRgb expected = g == qRgb(255, 255, 255) ? background.pixel(x + i, 11 + j) : g;
            if (shown.pixel(x + i, 11 + j) != expected) return false;
        }
    }
    return true;
}

// The display read back: digits at the four places (blank places skipped) and the point.
std::string Read(const QImage& shown, bool miles) {
    const QImage& background =
        SkinRegistry::Find(miles ? skin::kSpeedBackgroundMph : skin::kSpeedBackgroundKmh)->image;
    std::string text;
    for (int place = 0; place < 4; ++place) {
        const int x = kSpeedDigitX[place];
        int found = -1;
        for (int d = 0; d < 10 && found < 0; ++d)
            if (GlyphAt(shown, background, skin::kSpeedDigit0 + d, x)) found = d;
        if (place == 3) text += GlyphAt(shown, background, skin::kSpeedPoint, kSpeedPointX) ? "." : "";
        if (found >= 0) text += static_cast<char>('0' + found);
    }
    return text;
}

TEST(SpeedDisplay, ShowsTenthsTruncatedAtTheirPlaces) {
    const struct {
        double speed;
        const char* shown;
    } cases[] = {
        {0.0, "0.0"},    {0.95, "0.9"},     {1.0, "1.0"},     {9.99, "9.9"},
        {10.0, "10.0"},  {57.3, "57.3"},    {100.04, "100.0"}, {123.0, "123.0"},
        {999.95, "999.9"}, {-3.0, "0.0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Read(Paint(c.speed, false), false), c.shown) << c.speed;
    }
}

TEST(SpeedDisplay, LeavesTheBackgroundAloneOutsideTheDigits) {
    const QImage shown = Paint(123.0, false);
    const QImage& background = SkinRegistry::Find(skin::kSpeedBackgroundKmh)->image;
    for (int y = 0; y < 38; ++y) {
        for (int x = 0; x < 124; ++x) {
            const bool inDigits = y >= 11 && y < 29 && x >= 20 && x < 70;
            if (!inDigits) {
                ASSERT_EQ(shown.pixel(x, y), background.pixel(x, y)) << x << "," << y;
            }
        }
    }
}

TEST(SpeedDisplay, MilesUseTheMphBackgroundForTheConvertedSpeed) {
    CGPSData fix;
    fix.valid = 1;
    fix.speed = 100.0;
    fix.time = 1000;
    GpsTrack.Publish({fix});
    TheViewerOptions().speedInMiles = true;
    double speed = 0;
    ASSERT_TRUE(FindSpeedAt(500, speed));

    CDvSpeedCtrl display;
    display.resize(124, 38);
    display.SetSpeed(speed);
    const QImage shown = test::Render(display);
    TheViewerOptions().speedInMiles = false;
    GpsTrack.Clear();

    EXPECT_EQ(Read(shown, true), "62.1");
    const QImage& mph = SkinRegistry::Find(skin::kSpeedBackgroundMph)->image;
    const QImage& kmh = SkinRegistry::Find(skin::kSpeedBackgroundKmh)->image;
    int differing = 0;
    for (int y = 0; y < 38; ++y) {
        for (int x = 72; x < 124; ++x) {
            ASSERT_EQ(shown.pixel(x, y), mph.pixel(x, y));
            differing += mph.pixel(x, y) != kmh.pixel(x, y);
        }
    }
    EXPECT_GT(differing, 0);  // the unit really differs between the two backgrounds
}

}  // namespace
}  // namespace kx
