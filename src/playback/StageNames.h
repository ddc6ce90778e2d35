#pragma once
// The names of the graph's stages. They are the names the graph's parts have always had, and
// several differ only in case or suffix, so they are spelled once here.

#include <string>

namespace kx::stage {

inline constexpr const char* kParseFilter = "KXStreamParseFilter";
inline constexpr const char* kAudioDecoderSingle = "COREAAC AUDIO";
inline constexpr const char* kAudioDecoderMulti = "CoreAAC Decoder";
inline constexpr const char* kAudioRenderer = "DirectSound Audio Renderer";
inline constexpr const char* kVideoRendererSingle = "Mixing Renderer9";

inline std::string VideoDecoder(int channel) { return "FFDShow Decoder" + std::to_string(channel); }
inline std::string ColourConverter(int channel) { return "Color Space Convertor " + std::to_string(channel); }
inline std::string VideoRendererMulti(int channel) { return "Mixing Renderer9-" + std::to_string(channel); }

}  // namespace kx::stage
