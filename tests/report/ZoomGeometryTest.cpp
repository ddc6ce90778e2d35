#include "report/ZoomGeometry.h"

#include <gtest/gtest.h>

namespace kx {
namespace {

TEST(ZoomGeometry, SourceIsAThirdOfTheClientRoundedDown) {
    EXPECT_EQ(ZoomSourceSize(QSize(425, 330)), QSize(141, 110));
    EXPECT_EQ(ZoomSourceSize(QSize(3, 3)), QSize(1, 1));
    // Narrower or lower than 3 pixels: nothing to show.
    EXPECT_TRUE(ZoomSourceSize(QSize(2, 330)).isEmpty());
    EXPECT_TRUE(ZoomSourceSize(QSize(425, 2)).isEmpty());
}

struct OriginCase {
    const char* name;
    ZoomScreen screen;
    QPoint pointer;
    QPoint origin;
};

// The default client of 425 x 330 shows 141 x 110 screen pixels.
constexpr ZoomScreen kSingle{0, 1280, 800};
constexpr ZoomScreen kLeftAtNegative{-1280, 2560, 800};  // a 1280 monitor left of the primary

const OriginCase kOriginCases[] = {
    {"centred", kSingle, {640, 400}, {570, 345}},
    {"top-left corner", kSingle, {0, 0}, {0, 0}},
    {"top-right corner", kSingle, {1279, 0}, {1139, 0}},
    {"bottom-left corner", kSingle, {0, 799}, {0, 690}},
    {"bottom-right corner", kSingle, {1279, 799}, {1139, 690}},
    {"just inside the left edge", kSingle, {70, 55}, {0, 0}},
    {"one step past the left clamp", kSingle, {71, 56}, {1, 1}},
    {"negative monitor, middle", kLeftAtNegative, {-640, 400}, {-710, 345}},
    {"negative monitor, left corner", kLeftAtNegative, {-1280, 0}, {-1280, 0}},
    // The right test compares with cx, not x0 + cx: at the desktop's right edge (x 1279)
    // nothing pulls the area back, and it runs past the edge by half its width.
    {"negative desktop, right edge", kLeftAtNegative, {1279, 400}, {1209, 345}},
};

TEST(ZoomGeometry, OriginFollowsThePointerAndStaysOnTheScreen) {
    const QSize source(141, 110);
    for (const OriginCase& c : kOriginCases) {
        SCOPED_TRACE(c.name);
        const QPoint origin = ZoomSourceOrigin(c.pointer, source, c.screen);
        EXPECT_EQ(origin, c.origin);
    }
}

TEST(ZoomGeometry, CornersKeepTheAreaInsideAndThePointerOffCentre) {
    const QSize source(141, 110);
    const QRect screen(0, 0, 1280, 800);
    for (const QPoint corner : {QPoint(0, 0), QPoint(1279, 0), QPoint(0, 799), QPoint(1279, 799)}) {
        SCOPED_TRACE(corner.x() * 10000 + corner.y());
        const QRect area(ZoomSourceOrigin(corner, source, kSingle), source);
        EXPECT_TRUE(screen.contains(area));
        EXPECT_TRUE(area.contains(corner));
        EXPECT_NE(area.center(), corner);
    }
}

TEST(ZoomGeometry, SourceLargerThanTheScreenEndsAtTheRightAndBottom) {
    // Pushed in from the right and bottom last, the area ends at the edge and starts before 0.
    EXPECT_EQ(ZoomSourceOrigin(QPoint(50, 50), QSize(300, 200), ZoomScreen{0, 200, 100}),
              QPoint(-100, -100));
}

TEST(ZoomGeometry, OwnRectShiftsOnlyForANegativeLeftEdge) {
    const QRect own(800, 200, 425, 330);
    EXPECT_EQ(ZoomOwnRectInCapture(own, 0), own);
    EXPECT_EQ(ZoomOwnRectInCapture(own, -1280), QRect(2080, 200, 425, 330));
    EXPECT_EQ(ZoomOwnRectInCapture(QRect(-900, 10, 50, 50), -1280), QRect(380, 10, 50, 50));
    EXPECT_EQ(ZoomOwnRectInCapture(own, 100), own);
}

TEST(ZoomGeometry, CaptureAreaIsTheSourceCutToTheDesktop) {
    EXPECT_EQ(ZoomCaptureArea(QRect(570, 345, 141, 110), kSingle), QRect(570, 345, 141, 110));
    // The area past the right edge of a desktop that starts at a negative x.
    EXPECT_EQ(ZoomCaptureArea(QRect(1209, 345, 141, 110), kLeftAtNegative),
              QRect(1209, 345, 71, 110));
    EXPECT_TRUE(ZoomCaptureArea(QRect(1300, 0, 10, 10), kLeftAtNegative).isEmpty());
}

}  // namespace
}  // namespace kx
