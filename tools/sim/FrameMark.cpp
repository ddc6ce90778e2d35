#include "sim/FrameMark.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace kx::sim {

namespace {

constexpr std::uint8_t kWhite = 225;
constexpr std::uint8_t kBlack = 30;
constexpr int kChannelBits = 2;
constexpr int kFrameBits = 16;
constexpr int kFirstBitCell = 2;
constexpr int kParityCell = kFirstBitCell + kChannelBits + kFrameBits;
// Below this difference between the sync cells the band is taken to be absent.
constexpr int kMinContrast = 40;

int CellLeft(int cell, int width) { return cell * width / kFrameMarkCells; }

// The cells as bits, without the sync and end cells.
std::array<bool, kFrameMarkCells> CellValues(int channel, std::uint32_t frame) {
    std::array<bool, kFrameMarkCells> cells{};
    cells[0] = true;
    const std::uint32_t payload = (static_cast<std::uint32_t>(channel) & 3u) << kFrameBits | (frame & 0xFFFFu);
    bool parity = false;
    for (int i = 0; i < kChannelBits + kFrameBits; ++i) {
        const bool bit = (payload >> (kChannelBits + kFrameBits - 1 - i)) & 1u;
        cells[static_cast<std::size_t>(kFirstBitCell + i)] = bit;
        parity ^= bit;
    }
    cells[kParityCell] = parity;
    return cells;
}

// The mean of a block around the centre of each cell: the middle half of the cell's width and
// of the band's height, so that blurred edges from scaling or coding are not read.
std::array<int, kFrameMarkCells> CellMeans(const std::uint8_t* gray, int stride, int width, int height) {
    std::array<int, kFrameMarkCells> means{};
    const int band = FrameMarkBandHeight(height);
    const int top = band / 4;
    const int bottom = std::max(top + 1, band - band / 4);
    for (int cell = 0; cell < kFrameMarkCells; ++cell) {
        const int left = CellLeft(cell, width);
        const int right = CellLeft(cell + 1, width);
        const int quarter = (right - left) / 4;
        const int x0 = left + quarter;
        const int x1 = std::max(x0 + 1, right - quarter);
        long sum = 0;
        for (int y = top; y < bottom; ++y) {
            const std::uint8_t* row = gray + static_cast<std::ptrdiff_t>(y) * stride;
            for (int x = x0; x < x1; ++x) sum += row[x];
        }
        means[static_cast<std::size_t>(cell)] = static_cast<int>(sum / (static_cast<long>(bottom - top) * (x1 - x0)));
    }
    return means;
}

}  // namespace

int FrameMarkBandHeight(int height) { return std::max(4, height / 8); }

void DrawFrameMark(std::uint8_t* luma, int stride, int width, int height, int channel, std::uint32_t frame) {
    const auto cells = CellValues(channel, frame);
    const int band = std::min(height, FrameMarkBandHeight(height));
    for (int cell = 0; cell < kFrameMarkCells; ++cell) {
        const int left = CellLeft(cell, width);
        const int right = CellLeft(cell + 1, width);
        const std::uint8_t value = cells[static_cast<std::size_t>(cell)] ? kWhite : kBlack;
        for (int y = 0; y < band; ++y) {
            std::uint8_t* row = luma + static_cast<std::ptrdiff_t>(y) * stride;
            std::memset(row + left, value, static_cast<std::size_t>(right - left));
        }
    }
}

FrameMark ReadFrameMark(const std::uint8_t* gray, int stride, int width, int height) {
    FrameMark mark;
    if (width < kFrameMarkCells || height < 8) return mark;
    auto means = CellMeans(gray, stride, width, height);
    // The white sync cell sits at the left end; at the right end the picture is mirrored.
    mark.mirrored = means.back() > means.front();
    if (mark.mirrored) std::reverse(means.begin(), means.end());
    const int white = means[0];
    const int black = means[1];
    if (white - black < kMinContrast) return mark;
    const int threshold = (white + black) / 2;
    if (means[kFrameMarkCells - 2] >= threshold || means[kFrameMarkCells - 1] >= threshold) return mark;
    std::uint32_t payload = 0;
    bool parity = false;
    for (int i = 0; i < kChannelBits + kFrameBits; ++i) {
        const bool bit = means[static_cast<std::size_t>(kFirstBitCell + i)] >= threshold;
        payload = payload << 1 | (bit ? 1u : 0u);
        parity ^= bit;
    }
    if (parity != (means[kParityCell] >= threshold)) return mark;
    mark.found = true;
    mark.channel = static_cast<int>(payload >> kFrameBits);
    mark.frame = payload & 0xFFFFu;
    return mark;
}

}  // namespace kx::sim
