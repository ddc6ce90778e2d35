#pragma once
// The camera part of the settings dialog as plain values: what the drop lists, the check box
// and the voltage radios show. An index is a position in its list (CameraOptions.h), -1 when
// the list has no selection.

#include "settings/ClockFields.h"

#include <ctime>
#include <string>

namespace kx::settings {

struct CameraSettings {
    std::string modelName;        // the model list's text: kCameraModel, or "" without a model
    std::string productName;      // "Product Name" of the last file read
    std::string softwareVersion;  // "S/W Version" of the last file read for this model
    int triggerIndex = -1;
    int qualityIndex = -1;
    bool audioEnabled = false;
    int speakerIndex = -1;
    int channelIndex = -1;
    bool volt24 = false;          // the 24 V radio; the 12 V radio otherwise
    int cutOffIndex = -1;         // in CutOffOptions(volt24, ...)
    int powerOffIndex = -1;
    int lcdOffIndex = -1;

    bool HasCameraModel() const;
};

// Removes the selection of every camera drop list.
void ClearCameraSelections(CameraSettings& settings);

// Chooses the 12 V or 24 V system. The cut-off list is rebuilt for it and keeps its selected
// index (no selection becomes the first entry).
void SelectVoltageSystem(CameraSettings& settings, bool volt24);

// The camera defaults, set only while the camera model is selected: trigger 3, quality 2,
// sound on, speaker 3, channels 1, 12 V, cut-off 3, power-off 1, display-off 1.
void ApplyCameraDefaults(CameraSettings& settings);
// The same, and the clock lists set to `local` (the current local time in the dialog).
void ApplyCameraDefaults(CameraSettings& settings, ClockFields& clock, const std::tm& local);

}  // namespace kx::settings
