#pragma once
// The media graph as the seek bar sees it. The main window hands the seek bar an adapter over
// its playback graph; tests hand it a recorder.

#include <cstdint>

namespace kx {

class ISeekTarget {
public:
    virtual ~ISeekTarget() = default;

    virtual bool IsRecordingOpen() const = 0;
    virtual void SeekMs(std::int64_t milliseconds) = 0;
};

}  // namespace kx
