#include "map/CMapNoDataWnd.h"

#include "controls/SkinIds.h"

namespace kx {

CMapNoDataWnd::CMapNoDataWnd(QWidget* parent) : CMapPlaceholderWnd(parent, "DvMapNoDataWnd") {}

int CMapNoDataWnd::PictureFor(int languageIndex) const {
    return skin::kMapPlaceholders[static_cast<std::size_t>(languageIndex)].noData;
}

}  // namespace kx
