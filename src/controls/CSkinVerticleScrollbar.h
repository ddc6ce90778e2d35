#pragma once
// The playlist's scrollbar, drawn from images: caps, arrows, a stretched track and a thumb of
// fixed height. It sits beside the list (as the list's sibling) and drives it with the list's
// ordinary scroll requests: arrows a line (repeating while held), the track a page, the thumb
// follows the mouse and scrolls the list along.

#include <QTimer>
#include <QWidget>

namespace kx {

class CDvListCtrl;

class CSkinVerticleScrollbar : public QWidget {
    Q_OBJECT

public:
    explicit CSkinVerticleScrollbar(QWidget* parent = nullptr);

    void Bind(CDvListCtrl* list) { list_ = list; }
    CDvListCtrl* List() const { return list_; }

    // Moves the thumb to the list's scroll position, within the track, and repaints.
    void UpdateThumb();
    int ThumbTop() const { return thumbTop_; }
    bool IsDragging() const { return dragging_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class Area { None, UpArrow, DownArrow, Thumb, TrackAbove, TrackBelow };

    Area HitTest(int y) const;
    double Scale() const;
    int ScrollLimit() const;
    void KeepThumbInTrack();
    void Repeat();

    CDvListCtrl* list_ = nullptr;
    bool upPressed_ = false;
    bool downPressed_ = false;
    bool dragging_ = false;
    int thumbTop_ = 37;
    int unit_ = 18;
    int topOffset_ = 36;
    double scale_ = 0;
    QTimer repeat_;
};

}  // namespace kx
