#pragma once
// The ten-step volume bar: the empty bar image with the first level × (width / 10) pixels of
// the full bar over it. A click sets the level under the mouse and reports it with
// volumeLevelChanged (UM_VOLUMELEVEL). While the sound is muted the owner has the bar drawn
// empty without changing its level.

#include <QWidget>

namespace kx {

class CDvVolumeCtrl : public QWidget {
    Q_OBJECT

public:
    explicit CDvVolumeCtrl(QWidget* parent = nullptr);
    bool Create(QWidget* parent, int id, const QRect& rect, bool visible = true);
    int ControlId() const { return id_; }

    int Level() const { return level_; }
    // Stores a level (kept within 0..10) and shows it.
    void SetLevel(int level);
    // Shows the stored level again (after DrawMuted).
    void Redraw();
    // Shows level 0 and keeps the stored level, until the next SetLevel, Redraw or click.
    void DrawMuted();
    bool IsDrawnMuted() const { return drawnMuted_; }

    // The level a click at x sets on a bar `width` pixels wide.
    static int LevelAt(int x, int width);

signals:
    // UM_VOLUMELEVEL: the level a click set, 0..10.
    void volumeLevelChanged(int level);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int id_ = 0;
    int level_ = 5;
    bool drawnMuted_ = false;
};

}  // namespace kx
