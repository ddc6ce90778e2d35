#include "StillImageFile.h"

#include "playback/FfmpegPtr.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

namespace kx::tool {

namespace {

// JPEG quality in FFmpeg's quantiser scale (2 best .. 31 worst).
constexpr int kJpegQuantiser = 3;

std::string Extension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

}  // namespace

bool WriteStillImage(const std::string& path, const ChannelImage& image, std::string& error) {
    const std::string ext = Extension(path);
    const bool png = ext == ".png";
    if (!png && ext != ".jpg" && ext != ".jpeg") {
        error = path + ": the picture is saved as .png or .jpg";
        return false;
    }
    const AVCodec* codec = avcodec_find_encoder(png ? AV_CODEC_ID_PNG : AV_CODEC_ID_MJPEG);
    CodecContextPtr context(codec ? avcodec_alloc_context3(codec) : nullptr);
    FramePtr frame = MakeFrame();
    PacketPtr packet = MakePacket();
    if (!context || !frame || !packet) {
        error = "no image encoder";
        return false;
    }
    const AVPixelFormat format = png ? AV_PIX_FMT_RGB24 : AV_PIX_FMT_YUVJ420P;
    context->width = image.width;
    context->height = image.height;
    context->pix_fmt = format;
    context->time_base = AVRational{1, 1};
    if (!png) {
        context->flags |= AV_CODEC_FLAG_QSCALE;
        context->global_quality = FF_QP2LAMBDA * kJpegQuantiser;
    }
    frame->width = image.width;
    frame->height = image.height;
    frame->format = format;
    if (avcodec_open2(context.get(), codec, nullptr) < 0 || av_frame_get_buffer(frame.get(), 0) < 0) {
        error = "cannot encode a " + std::to_string(image.width) + "x" + std::to_string(image.height) + " picture";
        return false;
    }
    if (!png) frame->quality = context->global_quality;

    SwsContextPtr convert(sws_getContext(image.width, image.height, AV_PIX_FMT_BGRA, image.width, image.height, format,
                                         SWS_BICUBIC, nullptr, nullptr, nullptr));
    const std::uint8_t* in[4] = {image.pixels.data(), nullptr, nullptr, nullptr};
    const int inStride[4] = {image.width * 4, 0, 0, 0};
    if (!convert || sws_scale(convert.get(), in, inStride, 0, image.height, frame->data, frame->linesize) != image.height ||
        avcodec_send_frame(context.get(), frame.get()) < 0 || avcodec_send_frame(context.get(), nullptr) < 0 ||
        avcodec_receive_packet(context.get(), packet.get()) < 0) {
        error = "cannot encode the picture";
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const bool written = file && std::fwrite(packet->data, 1, static_cast<std::size_t>(packet->size), file) ==
                                     static_cast<std::size_t>(packet->size);
    if (file && std::fclose(file) != 0) error = path + ": cannot write";
    if (!written) {
        error = path + ": cannot write";
        return false;
    }
    return error.empty();
}

}  // namespace kx::tool
