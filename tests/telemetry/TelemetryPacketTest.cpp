#include "telemetry/TelemetryPacket.h"
#include "telemetry/TelemetryTrack.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ctime>

using namespace kx;

namespace {

TelemetryLoad Handle(const std::string& packet, std::uint32_t time = 0) {
    TelemetryLoad load;
    EXPECT_EQ(HandleTelemetryPacket(load, reinterpret_cast<const std::uint8_t*>(packet.data()), packet.size(), time), 0);
    return load;
}

CGPSData Gps(const std::string& text, bool expectComplete = true) {
    CGPSData r;
    EXPECT_EQ(ParseGpsPacket(r, 1234, text), expectComplete) << text;
    return r;
}

TEST(TelemetryPacket, GsensorPacketsStoreUnsignedBytesPlusOne) {
    auto load = Handle(std::string("M\x00\x7F\xFF", 4), 700);
    ASSERT_EQ(load.gsensor.size(), 1u);
    EXPECT_EQ(load.gsensor[0].x, 1);
    EXPECT_EQ(load.gsensor[0].y, 128);
    EXPECT_EQ(load.gsensor[0].z, 256);
    EXPECT_EQ(load.gsensor[0].time, 700u);

    load = Handle(std::string("M\x05", 2));  // axes past the packet's end read as 0
    ASSERT_EQ(load.gsensor.size(), 1u);
    EXPECT_EQ(load.gsensor[0].x, 6);
    EXPECT_EQ(load.gsensor[0].y, 1);
    EXPECT_EQ(load.gsensor[0].z, 1);
}

TEST(TelemetryPacket, UnknownAndEmptyPacketsAddNothing) {
    for (const std::string& p : {std::string(), std::string("X123"), std::string("\0M12", 4), std::string("m123")}) {
        const auto load = Handle(p);
        EXPECT_TRUE(load.gps.empty() && load.gsensor.empty());
    }
    TelemetryLoad load;
    EXPECT_EQ(HandleTelemetryPacket(load, nullptr, 5, 0), 0);
    EXPECT_TRUE(load.gsensor.empty());
}

TEST(TelemetryPacket, ReadsAnRmcSentence) {
    const CGPSData r = Gps("GPRMC,003000.00,A,3730.5000,N,12658.6800,E,25.3,87.2,070324");
    EXPECT_EQ(r.time, 1234u);
    EXPECT_EQ(r.hour, 9);
    EXPECT_EQ(r.minute, 30);
    EXPECT_EQ(r.second, 0);
    EXPECT_EQ(r.valid, 1);
    EXPECT_DOUBLE_EQ(r.latitude, 3730.5);
    EXPECT_DOUBLE_EQ(r.longitude, 12658.68);
    EXPECT_EQ(r.speed, static_cast<double>(static_cast<float>(25.3 * 1.852)));
    EXPECT_EQ(r.course, static_cast<double>(87.2f));
    EXPECT_EQ(r.day, 7);
    EXPECT_EQ(r.month, 3);
    EXPECT_EQ(r.year, 24);
}

TEST(TelemetryPacket, FieldRules) {
    struct Case {
        const char* text;
        double lat, lon, speed;
        int valid, hour;
    };
    const double knots11 = static_cast<double>(static_cast<float>(1.1 * 1.852));
    const Case cases[] = {
        {"GPRMC,000000,A,1,N,2,E,1.0,0,010100", 1, 2, 0, 1, 9},          // 1 knot or less: 0
        {"GPRMC,000000,A,1,N,2,E,1.1,0,010100", 1, 2, knots11, 1, 9},    // 2.0372 as float
        {"GPRMC,000000,A,1,n,2,e,0,0,010100", -1, -2, 0, 1, 9},          // lower case negates
        {"GPRMC,000000,A,1,S,2,W,0,0,010100", -1, -2, 0, 1, 9},
        {"GPRMC,000000,A,1,,2,,0,0,010100", -1, -2, 0, 1, 9},            // empty hemisphere negates
        {"GPRMC,000000,a,1,N,2,E,0,0,010100", 1, 2, 0, 0, 9},            // status upper case only
        {",,,GPRMC,120000,A,1,N,2,E,0,0,010100", 1, 2, 0, 1, 21},        // leading commas skipped
        {"GPRMC, 7,A, +1.5e1x,N,0x10,E,0,0,010100", 15, 0, 0, 1, 16},    // strtod-like, no hex
        {"GPRMC,1,A,inf,N,nan,E,0,0,010100", 0, 0, 0, 1, 10},            // no inf or nan
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const CGPSData r = Gps(c.text);
        EXPECT_DOUBLE_EQ(r.latitude, c.lat);
        EXPECT_DOUBLE_EQ(r.longitude, c.lon);
        EXPECT_EQ(r.speed, c.speed);
        EXPECT_EQ(r.valid, c.valid);
        EXPECT_EQ(r.hour, c.hour);
    }
}

TEST(TelemetryPacket, EmptyFieldsAreFieldsAndOnlyStatusVGivesAnInvalidZeroRecord) {
    const CGPSData r = Gps("GPRMC,,V,,,,,,,");
    EXPECT_EQ(r.valid, 0);
    EXPECT_EQ(r.hour, 9);
    EXPECT_EQ(r.latitude, 0);
    EXPECT_EQ(r.longitude, 0);
    EXPECT_EQ(r.speed, 0);
    EXPECT_EQ(r.course, 0);
}

TEST(TelemetryPacket, ShortSentencesKeepWhatWasReachedAndNoTimestamp) {
    CGPSData r;
    EXPECT_FALSE(ParseGpsPacket(r, 5, "GPRMC,101500,A,3730.5,N"));
    EXPECT_EQ(r.hour, 19);
    EXPECT_EQ(r.minute, 15);
    EXPECT_EQ(r.valid, 1);
    EXPECT_DOUBLE_EQ(r.latitude, 3730.5);
    EXPECT_EQ(r.longitude, 0);
    EXPECT_EQ(r.timestamp, 0);
    EXPECT_EQ(r.time, 5u);
    EXPECT_FALSE(ParseGpsPacket(r, 5, "G"));

    // The handler appends a record either way.
    EXPECT_EQ(Handle("GPRMC,1").gps.size(), 1u);
}

TEST(TelemetryPacket, TextEndsAtTheFirstZeroAndAt1023Characters) {
    const std::string withZero("GPRMC,000000,A,1,N,2,E,0,0,010100\0,junk", 40);
    EXPECT_EQ(Gps(withZero).day, 1);
    // Fields past 1023 characters are not read.
    const std::string padded = "GPRMC," + std::string(1010, '0') + ",A,1,N,2,E,0,0,010100";
    CGPSData r;
    EXPECT_FALSE(ParseGpsPacket(r, 0, padded));
}

TEST(TelemetryPacket, TimestampIsLocalCalendarTimeWithHoursRollingOver) {
    kx::test::ScopedEnv tz("TZ", "UTC");
    tzset();
    // 15:30 UTC plus 9 hours is 24:30: half past midnight of the next day.
    CGPSData r = Gps("GPRMC,153000.00,A,1,N,2,E,0,0,070324");
    EXPECT_EQ(r.hour, 24);
    EXPECT_EQ(r.minute, 30);
    EXPECT_EQ(r.second, 0);
    EXPECT_EQ(r.timestamp, 1709857800);  // 2024-03-08 00:30:00
    EXPECT_EQ(Gps("GPRMC,000000,A,1,N,2,E,0,0,010169").timestamp, 3124256400);  // 2069-01-01 09:00
    EXPECT_EQ(Gps("GPRMC,000000,A,1,N,2,E,0,0,010170").timestamp, 9 * 3600);               // 1970
}

TEST(TelemetryPacket, TimestampMatchesMktimeAcrossADaylightSavingChange) {
    kx::test::ScopedEnv tz("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    tzset();
    // Fixes a minute apart through the night of 30/31 March 2024 (local 00:00 to 05:59).
    for (int utcMinute = 0; utcMinute < 6 * 60; utcMinute += 7) {
        const int utcHour = 15 + utcMinute / 60;  // plus 9 hours: 24..29, the next day's early hours
        char text[80];
        std::snprintf(text, sizeof text, "GPRMC,%02d%02d%02d,A,1,N,2,E,0,0,300324", utcHour, utcMinute % 60,
                      utcMinute % 50);
        const CGPSData r = Gps(text);
        std::tm tm{};
        tm.tm_year = 124;
        tm.tm_mon = 2;
        tm.tm_mday = 30;
        tm.tm_hour = utcHour + 9;
        tm.tm_min = utcMinute % 60;
        tm.tm_sec = utcMinute % 50;
        tm.tm_isdst = -1;
        EXPECT_EQ(r.timestamp, static_cast<std::int64_t>(std::mktime(&tm))) << text;
    }
}

TEST(TelemetryPacket, PublishingHandsBothListsOverInOneStep) {
    TelemetryLoad load = Handle("GPRMC,000000,A,1,N,2,E,0,0,010100", 10);
    load.gsensor.push_back({1, 2, 3, 20});
    PublishTelemetry(std::move(load));
    EXPECT_EQ(GpsTrack.GetSize(), 1u);
    EXPECT_EQ(GsensorTrack.GetSize(), 1u);
    const auto held = GsensorTrack.Get();
    ClearGsensorTrack();
    EXPECT_EQ(GsensorTrack.GetSize(), 0u);
    EXPECT_EQ(held->records.size(), 1u);  // a reader's snapshot outlives the clear
    ClearGpsTrack();
}

}  // namespace
