#include "report/CZoomDlg.h"

#include "app/core/LanguageTable.h"
#include "app/core/StringIds.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTimerEvent>

namespace kx {

CZoomDlg::CZoomDlg(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      title_(QStringLiteral("Zoom")),
      screen_(&CZoomDlg::VirtualScreen),
      cursor_([] { return QCursor::pos(); }),
      capture_(&CZoomDlg::CaptureScreen) {
    setObjectName(QStringLiteral("ZoomDlg"));
    // Every paint covers the whole client area.
    setAttribute(Qt::WA_OpaquePaintEvent);
    ApplyTitle();
    setGeometry(kZoomDlgX, kZoomDlgY, kZoomDlgWidth, kZoomDlgHeight);
    // Qt chooses its own timer ids; timerEvent hands this one on as timer 100.
    qtTimer_ = startTimer(kZoomPeriodMs, Qt::PreciseTimer);
}

CZoomDlg::~CZoomDlg() {
    if (qtTimer_ != 0) killTimer(qtTimer_);
}

bool CZoomDlg::Toggle() {
    if (active_) {
        hide();
        active_ = false;
    } else {
        if (const auto text = LanguageString(kStrTipZoom)) {
            title_ = QString::fromStdString(*text);
            ApplyTitle();
        }
        show();
        active_ = true;
    }
    update();
    return active_;
}

void CZoomDlg::ApplyTitle() {
    setWindowTitle(captureRefused_ ? title_ + QLatin1String(kZoomNoCaptureNote) : title_);
}

QRect CZoomDlg::VirtualScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->virtualGeometry() : QRect();
}

QImage CZoomDlg::CaptureScreen(const QRect& screenArea) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return QImage();
    // With window 0 the offsets count from the screen's own top-left corner.
    const QRect local = screenArea.translated(-screen->geometry().topLeft());
    return screen->grabWindow(0, local.x(), local.y(), local.width(), local.height()).toImage();
}

void CZoomDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() == qtTimer_) {
        OnTimer(kZoomTimerId);
        return;
    }
    QWidget::timerEvent(event);
}

void CZoomDlg::OnTimer(int id) {
    if (id != kZoomTimerId || !active_) return;

    const QRect virtualScreen = screen_();
    const ZoomScreen screen{virtualScreen.x(), virtualScreen.width(), virtualScreen.height()};
    const QSize sourceSize = ZoomSourceSize(size());
    frame_ = QImage();
    lastSource_ = QRect();
    if (sourceSize.isEmpty()) {
        // A client under 3 pixels shows no screen at all.
        update();
        return;
    }
    const QRect source(ZoomSourceOrigin(cursor_(), sourceSize, screen), sourceSize);
    lastSource_ = source;

    // Only the shown area is grabbed, not the whole desktop: a few ten thousand pixels per
    // tick instead of millions, 25 times a second. The rest of the desktop would be painted
    // grey or thrown away unseen, so the picture is the same.
    const QRect area = ZoomCaptureArea(source, screen);
    if (area.isEmpty()) {
        update();
        return;
    }
    QImage image = capture_(area);
    if (image.isNull()) {
        if (!captureRefused_) {
            captureRefused_ = true;
            ApplyTitle();
        }
        update();
        return;
    }
    // On a scaled screen the grab comes in device pixels; the geometry here is logical.
    image.setDevicePixelRatio(1.0);
    if (image.size() != area.size())
        image = image.scaled(area.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image = image.convertToFormat(QImage::Format_RGB32);

    // The own client area goes grey in the capture so that the window never shows itself.
    // The capture's column 0 is screen x0; `area` starts (area.x - x0) columns into it.
    const QRect own(mapToGlobal(QPoint(0, 0)), size());
    const QRect ownInArea = ZoomOwnRectInCapture(own, screen.x0)
                                .translated(-(area.x() - screen.x0), -area.y())
                                .intersected(image.rect());
    if (!ownInArea.isEmpty()) {
        QPainter painter(&image);
        painter.fillRect(ownInArea, QColor(kZoomGrey));
    }
    frame_ = std::move(image);
    frameSource_ = source.translated(-area.topLeft());
    update();
}

void CZoomDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(kZoomGrey));
    if (frame_.isNull() || frameSource_.isEmpty()) return;
    // The stretch is smoothed, as a halftone stretch would be. Where the shown area reaches
    // past the capture, Qt cuts source and target alike and the grey stays.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(rect()), frame_, QRectF(frameSource_));
}

void CZoomDlg::closeEvent(QCloseEvent* event) {
    // The close box only hides the window; it lives for the whole run.
    event->ignore();
    hide();
    active_ = false;
}

}  // namespace kx
