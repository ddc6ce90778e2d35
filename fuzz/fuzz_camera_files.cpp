// The camera's setup and clock files: any bytes must read without fault, and what was read must
// write back as twelve labelled lines and two clock lines.
#include "settings/CameraOptions.h"
#include "settings/SetupFile.h"
#include "settings/TimeFile.h"

#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    kx::settings::CameraSettings settings;
    settings.modelName = std::string(kx::settings::kCameraModel);
    std::istringstream setup(bytes);
    kx::settings::ReadSetupLines(setup, settings);
    const std::string written = kx::settings::FormatSetupFile(settings);
    if (written.compare(0, kx::settings::kSetupLabelChars, kx::settings::kSetupLabels[0]) != 0) std::abort();

    kx::settings::ClockFields clock;
    std::istringstream time(bytes);
    kx::settings::ReadTimeLines(time, clock);
    if (kx::settings::FormatTimeFile(clock).size() > 20) std::abort();
    return 0;
}
