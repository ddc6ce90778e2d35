#pragma once
// The main window's buttons in their five states, at the sizes the window gives them.

#include "controls/SkinIds.h"

#include <QColor>
#include <QRectF>
#include <QString>

class QPainter;

namespace kx::skinart {

// Draws one state of `face` over the whole button, in logical pixels from (0, 0). Opaque faces
// (skin::ButtonIsBitmap) fill their own background; the others leave it transparent.
void DrawButton(QPainter& painter, skin::ButtonFace face, skin::ButtonState state,
                int languageIndex);

// Text fitted into `box`: `pixelSize` at most, smaller (and at last condensed) when it would
// not fit.
void DrawFittedText(QPainter& painter, const QRectF& box, const QString& text,
                    int languageIndex, double pixelSize, const QColor& colour);

}  // namespace kx::skinart
