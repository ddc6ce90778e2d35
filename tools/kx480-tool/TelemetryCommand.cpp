// kx480-tool telemetry FILE [--format csv|gpx|json]: every telemetry record in stream order.

#include "ArgParser.h"
#include "RecordingTelemetry.h"
#include "ToolCommands.h"
#include "telemetry/TelemetryLookup.h"

#include <cstdio>
#include <ctime>
#include <iostream>
#include <string>

namespace kx::tool {

namespace {

// One record of either kind, in the order the packets came.
struct Row {
    std::uint32_t time;
    const CGPSData* gps;
    const CGSensorData* gsensor;
};

std::vector<Row> StreamOrder(const TelemetryLoad& load, const std::string& kinds) {
    std::vector<Row> rows;
    std::size_t g = 0;
    std::size_t m = 0;
    for (char kind : kinds) {
        if (kind == 'G') rows.push_back({load.gps[g].time, &load.gps[g], nullptr}), ++g;
        else rows.push_back({load.gsensor[m].time, nullptr, &load.gsensor[m]}), ++m;
    }
    return rows;
}

std::string Fixed(double v) {
    char b[64];
    std::snprintf(b, sizeof b, "%.6f", v);
    return b;
}

// The fix's time in UTC: the record keeps the packet's hour plus 9.
std::string UtcTime(const CGPSData& r) {
    std::tm tm{};
    tm.tm_year = (r.year + 30) % 100 + 70;
    tm.tm_mon = r.month - 1;
    tm.tm_mday = r.day;
    tm.tm_hour = r.hour - 9;
    tm.tm_min = r.minute;
    tm.tm_sec = r.second;
    const std::time_t t = timegm(&tm);
    std::tm utc{};
    gmtime_r(&t, &utc);
    char b[32];
    std::strftime(b, sizeof b, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return b;
}

void WriteCsv(const std::vector<Row>& rows) {
    std::cout << "time_ms,type,valid,latitude,longitude,speed_kmh,course,x_g,y_g,z_g\n";
    for (const Row& r : rows) {
        std::cout << r.time << ',';
        if (r.gps) {
            std::cout << "G," << r.gps->valid << ',' << Fixed(NmeaToDegrees(r.gps->latitude)) << ','
                      << Fixed(NmeaToDegrees(r.gps->longitude)) << ',' << Fixed(r.gps->speed) << ','
                      << Fixed(r.gps->course) << ",,,\n";
        } else {
            std::cout << "M,,,,,," << Fixed(r.gsensor->x * kGPerUnit) << ',' << Fixed(r.gsensor->y * kGPerUnit)
                      << ',' << Fixed(r.gsensor->z * kGPerUnit) << '\n';
        }
    }
}

void WriteJson(const std::vector<Row>& rows) {
    std::cout << "[";
    const char* sep = "\n";
    for (const Row& r : rows) {
        std::cout << sep << "  {\"time_ms\": " << r.time;
        if (r.gps) {
            std::cout << ", \"type\": \"G\", \"valid\": " << r.gps->valid
                      << ", \"latitude\": " << Fixed(NmeaToDegrees(r.gps->latitude))
                      << ", \"longitude\": " << Fixed(NmeaToDegrees(r.gps->longitude))
                      << ", \"speed_kmh\": " << Fixed(r.gps->speed) << ", \"course\": " << Fixed(r.gps->course)
                      << ", \"x_g\": null, \"y_g\": null, \"z_g\": null}";
        } else {
            std::cout << ", \"type\": \"M\", \"valid\": null, \"latitude\": null, \"longitude\": null"
                      << ", \"speed_kmh\": null, \"course\": null"
                      << ", \"x_g\": " << Fixed(r.gsensor->x * kGPerUnit) << ", \"y_g\": " << Fixed(r.gsensor->y * kGPerUnit)
                      << ", \"z_g\": " << Fixed(r.gsensor->z * kGPerUnit) << "}";
        }
        sep = ",\n";
    }
    std::cout << (rows.empty() ? "]\n" : "\n]\n");
}

void WriteGpx(const std::vector<Row>& rows, const std::string& name) {
    std::cout << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              << "<gpx version=\"1.1\" creator=\"kx480-tool\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
              << "  <trk>\n    <name>";
    for (char c : name) {
        if (c == '&') std::cout << "&amp;";
        else if (c == '<') std::cout << "&lt;";
        else if (c == '>') std::cout << "&gt;";
        else std::cout << c;
    }
    std::cout << "</name>\n    <trkseg>\n";
    for (const Row& r : rows) {
        if (!r.gps || !r.gps->valid) continue;
        std::cout << "      <trkpt lat=\"" << Fixed(NmeaToDegrees(r.gps->latitude)) << "\" lon=\""
                  << Fixed(NmeaToDegrees(r.gps->longitude)) << "\"><time>" << UtcTime(*r.gps) << "</time></trkpt>\n";
    }
    std::cout << "    </trkseg>\n  </trk>\n</gpx>\n";
}

}  // namespace

int TelemetryCommand(const Args& args) {
    ArgParser p(args, {"format"}, {});
    const std::string format = p.value("format").value_or("csv");
    if (!p.ok() || p.positional().size() != 1 || (format != "csv" && format != "gpx" && format != "json")) {
        std::cerr << "usage: kx480-tool telemetry FILE [--format csv|gpx|json]\n";
        return kExitFailure;
    }
    const std::string& path = p.positional()[0];
    std::string error;
    const auto t = ReadRecordingTelemetry(path, error);
    if (!t) {
        std::cerr << "kx480-tool: " << error << '\n';
        return kExitUnreadable;
    }
    const auto rows = StreamOrder(t->load, t->order);
    if (format == "csv") WriteCsv(rows);
    else if (format == "json") WriteJson(rows);
    else WriteGpx(rows, path.substr(path.find_last_of('/') + 1));
    return kExitOk;
}

}  // namespace kx::tool
