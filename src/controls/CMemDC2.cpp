#include "controls/CMemDC2.h"

namespace kx {

CMemDC2::CMemDC2(QPainter& target, const QRect& rect) : target_(target), rect_(rect) {
    if (surface_.Create(target.device(), rect.width(), rect.height()))
        surface_.Painter().translate(-rect.topLeft());
}

CMemDC2::~CMemDC2() { surface_.CopyTo(target_, rect_.left(), rect_.top()); }

}  // namespace kx
