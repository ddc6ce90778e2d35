#include "controls/CDvVolumeCtrl.h"

#include "controls/CMemoryDC.h"
#include "controls/ControlConstants.h"
#include "controls/ResourceDrawing.h"
#include "controls/SkinIds.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace kx {

CDvVolumeCtrl::CDvVolumeCtrl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setObjectName(kNameVolumeWnd);
}

bool CDvVolumeCtrl::Create(QWidget* parent, int id, const QRect& rect, bool visible) {
    setParent(parent);
    id_ = id;
    setGeometry(rect);
    setVisible(visible);
    return true;
}

void CDvVolumeCtrl::SetLevel(int level) {
    level_ = std::clamp(level, 0, kVolumeLevels);
    Redraw();
}

void CDvVolumeCtrl::Redraw() {
    drawnMuted_ = false;
    repaint();
}

void CDvVolumeCtrl::DrawMuted() {
    drawnMuted_ = true;
    repaint();
}

int CDvVolumeCtrl::LevelAt(int x, int width) {
    if (x < 0) return 0;
    if (x >= width) return kVolumeLevels;
    // Eleven bands, the last one folded into level 10; a bar narrower than 11 pixels still
    // answers a level instead of dividing by zero.
    const int band = std::max(1, width / (kVolumeLevels + 1));
    return std::clamp(x / band, 0, kVolumeLevels);
}

void CDvVolumeCtrl::paintEvent(QPaintEvent*) {
    CMemoryDC surface;
    if (!surface.Create(this, width(), height())) return;
    QPainter& p = surface.Painter();
    p.fillRect(rect(), kColorPanelLight);
    BlitBitmapPart(p, skin::kVolumeEmpty, 0, 0, width(), height(), 0, 0);
    const int shown = drawnMuted_ ? 0 : level_;
    const int full = shown * (width() / kVolumeLevels);
    if (full > 0) BlitBitmapPart(p, skin::kVolumeFull, 0, 0, full, height(), 0, 0);
    QPainter window(this);
    surface.CopyTo(window);
}

void CDvVolumeCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        level_ = LevelAt(event->position().toPoint().x(), width());
        Redraw();
        emit volumeLevelChanged(level_);
    }
    QWidget::mousePressEvent(event);
}

}  // namespace kx
