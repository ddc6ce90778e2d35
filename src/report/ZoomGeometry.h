#pragma once
// The arithmetic of the screen magnifier, apart from any window: how much of the screen it
// shows, where that piece lies around the pointer, and where the magnifier's own window falls
// in the picture of the screen.
//
// The picture of the screen ("the capture") is laid out as a bitmap of cx x cy whose column 0
// is the virtual screen's left edge x0 and whose row 0 is screen row 0.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace kx {

inline constexpr int kZoomFactor = 3;

// The virtual screen as the magnifier reads it: left edge x0, width cx, height cy.
struct ZoomScreen {
    int x0 = 0;
    int cx = 0;
    int cy = 0;
};

// The screen area a client of `client` shows: its width and height divided by the zoom
// factor (integer division, so a client narrower or lower than 3 pixels gives an empty size).
QSize ZoomSourceSize(QSize client);

// The top-left screen corner of the `source`-sized area shown for the pointer at `pointer`:
// centred on the pointer, then pushed back in from the left (x0), top (0), right (cx) and
// bottom (cy) in this order. The right test compares x + width with cx, not with x0 + cx, so
// with a negative x0 the area may run past the right edge of the desktop.
QPoint ZoomSourceOrigin(QPoint pointer, QSize source, const ZoomScreen& screen);

// The magnifier's own client rectangle (in screen co-ordinates) as painted into the capture:
// shifted right by -x0 when x0 is negative, unchanged otherwise.
QRect ZoomOwnRectInCapture(const QRect& ownOnScreen, int x0);

// The part of the screen area `source` that the capture holds, in screen co-ordinates:
// source cut to (x0, 0, cx, cy). Only this part needs to be grabbed.
QRect ZoomCaptureArea(const QRect& source, const ZoomScreen& screen);

}  // namespace kx
