#include "app/core/ViewerLayout.h"

#include <gtest/gtest.h>

namespace kx {
namespace {

TEST(ViewerLayout, MinimumSizeGivesTheVideoAreaAndPictureOfTheFullLayout) {
    const ViewerLayout l = ComputeLayout(kMinimumWidth, kMinimumHeight, LayoutMode::Full);
    EXPECT_EQ(l.video, (LayoutRect{12, 50, 732, 471}));
    EXPECT_EQ(l.video.Width(), 720);
    EXPECT_EQ(l.video.Height(), 421);
    // 720 x 405, centred vertically in the 421 rows.
    EXPECT_EQ(FitSixteenByNine(l.video), (LayoutRect{12, 58, 732, 463}));

    // Right column: E = 685, map area 274 rows, list area 411.
    EXPECT_EQ(l.mapArea, (LayoutRect{747, 50, 1027, 324}));
    EXPECT_EQ(l.listArea, (LayoutRect{747, 324, 1027, 735}));
    EXPECT_EQ(l.mapPanel, (LayoutPlace{749, 88, 276, 203}));
    EXPECT_EQ(l.list, (LayoutPlace{747, 358, 262, 377}));
    EXPECT_EQ(l.kindAll, (LayoutPlace{845, 330, 43, 23}));
    EXPECT_EQ(l.close, (LayoutPlace{983, 9, 30, 24}));
    EXPECT_EQ(l.save, (LayoutPlace{229, 9, 32, 31}));
    // Control bar: width 725, x0 = (725 - 726) / 2 + 22 = 22.
    EXPECT_EQ(l.prev, (LayoutPlace{22, 679, 32, 32}));
    EXPECT_EQ(l.speedDisplay, (LayoutPlace{592, 676, 124, 38}));
    // The seek bar's track (15 in from both ends) lies over the graph's time axis (20 in from
    // its left edge, 10 from its right).
    EXPECT_EQ(l.gsensor, (LayoutPlace{7, 533, 730, 97}));
    EXPECT_EQ(l.seek.x + 15, l.gsensor.x + 20);
    EXPECT_EQ(l.seek.x + l.seek.width - 15, l.gsensor.x + l.gsensor.width - 10);
    EXPECT_EQ(l.front, (LayoutPlace{571, 481, 43, 19}));
}

TEST(ViewerLayout, VideoOnlyLayoutTakesTheWholeWidthAndMovesTheToggle) {
    const ViewerLayout l = ComputeLayout(kMinimumWidth, kMinimumHeight, LayoutMode::VideoOnly);
    EXPECT_EQ(l.video, (LayoutRect{0, 0, 1034, 586}));
    EXPECT_EQ(l.panel, (LayoutRect{0, 598, 1034, 672}));
    EXPECT_EQ(l.bar, (LayoutRect{7, 679, 1034, 735}));
    EXPECT_EQ(l.save, (LayoutPlace{984, 676, 32, 31}));
    // 1034 wide gives 581 rows of picture, centred in 586.
    EXPECT_EQ(FitSixteenByNine(l.video), (LayoutRect{0, 2, 1034, 583}));
}

TEST(ViewerLayout, ChannelViewsPlaceTheScreens) {
    const LayoutRect video{12, 50, 732, 471};
    const ScreenPlaces front = PlaceScreens(video, ChannelView::Front);
    EXPECT_TRUE(front.frontShown);
    EXPECT_FALSE(front.rearShown);
    EXPECT_EQ(front.rear.Width(), 0);
    const ScreenPlaces rear = PlaceScreens(video, ChannelView::Rear);
    EXPECT_EQ(rear.rear, (LayoutRect{12, 58, 732, 463}));
    EXPECT_EQ(rear.front.Width(), 0);
    // Two 360 x 202 screens side by side, centred vertically.
    const ScreenPlaces both = PlaceScreens(video, ChannelView::Both);
    EXPECT_EQ(both.front, (LayoutRect{12, 159, 372, 361}));
    EXPECT_EQ(both.rear, (LayoutRect{372, 159, 732, 361}));
}

TEST(ViewerLayout, TallAreasAreFilledByHeightAndEmptyAreasStayEmpty) {
    // 16:9 of a 100-wide area needs 56 rows; only 40 are there: 71 wide, centred.
    EXPECT_EQ(FitSixteenByNine({0, 0, 100, 40}), (LayoutRect{14, 0, 85, 40}));
    EXPECT_EQ(FitSixteenByNine({5, 5, 5, 5}).Width(), 0);
}

}  // namespace
}  // namespace kx
