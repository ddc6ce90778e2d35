#include "app/core/ViewerLayout.h"

#include <algorithm>

namespace kx {

namespace {

LayoutPlace At(int x, int y, int width, int height) {
    return {x, y, std::max(0, width), std::max(0, height)};
}

}  // namespace

LayoutRect FitSixteenByNine(const LayoutRect& area) {
    const int w = std::max(0, area.Width());
    const int h = std::max(0, area.Height());
    const int fullWidthHeight = w * 9 / 16;
    if (fullWidthHeight < h) {
        const int top = area.top + (h - fullWidthHeight) / 2;
        return {area.left, top, area.left + w, top + fullWidthHeight};
    }
    const int width = h * 16 / 9;
    const int left = area.left + (w - width) / 2;
    return {left, area.top, left + width, area.top + h};
}

ScreenPlaces PlaceScreens(const LayoutRect& video, ChannelView view) {
    ScreenPlaces places;
    const LayoutRect hidden{video.left, video.top, video.left, video.top};
    switch (view) {
        case ChannelView::Front:
            places.front = FitSixteenByNine(video);
            places.rear = hidden;
            places.frontShown = true;
            break;
        case ChannelView::Rear:
            places.front = hidden;
            places.rear = FitSixteenByNine(video);
            places.rearShown = true;
            break;
        case ChannelView::Both: {
            const int half = (video.right - video.left) / 2;
            places.front = FitSixteenByNine({video.left, video.top, video.left + half, video.bottom});
            places.rear = FitSixteenByNine({video.left + half, video.top, video.left + 2 * half, video.bottom});
            places.frontShown = places.rearShown = true;
            break;
        }
    }
    return places;
}

ViewerLayout ComputeLayout(int W, int H, LayoutMode mode) {
    ViewerLayout l;
    if (mode == LayoutMode::Full) {
        l.panel = {7, H - 259, W - 297, H - 70};
        l.video = {12, 50, W - 302, H - 271};
        l.bar = {7, H - 63, W - 302, H - 7};
        const int extent = H - 57;
        const int mapBottom = 50 + extent * 2 / 5;
        l.mapArea = {W - 287, 50, W - 7, mapBottom};
        l.listArea = {W - 287, mapBottom, W - 7, mapBottom + extent * 3 / 5};
    } else {
        l.panel = {0, H - 144, W, H - 70};
        l.video = {0, 0, W, H - 156};
        l.bar = {7, H - 63, W, H - 7};
    }

    l.open = At(9, 9, 32, 31);
    l.merge = At(53, 9, 32, 31);
    l.capture = At(97, 9, 32, 31);
    l.print = At(141, 9, 32, 31);
    l.zoom = At(185, 9, 32, 31);
    l.save = mode == LayoutMode::Full ? At(229, 9, 32, 31) : At(l.bar.right - 50, l.bar.top - 3, 32, 31);
    l.setting = At(273, 9, 32, 31);
    l.about = At(317, 9, 32, 31);
    l.close = At(W - 51, 9, 30, 24);
    l.max = At(W - 95, 9, 30, 24);
    l.min = At(W - 139, 9, 30, 24);

    // The graph fills the panel below the time text and the seek bar; the seek bar's track (inset
    // 15 pixels at both ends) runs over the graph's time axis, 20 pixels in from the graph's left
    // edge and 10 from its right.
    const int panelWidth = l.panel.Width();
    l.gsensor = At(7, l.panel.top + 50, panelWidth, l.panel.Height() - 92);
    l.text1 = At(l.panel.left + 15, l.panel.top + 3, 400, 20);
    l.text2 = At(10, H - 103, 400, 20);
    l.seek = At(7 + 20 - 15, l.panel.top + 25, panelWidth - 30 + 30, 30);

    l.text3 = At(W - 287, 63, 270, 20);
    l.mapButton = At(W - 54, 54, 32, 32);
    l.mapPanel = At(W - 285, 88, 276, l.mapArea.bottom - 121);
    l.text4 = At(W - 287, l.mapArea.bottom - 26, 270, 20);

    const int listTop = l.listArea.top;
    l.text7 = At(W - 287, listTop + 8, 92, 20);
    l.kindAll = At(W - 189, listTop + 6, 43, 23);
    l.kindEvent = At(W - 143, listTop + 6, 43, 23);
    l.kindNormal = At(W - 97, listTop + 6, 43, 23);
    l.kindParking = At(W - 51, listTop + 6, 43, 23);
    l.list = At(W - 287, listTop + 34, 262, l.listArea.bottom - (listTop + 34));

    const int channelY = l.video.bottom + 10;
    l.both = At(l.video.right - 55, channelY, 43, 19);
    l.rear = At(l.video.right - 108, channelY, 43, 19);
    l.front = At(l.video.right - 161, channelY, 43, 19);
    l.rearMirror = At(l.video.right - 254, channelY, 63, 19);

    const int x0 = (l.bar.Width() - 726) / 2 + 22;
    const int y0 = l.bar.top;
    l.prev = At(x0, y0, 32, 32);
    l.rewind = At(x0 + 39, y0, 32, 32);
    l.play = At(x0 + 78, y0, 32, 32);
    l.forward = At(x0 + 117, y0, 32, 32);
    l.next = At(x0 + 156, y0, 32, 32);
    l.speedButton = At(x0 + 205, y0 + 4, 24, 24);
    l.speedSlider = At(x0 + 230, y0 + 2, 95, 30);
    l.brightButton = At(x0 + 328, y0 + 4, 24, 24);
    l.brightSlider = At(x0 + 353, y0 + 2, 95, 30);
    l.mute = At(x0 + 451, y0 + 4, 24, 24);
    l.volume = At(x0 + 490, y0 + 4, 70, 21);
    l.speedDisplay = At(x0 + 570, y0 - 3, 124, 38);
    return l;
}

}  // namespace kx
