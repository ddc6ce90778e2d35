// The G-sensor graph: grid geometry, where samples land, and what it does with samples it
// cannot place.

#include "ControlTestSupport.h"

#include "controls/CDvGsensorCtrl.h"
#include "controls/ControlConstants.h"
#include "telemetry/TelemetryTrack.h"

#include <QPainter>
#include <gtest/gtest.h>


namespace kx {
namespace {

using Axis = CDvGsensorCtrl::Axis;

CGSensorData Sample(std::uint32_t time, int value) { return {value, value, value, time}; }

QImage PaintGraph(QSize size, const std::vector<CGSensorData>& samples) {
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    CDvGsensorCtrl::Paint(p, size, samples);
    return image;
}

int CountColour(const QImage& image, QColor colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour.rgb();
    return n;
}

TEST(GsensorGraph, TwelveWholeColumnsBetweenTheMargins) {
    const GsensorGeometry g = CDvGsensorCtrl::Geometry(QSize(630, 150));
    EXPECT_EQ(g.columnWidth, 50);
    EXPECT_EQ(g.plotLeft, 20);
    EXPECT_EQ(g.plotRight, 620);
    EXPECT_EQ(g.plotTop, 10);
    EXPECT_EQ(g.plotBottom, 145);
    EXPECT_EQ(g.Centre(), 77);
    EXPECT_EQ(g.quarter, 135 / 4 + 5);
    // A width that does not divide evenly ends the plot short of the right margin.
    EXPECT_EQ(CDvGsensorCtrl::Geometry(QSize(641, 150)).plotRight, 20 + 12 * 50);
}

TEST(GsensorGraph, EmptyTrackDrawsTheGridAndLabelsOnly) {
    const QImage image = PaintGraph(QSize(630, 150), {});
    EXPECT_EQ(image.pixel(20, 80), kColorGrid.rgb());   // solid frame lines
    EXPECT_EQ(image.pixel(620, 80), kColorGrid.rgb());
    EXPECT_EQ(image.pixel(621, 80), kColorBackground.rgb());
    int dotted = 0;  // the dotted column line at x 70
    for (int y = 10; y <= 145; ++y) dotted += image.pixel(70, y) == kColorGrid.rgb();
    EXPECT_GT(dotted, 20);
    EXPECT_LT(dotted, 120);
    for (QColor axis : {kColorAxisX, kColorAxisY, kColorAxisZ})
        EXPECT_EQ(CountColour(image, axis), 0);
    // The labels stand left of the plot.
    int label = 0;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 18; ++x) label += image.pixel(x, y) != kColorBackground.rgb();
    EXPECT_GT(label, 5);
}

TEST(GsensorGraph, ValuesOneAndSixtyFourLandNearTheCentreAndJustAboveThePlot) {
    const GsensorGeometry g = CDvGsensorCtrl::Geometry(QSize(630, 150));
    const std::vector<CGSensorData> samples = {Sample(0, 1), Sample(1000, 64), Sample(2000, 1)};
    const QPolygon z = CDvGsensorCtrl::Curve(samples, Axis::Z, g);
    const QPolygon expected({QPoint(20, 77), QPoint(20, 75), QPoint(320, 9), QPoint(620, 75),
                             QPoint(620, 75)});
    EXPECT_EQ(z, expected);
    const QImage image = PaintGraph(QSize(630, 150), samples);
    EXPECT_EQ(image.pixel(320, 9), kColorAxisZ.rgb());
}

TEST(GsensorGraph, SamplesLaterThanTheLastOneAreSkipped) {
    const GsensorGeometry g = CDvGsensorCtrl::Geometry(QSize(630, 150));
    const std::vector<CGSensorData> samples = {Sample(0, 10), Sample(1000, 10), Sample(3000, 60),
                                               Sample(2000, 10)};
    const QPolygon z = CDvGsensorCtrl::Curve(samples, Axis::Z, g);
    for (const QPoint& point : z) EXPECT_LE(point.x(), 620);
    const QImage image = PaintGraph(QSize(630, 150), samples);
    const int y10 = static_cast<int>(77 - 10 * 0.0315 * 33.5);
    EXPECT_EQ(image.pixel(470, y10), kColorAxisZ.rgb());  // straight on to the last sample
}

TEST(GsensorGraph, LastSampleAtTimeZeroDrawsNoCurve) {
    const QImage image = PaintGraph(QSize(630, 150), {Sample(0, 30)});
    EXPECT_EQ(CountColour(image, kColorAxisZ), 0);
}

TEST(GsensorGraph, PaintsTheCurrentTrackAndAsksForTheMenuOnRightClick) {
    GsensorTrack.Publish({Sample(0, 32), Sample(60'000, 32)});
    CDvGsensorCtrl graph;
    graph.resize(630, 150);
    EXPECT_GT(CountColour(test::Render(graph), kColorAxisZ), 500);
    GsensorTrack.Clear();
    EXPECT_EQ(CountColour(test::Render(graph), kColorAxisZ), 0);

    int menus = 0;
    QObject::connect(&graph, &CDvGsensorCtrl::contextMenuRequested, [&] { ++menus; });
    test::Mouse(graph, QEvent::MouseButtonPress, QPoint(100, 50), Qt::RightButton);
    test::Mouse(graph, QEvent::MouseButtonPress, QPoint(100, 50), Qt::LeftButton);
    EXPECT_EQ(menus, 1);
}

}  // namespace
}  // namespace kx
