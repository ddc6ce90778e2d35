#pragma once
// An off-screen surface for one paint: a control draws its whole picture here and copies it to
// the window in one step, so nothing flickers. The surface has the pixel ratio of the device it
// is made for, so drawing stays sharp on high-density screens.

#include <QImage>
#include <QPainter>

#include <memory>

class QPaintDevice;

namespace kx {

class CMemoryDC {
public:
    CMemoryDC() = default;
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;
    ~CMemoryDC();

    // Makes a surface of width × height logical pixels for `reference` (null: ratio 1). Fails
    // when already created or when the size is empty.
    bool Create(const QPaintDevice* reference, int width, int height);
    bool IsCreated() const { return painter_ != nullptr; }

    QPainter& Painter() { return *painter_; }
    // Ends drawing and copies the surface to `target` at (x, y), replacing what was there.
    void CopyTo(QPainter& target, int x = 0, int y = 0);
    // Ends drawing and hands out the picture.
    const QImage& Finish();

private:
    QImage image_;
    std::unique_ptr<QPainter> painter_;
};

}  // namespace kx
