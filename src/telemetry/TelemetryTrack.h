#pragma once
// The process-wide telemetry lists of the open recording. A list is filled off the UI thread
// into a fresh vector and handed over in one step (Publish), so a reader never sees a list that
// is being appended to: readers take a snapshot that stays valid while they hold it.

#include "telemetry/TelemetryRecords.h"

#include <memory>
#include <mutex>
#include <vector>

namespace kx {

template <class Record>
struct TrackSnapshot {
    std::vector<Record> records;
    bool nonDecreasing = true;  // time stamps never decrease: lookups may binary-search
};

template <class Record>
class TelemetryTrack {
public:
    using Snapshot = TrackSnapshot<Record>;

    std::shared_ptr<const Snapshot> Get() const {
        std::lock_guard lock(mutex_);
        return current_;
    }

    void Publish(std::vector<Record> records) {
        auto next = std::make_shared<Snapshot>();
        for (std::size_t i = 1; i < records.size() && next->nonDecreasing; ++i)
            next->nonDecreasing = records[i - 1].time <= records[i].time;
        next->records = std::move(records);
        std::lock_guard lock(mutex_);
        current_ = std::move(next);
    }

    void Clear() { Publish({}); }

    std::size_t GetSize() const { return Get()->records.size(); }

private:
    mutable std::mutex mutex_;
    std::shared_ptr<const Snapshot> current_ = std::make_shared<const Snapshot>();
};

extern TelemetryTrack<CGPSData> GpsTrack;
extern TelemetryTrack<CGSensorData> GsensorTrack;

void ClearGpsTrack();
void ClearGsensorTrack();

}  // namespace kx
