#include "sim/AnnexB.h"

namespace kx::sim {

namespace {

// The index just past the next 00 00 01 at or after `from`, or `size` when there is none.
std::size_t NextUnitStart(std::span<const std::uint8_t> s, std::size_t from) {
    for (std::size_t i = from; i + 2 < s.size(); ++i) {
        if (s[i] == 0 && s[i + 1] == 0 && s[i + 2] == 1) return i + 3;
    }
    return s.size();
}

}  // namespace

std::vector<std::span<const std::uint8_t>> SplitAnnexB(std::span<const std::uint8_t> stream) {
    std::vector<std::span<const std::uint8_t>> units;
    std::size_t start = NextUnitStart(stream, 0);
    while (start < stream.size()) {
        const std::size_t next = NextUnitStart(stream, start);
        std::size_t end = next == stream.size() ? next : next - 3;
        // Zero bytes before a start code belong to it (a 4-byte start code or padding).
        while (end > start && stream[end - 1] == 0) --end;
        if (end > start) units.push_back(stream.subspan(start, end - start));
        start = next;
    }
    return units;
}

std::vector<std::uint8_t> CameraAnnexB(std::span<const std::uint8_t> stream) {
    std::vector<std::uint8_t> out;
    out.reserve(stream.size());
    for (const auto unit : SplitAnnexB(stream)) {
        const std::uint8_t type = unit[0] & 0x1F;
        if (type == kNalSei || type == kNalAccessUnitDelimiter) continue;
        out.insert(out.end(), {0, 0, 0, 1});
        out.insert(out.end(), unit.begin(), unit.end());
    }
    return out;
}

}  // namespace kx::sim
