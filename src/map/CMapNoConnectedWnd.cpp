#include "map/CMapNoConnectedWnd.h"

#include "controls/SkinIds.h"

namespace kx {

CMapNoConnectedWnd::CMapNoConnectedWnd(QWidget* parent)
    : CMapPlaceholderWnd(parent, "DvNotConnectedWnd") {}

int CMapNoConnectedWnd::PictureFor(int languageIndex) const {
    return skin::kMapPlaceholders[static_cast<std::size_t>(languageIndex)].noConnection;
}

}  // namespace kx
