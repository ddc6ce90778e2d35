#pragma once
// The placeholder for a recording without GPS records.

#include "map/CMapPlaceholderWnd.h"

namespace kx {

inline constexpr int kIdMapNoData = 1011;

class CMapNoDataWnd : public CMapPlaceholderWnd {
    Q_OBJECT

public:
    explicit CMapNoDataWnd(QWidget* parent = nullptr);

protected:
    int PictureFor(int languageIndex) const override;
};

}  // namespace kx
