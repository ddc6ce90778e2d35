#include "app/avi/AviFormat.h"

#include <algorithm>

namespace kx {

namespace {

// Reads 32-bit little-endian fields in order from a possibly short block.
class FieldReader {
public:
    FieldReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint32_t U32() {
        std::uint8_t b[4] = {0, 0, 0, 0};
        Take(b, 4);
        return ReadLE32(b);
    }
    std::uint16_t U16() {
        std::uint8_t b[2] = {0, 0};
        Take(b, 2);
        return ReadLE16(b);
    }

private:
    void Take(std::uint8_t* out, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i, ++at_)
            if (at_ < size_) out[i] = data_[at_];
    }
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    const std::size_t at = out.size();
    out.resize(at + 4);
    WriteLE32(out.data() + at, v);
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    const std::size_t at = out.size();
    out.resize(at + 2);
    WriteLE16(out.data() + at, v);
}

}  // namespace

std::vector<std::uint8_t> SerializeMainHeader(const AviMainHeader& h) {
    std::vector<std::uint8_t> out;
    for (std::uint32_t v : {h.microSecPerFrame, h.maxBytesPerSec, h.paddingGranularity, h.flags, h.totalFrames,
                            h.initialFrames, h.streams, h.suggestedBufferSize, h.width, h.height, 0u, 0u, 0u, 0u})
        Put32(out, v);
    return out;
}

std::vector<std::uint8_t> SerializeStreamHeader(const AviStreamHeader& h) {
    std::vector<std::uint8_t> out;
    Put32(out, h.type);
    Put32(out, h.handler);
    Put32(out, h.flags);
    Put16(out, h.priority);
    Put16(out, h.language);
    for (std::uint32_t v : {h.initialFrames, h.scale, h.rate, h.start, h.length, h.suggestedBufferSize, h.quality,
                            h.sampleSize})
        Put32(out, v);
    for (std::int16_t v : h.frame) Put16(out, static_cast<std::uint16_t>(v));
    return out;
}

AviMainHeader ParseMainHeader(const std::uint8_t* data, std::size_t size) {
    FieldReader r(data, size);
    AviMainHeader h;
    h.microSecPerFrame = r.U32();
    h.maxBytesPerSec = r.U32();
    h.paddingGranularity = r.U32();
    h.flags = r.U32();
    h.totalFrames = r.U32();
    h.initialFrames = r.U32();
    h.streams = r.U32();
    h.suggestedBufferSize = r.U32();
    h.width = r.U32();
    h.height = r.U32();
    return h;
}

AviStreamHeader ParseStreamHeader(const std::uint8_t* data, std::size_t size) {
    FieldReader r(data, size);
    AviStreamHeader h;
    h.type = r.U32();
    h.handler = r.U32();
    h.flags = r.U32();
    h.priority = r.U16();
    h.language = r.U16();
    h.initialFrames = r.U32();
    h.scale = r.U32();
    h.rate = r.U32();
    h.start = r.U32();
    h.length = r.U32();
    h.suggestedBufferSize = r.U32();
    h.quality = r.U32();
    h.sampleSize = r.U32();
    for (auto& v : h.frame) v = static_cast<std::int16_t>(r.U16());
    return h;
}

std::vector<std::uint8_t> MakeBitmapInfoHeader(std::uint32_t width, std::uint32_t height, FourCC compression) {
    std::vector<std::uint8_t> out;
    Put32(out, kBitmapInfoHeaderSize);
    Put32(out, width);
    Put32(out, height);
    Put16(out, 1);   // planes
    Put16(out, 24);  // bit count
    Put32(out, compression);
    Put32(out, width * height * 3);  // image size
    for (int i = 0; i < 4; ++i) Put32(out, 0);
    return out;
}

std::vector<std::uint8_t> MakeWaveFormat(std::uint16_t tag, std::uint16_t channels, std::uint32_t sampleRate,
                                         std::uint32_t avgBytesPerSec, std::uint16_t blockAlign,
                                         std::uint16_t bitsPerSample, const std::vector<std::uint8_t>& extra,
                                         bool shortForm) {
    std::vector<std::uint8_t> out;
    Put16(out, tag);
    Put16(out, channels);
    Put32(out, sampleRate);
    Put32(out, avgBytesPerSec);
    Put16(out, blockAlign);
    Put16(out, bitsPerSample);
    if (shortForm && extra.empty()) return out;
    Put16(out, static_cast<std::uint16_t>(std::min<std::size_t>(extra.size(), 0xFFFF)));
    out.insert(out.end(), extra.begin(), extra.end());
    return out;
}

}  // namespace kx
