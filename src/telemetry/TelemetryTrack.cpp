#include "telemetry/TelemetryTrack.h"

namespace kx {

TelemetryTrack<CGPSData> GpsTrack;
TelemetryTrack<CGSensorData> GsensorTrack;

void ClearGpsTrack() { GpsTrack.Clear(); }
void ClearGsensorTrack() { GsensorTrack.Clear(); }

}  // namespace kx
