#pragma once
// The skin's icons: line drawings on a 24 × 24 grid (2-unit strokes, round ends), scaled into
// whatever box a button gives them, so they stay sharp at every pixel ratio.

#include <QColor>
#include <QRectF>

class QPainter;

namespace kx::skinart {

enum class Icon {
    Folder, Download, Camera, Printer, Magnifier, Expand, Gear, Info,
    Minimize, Maximize, Close,
    SkipBack, Rewind, Play, Pause, FastForward, SkipForward,
    Gauge, Sun, Speaker, SpeakerMuted, PopOut, Mirror,
    MapPinOff, WifiOff,
};

void DrawIcon(QPainter& painter, Icon icon, const QRectF& box, const QColor& colour);

}  // namespace kx::skinart
