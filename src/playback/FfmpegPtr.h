#pragma once
// Owning pointers for the FFmpeg objects the graph keeps.

#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace kx {

struct AvFrameFree {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct AvPacketFree {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct AvCodecContextFree {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct SwsContextFree {
    void operator()(SwsContext* c) const { sws_freeContext(c); }
};
struct SwrContextFree {
    void operator()(SwrContext* c) const { swr_free(&c); }
};
struct AvFilterGraphFree {
    void operator()(AVFilterGraph* g) const { avfilter_graph_free(&g); }
};

using FramePtr = std::unique_ptr<AVFrame, AvFrameFree>;
using PacketPtr = std::unique_ptr<AVPacket, AvPacketFree>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, AvCodecContextFree>;
using SwsContextPtr = std::unique_ptr<SwsContext, SwsContextFree>;
using SwrContextPtr = std::unique_ptr<SwrContext, SwrContextFree>;
using FilterGraphPtr = std::unique_ptr<AVFilterGraph, AvFilterGraphFree>;

inline FramePtr MakeFrame() { return FramePtr(av_frame_alloc()); }
inline PacketPtr MakePacket() { return PacketPtr(av_packet_alloc()); }

}  // namespace kx
