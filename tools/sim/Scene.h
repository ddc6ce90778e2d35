#pragma once
// The picture a channel records: sky over a road with lane markings and roadside posts that
// move with the car, coloured per channel (front bluish, rear warm) so that a screenshot shows
// which is which, and the frame mark in the top band.

#include "sim/Drive.h"

#include <cstdint>
#include <vector>

namespace kx::sim {

struct PicturePlanes {  // YUV 4:2:0
    std::uint8_t* data[3];
    int stride[3];
};

class Scene {
public:
    Scene(int channel, int width, int height, std::uint64_t seed);
    void Render(const PicturePlanes& picture, const DriveState& drive, std::uint32_t frame) const;

private:
    struct Palette {
        int skyTopY, skyHorizonY, skyU, skyV;
        int grassY, grassU, grassV;
        int roadY, roadU, roadV;
        int lineY;
        int postY;
    };
    // Where the road lies on one row below the horizon.
    struct RoadRow {
        double centre;
        double halfWidth;
        double lineHalfWidth;
        bool dashOn;
        int textureRow;
        double textureScale;
    };
    enum class Ground { Grass, Road, Line };

    RoadRow RoadAt(int y, double travel, double bend) const;
    Ground GroundAt(const RoadRow& row, double x) const;
    void RenderLuma(const PicturePlanes& picture, double travel, double bend, std::uint32_t frame) const;
    void RenderChroma(const PicturePlanes& picture, double travel, double bend) const;
    void RenderPosts(const PicturePlanes& picture, double travel, double bend) const;

    int channel_;
    int width_;
    int height_;
    int band_;
    int horizon_;
    Palette palette_;
    std::vector<std::int8_t> texture_;  // 256 x 256 grain of road and grass
};

}  // namespace kx::sim
