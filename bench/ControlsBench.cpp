// gsensor_paint_vs_polyline: painting the G-sensor graph with an hour of samples at 10 Hz
// (36,000) on 600 x 150 / drawing the same three polylines with one QPainter::drawPolyline
// each on the same image (their points made beforehand, same pens).

#include "BenchTiming.h"
#include "controls/CDvGsensorCtrl.h"
#include "controls/ControlConstants.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdio>
#include <random>

int main(int argc, char** argv) {
    using namespace kx;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    // Driving-like values: a slow wander around 1 g on Z and near 0 on X and Y, with jitter.
    std::mt19937 random(11);
    std::normal_distribution<double> jitter(0.0, 1.5);
    std::vector<CGSensorData> samples(36'000);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / 10.0;
        const auto stored = [&](double v) {
            return static_cast<int>(std::clamp(std::lround(v + jitter(random)), 1L, 256L));
        };
        samples[i] = {stored(4 + 3 * std::sin(t / 7)), stored(3 + 2 * std::sin(t / 5)),
                      stored(32 + 2 * std::sin(t)), static_cast<std::uint32_t>(i * 100)};
    }

    const QSize size(600, 150);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    constexpr int kPaints = 20;

    const double graph = bench::BestSeconds(7, [&] {
        for (int i = 0; i < kPaints; ++i) {
            QPainter p(&image);
            CDvGsensorCtrl::Paint(p, size, samples);
        }
    });

    const GsensorGeometry g = CDvGsensorCtrl::Geometry(size);
    const std::pair<CDvGsensorCtrl::Axis, QColor> axes[] = {
        {CDvGsensorCtrl::Axis::X, kColorAxisX}, {CDvGsensorCtrl::Axis::Y, kColorAxisY},
        {CDvGsensorCtrl::Axis::Z, kColorAxisZ}};
    std::vector<std::pair<QPolygon, QColor>> curves;
    for (const auto& [axis, colour] : axes)
        curves.emplace_back(CDvGsensorCtrl::Curve(samples, axis, g), colour);
    const double polylines = bench::BestSeconds(7, [&] {
        for (int i = 0; i < kPaints; ++i) {
            QPainter p(&image);
            for (const auto& [points, colour] : curves) {
                p.setPen(CDvGsensorCtrl::CurvePen(colour, p));
                p.drawPolyline(points);
            }
        }
    });

    std::fprintf(stderr, "gsensor paint %.3f ms, three polylines %.3f ms\n", graph / kPaints * 1e3,
                 polylines / kPaints * 1e3);
    std::printf("gsensor_paint_vs_polyline %.2f\n", graph / polylines);
    return 0;
}
