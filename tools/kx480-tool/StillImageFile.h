#pragma once
// Saves a channel's still picture as PNG or JPEG, chosen by the file name's extension.

#include "playback/ChannelImage.h"

#include <string>

namespace kx::tool {

// False with `error` set when the extension is neither .png nor .jpg/.jpeg, or the file cannot
// be encoded or written.
bool WriteStillImage(const std::string& path, const ChannelImage& image, std::string& error);

}  // namespace kx::tool
