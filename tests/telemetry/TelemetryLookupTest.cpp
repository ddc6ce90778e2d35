#include "telemetry/TelemetryLookup.h"

#include "app/core/ViewerOptions.h"
#include "telemetry/TelemetryPacket.h"

#include <gtest/gtest.h>

#include <random>

using namespace kx;

namespace {

CGPSData Fix(std::uint32_t time, bool valid, double lat = 3730.5, double lon = 930.25, double speed = 100) {
    CGPSData r;
    r.time = time;
    r.valid = valid;
    r.latitude = lat;
    r.longitude = lon;
    r.speed = speed;
    return r;
}

class Lookup : public ::testing::Test {
protected:
    void TearDown() override {
        ClearGpsTrack();
        ClearGsensorTrack();
        TheViewerOptions().speedInMiles = false;
    }
};

TEST_F(Lookup, FindsTheFirstRecordAtOrAfterThePosition) {
    GpsTrack.Publish({Fix(1000, true, 1000, 0, 10), Fix(2000, true, 2000, 0, 20)});
    struct Case {
        std::uint32_t at;
        bool found;
        double speed;
    };
    for (const Case& c : {Case{0, true, 10}, Case{1000, true, 10}, Case{1001, true, 20}, Case{2000, true, 20},
                          Case{2001, false, 0}}) {
        double speed = -1;
        EXPECT_EQ(FindSpeedAt(c.at, speed), c.found) << c.at;
        EXPECT_EQ(speed, c.speed) << c.at;
    }
}

TEST_F(Lookup, AnInvalidFixAnswersFalseWithoutTryingAnother) {
    GpsTrack.Publish({Fix(1000, true), Fix(2000, false)});
    double speed = -1;
    float lat = -1, lon = -1;
    EXPECT_FALSE(FindSpeedAt(1500, speed));
    EXPECT_FALSE(FindPositionAt(1500, lat, lon));
    EXPECT_EQ(speed, 0);
    EXPECT_EQ(lat, 0);
    EXPECT_EQ(lon, 0);
}

TEST_F(Lookup, ConvertsToDisplayUnits) {
    GpsTrack.Publish({Fix(0, true, 3730.5, -930.25, 100)});
    GsensorTrack.Publish({{1, 128, 256, 0}});
    double speed = 0, x = 0, y = 0, z = 0;
    float lat = 0, lon = 0;
    ASSERT_TRUE(FindPositionAt(0, lat, lon));
    EXPECT_FLOAT_EQ(lat, 37.508333f);
    EXPECT_FLOAT_EQ(lon, -9.504167f);
    ASSERT_TRUE(FindGsensorAt(0, x, y, z));
    EXPECT_EQ(x, 0.03125);
    EXPECT_EQ(y, 4.0);
    EXPECT_EQ(z, 8.0);
    ASSERT_TRUE(FindSpeedAt(0, speed));
    EXPECT_EQ(speed, 100);
    TheViewerOptions().speedInMiles = true;
    ASSERT_TRUE(FindSpeedAt(0, speed));
    EXPECT_DOUBLE_EQ(speed, 62.1371);
}

TEST_F(Lookup, EmptyListsAnswerFalseAndZero) {
    double speed = 1, x = 1, y = 1, z = 1;
    float lat = 1, lon = 1;
    EXPECT_FALSE(FindSpeedAt(0, speed));
    EXPECT_FALSE(FindGsensorAt(0, x, y, z));
    EXPECT_FALSE(FindPositionAt(0, lat, lon));
    EXPECT_EQ(speed + x + y + z + lat + lon, 0);
}

TEST_F(Lookup, AfterStopTheGsensorListIsEmptyButGpsStillAnswers) {
    GpsTrack.Publish({Fix(0, true)});
    GsensorTrack.Publish({{1, 1, 1, 0}});
    ClearGsensorTrack();
    double x, y, z, speed;
    EXPECT_FALSE(FindGsensorAt(0, x, y, z));
    EXPECT_TRUE(FindSpeedAt(0, speed));
}

TEST(NmeaToDegrees, ConvertsDegreesAndMinutesSymmetrically) {
    EXPECT_NEAR(NmeaToDegrees(3730.5), 37.508333, 1e-6);
    EXPECT_NEAR(NmeaToDegrees(-3730.5), -37.508333, 1e-6);
    EXPECT_NEAR(NmeaToDegrees(930.25), 9.504167, 1e-6);
    EXPECT_NEAR(NmeaToDegrees(12658.68), 126.978, 1e-9);
    EXPECT_EQ(NmeaToDegrees(0), 0);
}

// The fast lookup must answer exactly what the walk from the first record answers, for
// sorted lists, lists with equal stamps and lists whose stamps go back.
TEST(FindRecordAt, AgreesWithTheWalkOnAnyList) {
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        std::vector<CGSensorData> records(rng() % 40);
        std::uint32_t t = 0;
        const bool shuffled = round % 4 == 0;
        for (auto& r : records) {
            t += static_cast<std::uint32_t>(rng() % 3 * 50);  // equal stamps happen
            r.time = shuffled ? static_cast<std::uint32_t>(rng() % 2000) : t;
            r.x = static_cast<std::int32_t>(&r - records.data());
        }
        TelemetryTrack<CGSensorData> track;
        track.Publish(records);
        const auto snap = track.Get();
        for (std::uint32_t at : {0u, 1u, 49u, 50u, 51u, 999u, 1000u, 1999u, 5000u, 0xFFFFFFFFu}) {
            EXPECT_EQ(FindRecordAt(*snap, at), WalkRecordAt(snap->records, at)) << "round " << round << " at " << at;
        }
    }
}

}  // namespace
