#include "sim/Scene.h"

#include "sim/FrameMark.h"
#include "sim/SplitMix64.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kx::sim {

namespace {

constexpr int kTextureSize = 256;
constexpr double kNearestDepthM = 2.0;  // what the bottom row shows
constexpr double kDashPeriodM = 9.0;
constexpr double kDashLengthM = 3.0;
constexpr double kPostSpacingM = 20.0;
constexpr double kFarthestPostM = 120.0;
constexpr std::uint64_t kTexturePurpose = 2;

std::uint8_t Clip(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

}  // namespace

Scene::Scene(int channel, int width, int height, std::uint64_t seed)
    : channel_(channel), width_(width), height_(height), band_(FrameMarkBandHeight(height)) {
    horizon_ = band_ + (height - band_) * 2 / 5;
    if (channel == 0)
        palette_ = {190, 150, 152, 112, 88, 112, 116, 100, 132, 124, 215, 45};
    else
        palette_ = {175, 135, 98, 162, 80, 98, 140, 92, 116, 140, 210, 50};
    SplitMix64 random(seed, kTexturePurpose + static_cast<std::uint64_t>(channel));
    texture_.resize(kTextureSize * kTextureSize);
    for (auto& t : texture_) t = static_cast<std::int8_t>(static_cast<int>(random.Next() % 17) - 8);
}

Scene::RoadRow Scene::RoadAt(int y, double travel, double bend) const {
    const double p = static_cast<double>(y - horizon_ + 1) / (height_ - horizon_);  // 1 at the bottom
    const double depth = kNearestDepthM / p;
    const double far = (1 - p) * (1 - p);
    RoadRow row;
    row.centre = width_ / 2.0 + bend * far * width_ * 0.35;
    row.halfWidth = width_ * (0.02 + 0.5 * p);
    row.lineHalfWidth = 0.5 + width_ * 0.008 * p;
    row.dashOn = std::fmod(std::fmod(depth + travel, kDashPeriodM) + kDashPeriodM, kDashPeriodM) < kDashLengthM;
    row.textureRow = static_cast<int>(std::floor((depth + travel) * 8)) & (kTextureSize - 1);
    row.textureScale = 2.0 * kTextureSize / (width_ * p);
    return row;
}

Scene::Ground Scene::GroundAt(const RoadRow& row, double x) const {
    const double d = std::fabs(x - row.centre);
    if (d > row.halfWidth + row.lineHalfWidth) return Ground::Grass;
    if (d > row.halfWidth - row.lineHalfWidth) return Ground::Line;
    if (row.dashOn && std::fabs(d - row.halfWidth / 3) < row.lineHalfWidth) return Ground::Line;
    return Ground::Road;
}

void Scene::Render(const PicturePlanes& picture, const DriveState& drive, std::uint32_t frame) const {
    // The rear camera sees the road run away from it and the bend the other way round.
    const double travel = channel_ == 0 ? drive.distanceM : -drive.distanceM;
    const double bend = std::clamp(drive.turnRateDegPerS / 3, -1.0, 1.0) * (channel_ == 0 ? 1 : -1);
    RenderLuma(picture, travel, bend, frame);
    RenderChroma(picture, travel, bend);
    RenderPosts(picture, travel, bend);
}

void Scene::RenderLuma(const PicturePlanes& picture, double travel, double bend, std::uint32_t frame) const {
    const Palette& c = palette_;
    for (int y = band_; y < height_; ++y) {
        std::uint8_t* out = picture.data[0] + static_cast<std::ptrdiff_t>(y) * picture.stride[0];
        if (y < horizon_) {
            const int v = c.skyTopY + (c.skyHorizonY - c.skyTopY) * (y - band_) / std::max(1, horizon_ - band_);
            std::memset(out, Clip(v), static_cast<std::size_t>(width_));
            continue;
        }
        const RoadRow row = RoadAt(y, travel, bend);
        const std::int8_t* grain = texture_.data() + row.textureRow * kTextureSize;
        for (int x = 0; x < width_; ++x) {
            const int column = static_cast<int>((x - row.centre) * row.textureScale) & (kTextureSize - 1);
            switch (GroundAt(row, x)) {
            case Ground::Grass: out[x] = Clip(c.grassY + 2 * grain[column]); break;
            case Ground::Road: out[x] = Clip(c.roadY + grain[column]); break;
            case Ground::Line: out[x] = Clip(c.lineY); break;
            }
        }
    }
    DrawFrameMark(picture.data[0], picture.stride[0], width_, height_, channel_, frame);
}

void Scene::RenderChroma(const PicturePlanes& picture, double travel, double bend) const {
    const Palette& c = palette_;
    const int chromaWidth = (width_ + 1) / 2;
    for (int cy = 0; cy < (height_ + 1) / 2; ++cy) {
        std::uint8_t* u = picture.data[1] + static_cast<std::ptrdiff_t>(cy) * picture.stride[1];
        std::uint8_t* v = picture.data[2] + static_cast<std::ptrdiff_t>(cy) * picture.stride[2];
        const int y = 2 * cy;
        if (y < band_ || y < horizon_) {
            // The mark band stays grey so that a greyscale of the picture reads as its luma.
            const bool band = y < band_;
            std::memset(u, band ? 128 : c.skyU, static_cast<std::size_t>(chromaWidth));
            std::memset(v, band ? 128 : c.skyV, static_cast<std::size_t>(chromaWidth));
            continue;
        }
        const RoadRow row = RoadAt(y, travel, bend);
        for (int cx = 0; cx < chromaWidth; ++cx) {
            switch (GroundAt(row, 2 * cx)) {
            case Ground::Grass: u[cx] = Clip(c.grassU), v[cx] = Clip(c.grassV); break;
            case Ground::Road: u[cx] = Clip(c.roadU), v[cx] = Clip(c.roadV); break;
            case Ground::Line: u[cx] = 128, v[cx] = 128; break;
            }
        }
    }
}

void Scene::RenderPosts(const PicturePlanes& picture, double travel, double bend) const {
    const double first = kPostSpacingM - std::fmod(std::fmod(travel, kPostSpacingM) + kPostSpacingM, kPostSpacingM);
    for (double depth = first; depth < kFarthestPostM; depth += kPostSpacingM) {
        if (depth < kNearestDepthM) continue;
        const double p = kNearestDepthM / depth;
        const int base = horizon_ - 1 + static_cast<int>(p * (height_ - horizon_));
        const RoadRow row = RoadAt(std::clamp(base, horizon_, height_ - 1), travel, bend);
        const int tall = std::max(2, static_cast<int>(p * height_ * 0.6));
        const int half = std::max(1, static_cast<int>(width_ * 0.006 * p));
        for (double side : {-1.0, 1.0}) {
            const int x = static_cast<int>(row.centre + side * (row.halfWidth + width_ * 0.08 * p));
            for (int y = std::max(band_, base - tall); y <= std::min(base, height_ - 1); ++y) {
                std::uint8_t* out = picture.data[0] + static_cast<std::ptrdiff_t>(y) * picture.stride[0];
                for (int px = std::max(0, x - half); px < std::min(width_, x + half); ++px)
                    out[px] = static_cast<std::uint8_t>(palette_.postY);
            }
        }
    }
}

}  // namespace kx::sim
