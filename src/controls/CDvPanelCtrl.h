#pragma once
// A plain black container for buttons. The commands of the buttons inside come out of the
// panel's own command signal, so buttons inside panels command the main window like the
// others.

#include <QWidget>

namespace kx {

class CDvPanelCtrl : public QWidget {
    Q_OBJECT

public:
    explicit CDvPanelCtrl(QWidget* parent = nullptr);
    bool Create(QWidget* parent, int id, const QRect& rect, bool visible = true);
    int ControlId() const { return id_; }

signals:
    void command(int id);

protected:
    void paintEvent(QPaintEvent* event) override;
    void childEvent(QChildEvent* event) override;

private:
    int id_ = 0;
};

}  // namespace kx
