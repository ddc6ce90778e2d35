#pragma once
// The skin's fixed images: window top tile, speed display, volume bar, sliders, scrollbar
// blocks, the map window's Close, the card view's OK and the program icon. Each draws in
// logical pixels from (0, 0) at the size its number stands for (controls/SkinIds.h).

class QPainter;

namespace kx::skinart {

void DrawTopTile(QPainter& painter);
void DrawSpeedBackground(QPainter& painter, bool miles);
// A digit 0..9, or the decimal point for -1, in its colour on nothing: the generator keys the
// untouched pixels to white.
void DrawSpeedGlyph(QPainter& painter, int digit);
void DrawVolumeBar(QPainter& painter, bool full);
void DrawSeekTrack(QPainter& painter);
void DrawSeekFill(QPainter& painter);
void DrawSeekThumb(QPainter& painter);
void DrawSmallTrack(QPainter& painter);
void DrawSmallThumb(QPainter& painter);
// Scrollbar blocks by number (162 top cap .. 167 thumb).
void DrawScrollBlock(QPainter& painter, int number);
enum class PushState { Normal, Hover, Pressed };
void DrawMapClose(QPainter& painter, PushState state);
void DrawOkButton(QPainter& painter, PushState state);
void DrawAppIcon(QPainter& painter);

}  // namespace kx::skinart
