// The image button: which image it shows in each state, what it does with clicks while its
// own enabled state is off, the once-only hover until the owner clears it, the background
// behind transparent images, and panels passing their buttons' commands on.

#include "ControlTestSupport.h"

#include "controls/CDvButtonCtrl.h"
#include "controls/CDvPanelCtrl.h"
#include "controls/ControlConstants.h"
#include "controls/SkinIds.h"
#include "controls/SkinRegistry.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace kx {
namespace {

using skin::ButtonFace;

// A control-bar button: opaque images, so every pixel tells which image is shown.
class ButtonStates : public ::testing::Test {
protected:
    void SetUp() override {
        button.resize(32, 32);
        images = skin::ButtonImageSet(ButtonFace::Play, 0);
        button.SetImages(images.normal, images.pressed, images.hover, images.disabled);
    }
    bool Shows(int number) {
        return test::Render(button) == SkinRegistry::Find(number)->image.convertToFormat(
                                           QImage::Format_RGB32);
    }
    CDvButtonCtrl button;
    skin::ButtonImages images;
    int clicks = 0;
};

TEST_F(ButtonStates, ShowsNormalHoverPressedAndCheckedImages) {
    EXPECT_TRUE(Shows(images.normal));
    test::Mouse(button, QEvent::MouseMove, {10, 10});
    EXPECT_TRUE(button.IsHovering());
    EXPECT_TRUE(Shows(images.hover));
    test::Mouse(button, QEvent::MouseButtonPress, {10, 10});
    EXPECT_TRUE(Shows(images.pressed));
    test::Mouse(button, QEvent::MouseButtonRelease, {10, 10});
    EXPECT_TRUE(Shows(images.normal));

    button.SetCheckedImage(images.hover);
    button.SetChecked(true);
    EXPECT_EQ(button.CurrentImage(), images.hover);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    EXPECT_TRUE(Shows(images.hover));  // a checked button stays checked when the mouse leaves
}

TEST_F(ButtonStates, HoverShowsOnceUntilTheOwnerClearsTheFlag) {
    test::Mouse(button, QEvent::MouseMove, {10, 10});
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    EXPECT_TRUE(Shows(images.normal));
    test::Mouse(button, QEvent::MouseMove, {12, 12});
    EXPECT_TRUE(Shows(images.normal));
    button.SetHovering(false);
    test::Mouse(button, QEvent::MouseMove, {12, 12});
    EXPECT_TRUE(Shows(images.hover));
}

TEST_F(ButtonStates, DisabledShowsItsImageAndIgnoresClicksAndHovering) {
    QObject::connect(&button, &CDvButtonCtrl::command, [this](int) { ++clicks; });
    button.SetButtonEnabled(false);
    EXPECT_TRUE(Shows(images.disabled));
    test::Mouse(button, QEvent::MouseMove, {10, 10});
    EXPECT_FALSE(button.IsHovering());
    test::Click(button, {10, 10});
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(Shows(images.disabled));

    button.SetButtonEnabled(true);
    test::Click(button, {10, 10});
    EXPECT_EQ(clicks, 1);
}

TEST(Button, UnknownImageShowsTheBackgroundOnly) {
    CDvButtonCtrl button;
    button.resize(32, 31);
    button.SetImages(9999, 0, 0, 0);
    const QImage shown = test::Render(button);
    for (int y = 0; y < 31; ++y)
        for (int x = 0; x < 32; ++x) ASSERT_EQ(shown.pixel(x, y), kColorBackground.rgb());
}

TEST(Button, StripBackgroundDependsOnTheLayoutMode) {
    CDvButtonCtrl button;
    button.resize(32, 31);
    button.SetImages(9999, 0, 0, 0);
    button.SetStripBackground(true);
    QImage expected(32, 31, QImage::Format_RGB32);
    expected.fill(kColorBackground);
    {
        QPainter p(&expected);
        p.drawImage(QPoint(0, 0), SkinRegistry::Find(skin::kTopTile)->image, QRect(0, 9, 32, 8));
    }
    EXPECT_EQ(test::Render(button), expected);
    button.SetLayoutMode(2);
    EXPECT_EQ(test::Render(button).pixel(5, 3), kColorPanelLight.rgb());
    EXPECT_EQ(test::Render(button).pixel(5, 25), kColorPanelLight.rgb());
}

TEST(Button, TransparentImagesBlendOverTheBackground) {
    CDvButtonCtrl button;
    button.resize(32, 31);
    const skin::ButtonImages open = skin::ButtonImageSet(ButtonFace::Open, 0);
    button.SetImages(open.normal, open.pressed, open.hover, open.disabled);
    const QImage shown = test::Render(button);
    EXPECT_EQ(shown.pixel(0, 30), kColorBackground.rgb());  // corner: transparent in the image
    int icon = 0;
    for (int y = 0; y < 31; ++y)
        for (int x = 0; x < 32; ++x) icon += shown.pixel(x, y) != kColorBackground.rgb();
    EXPECT_GT(icon, 30);
}

TEST(Panel, PassesItsButtonsCommandsOn) {
    CDvPanelCtrl panel;
    panel.resize(100, 40);
    auto* inside = new CDvButtonCtrl;
    inside->Create(&panel, 1013, QRect(0, 0, 32, 32));
    panel.show();
    std::vector<int> commands;
    QObject::connect(&panel, &CDvPanelCtrl::command, [&](int id) { commands.push_back(id); });
    test::Click(*inside, {5, 5});
    EXPECT_EQ(commands, std::vector<int>{1013});
    EXPECT_EQ(test::Render(panel).pixel(90, 35), qRgb(0, 0, 0));
}

}  // namespace
}  // namespace kx
