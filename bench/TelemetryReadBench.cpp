// telemetry_read_fraction: time to pull every text packet of a recording / time to read the
// whole file once, both with the file in the page cache.

#include "BenchTiming.h"
#include "app/avi/TextPacketReader.h"
#include "telemetry/TelemetryPacket.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

std::size_t ReadWholeFile(const char* path) {
    const int fd = ::open(path, O_RDONLY);
    if (fd < 0) return 0;
    std::vector<char> buffer(1 << 20);
    std::size_t total = 0;
    for (ssize_t n; (n = ::read(fd, buffer.data(), buffer.size())) > 0;) total += static_cast<std::size_t>(n);
    ::close(fd);
    return total;
}

std::size_t PullPackets(const char* path) {
    const auto source = kx::FileByteSource::Open(path);
    std::string error;
    auto info = source ? kx::ReadAviFile(*source, error) : std::nullopt;
    if (!info) return 0;
    kx::TextPacketReader reader(*source, std::move(*info));
    kx::TelemetryLoad load;
    std::uint8_t buffer[kx::kTelemetryPacketBytes];
    std::uint32_t length = sizeof buffer, time = 0;
    std::size_t packets = 0;
    while (reader.Next(buffer, length, time) == kx::kTextPacketOk) {
        kx::HandleTelemetryPacket(load, buffer, length, time);
        length = sizeof buffer;
        ++packets;
    }
    return packets;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kx_bench_telemetry RECORDING\n");
        return 1;
    }
    const std::size_t bytes = ReadWholeFile(argv[1]);  // warms the page cache
    const std::size_t packets = PullPackets(argv[1]);
    if (bytes == 0 || packets == 0) {
        std::fprintf(stderr, "kx_bench_telemetry: %s has no telemetry to read\n", argv[1]);
        return 1;
    }
    const double whole = kx::bench::BestSeconds(7, [&] { ReadWholeFile(argv[1]); });
    const double pull = kx::bench::BestSeconds(7, [&] { PullPackets(argv[1]); });
    std::fprintf(stderr, "telemetry: %zu packets from %zu bytes; pull %.3f ms, whole read %.3f ms\n", packets, bytes,
                 pull * 1e3, whole * 1e3);
    std::printf("telemetry_read_fraction %.4f\n", pull / whole);
    return 0;
}
