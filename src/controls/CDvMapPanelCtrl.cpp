#include "controls/CDvMapPanelCtrl.h"

#include "controls/CMemoryDC.h"

#include <QCoreApplication>
#include <QPainter>
#include <QResizeEvent>

namespace kx {

CDvMapPanelCtrl::CDvMapPanelCtrl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setObjectName(kNameMapPanel);
}

bool CDvMapPanelCtrl::Create(QWidget* parent, int id, const QRect& rect, bool visible) {
    setParent(parent);
    id_ = id;
    setGeometry(rect);
    setVisible(visible);
    return true;
}

void CDvMapPanelCtrl::MoveMapView(QWidget* view, CDvMapPanelCtrl* host) {
    if (!view || !host) return;
    if (QWidget* previous = view->parentWidget()) {
        SetHostedEvent detach(nullptr);
        QCoreApplication::sendEvent(previous, &detach);
    }
    const bool shown = !view->isHidden();
    view->setParent(host);
    host->SetHosted(view);
    view->setGeometry(host->rect());
    if (shown) view->show();
}

bool CDvMapPanelCtrl::event(QEvent* event) {
    if (event->type() == SetHostedEvent::kType) {
        SetHosted(static_cast<SetHostedEvent*>(event)->Hosted());
        return true;
    }
    return QWidget::event(event);
}

void CDvMapPanelCtrl::paintEvent(QPaintEvent*) {
    CMemoryDC surface;
    if (!surface.Create(this, width(), height())) return;
    surface.Painter().fillRect(rect(), kColorPanel);
    QPainter window(this);
    surface.CopyTo(window);
}

void CDvMapPanelCtrl::resizeEvent(QResizeEvent* event) {
    if (hosted_) hosted_->setGeometry(0, 0, event->size().width(), event->size().height());
    QWidget::resizeEvent(event);
}

}  // namespace kx
