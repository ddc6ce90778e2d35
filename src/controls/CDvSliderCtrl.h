#pragma once
// The seek bar: a track image stretched between two margins, the played part filled with a
// pattern, and a thumb. The range is the recording's length in milliseconds. Pressing,
// dragging and releasing the left button seek the media graph to the position under the mouse,
// x × range maximum / client width; the bar ignores the mouse while the main window is busy.

#include "controls/ControlConstants.h"

#include <QColor>
#include <QSlider>

#include <cstdint>

namespace kx {

class IMainWindowLink;
class ISeekTarget;

class CDvSliderCtrl : public QSlider {
    Q_OBJECT

public:
    explicit CDvSliderCtrl(QWidget* parent = nullptr);
    bool Create(QWidget* parent, int id, const QRect& rect, bool visible = true);
    int ControlId() const { return id_; }

    void SetImages(int track, int thumb, int fill);
    void SetBackground(QColor colour);
    void SetMargin(int margin);
    void SetMainWindowLink(IMainWindowLink* link) { link_ = link; }
    void SetSeekTarget(ISeekTarget* target) { seekTarget_ = target; }
    bool IsDragging() const { return dragging_; }

    // The position under x, in range units, kept within the range.
    int PositionAt(int x) const;
    // Left edge of the thumb for the current position.
    int ThumbLeft() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool Busy() const;
    void SeekTo(int x);

    int id_ = 0;
    int trackImage_ = 0;
    int thumbImage_ = 0;
    int fillImage_ = 0;
    QColor background_ = kColorBackground;
    int margin_ = kSliderMargin;
    bool dragging_ = false;
    IMainWindowLink* link_ = nullptr;
    ISeekTarget* seekTarget_ = nullptr;
};

}  // namespace kx
