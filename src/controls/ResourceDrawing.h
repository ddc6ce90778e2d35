#pragma once
// Drawing the skin's images by number, as every owner-drawn control does: a plain copy of
// (part of) an opaque image, a copy that leaves out one key colour, and a PNG drawn with its
// alpha. A number the skin does not have draws nothing and answers false. Coordinates are
// logical pixels; the image drawn for a device pixel ratio of 2 is the double-size one.

#include <QColor>
#include <QRect>
#include <QSize>

class QPainter;

namespace kx {

// Copies the top-left width × height pixels of image `resource` to (x, y). With `transparent`
// the pixels of `key` are left out.
bool DrawBitmapResource(int height, int width, QPainter& target, int resource, int x, int y,
                        bool transparent, QColor key);

// Plain copy of the width × height rectangle taken at (sourceX, sourceY) of `resource` to
// (x, y).
bool BlitBitmapPart(QPainter& target, int resource, int x, int y, int width, int height,
                    int sourceX, int sourceY);

// Copies `source` (logical pixels of the image) stretched over `destination`, pixels repeated
// rather than smoothed.
bool StretchBitmapPart(QPainter& target, int resource, const QRect& destination,
                       const QRect& source);

// Draws the PNG image `resource` at (x, y), its own size, with its alpha.
bool DrawPngResource(QPainter& target, int resource, int x = 0, int y = 0);

// The logical size of `resource`; empty when the skin has no such image.
QSize ResourceSize(int resource);

}  // namespace kx
