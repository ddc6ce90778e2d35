#include "card/RecordingInfo.h"

#include "app/core/StringIds.h"
#include "app/core/ViewerOptions.h"

namespace kx {

KindOfName ClassifyRecording(std::string_view name) {
    const std::string_view prefix = name.substr(0, 3);
    if (prefix == "REC") return {RecordingKind::Normal, kStrKindNormal};
    if (prefix == "EVT") return {RecordingKind::Event, kStrKindEvent};
    if (prefix == "PRK") return {RecordingKind::Parking, kStrKindParking};
    if (prefix == "MDI" || prefix == "MOT") return {RecordingKind::Parking, kStrKindParkingMotion};
    return {RecordingKind::Unknown, 0};
}

RecordingTime TimeFromName(std::string_view name) {
    const auto part = [name](std::size_t at, std::size_t length) {
        return at < name.size() ? ParseLeadingInt(name.substr(at, length)) : 0;
    };
    return {part(4, 4), part(8, 2), part(10, 2), part(13, 2), part(15, 2), part(17, 2)};
}

std::string_view SortStamp(std::string_view name) { return name.size() > 4 ? name.substr(4, 15) : std::string_view(); }

}  // namespace kx
