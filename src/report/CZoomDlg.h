#pragma once
// The zoom window: a small tool window, always on top, that shows the desktop around the mouse
// pointer magnified three times and refreshed every 40 ms while it is active. The main window
// creates it once, hidden at (800, 200) with size 425 x 330, and switches it with Toggle().
// Its own area is painted grey in the picture of the screen, so it never magnifies itself.
// Where the platform refuses screen capture (offscreen, Wayland) it shows only its grey fill
// and says so in its title.

#include "report/ZoomGeometry.h"

#include <QImage>
#include <QRect>
#include <QRgb>
#include <QString>
#include <QWidget>

#include <functional>

class QCloseEvent;
class QPaintEvent;
class QTimerEvent;

namespace kx {

inline constexpr int kZoomTimerId = 100;
inline constexpr int kZoomPeriodMs = 40;
inline constexpr int kZoomDlgX = 800;
inline constexpr int kZoomDlgY = 200;
inline constexpr int kZoomDlgWidth = 425;
inline constexpr int kZoomDlgHeight = 330;
// The fill of the window's own area in the capture, and of the window where nothing is drawn.
inline constexpr QRgb kZoomGrey = qRgb(150, 150, 150);
// Appended once to the title when the platform gives no picture of the screen.
inline constexpr char kZoomNoCaptureNote[] = " (screen capture unavailable)";

class CZoomDlg : public QWidget {
    Q_OBJECT

public:
    // The virtual screen's geometry, the pointer's screen position, and a picture of a screen
    // area (a null image when the platform refuses). The defaults ask Qt; tests replace them.
    using ScreenSource = std::function<QRect()>;
    using CursorSource = std::function<QPoint()>;
    using CaptureSource = std::function<QImage(const QRect& screenArea)>;

    // Hidden at (800, 200), 425 x 330, titled "Zoom"; the 40 ms timer runs from here on.
    explicit CZoomDlg(QWidget* parent = nullptr);
    ~CZoomDlg() override;

    // The main window's zoom command: hides an active window and clears the flag, or else
    // takes string 208 as the title (when a language table exists), shows the window and sets
    // the flag. Returns the new flag, which is the look of the Zoom button (on when true).
    bool Toggle();
    bool IsActive() const { return active_; }

    // One tick of timer `id`: with kZoomTimerId and the flag set, takes a new picture of the
    // area around the pointer and repaints; anything else is ignored.
    void OnTimer(int id);

    // The screen area the last tick showed (screen co-ordinates); empty when it drew nothing.
    QRect LastSource() const { return lastSource_; }
    // True once a capture came back empty.
    bool CaptureRefused() const { return captureRefused_; }

    void SetScreenSource(ScreenSource source) { screen_ = std::move(source); }
    void SetCursorSource(CursorSource source) { cursor_ = std::move(source); }
    void SetCaptureSource(CaptureSource source) { capture_ = std::move(source); }

    // The default sources.
    static QRect VirtualScreen();
    static QImage CaptureScreen(const QRect& screenArea);

protected:
    void timerEvent(QTimerEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ApplyTitle();

    bool active_ = false;
    bool captureRefused_ = false;
    int qtTimer_ = 0;
    QString title_;
    // The picture of the capture area with the own area greyed, and the shown screen area
    // in its co-ordinates (it may reach past the picture where the capture was cut).
    QImage frame_;
    QRect frameSource_;
    QRect lastSource_;
    ScreenSource screen_;
    CursorSource cursor_;
    CaptureSource capture_;
};

}  // namespace kx
