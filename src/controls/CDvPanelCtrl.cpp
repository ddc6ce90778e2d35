#include "controls/CDvPanelCtrl.h"

#include "controls/CDvButtonCtrl.h"

#include <QChildEvent>
#include <QPaintEvent>
#include <QPainter>

namespace kx {

CDvPanelCtrl::CDvPanelCtrl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool CDvPanelCtrl::Create(QWidget* parent, int id, const QRect& rect, bool visible) {
    setParent(parent);
    id_ = id;
    setGeometry(rect);
    setVisible(visible);
    return true;
}

void CDvPanelCtrl::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(event->rect(), Qt::black);
}

void CDvPanelCtrl::childEvent(QChildEvent* event) {
    // A child is fully built only once it is polished (on its first show, or at once when a
    // polished button moves in); that is when its command can be passed on.
    if (event->type() == QEvent::ChildPolished) {
        if (auto* button = qobject_cast<CDvButtonCtrl*>(event->child())) {
            connect(button, &CDvButtonCtrl::command, this, &CDvPanelCtrl::command,
                    Qt::UniqueConnection);
        }
    }
    QWidget::childEvent(event);
}

}  // namespace kx
