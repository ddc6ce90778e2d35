#include "map/CMapPlaceholderWnd.h"

#include "controls/CMemoryDC.h"
#include "controls/ResourceDrawing.h"
#include "controls/SkinIds.h"

#include <QPainter>

namespace kx {

CMapPlaceholderWnd::CMapPlaceholderWnd(QWidget* parent, const char* windowName)
    : QWidget(parent) {
    setObjectName(QString::fromLatin1(windowName));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool CMapPlaceholderWnd::Create(QWidget* parent, int id, const QRect& rect, bool visible) {
    setParent(parent);
    id_ = id;
    setGeometry(rect);
    setVisible(visible);
    return true;
}

void CMapPlaceholderWnd::SetLanguageIndex(int index) {
    languageIndex_ = index;
    update();
}

int CMapPlaceholderWnd::PictureResource() const {
    if (languageIndex_ < 0 || languageIndex_ >= static_cast<int>(skin::kMapPlaceholders.size()))
        return 0;
    return PictureFor(languageIndex_);
}

void CMapPlaceholderWnd::paintEvent(QPaintEvent*) {
    CMemoryDC surface;
    if (!surface.Create(this, width(), height())) return;
    QPainter& painter = surface.Painter();
    painter.fillRect(rect(), kColorPlaceholder);
    if (const int picture = PictureResource()) {
        const QSize size = ResourceSize(picture);
        DrawPngResource(painter, picture, (width() - size.width()) / 2,
                        (height() - size.height()) / 2);
    }
    QPainter window(this);
    surface.CopyTo(window);
}

}  // namespace kx
