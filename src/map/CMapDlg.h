#pragma once
// The floating map window: caption-less and frameless, so it moves when dragged anywhere in
// its client area and resizes from a 10-pixel band along its edges; never smaller than
// 300 x 300. It holds a Close button, the map title, a map panel that takes the map view while
// the map floats, and the coordinates. Escape does not close it; Close asks the owner to dock
// the map again (closeRequested).

#include <QPoint>
#include <QWidget>

#include <cstdint>
#include <functional>

class QKeyEvent;

namespace kx {

class CDvButtonCtrl;
class CDvMapPanelCtrl;
class CDvTextCtrl;
class CMapViewWnd;

inline constexpr int kIdMapClose = 1031;
inline constexpr int kIdFloatingMapPanel = 1201;
inline constexpr int kIdFloatingMapTitle = 1202;
inline constexpr int kIdFloatingMapCoordinates = 1203;
inline constexpr int kMapDlgMinimum = 300;
inline constexpr int kMapDlgEdge = 10;
// The window message that lays the window out again.
inline constexpr int UM_MAPDLG_LAYOUT = 1025;

// Where a point of the client area grabs the frameless window.
enum class MapDlgHit {
    None, TopLeft, TopRight, BottomLeft, BottomRight, Left, Top, Right, Bottom,
};

// Corners first, then the edge strips, each kMapDlgEdge wide; None elsewhere.
MapDlgHit MapDlgHitTest(QPoint point, QSize client);

// The window's new frame when the edges `hit` grabs are dragged to `mouse` (global): the left
// and top edges stop kMapDlgMinimum short of the opposite edge, and no side drops below the
// minimum.
QRect MapDlgResized(const QRect& frame, MapDlgHit hit, QPoint mouse);

class CMapDlg : public QWidget {
    Q_OBJECT

public:
    explicit CMapDlg(QWidget* parent = nullptr);

    // Makes the controls and lays them out; the window stays hidden at (800, 100), 300 x 300.
    bool Create();
    // Layout for client width w and height h, as on message 1025.
    void Relayout();

    CDvMapPanelCtrl* MapPanel() const { return mapPanel_; }
    CDvTextCtrl* TitlePanel() const { return title_; }
    CDvTextCtrl* CoordinatesPanel() const { return coordinates_; }
    CDvButtonCtrl* CloseButton() const { return close_; }

    // The playing position in milliseconds (0 when nothing is open); asked after each change of
    // size so that the map view in the panel recentres.
    void SetPositionSource(std::function<std::uint32_t()> source) { position_ = std::move(source); }

    // Map mode 2: shows this window and moves the map view into its panel.
    void Float(CMapViewWnd* view);
    // Map mode 1: hides this window and moves the map view into `mainPanel`.
    void Dock(CMapViewWnd* view, CDvMapPanelCtrl* mainPanel);

signals:
    void closeRequested();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    CDvButtonCtrl* close_ = nullptr;
    CDvMapPanelCtrl* mapPanel_ = nullptr;
    CDvTextCtrl* title_ = nullptr;
    CDvTextCtrl* coordinates_ = nullptr;
    bool initialised_ = false;
    bool resizing_ = false;
    bool moving_ = false;
    MapDlgHit hit_ = MapDlgHit::None;
    QPoint resizeStart_;
    QPoint moveStart_;
    std::function<std::uint32_t()> position_;
};

}  // namespace kx
