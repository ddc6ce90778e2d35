#pragma once
// A one-line (at most three-line) text panel whose content is chosen by its kind, 1 to 16: play
// time and speed, G-sensor read-outs, coordinates, captions, the about box's title and version,
// the loading notices and the card view's counts. The owner writes the values and updates the
// panel; the panel formats them when it paints. Kinds that need a text of the language table
// draw only the background when there is no table; any other kind draws only the background.

#include <QColor>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kx {

struct TextPanelValues {
    std::array<QString, 4> counts;  // all, continuous, event, parking (kinds 12 to 15)
    std::array<QString, 4> sizes;   // in the same order
    bool hasAxisData = false;       // kind 2: numbers when true, dashes when false
    int totalMs = 0;                // kind 1
    int currentMs = 0;              // kind 1
    float playSpeed = 1.0f;         // kind 1
    double x = 0, y = 0, z = 0;     // kind 2, in g
    float latitude = 0, longitude = 0;  // kinds 4 and 6, degrees
};

// One text of a panel: its top-left corner, font height and colour.
struct TextPanelItem {
    QString text;
    int x = 0;
    int y = 0;
    int fontHeight = 13;
    QColor colour;
};

using LabelSource = std::function<std::optional<std::string>(int number)>;

// What a panel of `kind` shows for `values` on a client `clientWidth` wide, with the language
// texts from `label`. Empty when the kind draws only the background.
std::vector<TextPanelItem> TextPanelItems(int kind, const TextPanelValues& values,
                                          int clientWidth, const LabelSource& label);

class CDvTextCtrl : public QWidget {
    Q_OBJECT

public:
    explicit CDvTextCtrl(QWidget* parent = nullptr);
    bool Create(QWidget* parent, int id, const QRect& rect, bool visible = true);
    int ControlId() const { return id_; }

    void SetKind(int kind) { kind_ = kind; }
    int Kind() const { return kind_; }
    void SetBackground(QColor colour) { background_ = colour; }
    QColor Background() const { return background_; }
    TextPanelValues& Values() { return values_; }
    const TextPanelValues& Values() const { return values_; }

    // Draws the panel for a client of `size` at the painter's origin.
    void Paint(QPainter& painter, QSize size) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int id_ = 0;
    int kind_ = 0;
    QColor background_{10, 10, 10};
    TextPanelValues values_;
};

}  // namespace kx
