#include "playback/VideoDecoder.h"

#include "app/avi/AviFormat.h"
#include "app/core/DebugLog.h"

#include <algorithm>

namespace kx {

VideoDecoder::VideoDecoder(const OutputPin& pin, PacketQueue& packets, FrameQueue& frames, int threads,
                           std::function<void()> onFinished)
    : pin_(pin),
      packets_(packets),
      frames_(frames),
      threads_(threads),
      onFinished_(std::move(onFinished)),
      lastIndex_(std::max<std::int64_t>(0, static_cast<std::int64_t>(pin.chunks) - 1)) {}

VideoDecoder::~VideoDecoder() { Join(); }

bool VideoDecoder::Connect() {
    const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_H264);
    const FourCC c = pin_.compression;
    const bool h264 = c == kFccH264 || c == MakeFourCC("h264") || c == MakeFourCC("X264") || c == MakeFourCC("avc1");
    if (!codec || !h264) {
        DebugLog("%s: no decoder for compression %s", pin_.name.c_str(), FourCCText(pin_.compression).c_str());
        return false;
    }
    CodecContextPtr context(avcodec_alloc_context3(codec));
    if (!context) return false;
    context->width = pin_.width;
    context->height = std::abs(pin_.height);
    context->pkt_timebase = AVRational{static_cast<int>(pin_.scale), static_cast<int>(pin_.rate)};
    context->thread_count = threads_;
    context->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    if (avcodec_open2(context.get(), codec, nullptr) < 0) return false;
    context_ = std::move(context);
    return true;
}

void VideoDecoder::Start() {
    if (context_ && !thread_.joinable()) thread_ = std::thread([this] { Run(); });
}

void VideoDecoder::Join() {
    if (thread_.joinable()) thread_.join();
}

HResult VideoDecoder::PutParam(unsigned param, int value) {
    switch (param) {
    case kParamPictureAdjust: adjust_ = value != 0; return kSOk;
    case kParamBrightness: brightness_ = std::clamp(value, -kMaxBrightness, kMaxBrightness); return kSOk;
    case kParamFlip: flip_ = value != 0; return kSOk;
    case kParamMirror: mirror_ = value != 0; return kSOk;
    default: return kEInvalidArg;
    }
}

PictureSettings VideoDecoder::Settings() const {
    return {adjust_ ? brightness_.load() : 0, flip_ && mirror_};
}

// Pictures before the seek target are decoded (they are the references of the target) but not
// queued; a target beyond the last frame shows the last frame.
bool VideoDecoder::ReceiveFrames(const SeekMark& mark) {
    const std::int64_t first = std::min(pin_.UnitAt(mark.targetMs), lastIndex_);
    for (;;) {
        FramePtr frame = MakeFrame();
        if (!frame || avcodec_receive_frame(context_.get(), frame.get()) < 0) return true;
        const std::int64_t index = frame->best_effort_timestamp;
        if (index == AV_NOPTS_VALUE || index < first) continue;
        QueuedFrame queued;
        queued.serial = mark.serial;
        queued.index = index;
        queued.time = static_cast<double>(index) * pin_.UnitSeconds();
        queued.duration = pin_.UnitSeconds();
        queued.frame = std::move(frame);
        if (!frames_.Push(std::move(queued))) return false;
    }
}

void VideoDecoder::Run() {
    QueuedPacket in;
    int serial = -1;
    while (packets_.Get(in)) {
        if (in.mark.serial != serial) {
            avcodec_flush_buffers(context_.get());
            serial = in.mark.serial;
        }
        if (!in.packet) {
            avcodec_send_packet(context_.get(), nullptr);
            if (!ReceiveFrames(in.mark)) return;
            avcodec_flush_buffers(context_.get());
            finished_ = serial;
            if (onFinished_) onFinished_();
            continue;
        }
        int sent = avcodec_send_packet(context_.get(), in.packet.get());
        if (!ReceiveFrames(in.mark)) return;
        if (sent == AVERROR(EAGAIN)) {
            avcodec_send_packet(context_.get(), in.packet.get());
            if (!ReceiveFrames(in.mark)) return;
        }
    }
}

}  // namespace kx
