#pragma once
// Where every part of the main window goes for a client size, in the full layout (panels, map
// and list) and in the video-only layout. Pure arithmetic, so that it can be checked without a
// window; the main window applies the result to its widgets in one step.

namespace kx {

struct LayoutRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const LayoutRect&) const = default;
};

// A widget's place: top-left corner and size.
struct LayoutPlace {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const LayoutPlace&) const = default;
};

enum class LayoutMode { Full = 1, VideoOnly = 2 };
enum class ChannelView { Front = 1, Rear = 2, Both = 3 };

// The minimum and initial client size of the main window.
inline constexpr int kMinimumWidth = 1034;
inline constexpr int kMinimumHeight = 742;

// The largest 16:9 picture inside `area`, centred (a zero-sized rectangle for an empty area).
LayoutRect FitSixteenByNine(const LayoutRect& area);

// Where the two screens go for a channel view: a hidden screen gets a zero-sized place at the
// area's top-left corner.
struct ScreenPlaces {
    LayoutRect front, rear;
    bool frontShown = false, rearShown = false;
};
ScreenPlaces PlaceScreens(const LayoutRect& video, ChannelView view);

struct ViewerLayout {
    LayoutRect panel, video, bar;
    LayoutRect mapArea, listArea;  // full layout only
    // Top row (full layout), the window buttons, and the layout toggle.
    LayoutPlace open, merge, capture, print, zoom, save, setting, about, min, max, close;
    LayoutPlace gsensor, text1, text2, seek;
    LayoutPlace text3, mapButton, mapPanel, text4;
    LayoutPlace text7, kindAll, kindEvent, kindNormal, kindParking, list;
    LayoutPlace front, rear, both, rearMirror;
    LayoutPlace prev, rewind, play, forward, next, speedButton, speedSlider, brightButton,
        brightSlider, mute, volume, speedDisplay;
};

ViewerLayout ComputeLayout(int width, int height, LayoutMode mode);

}  // namespace kx
