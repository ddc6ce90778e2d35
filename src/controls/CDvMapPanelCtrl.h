#pragma once
// A host for one child window, the map view: it keeps the hosted window at its own client size.
// The map view moves between hosts with MoveMapView, which first tells the view's current
// parent that it no longer hosts it (UM_SETHOSTED with none), so a panel that gave the view
// away no longer resizes it.

#include "controls/ControlConstants.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace kx {

// UM_SETHOSTED as an event: any widget may receive it; host panels take `hosted` as their
// hosted window (null detaches).
class SetHostedEvent : public QEvent {
public:
    static constexpr QEvent::Type kType = static_cast<QEvent::Type>(QEvent::User + UM_SETHOSTED);
    explicit SetHostedEvent(QWidget* hosted) : QEvent(kType), hosted_(hosted) {}
    QWidget* Hosted() const { return hosted_; }

private:
    QWidget* hosted_;
};

class CDvMapPanelCtrl : public QWidget {
    Q_OBJECT

public:
    explicit CDvMapPanelCtrl(QWidget* parent = nullptr);
    bool Create(QWidget* parent, int id, const QRect& rect, bool visible = true);
    int ControlId() const { return id_; }

    void SetHosted(QWidget* hosted) { hosted_ = hosted; }
    QWidget* Hosted() const { return hosted_; }

    // Makes `host` the parent of `view`, its hosted window, and sizes the view to the host's
    // client area; the view keeps its visibility.
    static void MoveMapView(QWidget* view, CDvMapPanelCtrl* host);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int id_ = 0;
    QPointer<QWidget> hosted_;
};

}  // namespace kx
