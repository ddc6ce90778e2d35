#include "map/OnlineState.h"

#include <QNetworkInformation>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace kx {
namespace {

constexpr unsigned kRouteUp = 0x1;

std::optional<bool> QtReachability() {
    if (!QNetworkInformation::instance() && !QNetworkInformation::loadDefaultBackend())
        return std::nullopt;
    const auto* info = QNetworkInformation::instance();
    if (!info) return std::nullopt;
    switch (info->reachability()) {
        case QNetworkInformation::Reachability::Online:
            return true;
        case QNetworkInformation::Reachability::Unknown:
            return std::nullopt;
        default:
            return false;
    }
}

bool RouteTableOnline() {
    std::ifstream file("/proc/net/route");
    if (!file) return false;
    std::stringstream text;
    text << file.rdbuf();
    return HasDefaultRoute(text.str());
}

}  // namespace

std::optional<bool> OnlineOverride(const char* value) {
    if (!value) return std::nullopt;
    const std::string_view text(value);
    if (text == "0") return false;
    if (text == "1") return true;
    return std::nullopt;
}

bool HasDefaultRoute(std::string_view procNetRoute) {
    std::istringstream lines{std::string(procNetRoute)};
    std::string line;
    std::getline(lines, line);  // column titles
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string interface, destination, gateway, flags;
        if (!(fields >> interface >> destination >> gateway >> flags)) continue;
        if (interface == "lo" || destination != "00000000") continue;
        if (std::strtoul(flags.c_str(), nullptr, 16) & kRouteUp) return true;
    }
    return false;
}

bool InternetConnected() {
    if (const auto forced = OnlineOverride(std::getenv("KX480_ONLINE"))) return *forced;
    if (const auto reachable = QtReachability()) return *reachable;
    return RouteTableOnline();
}

}  // namespace kx
