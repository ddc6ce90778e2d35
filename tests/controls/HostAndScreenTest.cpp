// The map host panels handing the map view from one to the other, and the video screen taking
// pictures from another thread.

#include "ControlTestSupport.h"

#include "controls/CDvMapPanelCtrl.h"
#include "controls/CDvScreenCtrl.h"
#include "controls/ControlConstants.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <thread>

namespace kx {
namespace {

TEST(MapPanel, MovingTheViewToASecondHostLeavesTheFirstWithoutIt) {
    QWidget window;
    CDvMapPanelCtrl docked, floating;
    docked.Create(&window, kIdMapPanel, QRect(0, 0, 276, 200));
    floating.Create(&window, 1201, QRect(300, 0, 290, 235));
    window.show();
    auto* view = new QWidget;

    CDvMapPanelCtrl::MoveMapView(view, &docked);
    EXPECT_EQ(view->parentWidget(), &docked);
    EXPECT_EQ(view->geometry(), QRect(0, 0, 276, 200));
    docked.resize(250, 150);
    EXPECT_EQ(view->size(), QSize(250, 150));

    CDvMapPanelCtrl::MoveMapView(view, &floating);
    EXPECT_EQ(docked.Hosted(), nullptr);
    EXPECT_EQ(floating.Hosted(), view);
    EXPECT_EQ(view->geometry(), QRect(0, 0, 290, 235));
    docked.resize(200, 100);
    EXPECT_EQ(view->size(), QSize(290, 235));
    floating.resize(400, 300);
    EXPECT_EQ(view->size(), QSize(400, 300));

    EXPECT_EQ(test::Render(docked).pixel(10, 10), kColorPanel.rgb());
}

TEST(Screen, ShowsTheNewestPictureHandedInFromAnotherThread) {
    CDvScreenCtrl screen;
    screen.Create(nullptr, kIdFrontScreen, QRect(0, 0, 64, 36), true);
    EXPECT_EQ(screen.Size().width, 64);
    EXPECT_EQ(test::Render(screen).pixel(5, 5), qRgb(0, 0, 0));

    std::thread decoder([&] {
        for (int i = 0; i < 50; ++i) {
            QImage frame(32, 18, QImage::Format_RGB32);
            frame.fill(qRgb(i, 100, 200));
            screen.PresentFrame(frame);
        }
        // The graph's picture: B, G, R, A bytes, valid only during the call.
        std::vector<std::uint8_t> pixels(32 * 18 * 4);
        for (std::size_t i = 0; i < pixels.size(); i += 4) {
            pixels[i] = 30;       // blue
            pixels[i + 1] = 20;   // green
            pixels[i + 2] = 10;   // red
            pixels[i + 3] = 255;
        }
        screen.Present({32, 18, 32 * 4, pixels.data(), 1.5});
    });
    decoder.join();
    QCoreApplication::processEvents();
    EXPECT_EQ(test::Render(screen).pixel(40, 30), qRgb(10, 20, 30));

    screen.hide();
    EXPECT_TRUE(screen.Size().Empty());
    screen.ClearFrame();
    EXPECT_TRUE(screen.CurrentFrame().isNull());
}

}  // namespace
}  // namespace kx
