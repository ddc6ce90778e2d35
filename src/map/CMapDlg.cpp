#include "map/CMapDlg.h"

#include "controls/CDvButtonCtrl.h"
#include "controls/CDvMapPanelCtrl.h"
#include "controls/CDvTextCtrl.h"
#include "controls/ControlConstants.h"
#include "controls/SkinIds.h"
#include "map/CMapViewWnd.h"
#include "map/MapMode.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace kx {
namespace {

constexpr QEvent::Type kLayoutEvent = static_cast<QEvent::Type>(QEvent::User + UM_MAPDLG_LAYOUT);

bool Within(int value, int low, int high) { return value >= low && value < high; }

// Without a frame the window shows itself where its edges can be grabbed.
Qt::CursorShape CursorFor(MapDlgHit hit) {
    switch (hit) {
        case MapDlgHit::TopLeft: case MapDlgHit::BottomRight: return Qt::SizeFDiagCursor;
        case MapDlgHit::TopRight: case MapDlgHit::BottomLeft: return Qt::SizeBDiagCursor;
        case MapDlgHit::Left: case MapDlgHit::Right: return Qt::SizeHorCursor;
        case MapDlgHit::Top: case MapDlgHit::Bottom: return Qt::SizeVerCursor;
        case MapDlgHit::None: break;
    }
    return Qt::ArrowCursor;
}

}  // namespace

MapDlgHit MapDlgHitTest(QPoint p, QSize client) {
    const int w = client.width();
    const int h = client.height();
    const bool left = Within(p.x(), 0, kMapDlgEdge);
    const bool right = Within(p.x(), w - kMapDlgEdge, w);
    const bool top = Within(p.y(), 0, kMapDlgEdge);
    const bool bottom = Within(p.y(), h - kMapDlgEdge, h);
    if (left && top) return MapDlgHit::TopLeft;
    if (right && top) return MapDlgHit::TopRight;
    if (left && bottom) return MapDlgHit::BottomLeft;
    if (right && bottom) return MapDlgHit::BottomRight;
    if (left) return MapDlgHit::Left;
    if (top) return MapDlgHit::Top;
    if (right) return MapDlgHit::Right;
    if (bottom) return MapDlgHit::Bottom;
    return MapDlgHit::None;
}

QRect MapDlgResized(const QRect& frame, MapDlgHit hit, QPoint mouse) {
    int left = frame.x();
    int top = frame.y();
    int right = frame.x() + frame.width();
    int bottom = frame.y() + frame.height();
    const bool dragLeft = hit == MapDlgHit::Left || hit == MapDlgHit::TopLeft ||
                          hit == MapDlgHit::BottomLeft;
    const bool dragRight = hit == MapDlgHit::Right || hit == MapDlgHit::TopRight ||
                           hit == MapDlgHit::BottomRight;
    const bool dragTop = hit == MapDlgHit::Top || hit == MapDlgHit::TopLeft ||
                         hit == MapDlgHit::TopRight;
    const bool dragBottom = hit == MapDlgHit::Bottom || hit == MapDlgHit::BottomLeft ||
                            hit == MapDlgHit::BottomRight;
    if (dragLeft) left = std::min(mouse.x(), right - kMapDlgMinimum);
    if (dragTop) top = std::min(mouse.y(), bottom - kMapDlgMinimum);
    if (dragRight) right = mouse.x();
    if (dragBottom) bottom = mouse.y();
    // The window-position clamp: the right and bottom edges cannot bring a side below 300.
    return QRect(left, top, std::max(right - left, kMapDlgMinimum),
                 std::max(bottom - top, kMapDlgMinimum));
}

CMapDlg::CMapDlg(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("MapDlg"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(kMapDlgMinimum, kMapDlgMinimum);
    setMouseTracking(true);
}

bool CMapDlg::Create() {
    setWindowTitle(QString());
    setGeometry(800, 100, kMapDlgMinimum, kMapDlgMinimum);

    close_ = new CDvButtonCtrl(this);
    close_->Create(this, kIdMapClose, QRect(0, 0, 30, 24));
    close_->SetImages(skin::kMapCloseNormal, skin::kMapClosePressed, skin::kMapCloseHover,
                      skin::kMapCloseNormal);
    connect(close_, &CDvButtonCtrl::command, this, [this] { emit closeRequested(); });

    mapPanel_ = new CDvMapPanelCtrl(this);
    mapPanel_->Create(this, kIdFloatingMapPanel, QRect(0, 0, 100, 100));

    title_ = new CDvTextCtrl(this);
    title_->Create(this, kIdFloatingMapTitle, QRect(0, 0, 50, 20));
    title_->SetKind(5);
    title_->SetBackground(kColorPanelLight);

    coordinates_ = new CDvTextCtrl(this);
    coordinates_->Create(this, kIdFloatingMapCoordinates, QRect(0, 0, 300, 20));
    coordinates_->SetKind(6);
    coordinates_->SetBackground(kColorPanelLight);

    initialised_ = true;
    Relayout();
    return true;
}

void CMapDlg::Relayout() {
    if (!initialised_) return;
    const int w = width();
    const int h = height();
    close_->setGeometry(w - 40, 5, 30, 24);
    title_->setGeometry(5, 10, 50, 20);
    coordinates_->setGeometry(5, h - 26, 300, 20);
    mapPanel_->setGeometry(5, 35, w - 10, h - 65);
}

void CMapDlg::Float(CMapViewWnd* view) {
    TheMapMode() = MapMode::Floating;
    show();
    CDvMapPanelCtrl::MoveMapView(view, mapPanel_);
}

void CMapDlg::Dock(CMapViewWnd* view, CDvMapPanelCtrl* mainPanel) {
    TheMapMode() = MapMode::Docked;
    hide();
    CDvMapPanelCtrl::MoveMapView(view, mainPanel);
}

bool CMapDlg::event(QEvent* event) {
    if (event->type() == kLayoutEvent) {
        Relayout();
        return true;
    }
    return QWidget::event(event);
}

void CMapDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kColorPanelLight);
}

void CMapDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!initialised_) return;
    Relayout();
    if (auto* view = qobject_cast<CMapViewWnd*>(mapPanel_->Hosted()))
        view->UpdatePosition(position_ ? position_() : 0);
}

void CMapDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CMapDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const QPoint global = event->globalPosition().toPoint();
    hit_ = MapDlgHitTest(event->position().toPoint(), size());
    if (hit_ != MapDlgHit::None) {
        resizing_ = true;
        resizeStart_ = global;
    } else {
        moving_ = true;
        moveStart_ = event->position().toPoint();
    }
    // Qt keeps sending the mouse to the window that took the press until the release, which
    // is the capture a frameless drag needs.
}

void CMapDlg::mouseMoveEvent(QMouseEvent* event) {
    const QPoint global = event->globalPosition().toPoint();
    if (resizing_) {
        setGeometry(MapDlgResized(geometry(), hit_, global));
    } else if (moving_) {
        move(global - moveStart_);
    } else {
        setCursor(CursorFor(MapDlgHitTest(event->position().toPoint(), size())));
    }
    QWidget::mouseMoveEvent(event);
}

void CMapDlg::mouseReleaseEvent(QMouseEvent* event) {
    resizing_ = false;
    moving_ = false;
    hit_ = MapDlgHit::None;
    QWidget::mouseReleaseEvent(event);
}

}  // namespace kx
