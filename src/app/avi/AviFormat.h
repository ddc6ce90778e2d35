#pragma once
// The parts of an AVI file's header list as the camera writes them.

#include "app/avi/RiffBytes.h"

#include <cstdint>
#include <vector>

namespace kx {

inline constexpr FourCC kFccRiff = MakeFourCC("RIFF");
inline constexpr FourCC kFccAvi = MakeFourCC("AVI ");
inline constexpr FourCC kFccList = MakeFourCC("LIST");
inline constexpr FourCC kFccHdrl = MakeFourCC("hdrl");
inline constexpr FourCC kFccAvih = MakeFourCC("avih");
inline constexpr FourCC kFccStrl = MakeFourCC("strl");
inline constexpr FourCC kFccStrh = MakeFourCC("strh");
inline constexpr FourCC kFccStrf = MakeFourCC("strf");
inline constexpr FourCC kFccMovi = MakeFourCC("movi");
inline constexpr FourCC kFccIdx1 = MakeFourCC("idx1");
inline constexpr FourCC kFccRec = MakeFourCC("rec ");
inline constexpr FourCC kFccVids = MakeFourCC("vids");
inline constexpr FourCC kFccAuds = MakeFourCC("auds");
inline constexpr FourCC kFccTxts = MakeFourCC("txts");
inline constexpr FourCC kFccH264 = MakeFourCC("H264");

inline constexpr std::uint32_t kAviMainHeaderSize = 56;
inline constexpr std::uint32_t kAviStreamHeaderSize = 56;
inline constexpr std::uint32_t kBitmapInfoHeaderSize = 40;
inline constexpr std::uint32_t kIndexEntrySize = 16;
inline constexpr std::uint32_t kIndexKeyFrame = 0x10;
inline constexpr std::uint32_t kAvifHasIndex = 0x10;
inline constexpr std::uint32_t kAvifIsInterleaved = 0x100;
inline constexpr std::uint16_t kWaveFormatPcm = 1;
inline constexpr std::uint16_t kWaveFormatAac = 0x00FF;

// "avih": the main header.
struct AviMainHeader {
    std::uint32_t microSecPerFrame = 0;
    std::uint32_t maxBytesPerSec = 0;
    std::uint32_t paddingGranularity = 0;
    std::uint32_t flags = 0;
    std::uint32_t totalFrames = 0;
    std::uint32_t initialFrames = 0;
    std::uint32_t streams = 0;
    std::uint32_t suggestedBufferSize = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// "strh": one stream's header.
struct AviStreamHeader {
    FourCC type = 0;  // "vids", "auds", "txts"
    FourCC handler = 0;
    std::uint32_t flags = 0;
    std::uint16_t priority = 0;
    std::uint16_t language = 0;
    std::uint32_t initialFrames = 0;
    std::uint32_t scale = 1;
    std::uint32_t rate = 0;
    std::uint32_t start = 0;
    std::uint32_t length = 0;
    std::uint32_t suggestedBufferSize = 0;
    std::uint32_t quality = 0;
    std::uint32_t sampleSize = 0;
    std::int16_t frame[4] = {0, 0, 0, 0};
};

std::vector<std::uint8_t> SerializeMainHeader(const AviMainHeader& h);
std::vector<std::uint8_t> SerializeStreamHeader(const AviStreamHeader& h);
// Reads the fields present in `size` bytes; missing ones stay zero.
AviMainHeader ParseMainHeader(const std::uint8_t* data, std::size_t size);
AviStreamHeader ParseStreamHeader(const std::uint8_t* data, std::size_t size);

// A 40-byte BITMAPINFOHEADER for a video stream.
std::vector<std::uint8_t> MakeBitmapInfoHeader(std::uint32_t width, std::uint32_t height, FourCC compression);
// A WAVEFORMATEX (18 bytes plus `extra`), or the 16-byte WAVEFORMAT when `extra` is empty and
// `shortForm` is set.
std::vector<std::uint8_t> MakeWaveFormat(std::uint16_t tag, std::uint16_t channels, std::uint32_t sampleRate,
                                         std::uint32_t avgBytesPerSec, std::uint16_t blockAlign,
                                         std::uint16_t bitsPerSample, const std::vector<std::uint8_t>& extra,
                                         bool shortForm = false);

}  // namespace kx
