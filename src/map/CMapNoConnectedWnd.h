#pragma once
// The placeholder for a recording with GPS records while the computer is offline.

#include "map/CMapPlaceholderWnd.h"

namespace kx {

inline constexpr int kIdMapNoConnection = 1012;

class CMapNoConnectedWnd : public CMapPlaceholderWnd {
    Q_OBJECT

public:
    explicit CMapNoConnectedWnd(QWidget* parent = nullptr);

protected:
    int PictureFor(int languageIndex) const override;
};

}  // namespace kx
