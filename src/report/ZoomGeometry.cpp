#include "report/ZoomGeometry.h"

namespace kx {

QSize ZoomSourceSize(QSize client) {
    return QSize(client.width() / kZoomFactor, client.height() / kZoomFactor);
}

QPoint ZoomSourceOrigin(QPoint pointer, QSize source, const ZoomScreen& screen) {
    const int sw = source.width();
    const int sh = source.height();
    int x = pointer.x() - sw / 2;
    int y = pointer.y() - sh / 2;
    if (x < screen.x0) x = screen.x0;
    if (y < 0) y = 0;
    if (x + sw > screen.cx) x = screen.cx - sw;
    if (y + sh > screen.cy) y = screen.cy - sh;
    return QPoint(x, y);
}

QRect ZoomOwnRectInCapture(const QRect& ownOnScreen, int x0) {
    return x0 < 0 ? ownOnScreen.translated(-x0, 0) : ownOnScreen;
}

QRect ZoomCaptureArea(const QRect& source, const ZoomScreen& screen) {
    return source.intersected(QRect(screen.x0, 0, screen.cx, screen.cy));
}

}  // namespace kx
