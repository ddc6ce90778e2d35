#pragma once
// The small sliders of the control bar (play speed and brightness, range 0..100): a short
// track and a round thumb over the background colour. Dragging the thumb moves it; pressing
// beside it pages toward the mouse, repeating while the button is held. Moves come out of the
// slider's ordinary signals (valueChanged, sliderMoved).

#include "controls/ControlConstants.h"

#include <QColor>
#include <QSlider>
#include <QTimer>

namespace kx {

class CDvSimpleSliderCtrl : public QSlider {
    Q_OBJECT

public:
    explicit CDvSimpleSliderCtrl(QWidget* parent = nullptr);
    bool Create(QWidget* parent, int id, const QRect& rect, bool visible = true);
    int ControlId() const { return id_; }

    void SetImages(int track, int thumb);
    void SetBackground(QColor colour);
    void SetMargin(int margin);

    // Left edge of the thumb for the current position; the value under x.
    int ThumbLeft() const;
    int ValueAt(int x) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int ThumbCentre() const;
    void PageTowardPress();

    int id_ = 0;
    int trackImage_ = 0;
    int thumbImage_ = 0;
    QColor background_ = kColorPanelLight;
    int margin_ = kSliderMargin;
    bool dragging_ = false;
    int pressX_ = 0;
    QTimer pageRepeat_;
};

}  // namespace kx
