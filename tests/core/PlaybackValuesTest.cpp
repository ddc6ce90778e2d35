#include "app/core/PlaybackValues.h"

#include <gtest/gtest.h>

namespace kx {
namespace {

TEST(PlaybackValues, BrightnessSliderPositions) {
    const std::pair<int, int> cases[] = {{0, -254}, {10, -203}, {40, -50}, {43, -35},
                                         {50, 0},   {60, 50},   {90, 203}, {100, 254}};
    for (const auto& [position, level] : cases) EXPECT_EQ(BrightnessForSlider(position), level) << position;
}

TEST(PlaybackValues, VolumeLevelsToPercent) {
    const std::pair<int, int> cases[] = {{0, 0}, {1, 9}, {5, 49}, {9, 89}, {10, 99}, {11, 99}, {-1, 0}};
    for (const auto& [level, percent] : cases) EXPECT_EQ(VolumePercentForLevel(level), percent) << level;
}

TEST(PlaybackValues, JumpsStopAtTheEnds) {
    EXPECT_EQ(RewindTarget(3000, 5), 0u);
    EXPECT_EQ(RewindTarget(8000, 5), 3000u);
    EXPECT_EQ(ForwardTarget(58000, 60000, 5), 60000u);
    EXPECT_EQ(ForwardTarget(1000, 60000, 5), 6000u);
    EXPECT_EQ(ForwardTarget(1000, 60000, -5), 0u);
}

TEST(PlaybackValues, ContextMenuPopupByLanguage) {
    const int expected[12] = {2, 4, 0, 6, 20, 16, 10, 12, 18, 14, 22, 8};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(CommandPopupPosition(i), expected[i]);
    EXPECT_EQ(CommandPopupPosition(12), -1);
    EXPECT_EQ(CommandPopupPosition(-1), -1);
}

TEST(PlaybackValues, SnapshotNames) {
    const CaptureTime t{2013, 1, 1, 12, 0, 0, 5};
    EXPECT_EQ(SnapshotFileName("/x", "REC_20130101_120000_2.avi", t, 1),
              "/x/REC_20130101_120000_2-2013-01-01-12h00m00s005(Track1).jpg");
    EXPECT_EQ(SnapshotFileName("/x", "a.b.avi", t, 2), "/x/a.b-2013-01-01-12h00m00s005(Track2).jpg");
    // A dot in the first place is no extension; no name leaves the stem empty.
    EXPECT_EQ(SnapshotFileName("/x", ".avi", t, 1), "/x/.avi-2013-01-01-12h00m00s005(Track1).jpg");
    EXPECT_EQ(SnapshotFileName("/x", "", t, 1), "/x/-2013-01-01-12h00m00s005(Track1).jpg");
}

}  // namespace
}  // namespace kx
