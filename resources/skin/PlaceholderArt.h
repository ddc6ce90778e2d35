#pragma once
// The pictures the map area shows instead of the map: no connection, or no GPS data in the
// recording. Transparent, drawn centred over the placeholder's grey.

class QPainter;

namespace kx::skinart {

void DrawMapPlaceholder(QPainter& painter, bool noConnection, int languageIndex);

}  // namespace kx::skinart
