// The Print button (a two-page report of the moment being watched) and the Zoom button (the
// screen magnifier).

#include "app/core/ViewerOptions.h"
#include "app/viewer/CDravikViewerDlg.h"
#include "controls/CDvButtonCtrl.h"
#include "map/CMapViewWnd.h"
#include "report/ChannelPicture.h"
#include "report/CReportPrinter.h"
#include "report/CZoomDlg.h"
#include "telemetry/TelemetryLookup.h"

namespace kx {

ReportInputs CDravikViewerDlg::GatherReportInputs() {
    ReportInputs inputs;
    ChannelImage image;
    if (player_.GrabChannelImage(0, image)) inputs.channel1 = ChannelPicture(image);
    inputs.channelCount = player_.GetVideoPinCount();
    if (inputs.channelCount == 2) {
        ChannelImage rear;
        if (player_.GrabChannelImage(1, rear)) inputs.channel2 = ChannelPicture(rear);
    }
    const auto time = static_cast<std::uint32_t>(player_.GetPositionMs());
    float latitude = 0, longitude = 0;
    FindPositionAt(time, latitude, longitude);
    inputs.latitude = latitude;
    inputs.longitude = longitude;
    FindGsensorAt(time, inputs.x, inputs.y, inputs.z);
    if (mapView_ && latitude != 0 && longitude != 0) inputs.mapPicture = mapView_->grab().toImage();
    inputs.modelIndex = TheViewerOptions().modelIndex;
    return inputs;
}

void CDravikViewerDlg::OnPrint() {
    const PlayState s = State();
    if (!player_.MediaGraph() || (s != PlayState::Running && s != PlayState::Paused)) return;
    // Playback stays paused after the report.
    PausePlayback();
    PrintReport(this, GatherReportInputs(), printerChooser_);
}

}  // namespace kx

namespace kx {

void CDravikViewerDlg::OnZoom() {
    if (!zoomDlg_) return;
    // The Zoom button looks pressed while the magnifier shows.
    Button(cmd::kZoom)->SetChecked(zoomDlg_->Toggle());
}

}  // namespace kx
