// The floating map window: grabbing its edges, resizing without a frame, its layout, Escape,
// and handing the map view between the two panels.

#include "ControlTestSupport.h"

#include "controls/CDvMapPanelCtrl.h"
#include "controls/CDvTextCtrl.h"
#include "controls/CDvButtonCtrl.h"
#include "map/CMapDlg.h"
#include "map/CMapViewWnd.h"
#include "map/MapMode.h"

#include <QDir>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace kx {
namespace {

TEST(MapDlgHit, CornersComeBeforeEdgesAndTheMiddleIsNone) {
    const QSize client(300, 300);
    const struct {
        QPoint at;
        MapDlgHit hit;
    } cases[] = {
        {{0, 0}, MapDlgHit::TopLeft},       {{9, 9}, MapDlgHit::TopLeft},
        {{295, 3}, MapDlgHit::TopRight},    {{2, 299}, MapDlgHit::BottomLeft},
        {{299, 299}, MapDlgHit::BottomRight}, {{5, 150}, MapDlgHit::Left},
        {{150, 9}, MapDlgHit::Top},         {{290, 150}, MapDlgHit::Right},
        {{150, 295}, MapDlgHit::Bottom},    {{10, 10}, MapDlgHit::None},
        {{150, 150}, MapDlgHit::None},      {{289, 289}, MapDlgHit::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.at.x() << "," << c.at.y());
        EXPECT_EQ(MapDlgHitTest(c.at, client), c.hit);
    }
}

TEST(MapDlgResize, EdgesFollowTheMouseButNeverBelow300) {
    const QRect frame(800, 100, 400, 350);
    // Left edge: follows the mouse, and stops 300 short of the right edge (1200).
    EXPECT_EQ(MapDlgResized(frame, MapDlgHit::Left, {700, 0}), QRect(700, 100, 500, 350));
    EXPECT_EQ(MapDlgResized(frame, MapDlgHit::Left, {1100, 0}), QRect(900, 100, 300, 350));
    // Top edge likewise against the bottom edge (450).
    EXPECT_EQ(MapDlgResized(frame, MapDlgHit::TopLeft, {1000, 400}), QRect(900, 150, 300, 300));
    // Right and bottom: the size clamp keeps 300.
    EXPECT_EQ(MapDlgResized(frame, MapDlgHit::Right, {900, 0}), QRect(800, 100, 300, 350));
    EXPECT_EQ(MapDlgResized(frame, MapDlgHit::BottomRight, {1300, 600}),
              QRect(800, 100, 500, 500));
    EXPECT_EQ(MapDlgResized(frame, MapDlgHit::None, {0, 0}), frame);
}

class MapDlgWindow : public ::testing::Test {
protected:
    void SetUp() override {
        dlg_.Create();
        dlg_.show();
    }
    CMapDlg dlg_;
};

TEST_F(MapDlgWindow, StartsAt800By100AndLaysOutItsControls) {
    EXPECT_EQ(dlg_.geometry(), QRect(800, 100, 300, 300));
    dlg_.resize(420, 360);
    EXPECT_EQ(dlg_.CloseButton()->geometry(), QRect(380, 5, 30, 24));
    EXPECT_EQ(dlg_.TitlePanel()->geometry(), QRect(5, 10, 50, 20));
    EXPECT_EQ(dlg_.CoordinatesPanel()->geometry(), QRect(5, 334, 300, 20));
    EXPECT_EQ(dlg_.MapPanel()->geometry(), QRect(5, 35, 410, 295));
    EXPECT_EQ(dlg_.MapPanel()->ControlId(), kIdFloatingMapPanel);
    EXPECT_EQ(dlg_.TitlePanel()->Kind(), 5);
    EXPECT_EQ(dlg_.CoordinatesPanel()->Kind(), 6);
    EXPECT_EQ(dlg_.CoordinatesPanel()->Background(), QColor(30, 30, 30));
    EXPECT_EQ(test::Render(dlg_).pixel(150, 31), qRgb(30, 30, 30));

    if (const QByteArray shots = qgetenv("KX480_MAP_SHOTS"); !shots.isEmpty()) {
        dlg_.CoordinatesPanel()->Values().latitude = 37.508333f;
        dlg_.CoordinatesPanel()->Values().longitude = 9.504167f;
        test::Render(dlg_).save(QDir(QString::fromUtf8(shots)).filePath("map-dlg.png"));
    }
}

TEST_F(MapDlgWindow, DraggingTheLeftEdgeStopsAt300Wide) {
    dlg_.setGeometry(800, 100, 400, 300);
    test::Mouse(dlg_, QEvent::MouseButtonPress, {3, 150});
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 150), QPointF(1150, 250), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dlg_, &move);
    EXPECT_EQ(dlg_.geometry(), QRect(900, 100, 300, 300));
    QMouseEvent wider(QEvent::MouseMove, QPointF(3, 150), QPointF(700, 250), Qt::NoButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dlg_, &wider);
    EXPECT_EQ(dlg_.geometry(), QRect(700, 100, 500, 300));
    test::Mouse(dlg_, QEvent::MouseButtonRelease, {3, 150});
}

TEST_F(MapDlgWindow, DraggingTheMiddleMovesTheWindow) {
    const QPoint press(150, 150);
    QMouseEvent down(QEvent::MouseButtonPress, QPointF(press), QPointF(950, 250), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dlg_, &down);
    QMouseEvent move(QEvent::MouseMove, QPointF(press), QPointF(1000, 230), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dlg_, &move);
    EXPECT_EQ(dlg_.pos(), QPoint(850, 80));
    EXPECT_EQ(dlg_.size(), QSize(300, 300));
    test::Mouse(dlg_, QEvent::MouseButtonRelease, press);
}

TEST_F(MapDlgWindow, EscapeIsSwallowedAndCloseAsksToDock) {
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&dlg_, &escape);
    EXPECT_TRUE(escape.isAccepted());
    EXPECT_TRUE(dlg_.isVisible());

    int closes = 0;
    QObject::connect(&dlg_, &CMapDlg::closeRequested, [&] { ++closes; });
    test::Click(*dlg_.CloseButton(), {5, 5});
    EXPECT_EQ(closes, 1);
}

TEST_F(MapDlgWindow, FloatAndDockHandTheViewBetweenThePanels) {
    QWidget main;
    CDvMapPanelCtrl mainPanel;
    mainPanel.Create(&main, kIdMapPanel, QRect(0, 0, 276, 200));
    main.show();
    dlg_.hide();
    auto* view = new CMapViewWnd;
    CDvMapPanelCtrl::MoveMapView(view, &mainPanel);

    dlg_.Float(view);
    EXPECT_EQ(TheMapMode(), MapMode::Floating);
    EXPECT_TRUE(dlg_.isVisible());
    EXPECT_EQ(dlg_.MapPanel()->Hosted(), view);
    EXPECT_EQ(mainPanel.Hosted(), nullptr);
    EXPECT_EQ(view->size(), dlg_.MapPanel()->size());

    dlg_.Dock(view, &mainPanel);
    EXPECT_EQ(TheMapMode(), MapMode::Docked);
    EXPECT_FALSE(dlg_.isVisible());
    EXPECT_EQ(mainPanel.Hosted(), view);
    EXPECT_EQ(dlg_.MapPanel()->Hosted(), nullptr);
    EXPECT_EQ(view->size(), QSize(276, 200));
}

}  // namespace
}  // namespace kx
