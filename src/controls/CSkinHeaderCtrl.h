#pragma once
// The playlist's column headings: dark cells with white titles, columns 0 and 3 left aligned,
// the others centred.

#include <QHeaderView>

namespace kx {

class CSkinHeaderCtrl : public QHeaderView {
    Q_OBJECT

public:
    explicit CSkinHeaderCtrl(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

}  // namespace kx
