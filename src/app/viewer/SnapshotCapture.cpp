// Snapshot capture: the picture each channel shows now, saved as JPEG files in the save folder.

#include "app/core/PlaybackValues.h"
#include "app/core/ProgramPaths.h"
#include "app/core/StringIds.h"
#include "app/core/ViewerOptions.h"
#include "app/viewer/CDravikViewerDlg.h"
#include "controls/CDvListCtrl.h"
#include "report/ChannelPicture.h"
#include "controls/CSkinVerticleScrollbar.h"

#include <QDesktopServices>
#include <QImage>
#include <QUrl>

#include <filesystem>

namespace kx {

void CDravikViewerDlg::OnCapture() {
    const PlayState s = State();
    if (!player_.MediaGraph() || (s != PlayState::Running && s != PlayState::Paused)) return;
    PausePlayback();

    auto& options = TheViewerOptions();
    std::error_code ec;
    if (options.saveFolder.empty() || !std::filesystem::is_directory(options.saveFolder, ec)) {
        options.saveFolder = DefaultCaptureFolder();
        const std::string path = OptionsPath();
        if (!path.empty()) SaveOptions(path, options);
    }

    std::string recording;
    if (list_->rowCount() > 0 && currentRow_ >= 0 && currentRow_ < list_->rowCount())
        recording = list_->ItemText(currentRow_, 5).toStdString();
    const CaptureTime now = CaptureTimeNow();
    const std::string first = SnapshotFileName(options.saveFolder, recording, now, 1);
    const std::string second = SnapshotFileName(options.saveFolder, recording, now, 2);

    ChannelImage image;
    if (!player_.GrabChannelImage(0, image)) return;
    ChannelPicture(image).save(QString::fromStdString(first), "JPG");
    if (player_.GetVideoPinCount() >= 2) {
        ChannelImage rearImage;
        if (player_.GrabChannelImage(1, rearImage)) ChannelPicture(rearImage).save(QString::fromStdString(second), "JPG");
    }
    if (ShowMessage(kStrMsgSnapshotSaved, QString::fromStdString(first), true))
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(options.saveFolder)));
}

}  // namespace kx
