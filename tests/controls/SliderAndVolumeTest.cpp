// The volume bar, the seek bar and the small sliders: what a click does, what is drawn, and
// the play-speed mapping.

#include "ControlTestSupport.h"

#include "controls/CDvSimpleSliderCtrl.h"
#include "controls/CDvSliderCtrl.h"
#include "controls/CDvVolumeCtrl.h"
#include "controls/ControlConstants.h"
#include "controls/IMainWindowLink.h"
#include "controls/ISeekTarget.h"
#include "controls/SkinIds.h"
#include "controls/SkinRegistry.h"
#include "controls/SpeedFactor.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kx {
namespace {

TEST(VolumeBar, ClickSetsTheLevelUnderTheMouse) {
    const struct {
        int x;
        int level;
    } cases[] = {{-1, 0}, {0, 0}, {5, 0}, {6, 1}, {30, 5}, {59, 9}, {60, 10}, {69, 10}, {70, 10}};
    for (const auto& c : cases) EXPECT_EQ(CDvVolumeCtrl::LevelAt(c.x, 70), c.level) << c.x;
    EXPECT_EQ(CDvVolumeCtrl::LevelAt(5, 8), 5);  // narrower than 11 pixels: no division by 0

    CDvVolumeCtrl volume;
    volume.resize(70, 21);
    std::vector<int> posted;
    QObject::connect(&volume, &CDvVolumeCtrl::volumeLevelChanged,
                     [&](int level) { posted.push_back(level); });
    test::Click(volume, {30, 10});
    test::Click(volume, {69, 10});
    EXPECT_EQ(posted, (std::vector<int>{5, 10}));
    EXPECT_EQ(volume.Level(), 10);
}

// Columns drawn from the full bar, counted by comparing with both images.
int FullColumns(const QImage& shown) {
    const QImage& full = SkinRegistry::Find(skin::kVolumeFull)->image;
    const QImage& empty = SkinRegistry::Find(skin::kVolumeEmpty)->image;
    int columns = 0;
    for (int x = 0; x < 70; ++x) {
        bool fromFull = true, fromEmpty = true;
        for (int y = 0; y < 21; ++y) {
            fromFull &= shown.pixel(x, y) == full.pixel(x, y);
            fromEmpty &= shown.pixel(x, y) == empty.pixel(x, y);
        }
        EXPECT_TRUE(fromFull || fromEmpty) << x;
        // Columns where both bars agree count as whatever their neighbours are.
        if (fromFull && !fromEmpty) columns = x + 1;
    }
    return columns;
}

TEST(VolumeBar, ShowsLevelTimesAWhole10thAndMutedKeepsTheLevel) {
    CDvVolumeCtrl volume;
    volume.resize(70, 21);
    volume.SetLevel(5);
    const int five = FullColumns(test::Render(volume));
    EXPECT_GT(five, 28);
    EXPECT_LE(five, 35);
    volume.SetLevel(10);
    EXPECT_GT(FullColumns(test::Render(volume)), 63);
    volume.DrawMuted();
    EXPECT_EQ(FullColumns(test::Render(volume)), 0);
    EXPECT_EQ(volume.Level(), 10);
    volume.Redraw();
    EXPECT_GT(FullColumns(test::Render(volume)), 63);
    volume.SetLevel(14);
    EXPECT_EQ(volume.Level(), 10);
}

class FakeMainWindow : public IMainWindowLink, public ISeekTarget {
public:
    bool IsBusy() const override { return busy; }
    void FocusDesignatedControl() override { ++focusCalls; }
    void DropFiles(const QStringList& paths) override { dropped = paths; }
    bool IsRecordingOpen() const override { return open; }
    void SeekMs(std::int64_t ms) override { seeks.push_back(ms); }

    bool busy = false;
    bool open = true;
    int focusCalls = 0;
    QStringList dropped;
    std::vector<std::int64_t> seeks;
};

class SeekBar : public ::testing::Test {
protected:
    void SetUp() override {
        bar.resize(600, 30);
        bar.setRange(0, 60000);
        bar.SetImages(skin::kSeekTrack, skin::kSeekThumb, skin::kSeekFill);
        bar.SetMainWindowLink(&window);
        bar.SetSeekTarget(&window);
    }
    CDvSliderCtrl bar;
    FakeMainWindow window;
};

TEST_F(SeekBar, PressDragAndReleaseSeekToThePositionUnderTheMouse) {
    test::Mouse(bar, QEvent::MouseButtonPress, {300, 15});
    EXPECT_TRUE(bar.IsDragging());
    test::Drag(bar, {450, 15});
    test::Mouse(bar, QEvent::MouseButtonRelease, {150, 15});
    EXPECT_EQ(window.seeks, (std::vector<std::int64_t>{30000, 45000, 15000}));
    EXPECT_EQ(bar.value(), 15000);
    EXPECT_FALSE(bar.IsDragging());
    EXPECT_EQ(window.focusCalls, 1);
}

TEST_F(SeekBar, MovesWithoutSeekingWhenNothingIsOpenAndIgnoresTheMouseWhileBusy) {
    window.open = false;
    test::Click(bar, {300, 15});
    EXPECT_TRUE(window.seeks.empty());
    EXPECT_EQ(bar.value(), 30000);

    window.open = true;
    window.busy = true;
    test::Click(bar, {450, 15});
    test::Drag(bar, {500, 15});
    EXPECT_TRUE(window.seeks.empty());
    EXPECT_EQ(bar.value(), 30000);
    EXPECT_EQ(window.focusCalls, 1);
}

TEST_F(SeekBar, LongRecordingsDoNotOverflowAndPositionsStayInRange) {
    bar.setRange(0, 3'600'000);
    EXPECT_EQ(bar.PositionAt(599), 3'594'000);
    EXPECT_EQ(bar.PositionAt(700), 3'600'000);
    EXPECT_EQ(bar.PositionAt(-20), 0);
}

TEST_F(SeekBar, FillsThePlayedPartAndPutsTheThumbThere) {
    bar.setValue(30000);
    const QImage shown = test::Render(bar);
    const QRgb fill = SkinRegistry::Find(skin::kSeekFill)->image.pixel(1, 3);
    EXPECT_EQ(shown.pixel(100, 14), fill);
    EXPECT_NE(shown.pixel(500, 14), fill);
    EXPECT_EQ(bar.ThumbLeft(), 15 + 285 - 5);
    const QImage& thumb = SkinRegistry::Find(skin::kSeekThumb)->image;
    EXPECT_EQ(shown.pixel(bar.ThumbLeft() + 5, 4 + 10), thumb.pixel(5, 10));
}

TEST(SpeedFactor, FollowsTheSliderMapping) {
    EXPECT_EQ(SpeedFactorFromPosition(0), 0.1f);
    EXPECT_EQ(SpeedFactorFromPosition(49), 0.982f);
    EXPECT_EQ(SpeedFactorFromPosition(50), std::nextafter(1.0f, 0.0f));
    EXPECT_EQ(SpeedFactorFromPosition(51), 1.02f);
    EXPECT_EQ(SpeedFactorFromPosition(100), 2.0f);
    CDvSimpleSliderCtrl slider;
    slider.setValue(51);
    EXPECT_EQ(SpeedFactorFromSlider(slider), 1.02f);
}

TEST(SmallSlider, PagesTowardAPressAndDragsItsThumb) {
    CDvSimpleSliderCtrl slider;
    slider.resize(95, 30);
    slider.SetImages(skin::kSmallTrack, skin::kSmallThumb);
    ASSERT_EQ(slider.value(), 50);
    EXPECT_EQ(slider.ThumbLeft(), 15 + 32 - 5);
    test::Click(slider, {75, 15});  // right of the thumb: one page up
    EXPECT_EQ(slider.value(), 60);
    test::Click(slider, {17, 15});  // far left: one page down, not more
    EXPECT_EQ(slider.value(), 50);

    test::Mouse(slider, QEvent::MouseButtonPress, {slider.ThumbLeft() + 5, 15});
    test::Drag(slider, {15 + 64, 15});
    test::Mouse(slider, QEvent::MouseButtonRelease, {15 + 64, 15});
    EXPECT_EQ(slider.value(), 100);
    const QImage shown = test::Render(slider);
    const QImage& thumb = SkinRegistry::Find(skin::kSmallThumb)->image;
    EXPECT_EQ(shown.pixel(slider.ThumbLeft() + 5, 15 - 7 + 6), thumb.pixel(6, 6));
}

}  // namespace
}  // namespace kx
