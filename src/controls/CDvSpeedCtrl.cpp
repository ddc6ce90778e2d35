#include "controls/CDvSpeedCtrl.h"

#include "app/core/ViewerOptions.h"
#include "controls/CMemoryDC.h"
#include "controls/ControlConstants.h"
#include "controls/ResourceDrawing.h"
#include "controls/SkinIds.h"

#include <QPainter>

#include <cmath>

namespace kx {
namespace {

constexpr int kDigitWidth = 10;
constexpr int kDigitHeight = 18;
constexpr int kPointWidth = 6;
constexpr int kBackgroundWidth = 124;
constexpr int kBackgroundHeight = 38;
// Four digits of tenths: 999.9 is the most the display shows.
constexpr int kMostTenths = 9999;

void DrawGlyph(QPainter& p, int resource, int width, int x) {
    DrawBitmapResource(kDigitHeight, width, p, resource, x, kSpeedDigitY, true, kColorSpeedKey);
}

void DrawDigit(QPainter& p, int digit, int x) {
    DrawGlyph(p, skin::kSpeedDigit0 + digit, kDigitWidth, x);
}

void DrawPoint(QPainter& p) { DrawGlyph(p, skin::kSpeedPoint, kPointWidth, kSpeedPointX); }

}  // namespace

CDvSpeedCtrl::CDvSpeedCtrl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setObjectName(kNameSpeedWnd);
}

bool CDvSpeedCtrl::Create(QWidget* parent, int id, const QRect& rect, bool visible) {
    setParent(parent);
    id_ = id;
    setGeometry(rect);
    setVisible(visible);
    return true;
}

void CDvSpeedCtrl::Redraw() { repaint(); }

void CDvSpeedCtrl::Paint(QPainter& p, double speed, bool miles) {
    DrawBitmapResource(kBackgroundHeight, kBackgroundWidth, p,
                       miles ? skin::kSpeedBackgroundMph : skin::kSpeedBackgroundKmh, 0, 0, false,
                       QColor());
    // Tenths, truncated toward zero; a negative or unreadable speed shows as 0.0 and one beyond
    // the four places as 999.9.
    const double tenths = speed * 10.0;
    const int n = std::isfinite(tenths) && tenths > 0
                      ? static_cast<int>(std::min(tenths, static_cast<double>(kMostTenths)))
                      : 0;
    if (n < 10) {
        DrawDigit(p, 0, kSpeedDigitX[2]);
        DrawPoint(p);
        DrawDigit(p, n, kSpeedDigitX[3]);
        return;
    }
    const QString text = QString::asprintf("%4d", n);
    bool started = false;
    for (int place = 0; place < 4; ++place) {
        const QChar c = text.at(place);
        if (!started && (c == ' ' || c == '0')) continue;
        started = true;
        DrawDigit(p, c.digitValue(), kSpeedDigitX[place]);
        DrawPoint(p);
    }
}

void CDvSpeedCtrl::paintEvent(QPaintEvent*) {
    CMemoryDC surface;
    if (!surface.Create(this, width(), height())) return;
    Paint(surface.Painter(), speed_, TheViewerOptions().speedInMiles);
    QPainter window(this);
    surface.CopyTo(window);
}

}  // namespace kx
