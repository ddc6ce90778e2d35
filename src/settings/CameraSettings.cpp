#include "settings/CameraSettings.h"

#include "settings/CameraOptions.h"

namespace kx::settings {

bool CameraSettings::HasCameraModel() const { return modelName == kCameraModel; }

void ClearCameraSelections(CameraSettings& settings) {
    settings.triggerIndex = -1;
    settings.qualityIndex = -1;
    settings.speakerIndex = -1;
    settings.channelIndex = -1;
    settings.cutOffIndex = -1;
    settings.powerOffIndex = -1;
    settings.lcdOffIndex = -1;
}

void SelectVoltageSystem(CameraSettings& settings, bool volt24) {
    settings.volt24 = volt24;
    if (settings.cutOffIndex < 0) settings.cutOffIndex = 0;
    const auto size = static_cast<int>(CutOffOptions(volt24, settings.HasCameraModel()).size());
    // The rebuilt list may be shorter (no model): an index past its end selects nothing.
    if (settings.cutOffIndex >= size) settings.cutOffIndex = -1;
}

void ApplyCameraDefaults(CameraSettings& settings) {
    if (!settings.HasCameraModel()) return;
    settings.triggerIndex = 3;
    settings.qualityIndex = 2;
    settings.audioEnabled = true;
    settings.speakerIndex = 3;
    settings.channelIndex = 1;
    SelectVoltageSystem(settings, false);
    settings.cutOffIndex = 3;
    settings.powerOffIndex = 1;
    settings.lcdOffIndex = 1;
}

void ApplyCameraDefaults(CameraSettings& settings, ClockFields& clock, const std::tm& local) {
    if (!settings.HasCameraModel()) return;
    ApplyCameraDefaults(settings);
    SetClockFields(clock, local);
}

}  // namespace kx::settings
