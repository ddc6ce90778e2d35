#pragma once
// Numbers of the skin's images. The numbers the instruments, sliders, scrollbar, map window and
// card view use are fixed; the buttons of the main window take theirs from ButtonImageSet below,
// which is also how the skin generator learns what to draw. Plain C++: the generator and the
// tests read this without a widget.

#include <array>

namespace kx::skin {

// ---- Fixed images -----------------------------------------------------------------------------
inline constexpr int kTopTile = 1057;            // 100 x 33, tiled along the window's top edge
inline constexpr int kSeekTrack = 1034;          // 547 x 9
inline constexpr int kSeekThumb = 1036;          // 11 x 22
inline constexpr int kSeekFill = 1055;           // 3 x 7, tiled over the played part
inline constexpr int kSmallTrack = 1040;         // 66 x 9
inline constexpr int kSmallThumb = 1042;         // 13 x 13, drawn from its 11 x 13 piece at x 1
inline constexpr int kVolumeEmpty = 20001;       // 70 x 21
inline constexpr int kVolumeFull = 20002;        // 70 x 21
inline constexpr int kSpeedBackgroundKmh = 20011;  // 124 x 38
inline constexpr int kSpeedBackgroundMph = 20053;  // 124 x 38
inline constexpr int kSpeedPoint = 20012;        // 6 x 18
inline constexpr int kSpeedDigit0 = 20014;       // 10 x 18 each, digits 0..9 at 20014..20023
inline constexpr int kScrollTopCap = 162;        // 18 x 18
inline constexpr int kScrollUpArrow = 163;       // 18 x 18
inline constexpr int kScrollTrack = 164;         // 18 x 1
inline constexpr int kScrollDownArrow = 165;     // 18 x 18
inline constexpr int kScrollBottomCap = 166;     // 18 x 18
inline constexpr int kScrollThumb = 167;         // 18 x 18
inline constexpr int kMapCloseNormal = 157;      // 30 x 24, the floating map window's Close
inline constexpr int kMapCloseHover = 158;
inline constexpr int kMapClosePressed = 159;
inline constexpr int kOkNormal = 1094;           // 83 x 32, the card view's OK
inline constexpr int kOkPressed = 1095;
inline constexpr int kAppIcon = 197;             // 256 x 256

// Map placeholders (PNG with alpha, drawn centred over RGB(51, 51, 51)) by language index.
struct PlaceholderPair {
    int noConnection;
    int noData;
};
inline constexpr std::array<PlaceholderPair, 12> kMapPlaceholders = {{
    {190, 191}, {155, 148}, {1118, 1119}, {1141, 1142}, {1302, 1303}, {1256, 1257},
    {1187, 1188}, {1210, 1211}, {1279, 1280}, {1233, 1234}, {1325, 1326}, {1164, 1165},
}};
inline constexpr int kPlaceholderWidth = 240;
inline constexpr int kPlaceholderHeight = 150;

// ---- Buttons of the main window ---------------------------------------------------------------
enum class ButtonFace {
    // top row (transparent images over the top strip)
    Open, Merge, Capture, Print, Zoom, Save, Setting, About, Min, Max, Close,
    // control bar (opaque images on the control band)
    Prev, Rewind, Play, Pause, Forward, Next, Speed, Bright, Sound, Muted,
    // map area, channel row, list area (transparent images over the background)
    Map, RearMirror,
    // language-dependent labels
    Front, Rear, BothChannels, KindAll, KindEvent, KindNormal, KindParking,
};
inline constexpr int kButtonFaceCount = static_cast<int>(ButtonFace::KindParking) + 1;
inline constexpr int kFirstLocalFace = static_cast<int>(ButtonFace::Front);
inline constexpr int kLanguageCount = 12;
inline constexpr int kKoreanLanguage = 1;

enum class ButtonState { Normal, Hover, Pressed, Disabled, Checked };
inline constexpr int kButtonStateCount = 5;

struct ButtonImages {
    int normal = 0;
    int pressed = 0;
    int hover = 0;
    int disabled = 0;
    int checked = 0;
};

struct ButtonSize {
    int width;
    int height;
};

constexpr ButtonSize ButtonFaceSize(ButtonFace face) {
    switch (face) {
        case ButtonFace::Open: case ButtonFace::Merge: case ButtonFace::Capture:
        case ButtonFace::Print: case ButtonFace::Zoom: case ButtonFace::Save:
        case ButtonFace::Setting: case ButtonFace::About:
            return {32, 31};
        case ButtonFace::Min: case ButtonFace::Max: case ButtonFace::Close:
            return {30, 24};
        case ButtonFace::Prev: case ButtonFace::Rewind: case ButtonFace::Play:
        case ButtonFace::Pause: case ButtonFace::Forward: case ButtonFace::Next:
        case ButtonFace::Map:
            return {32, 32};
        case ButtonFace::Speed: case ButtonFace::Bright: case ButtonFace::Sound:
        case ButtonFace::Muted:
            return {24, 24};
        case ButtonFace::RearMirror:
            return {63, 19};
        case ButtonFace::Front: case ButtonFace::Rear: case ButtonFace::BothChannels:
            return {43, 19};
        case ButtonFace::KindAll: case ButtonFace::KindEvent: case ButtonFace::KindNormal:
        case ButtonFace::KindParking:
            return {43, 23};
    }
    return {0, 0};
}

// Top-row buttons sit on the top strip: their owner turns on the strip background.
constexpr bool ButtonOnTopStrip(ButtonFace face) {
    return static_cast<int>(face) <= static_cast<int>(ButtonFace::Close);
}

// Control-bar buttons are opaque bitmaps painted with the control band behind them; the six
// transport buttons at the band's top edge carry its frame line in their first row.
constexpr bool ButtonIsBitmap(ButtonFace face) {
    return static_cast<int>(face) >= static_cast<int>(ButtonFace::Prev) &&
           static_cast<int>(face) <= static_cast<int>(ButtonFace::Muted);
}
constexpr bool ButtonOnBandEdge(ButtonFace face) {
    return static_cast<int>(face) >= static_cast<int>(ButtonFace::Prev) &&
           static_cast<int>(face) <= static_cast<int>(ButtonFace::Next);
}

// Buttons that show a toggle state have a checked image.
constexpr bool ButtonHasChecked(ButtonFace face) {
    return face == ButtonFace::RearMirror || static_cast<int>(face) >= kFirstLocalFace;
}

constexpr bool ButtonIsLocalized(ButtonFace face, int languageIndex) {
    return static_cast<int>(face) >= kFirstLocalFace ||
           (face == ButtonFace::RearMirror && languageIndex == kKoreanLanguage);
}

// Image number of one state of one face: 3000 + face × 10 + state for the shared sets,
// 4000 + language × 100 + (face − Front) × 10 + state for the per-language ones (the Korean
// rear-mirror set uses slot 7). 0 when the face has no image for that state.
constexpr int ButtonImageNumber(ButtonFace face, ButtonState state, int languageIndex) {
    if (state == ButtonState::Checked && !ButtonHasChecked(face)) return 0;
    const int s = static_cast<int>(state);
    if (languageIndex < 0 || languageIndex >= kLanguageCount) languageIndex = 0;
    if (!ButtonIsLocalized(face, languageIndex)) return 3000 + static_cast<int>(face) * 10 + s;
    const int slot = face == ButtonFace::RearMirror ? 7 : static_cast<int>(face) - kFirstLocalFace;
    return 4000 + languageIndex * 100 + slot * 10 + s;
}

// The images an owner hands to a button of `face` for the language `languageIndex`
// (an index outside 0..11 takes the English set).
constexpr ButtonImages ButtonImageSet(ButtonFace face, int languageIndex) {
    return {ButtonImageNumber(face, ButtonState::Normal, languageIndex),
            ButtonImageNumber(face, ButtonState::Pressed, languageIndex),
            ButtonImageNumber(face, ButtonState::Hover, languageIndex),
            ButtonImageNumber(face, ButtonState::Disabled, languageIndex),
            ButtonImageNumber(face, ButtonState::Checked, languageIndex)};
}

}  // namespace kx::skin
