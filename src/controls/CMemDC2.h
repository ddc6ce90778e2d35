#pragma once
// An off-screen surface bound to a target painter and a rectangle of it: everything drawn
// through it (in the target's coordinates) lands in the surface, and the surface is copied to
// the rectangle when it goes out of scope.

#include "controls/CMemoryDC.h"

#include <QRect>

namespace kx {

class CMemDC2 {
public:
    CMemDC2(QPainter& target, const QRect& rect);
    CMemDC2(const CMemDC2&) = delete;
    CMemDC2& operator=(const CMemDC2&) = delete;
    ~CMemDC2();

    QPainter& Painter() { return surface_.Painter(); }
    bool IsValid() const { return surface_.IsCreated(); }
    const QRect& Rect() const { return rect_; }

private:
    QPainter& target_;
    QRect rect_;
    CMemoryDC surface_;
};

}  // namespace kx
