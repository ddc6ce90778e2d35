#pragma once
// Identifiers, colours, sizes and window messages of the skinned controls, named once here.

#include <QColor>

namespace kx {

// ---- Private window messages ------------------------------------------------------------------
// Hand the map view to a host panel (first parameter the hosted window, 0 detaches).
inline constexpr int UM_SETHOSTED = 2025;
// Volume bar to its parent after a click: the new level 0..10.
inline constexpr int UM_VOLUMELEVEL = 2125;

// ---- Control identifiers ----------------------------------------------------------------------
inline constexpr int kIdGsensorGraph = 1001;
inline constexpr int kIdVolumeBar = 1002;
inline constexpr int kIdSpeedDisplay = 1003;
inline constexpr int kIdFrontScreen = 1004;
inline constexpr int kIdRearScreen = 1005;
inline constexpr int kIdMapPanel = 1006;
inline constexpr int kIdSeekBar = 1026;
inline constexpr int kIdSpeedSlider = 1033;
inline constexpr int kIdBrightnessSlider = 1034;
// The scrollbar beside the playlist.
inline constexpr int kIdListScrollbar = 0xFFFF;

// Window names the controls are created with (kept as object names).
inline constexpr char kNameSpeedWnd[] = "DvSpeedWnd";
inline constexpr char kNameTextWnd[] = "DvTextWnd";
inline constexpr char kNameGsensorWnd[] = "DvGsensorWnd";
inline constexpr char kNameVolumeWnd[] = "DvVolumeWnd";
inline constexpr char kNameScreenWnd[] = "DvScreenWnd";
inline constexpr char kNameMapPanel[] = "DvMapPanelCtrl";

// ---- Colours ----------------------------------------------------------------------------------
inline constexpr QColor kColorBackground{10, 10, 10};
inline constexpr QColor kColorPanel{20, 20, 20};
inline constexpr QColor kColorPanelLight{30, 30, 30};
inline constexpr QColor kColorLine{100, 100, 100};
inline constexpr QColor kColorWhite{255, 255, 255};
inline constexpr QColor kColorText{200, 200, 200};
// The strip drawn behind transparent top-row buttons before the tile piece lands on it.
inline constexpr QColor kColorStripTop{80, 80, 80};

// G-sensor graph: grid, labels and the three axes (the axis read-outs use the same colours).
inline constexpr QColor kColorGrid{120, 120, 120};
inline constexpr QColor kColorAxisX{255, 100, 0};
inline constexpr QColor kColorAxisY{255, 255, 0};
inline constexpr QColor kColorAxisZ{0, 255, 0};

// Speed digits are keyed out on white.
inline constexpr QColor kColorSpeedKey{255, 255, 255};

// Playlist rows.
inline constexpr QColor kColorRowEven{70, 70, 70};
inline constexpr QColor kColorRowOdd{50, 50, 50};
inline constexpr QColor kColorRowMarked{0, 128, 128};
inline constexpr QColor kColorRowSelected{128, 128, 0};
inline constexpr QColor kColorRowText{180, 180, 180};
inline constexpr QColor kColorRowMarkedText{200, 200, 200};
inline constexpr QColor kColorRowSelectedText{20, 20, 20};
inline constexpr QColor kColorListBackground{10, 10, 10};
inline constexpr QColor kColorHeader{30, 30, 30};
inline constexpr QColor kColorScrollbarFill{74, 82, 107};

// ---- Geometry ---------------------------------------------------------------------------------
// G-sensor graph.
inline constexpr int kGsensorColumns = 12;
inline constexpr int kGsensorLeftMargin = 20;
inline constexpr int kGsensorRightMargin = 10;
inline constexpr int kGsensorPlotTop = 10;
inline constexpr int kGsensorBottomInset = 5;
inline constexpr double kGsensorScale = 0.0315;  // per stored unit, not the read-outs' 1/32

// Speed display: digits at the place of thousands, hundreds, tens and ones of tenths.
inline constexpr int kSpeedDigitX[4] = {20, 32, 44, 60};
inline constexpr int kSpeedPointX = 55;
inline constexpr int kSpeedDigitY = 11;

// Sliders: inset of the track on both sides.
inline constexpr int kSliderMargin = 15;

// Volume bar.
inline constexpr int kVolumeLevels = 10;

// Playlist scrollbar: image block width and height, and the height of the two blocks above the
// track.
inline constexpr int kScrollUnit = 18;
inline constexpr int kScrollTopOffset = 36;
inline constexpr int kScrollRepeatDelayMs = 250;
inline constexpr int kScrollRepeatMs = 50;

// Font heights (pixel heights of the "Dotum" face).
inline constexpr int kFontGraphLabel = 10;
inline constexpr int kFontList = 13;

}  // namespace kx
