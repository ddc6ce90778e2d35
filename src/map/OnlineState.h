#pragma once
// Whether the computer is online, for choosing between the map and the no-connection
// placeholder. KX480_ONLINE=0/1 decides when set; otherwise Qt's network reachability where a
// backend exists, else a default route over an interface other than loopback.

#include <optional>
#include <string_view>

namespace kx {

bool InternetConnected();

// The KX480_ONLINE override: "0" offline, "1" online, anything else (or unset) no override.
std::optional<bool> OnlineOverride(const char* value);

// True when the text of /proc/net/route has an up default route (destination 0) on an
// interface other than "lo".
bool HasDefaultRoute(std::string_view procNetRoute);

}  // namespace kx
