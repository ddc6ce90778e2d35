#pragma once
// Reading a recording back for tests: a plain RIFF walk that does not use the viewer's own
// reader, and a decode of every stream with FFmpeg.

#include "app/avi/AviFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace kx::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}


// ---- A plain walk over the file, independent of the reader the viewer uses ----

struct Chunk {
    std::string id;
    std::uint64_t offset;  // of the chunk header, counted from "movi"
    Bytes data;
};

struct IndexEntry {
    std::string id;
    std::uint32_t flags, offset, size;
};

struct Riff {
    std::uint32_t riffSize = 0;
    std::uint32_t moviSize = 0;
    AviMainHeader main;
    std::vector<AviStreamHeader> headers;
    std::vector<Bytes> formats;
    std::vector<Chunk> chunks;
    bool endsAfterChunks = false;  // the movi walk ends exactly at the end of the file
    bool hasIndex = false;
    std::vector<IndexEntry> index;

    std::vector<const Chunk*> Of(const std::string& id) const {
        std::vector<const Chunk*> out;
        for (const Chunk& c : chunks)
            if (c.id == id) out.push_back(&c);
        return out;
    }
};

inline Riff Walk(const Bytes& f) {
    Riff r;
    r.riffSize = ReadLE32(&f[4]);
    const std::size_t moviList = 20 + ReadLE32(&f[16]);
    r.main = ParseMainHeader(&f[32], 56);
    for (std::size_t p = 88; p < moviList;) {  // the stream lists after "avih"
        const std::size_t listEnd = p + 8 + ReadLE32(&f[p + 4]);
        r.headers.push_back(ParseStreamHeader(&f[p + 20], 56));
        const std::size_t strf = p + 20 + 56;
        r.formats.emplace_back(f.begin() + static_cast<std::ptrdiff_t>(strf + 8),
                               f.begin() + static_cast<std::ptrdiff_t>(strf + 8 + ReadLE32(&f[strf + 4])));
        p = listEnd;
    }
    r.moviSize = ReadLE32(&f[moviList + 4]);
    const std::size_t movi = moviList + 8;
    std::size_t p = movi + 4;
    while (p + 8 <= f.size() && std::memcmp(&f[p], "idx1", 4) != 0) {
        const std::uint32_t size = ReadLE32(&f[p + 4]);
        if (p + 8 + size > f.size()) break;
        r.chunks.push_back({std::string(reinterpret_cast<const char*>(&f[p]), 4), p - movi,
                            Bytes(f.begin() + static_cast<std::ptrdiff_t>(p + 8),
                                  f.begin() + static_cast<std::ptrdiff_t>(p + 8 + size))});
        p += 8 + size + (size & 1);
    }
    r.endsAfterChunks = p == f.size();
    if (p + 8 <= f.size() && std::memcmp(&f[p], "idx1", 4) == 0) {
        r.hasIndex = true;
        const std::uint32_t size = ReadLE32(&f[p + 4]);
        for (std::size_t e = p + 8; e + 16 <= p + 8 + size; e += 16)
            r.index.push_back({std::string(reinterpret_cast<const char*>(&f[e]), 4), ReadLE32(&f[e + 4]),
                               ReadLE32(&f[e + 8]), ReadLE32(&f[e + 12])});
    }
    return r;
}

// ---- Decoding with FFmpeg ----

struct Picture {
    int width = 0, height = 0;
    Bytes y, u, v;
};

struct DecodedStream {
    AVMediaType type = AVMEDIA_TYPE_UNKNOWN;
    AVCodecID codec = AV_CODEC_ID_NONE;
    int width = 0, height = 0, sampleRate = 0, soundChannels = 0;
    std::vector<Picture> pictures;
    double sumSquares = 0;
    std::int64_t samples = 0;
    double Rms() const { return samples ? std::sqrt(sumSquares / static_cast<double>(samples)) : 0; }
};

inline Bytes CopyPlane(const std::uint8_t* data, int stride, int width, int height) {
    Bytes out(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        std::memcpy(&out[static_cast<std::size_t>(y * width)], data + static_cast<std::ptrdiff_t>(y) * stride,
                    static_cast<std::size_t>(width));
    return out;
}

inline void Take(const AVFrame* f, DecodedStream& s) {
    if (s.type == AVMEDIA_TYPE_VIDEO) {
        ASSERT_EQ(f->format, AV_PIX_FMT_YUV420P);
        s.pictures.push_back({f->width, f->height, CopyPlane(f->data[0], f->linesize[0], f->width, f->height),
                              CopyPlane(f->data[1], f->linesize[1], f->width / 2, f->height / 2),
                              CopyPlane(f->data[2], f->linesize[2], f->width / 2, f->height / 2)});
        return;
    }
    ASSERT_TRUE(f->format == AV_SAMPLE_FMT_FLTP || f->format == AV_SAMPLE_FMT_S16);
    for (int i = 0; i < f->nb_samples; ++i) {
        const double v = f->format == AV_SAMPLE_FMT_FLTP ? double{reinterpret_cast<const float*>(f->data[0])[i]}
                                                         : reinterpret_cast<const std::int16_t*>(f->data[0])[i] / 32768.0;
        s.sumSquares += v * v;
    }
    s.samples += f->nb_samples;
}

inline std::vector<DecodedStream> Decode(const std::string& path) {
    std::vector<DecodedStream> streams;
    AVFormatContext* format = nullptr;
    EXPECT_EQ(avformat_open_input(&format, path.c_str(), nullptr, nullptr), 0);
    if (!format) return streams;
    EXPECT_GE(avformat_find_stream_info(format, nullptr), 0);
    std::vector<AVCodecContext*> decoders(format->nb_streams, nullptr);
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVCodecParameters* par = format->streams[i]->codecpar;
        DecodedStream s;
        s.type = par->codec_type;
        s.codec = par->codec_id;
        s.width = par->width;
        s.height = par->height;
        s.sampleRate = par->sample_rate;
        s.soundChannels = par->ch_layout.nb_channels;
        streams.push_back(s);
        if (s.type != AVMEDIA_TYPE_VIDEO && s.type != AVMEDIA_TYPE_AUDIO) continue;
        const AVCodec* codec = avcodec_find_decoder(par->codec_id);
        decoders[i] = avcodec_alloc_context3(codec);
        avcodec_parameters_to_context(decoders[i], par);
        decoders[i]->thread_count = 1;
        EXPECT_EQ(avcodec_open2(decoders[i], codec, nullptr), 0);
    }
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    auto drain = [&](unsigned i) {
        while (avcodec_receive_frame(decoders[i], frame) == 0) {
            Take(frame, streams[i]);
            av_frame_unref(frame);
        }
    };
    while (av_read_frame(format, packet) >= 0) {
        const auto i = static_cast<unsigned>(packet->stream_index);
        if (decoders[i]) {
            EXPECT_EQ(avcodec_send_packet(decoders[i], packet), 0);
            drain(i);
        }
        av_packet_unref(packet);
    }
    for (unsigned i = 0; i < decoders.size(); ++i) {
        if (!decoders[i]) continue;
        avcodec_send_packet(decoders[i], nullptr);
        drain(i);
        avcodec_free_context(&decoders[i]);
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
    avformat_close_input(&format);
    return streams;
}

}  // namespace kx::test
