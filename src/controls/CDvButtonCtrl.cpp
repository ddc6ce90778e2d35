#include "controls/CDvButtonCtrl.h"

#include "controls/CMemoryDC.h"
#include "controls/ControlConstants.h"
#include "controls/ResourceDrawing.h"
#include "controls/SkinRegistry.h"

#include <QMouseEvent>
#include <QPainter>

namespace kx {
namespace {

// The strip piece copied behind top-row buttons: rows 9..16 of the top tile, which is where
// the tile lies behind a button placed at y 9.
constexpr int kStripRows = 7;
constexpr QRect kStripPiece(0, 9, 32, 8);

}  // namespace

CDvButtonCtrl::CDvButtonCtrl(QWidget* parent) : QAbstractButton(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(this, &QAbstractButton::clicked, this, [this] { emit command(id_); });
}

bool CDvButtonCtrl::Create(QWidget* parent, int id, const QRect& rect, bool visible) {
    setParent(parent);
    id_ = id;
    setGeometry(rect);
    setVisible(visible);
    return true;
}

void CDvButtonCtrl::SetImages(int normal, int pressed, int hover, int disabled) {
    normal_ = normal;
    pressed_ = pressed;
    hover_ = hover;
    disabled_ = disabled;
    checkedImage_ = 0;
    update();
}

void CDvButtonCtrl::SetImageSet(const skin::ButtonImages& images) {
    SetImages(images.normal, images.pressed, images.hover, images.disabled);
    SetCheckedImage(images.checked);
}

void CDvButtonCtrl::SetCheckedImage(int image) {
    checkedImage_ = image;
    update();
}

void CDvButtonCtrl::SetChecked(bool checked) {
    checked_ = checked;
    update();
}

void CDvButtonCtrl::SetButtonEnabled(bool enabled) {
    enabled_ = enabled;
    if (!enabled) overlay_ = Overlay::None;
    update();
}

void CDvButtonCtrl::SetStripBackground(bool strip) {
    strip_ = strip;
    update();
}

void CDvButtonCtrl::SetLayoutMode(int mode) {
    layoutMode_ = mode;
    update();
}

int CDvButtonCtrl::CurrentImage() const {
    if (!enabled_) return disabled_;
    if (checked_) return checkedImage_;
    return normal_;
}

int CDvButtonCtrl::ShownImage() const {
    switch (overlay_) {
        case Overlay::Pressed: return pressed_;
        case Overlay::Hover: return hover_;
        case Overlay::None: break;
    }
    return CurrentImage();
}

QSize CDvButtonCtrl::sizeHint() const {
    const QSize image = ResourceSize(normal_);
    return image.isEmpty() ? QSize(32, 32) : image;
}

void CDvButtonCtrl::DrawImage(QPainter& p, int image) const {
    const QRect client = rect();
    if (!strip_) {
        p.fillRect(client, kColorBackground);
    } else if (layoutMode_ == 1) {
        p.fillRect(QRect(0, 0, client.width(), kStripRows), kColorStripTop);
        p.fillRect(QRect(0, kStripRows, client.width(), client.height() - kStripRows),
                   kColorBackground);
        BlitBitmapPart(p, skin::kTopTile, 0, 0, kStripPiece.width(), kStripPiece.height(),
                       kStripPiece.x(), kStripPiece.y());
    } else {
        p.fillRect(client, kColorPanelLight);
    }
    const SkinImage* skinImage = image ? SkinRegistry::Find(image) : nullptr;
    if (!skinImage) return;
    if (skinImage->png) {
        DrawPngResource(p, image);
    } else {
        DrawBitmapResource(client.height(), client.width(), p, image, 0, 0, false, QColor());
    }
}

void CDvButtonCtrl::paintEvent(QPaintEvent*) {
    CMemoryDC surface;
    if (!surface.Create(this, width(), height())) return;
    DrawImage(surface.Painter(), ShownImage());
    QPainter window(this);
    surface.CopyTo(window);
}

void CDvButtonCtrl::Show(Overlay overlay) {
    overlay_ = overlay;
    repaint();
}

void CDvButtonCtrl::mousePressEvent(QMouseEvent* event) {
    if (!enabled_) {
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton && pressed_) Show(Overlay::Pressed);
    QAbstractButton::mousePressEvent(event);
}

void CDvButtonCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (!enabled_) {
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton) Show(Overlay::None);
    QAbstractButton::mouseReleaseEvent(event);
}

void CDvButtonCtrl::mouseMoveEvent(QMouseEvent* event) {
    if (enabled_ && !hovering_ && hover_ && !(event->buttons() & Qt::LeftButton)) {
        hovering_ = true;
        Show(Overlay::Hover);
    }
    QAbstractButton::mouseMoveEvent(event);
}

void CDvButtonCtrl::leaveEvent(QEvent* event) {
    // Back to the image the button's state calls for (the checked image of a checked button).
    if (overlay_ != Overlay::None) Show(Overlay::None);
    QAbstractButton::leaveEvent(event);
}

}  // namespace kx
