#pragma once
// Colours of the skin's artwork: the window's dark greys, one teal accent (the playlist's
// marked-row colour), and the greys an icon takes in each button state.

#include <QColor>

namespace kx::skinart {

inline constexpr QColor kBackground{10, 10, 10};   // window background
inline constexpr QColor kPanel{20, 20, 20};        // instrument faces
inline constexpr QColor kBand{30, 30, 30};         // control band, map window, header
inline constexpr QColor kLine{100, 100, 100};      // frames
inline constexpr QColor kGroove{48, 48, 48};       // slider and scrollbar grooves
inline constexpr QColor kScrollFace{22, 22, 22};   // scrollbar blocks

inline constexpr QColor kIcon{196, 196, 196};
inline constexpr QColor kIconHover{255, 255, 255};
inline constexpr QColor kIconDisabled{78, 78, 78};
inline constexpr QColor kPlateHover{52, 52, 52};
inline constexpr QColor kOutline{84, 84, 84};
inline constexpr QColor kOutlineDisabled{44, 44, 44};

inline constexpr QColor kAccent{0, 150, 150};
inline constexpr QColor kAccentLight{0, 190, 190};
inline constexpr QColor kAccentPressed{0, 112, 112};
inline constexpr QColor kThumb{226, 226, 226};

inline constexpr QColor kDigit{240, 240, 240};     // never pure white: white is the digit key
inline constexpr QColor kUnit{150, 150, 150};

}  // namespace kx::skinart
