#include "playback/StreamParseFilter.h"

#include "app/core/DebugLog.h"
#include "playback/RecordingBytes.h"

#include <algorithm>

namespace kx {

namespace {

constexpr std::size_t kWaveFormatBytes = 16;
constexpr std::size_t kWaveFormatExBytes = 18;
constexpr std::int64_t kUnitsPerSecond = 10'000'000;  // 100-ns units

}  // namespace

HResult StreamParseFilter::SetSource(std::uintptr_t context, std::int32_t locator) {
    context_ = context;
    locator_ = locator;
    return kSOk;
}

HResult StreamParseFilter::Load(const std::string& path) {
    if (source_) return kEFail;
    std::string error;
    auto source = OpenRecordingBytes(path, context_, locator_, error);
    if (!source) {
        DebugLog("parse stage: %s", error.c_str());
        return kEFileNotFound;
    }
    auto info = ReadAviFile(*source, error);
    if (!info) {
        DebugLog("parse stage: %s: %s", path.c_str(), error.c_str());
        return kVfwInvalidFileFormat;
    }
    source_ = std::move(source);
    info_ = std::move(*info);
    index_ = MoviIndex::Build(*source_, info_);
    MakePins();
    demux_ = std::make_unique<MoviReader>(*source_, index_, pins_);
    text_ = std::make_unique<TextPacketReader>(*source_, info_);
    return kSOk;
}

void StreamParseFilter::MakePins() {
    int videoPins = 0;
    for (std::size_t s = 0; s < info_.streams.size(); ++s) {
        const AviStreamInfo& stream = info_.streams[s];
        OutputPin pin;
        pin.stream = static_cast<int>(s);
        pin.scale = stream.header.scale;
        pin.rate = stream.header.rate;
        pin.sampleSize = stream.header.sampleSize;
        pin.chunks = index_.StreamChunks(pin.stream).size();
        const auto& f = stream.format;
        if (stream.header.type == kFccVids) {
            pin.media = PinMedia::Video;
            pin.name = "Video " + std::to_string(++videoPins);
            if (f.size() >= kBitmapInfoHeaderSize) {
                pin.width = static_cast<int>(ReadLE32(f.data() + 4));
                pin.height = static_cast<int>(ReadLE32(f.data() + 8));
                pin.compression = ReadLE32(f.data() + 16);
            }
        } else if (stream.header.type == kFccAuds) {
            pin.media = PinMedia::Audio;
            pin.name = "Audio";
            if (f.size() >= kWaveFormatBytes) {
                pin.formatTag = ReadLE16(f.data());
                pin.channels = ReadLE16(f.data() + 2);
                pin.sampleRate = static_cast<int>(ReadLE32(f.data() + 4));
                pin.bitsPerSample = ReadLE16(f.data() + 14);
                pin.pcm = pin.formatTag == kWaveFormatPcm;
            }
            if (f.size() >= kWaveFormatExBytes) {
                const std::size_t extra = std::min<std::size_t>(ReadLE16(f.data() + 16), f.size() - kWaveFormatExBytes);
                pin.codecConfig.assign(f.begin() + kWaveFormatExBytes, f.begin() + static_cast<std::ptrdiff_t>(kWaveFormatExBytes + extra));
            }
        } else if (stream.header.type == kFccTxts) {
            pin.media = PinMedia::Text;
            pin.name = "Text";
        } else {
            continue;
        }
        pins_.push_back(std::move(pin));
    }
}

HResult StreamParseFilter::NextTextPacket(std::uint8_t* buffer, std::uint32_t& length, std::uint32_t& time) {
    std::lock_guard lock(textMutex_);
    if (!text_ || !buffer) {
        length = 0;
        return kNoMoreTextPackets;
    }
    return text_->Next(buffer, length, time) == kTextPacketOk ? kTextPacketDelivered : kNoMoreTextPackets;
}

std::int64_t StreamParseFilter::VideoDuration() const {
    std::int64_t longest = 0;
    for (const OutputPin& pin : pins_) {
        if (pin.media != PinMedia::Video || pin.rate == 0) continue;
        const std::int64_t frames = index_.StreamLength(pin.stream);
        longest = std::max(longest, frames * static_cast<std::int64_t>(pin.scale) * kUnitsPerSecond / pin.rate);
    }
    return longest;
}

}  // namespace kx
