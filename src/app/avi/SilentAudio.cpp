#include "app/avi/SilentAudio.h"

#include "app/avi/AviFormat.h"

namespace kx {

std::array<std::uint8_t, kSilentListBytes> SilentStreamList(std::uint32_t length) {
    std::array<std::uint8_t, kSilentListBytes> b{};
    std::uint8_t* p = b.data();
    WriteLE32(p + 0, kFccList);
    WriteLE32(p + 4, 92);
    WriteLE32(p + 8, kFccStrl);
    WriteLE32(p + 12, kFccStrh);
    WriteLE32(p + 16, 56);
    WriteLE32(p + 20, kFccAuds);
    WriteLE32(p + 40, 2);      // scale
    WriteLE32(p + 44, 44100);  // rate: bytes per second
    WriteLE32(p + 52, length);
    WriteLE32(p + 56, 4410);   // suggested buffer size
    WriteLE32(p + 64, 2);      // sample size
    WriteLE32(p + 76, kFccStrf);
    WriteLE32(p + 80, 16);
    WriteLE16(p + 84, kWaveFormatPcm);
    WriteLE16(p + 86, 1);       // channels
    WriteLE32(p + 88, 22050);   // samples per second
    WriteLE32(p + 92, 44100);   // bytes per second
    WriteLE16(p + 96, 2);       // block alignment
    WriteLE16(p + 98, 16);      // bits per sample
    return b;
}

}  // namespace kx
