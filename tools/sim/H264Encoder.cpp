#include "sim/H264Encoder.h"

#include "sim/AnnexB.h"

#include <algorithm>
#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
#include <libavutil/opt.h>
}

namespace kx::sim {

namespace {

constexpr std::int64_t kFullHdBitRate = 8'000'000;
constexpr std::int64_t kMinBitRate = 200'000;

std::string AvErrorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

}  // namespace

std::int64_t CameraBitRate(int width, int height) {
    const std::int64_t area = std::int64_t{width} * height;
    const std::int64_t rate = std::max(kMinBitRate, kFullHdBitRate * area / (1920 * 1080));
    // x264 takes its rates in kbit/s; whole kbit/s keep bit rate and maximum rate equal, which
    // constant-rate HRD signalling requires.
    return rate / 1000 * 1000;
}

H264Encoder::~H264Encoder() {
    avcodec_free_context(&context_);
    av_frame_free(&frame_);
    av_packet_free(&packet_);
}

bool H264Encoder::Fail(const std::string& what, int code) {
    error_ = "H.264 encoder: " + what + (code < 0 ? ": " + AvErrorText(code) : std::string());
    return false;
}

bool H264Encoder::Open(int width, int height, int fps, int threads) {
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    if (!codec) return Fail("libavcodec was built without libx264", 0);
    context_ = avcodec_alloc_context3(codec);
    frame_ = av_frame_alloc();
    packet_ = av_packet_alloc();
    if (!context_ || !frame_ || !packet_) return Fail("out of memory", 0);
    fps_ = fps;
    const std::int64_t bitRate = CameraBitRate(width, height);
    context_->width = width;
    context_->height = height;
    context_->pix_fmt = AV_PIX_FMT_YUV420P;
    context_->time_base = AVRational{1, fps};
    context_->framerate = AVRational{fps, 1};
    context_->gop_size = fps;
    context_->keyint_min = fps;
    context_->max_b_frames = 0;
    context_->bit_rate = bitRate;
    context_->rc_max_rate = bitRate;
    context_->rc_buffer_size = static_cast<int>(bitRate / 2);
    context_->thread_count = threads;
    // No global header: the parameter sets stay in the stream, in front of every key frame.
    av_opt_set(context_->priv_data, "preset", "superfast", 0);
    // nal-hrd=cbr makes x264 pad each frame with filler to the constant rate a camera keeps.
    av_opt_set(context_->priv_data, "x264-params", "scenecut=0:repeat-headers=1:nal-hrd=cbr:log=0", 0);
    if (const int rc = avcodec_open2(context_, codec, nullptr); rc < 0) return Fail("cannot open libx264", rc);
    frame_->format = AV_PIX_FMT_YUV420P;
    frame_->width = width;
    frame_->height = height;
    if (const int rc = av_frame_get_buffer(frame_, 0); rc < 0) return Fail("no picture buffer", rc);
    return true;
}

PicturePlanes H264Encoder::Picture() {
    av_frame_make_writable(frame_);
    return {{frame_->data[0], frame_->data[1], frame_->data[2]},
            {frame_->linesize[0], frame_->linesize[1], frame_->linesize[2]}};
}

bool H264Encoder::Encode(std::uint32_t index, std::deque<EncodedFrame>& out) {
    frame_->pts = index;
    frame_->pict_type = index % static_cast<std::uint32_t>(fps_) == 0 ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
    return Send(frame_, out);
}

bool H264Encoder::Flush(std::deque<EncodedFrame>& out) { return Send(nullptr, out); }

bool H264Encoder::Send(const AVFrame* frame, std::deque<EncodedFrame>& out) {
    if (const int rc = avcodec_send_frame(context_, frame); rc < 0) return Fail("cannot encode", rc);
    for (;;) {
        const int rc = avcodec_receive_packet(context_, packet_);
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return true;
        if (rc < 0) return Fail("cannot encode", rc);
        EncodedFrame encoded;
        encoded.data = CameraAnnexB({packet_->data, static_cast<std::size_t>(packet_->size)});
        encoded.key = (packet_->flags & AV_PKT_FLAG_KEY) != 0;
        out.push_back(std::move(encoded));
        av_packet_unref(packet_);
    }
}

}  // namespace kx::sim
