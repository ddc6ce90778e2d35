#pragma once
// The image button. Up to five images by number: normal, pressed (while the left button is
// down), hover (once the mouse moves over it), disabled and checked (shown instead of the
// normal image while checked). The button keeps its own enabled state: while it is off the
// button shows the disabled image and swallows clicks and hovering.
//
// The hovering flag is set the first time the mouse moves over the button and is cleared only
// by the owner (when the mouse moves over the owner itself), so a button shows its hover image
// again only after the mouse has passed over the owner.

#include "controls/SkinIds.h"

#include <QAbstractButton>

namespace kx {

class CDvButtonCtrl : public QAbstractButton {
    Q_OBJECT

public:
    explicit CDvButtonCtrl(QWidget* parent = nullptr);

    // Places the button in `parent` with its command id; always succeeds.
    bool Create(QWidget* parent, int id, const QRect& rect, bool visible = true);
    int ControlId() const { return id_; }

    // Sets the first four images and clears the checked image.
    void SetImages(int normal, int pressed, int hover, int disabled);
    // Sets all five images of a skin set.
    void SetImageSet(const skin::ButtonImages& images);
    void SetCheckedImage(int image);
    void SetChecked(bool checked);
    bool IsChecked() const { return checked_; }
    void SetButtonEnabled(bool enabled);
    bool IsButtonEnabled() const { return enabled_; }
    // Transparent images over the top strip (top-row buttons); the owner's layout mode decides
    // what the strip looks like.
    void SetStripBackground(bool strip);
    void SetLayoutMode(int mode);
    void SetHovering(bool hovering) { hovering_ = hovering; }
    bool IsHovering() const { return hovering_; }

    // The disabled image when not enabled, else the checked image when checked, else normal.
    int CurrentImage() const;
    // The image on the screen now (pressed or hover while those show).
    int ShownImage() const;

    QSize sizeHint() const override;

signals:
    // Emitted with the button's id on every click.
    void command(int id);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    enum class Overlay { None, Pressed, Hover };

    void DrawImage(QPainter& painter, int image) const;
    void Show(Overlay overlay);

    int id_ = 0;
    int normal_ = 0;
    int pressed_ = 0;
    int hover_ = 0;
    int disabled_ = 0;
    int checkedImage_ = 0;
    bool checked_ = false;
    bool enabled_ = true;
    bool strip_ = false;
    bool hovering_ = false;
    int layoutMode_ = 1;
    Overlay overlay_ = Overlay::None;
};

}  // namespace kx
