#pragma once
// Where the one map view sits: docked in the main window's map panel (the start) or in the
// floating map window.

namespace kx {

enum class MapMode { Docked = 1, Floating = 2 };

inline MapMode& TheMapMode() {
    static MapMode mode = MapMode::Docked;
    return mode;
}

}  // namespace kx
