#include "playback/AudioTempo.h"

#include <cstdio>

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/channel_layout.h>
}

namespace kx {

bool AudioTempo::Open(const AudioFormat& format, double tempo) {
    graph_.reset();
    source_ = sink_ = nullptr;
    nextPts_ = 0;
    FilterGraphPtr graph(avfilter_graph_alloc());
    if (!graph) return false;
    graph->nb_threads = 1;

    AVChannelLayout layout;
    av_channel_layout_default(&layout, format.channels);
    char layoutName[64] = {};
    av_channel_layout_describe(&layout, layoutName, sizeof layoutName);
    char args[256];
    std::snprintf(args, sizeof args, "time_base=1/%d:sample_rate=%d:sample_fmt=s16:channel_layout=%s",
                  format.sampleRate, format.sampleRate, layoutName);
    char tempoArgs[32];
    std::snprintf(tempoArgs, sizeof tempoArgs, "tempo=%.6f", tempo);

    AVFilterContext* source = nullptr;
    AVFilterContext* stretch = nullptr;
    AVFilterContext* format16 = nullptr;
    AVFilterContext* sink = nullptr;
    if (avfilter_graph_create_filter(&source, avfilter_get_by_name("abuffer"), "in", args, nullptr, graph.get()) < 0 ||
        avfilter_graph_create_filter(&stretch, avfilter_get_by_name("atempo"), "tempo", tempoArgs, nullptr,
                                     graph.get()) < 0 ||
        avfilter_graph_create_filter(&format16, avfilter_get_by_name("aformat"), "format", "sample_fmts=s16",
                                     nullptr, graph.get()) < 0 ||
        avfilter_graph_create_filter(&sink, avfilter_get_by_name("abuffersink"), "out", nullptr, nullptr,
                                     graph.get()) < 0)
        return false;
    if (avfilter_link(source, 0, stretch, 0) < 0 || avfilter_link(stretch, 0, format16, 0) < 0 ||
        avfilter_link(format16, 0, sink, 0) < 0 || avfilter_graph_config(graph.get(), nullptr) < 0)
        return false;
    graph_ = std::move(graph);
    source_ = source;
    sink_ = sink;
    return true;
}

bool AudioTempo::Push(const AVFrame* frame) {
    if (!graph_) return false;
    if (!frame) return av_buffersrc_add_frame_flags(source_, nullptr, 0) >= 0;
    FramePtr copy(av_frame_clone(frame));
    if (!copy) return false;
    // The filter wants steady time stamps; the graph keeps its own times.
    copy->pts = nextPts_;
    nextPts_ += copy->nb_samples;
    return av_buffersrc_add_frame_flags(source_, copy.get(), 0) >= 0;
}

FramePtr AudioTempo::Pull() {
    if (!graph_) return nullptr;
    FramePtr frame = MakeFrame();
    if (!frame || av_buffersink_get_frame(sink_, frame.get()) < 0) return nullptr;
    return frame;
}

}  // namespace kx
