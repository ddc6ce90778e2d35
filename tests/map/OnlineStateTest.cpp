// The online check's override and its route-table fallback.

#include "map/OnlineState.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace kx {
namespace {

TEST(OnlineState, EnvironmentOverrideDecides) {
    EXPECT_EQ(OnlineOverride("0"), false);
    EXPECT_EQ(OnlineOverride("1"), true);
    EXPECT_EQ(OnlineOverride("yes"), std::nullopt);
    EXPECT_EQ(OnlineOverride(nullptr), std::nullopt);

    setenv("KX480_ONLINE", "0", 1);
    EXPECT_FALSE(InternetConnected());
    setenv("KX480_ONLINE", "1", 1);
    EXPECT_TRUE(InternetConnected());
    unsetenv("KX480_ONLINE");
}

TEST(OnlineState, DefaultRouteOverARealInterfaceCounts) {
    constexpr char kHeader[] =
        "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
    const std::string online = std::string(kHeader) +
                               "eth0\t00000000\t0100A8C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n"
                               "eth0\t0000A8C0\t00000000\t0001\t0\t0\t100\t00FFFFFF\t0\t0\t0\n";
    const std::string localOnly = std::string(kHeader) +
                                  "eth0\t0000A8C0\t00000000\t0001\t0\t0\t100\t00FFFFFF\t0\t0\t0\n"
                                  "lo\t00000000\t00000000\t0001\t0\t0\t0\t00000000\t0\t0\t0\n";
    const std::string down = std::string(kHeader) +
                             "eth0\t00000000\t0100A8C0\t0002\t0\t0\t100\t00000000\t0\t0\t0\n";
    EXPECT_TRUE(HasDefaultRoute(online));
    EXPECT_FALSE(HasDefaultRoute(localOnly));
    EXPECT_FALSE(HasDefaultRoute(down));
    EXPECT_FALSE(HasDefaultRoute(kHeader));
}

}  // namespace
}  // namespace kx
