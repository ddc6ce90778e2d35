// The playlist: filling it from the recording source, kind filters, Prev and Next, Open,
// Merge and drops, and the opening of a row on the worker thread.

#include "app/avi/CardRecordingRebuild.h"
#include "app/core/LanguageTable.h"
#include "app/core/PlaybackValues.h"
#include "app/core/StringIds.h"
#include "app/core/ViewerOptions.h"
#include "app/viewer/CDravikViewerDlg.h"
#include "card/CardFileReader.h"
#include "card/ui/CFileLoadDlg.h"
#include "controls/CDvButtonCtrl.h"
#include "controls/CDvGsensorCtrl.h"
#include "controls/CDvListCtrl.h"
#include "controls/CSkinVerticleScrollbar.h"
#include "controls/CDvMapPanelCtrl.h"
#include "controls/CDvScreenCtrl.h"
#include "controls/CDvSimpleSliderCtrl.h"
#include "controls/CDvTextCtrl.h"
#include "controls/CDvVolumeCtrl.h"
#include "controls/SpeedFactor.h"
#include "map/CMapNoConnectedWnd.h"
#include "map/CMapNoDataWnd.h"
#include "map/CMapViewWnd.h"
#include "map/MapMode.h"
#include "map/OnlineState.h"
#include "playback/RecordingBytes.h"
#include "playback/TelemetryPull.h"
#include "telemetry/TelemetryTrack.h"

#include <QApplication>
#include <QFileDialog>
#include <QProgressDialog>
#include <QStandardPaths>

#include <chrono>
#include <future>

namespace kx {

// What the worker needs of the row it opens, taken on the UI thread before it starts.
struct CDravikViewerDlg::OpenRequest : std::enable_shared_from_this<OpenRequest> {
    int token = 0;
    int row = -1;
    std::string path;  // column 4
    std::string name;  // column 5
    SourceKind kind = SourceKind::Nothing;
    int cardFileId = -1;
    std::string cardName;
    std::string cardPath;
    void* deviceBlock = nullptr;
    std::atomic<bool> cancel{false};
    std::thread predecessor;  // a cancelled earlier worker, joined before this one starts
};

namespace {

QStringList RowTexts(const PlaylistRow& row) {
    return {QString::fromStdString(row.number), QString::fromStdString(row.date),
            QString::fromStdString(row.time),   QString::fromStdString(row.kind),
            QString::fromStdString(row.fullPath), QString::fromStdString(row.name)};
}

int KindSlot(int id) {
    switch (id) {
        case cmd::kKindAll: return 0;
        case cmd::kKindNormal: return 1;
        case cmd::kKindEvent: return 2;
        default: return 3;
    }
}

void PostKindButtonsRepaint(QObject* window) {
    QApplication::postEvent(window, new QEvent(QEvent::Type(QEvent::User + cmd::kMsgKindButtons)));
}

}  // namespace

void CDravikViewerDlg::FillPlaylist(bool all, RecordingKind kind) {
    PlaylistFill fill;
    const int rows = all ? source_.FillAll(fill) : source_.FillKind(kind, fill);
    if (all && rows == 0 && source_.Recordings().empty()) return;
    list_->setUpdatesEnabled(false);
    list_->DeleteAllItems();
    for (int i = 0; i < static_cast<int>(fill.rows.size()); ++i)
        list_->InsertRow(i, RowTexts(fill.rows[static_cast<std::size_t>(i)]));
    list_->setUpdatesEnabled(true);
    if (all) {
        kindEnabled_[0] = fill.any;
        kindEnabled_[1] = fill.normal;
        kindEnabled_[2] = fill.event;
        kindEnabled_[3] = fill.parking;
    }
}

void CDravikViewerDlg::OnKindFilter(int id) {
    const int slot = KindSlot(id);
    if (!kindEnabled_[slot]) return;
    switch (id) {
        case cmd::kKindAll: FillPlaylist(true, RecordingKind::Unknown); break;
        case cmd::kKindNormal: FillPlaylist(false, RecordingKind::Normal); break;
        case cmd::kKindEvent: FillPlaylist(false, RecordingKind::Event); break;
        default: FillPlaylist(false, RecordingKind::Parking); break;
    }
    for (int other : {cmd::kKindAll, cmd::kKindEvent, cmd::kKindNormal, cmd::kKindParking})
        Button(other)->SetChecked(other == id);
    if (currentFileName_.empty()) return;
    const QString name = QString::fromStdString(currentFileName_);
    for (int row = 0; row < list_->rowCount(); ++row) {
        if (list_->ItemText(row, 5).compare(name, Qt::CaseInsensitive) == 0) {
            list_->selectRow(row);
            list_->scrollToItem(list_->item(row, 0));
            currentRow_ = row;
            list_->SetMarkedRow(row);
            return;
        }
    }
    if (list_->rowCount() > 0) {
        list_->selectRow(0);
        list_->scrollToItem(list_->item(0, 0));
    }
    if (currentRow_ != 0) {
        currentRow_ = 0;
        list_->SetMarkedRow(0);
    }
}

void CDravikViewerDlg::OnPrev() {
    if (currentRow_ == 0) return;
    StopPlayback(false);
    if (list_->rowCount() == 0 || currentRow_ - 1 < 0) {
        HideScreens();
        return;
    }
    PlayRow(currentRow_ - 1);
}

void CDravikViewerDlg::OnNext() {
    if (currentRow_ >= list_->rowCount() - 1) return;
    StopPlayback(false);
    if (list_->rowCount() == 0 || currentRow_ < 0) {
        HideScreens();
        return;
    }
    list_->selectRow(currentRow_ + 1);
    list_->scrollToItem(list_->item(currentRow_ + 1, 0));
    PlayRow(currentRow_ + 1);
}

void CDravikViewerDlg::OnListDoubleClick(int row) {
    if (IsOpening() || row < 0) return;
    pendingRow_ = row;
    timers_[cmd::kTimerDoubleClick]->start(1000);
}

void CDravikViewerDlg::ShowEmptySource() {
    if (State() == PlayState::Running) PausePlayback();
    currentCardDrive_.clear();
    StopPlayback(true);
    for (int i = 0; i < 4; ++i) kindEnabled_[i] = false;
    for (int id : {cmd::kKindAll, cmd::kKindEvent, cmd::kKindNormal, cmd::kKindParking}) Button(id)->SetButtonEnabled(false);
    list_->DeleteAllItems();
    ShowMessage(kStrMsgNoRecordings);
    PostKindButtonsRepaint(this);
}

void CDravikViewerDlg::RunFileLoadDialog(int mode) {
    auto* dialog = new CFileLoadDlg(this, mode, [this] { FillFromLoadDialog(); });
    dialog->SetNoticeMs(mode == CFileLoadDlg::kModeStartup ? startupNoticeMs_ : loadingNoticeMs_);
    loadDlg_ = dialog;
    dialog->exec();
    loadDlg_ = nullptr;
    delete dialog;
}

void CDravikViewerDlg::FillFromLoadDialog() {
    const SourceKind kind = source_.Kind();
    if (kind != SourceKind::RemovableDrive && kind != SourceKind::Card && kind != SourceKind::Computer) return;
    for (int i = 0; i < 4; ++i) kindEnabled_[i] = false;
    FillPlaylist(true, RecordingKind::Unknown);
    if (list_->rowCount() == 0 || source_.Recordings().empty()) {
        ShowEmptySource();
        return;
    }
    currentCardDrive_ = loadPath_;
    const int ids[4] = {cmd::kKindAll, cmd::kKindNormal, cmd::kKindEvent, cmd::kKindParking};
    for (int i = 0; i < 4; ++i) {
        Button(ids[i])->SetButtonEnabled(kindEnabled_[i]);
        Button(ids[i])->SetChecked(ids[i] == cmd::kKindAll);
        Button(ids[i])->update();
    }
    player_.CloseRecording();
    list_->selectRow(0);
    PlayRow(0);
    PostKindButtonsRepaint(this);
}

bool CDravikViewerDlg::LoadDrive(const std::string& rootOrDevice) {
    if (IsOpening()) return false;
    const int count = source_.DiscoverDrives();
    for (int i = 0; i < count; ++i) {
        const SourceDrive& drive = source_.Drives()[static_cast<std::size_t>(i)];
        if (drive.kind == SourceKind::Computer) continue;
        if (drive.root != rootOrDevice && drive.devicePath != rootOrDevice) continue;
        if (PlayingOrPaused()) StopPlayback(false);
        source_.LoadSource(i);
        loadPath_ = rootOrDevice;
        RunFileLoadDialog(CFileLoadDlg::kModeOpened);
        return true;
    }
    return false;
}

void CDravikViewerDlg::LoadDroppedPaths(const std::vector<std::string>& paths) {
    if (IsOpening() || paths.empty()) return;
    if (PlayingOrPaused()) StopPlayback(false);
    player_.CloseRecording();
    const int count = source_.DiscoverDrives();
    int chosen = count - 1;
    for (int i = 0; i < count; ++i)
        if (source_.Drives()[static_cast<std::size_t>(i)].root == paths.front()) chosen = i;
    const SourceDrive& drive = source_.Drives()[static_cast<std::size_t>(chosen)];
    if (drive.kind == SourceKind::Computer) source_.LoadSource(chosen, paths, true);
    else source_.LoadSource(chosen);
    loadPath_ = paths.front();
    RunFileLoadDialog(CFileLoadDlg::kModeDropped);
}

void CDravikViewerDlg::DropFiles(const QStringList& paths) {
    if (IsOpening()) return;
    std::vector<std::string> items;
    for (const QString& path : paths) items.push_back(path.toStdString());
    LoadDroppedPaths(items);
}

void CDravikViewerDlg::OnOpen() {
    if (State() == PlayState::Running) PausePlayback();
    const QString chosen = QFileDialog::getExistingDirectory(this, QString(), QString(),
                                                             QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty()) return;
    const std::string path = chosen.toStdString();
    const int count = source_.DiscoverDrives();
    int index = count - 1;
    for (int i = 0; i < count; ++i)
        if (source_.Drives()[static_cast<std::size_t>(i)].root == path) index = i;
    if (source_.Drives()[static_cast<std::size_t>(index)].kind == SourceKind::Computer)
        source_.LoadSource(index, {path}, false);
    else
        source_.LoadSource(index);
    loadPath_ = path;
    RunFileLoadDialog(CFileLoadDlg::kModeOpened);
}

void CDravikViewerDlg::OnMerge() {
    if (source_.Kind() != SourceKind::Card || currentRow_ < 0) return;
    const bool paused = State() == PlayState::Running;
    if (paused) PausePlayback();
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    const QString suggested = desktop + "/" + QString::fromStdString(source_.DefaultCopyName(currentRow_));
    const QString target = QFileDialog::getSaveFileName(this, QString(), suggested, "video(*.avi)");
    if (!target.isEmpty()) {
        QProgressDialog progress(windowTitle(), QString(), 0, 1000, this);
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(300);
        source_.CopyToComputer(currentRow_, target.toStdString(), [&](std::uint64_t done, std::uint64_t total) {
            progress.setValue(total ? static_cast<int>(done * 1000 / total) : 0);
            QApplication::processEvents();
            return !progress.wasCanceled();
        });
    }
    if (paused) ResumePlayback();
}

// ---- opening a row ---------------------------------------------------------------------------

void CDravikViewerDlg::PlayRow(int row) {
    currentRow_ = row;
    list_->SetMarkedRow(row);
    auto request = std::make_shared<OpenRequest>();
    request->row = row;
    request->kind = source_.Kind();
    if (row >= 0 && row < list_->rowCount()) {
        request->path = list_->ItemText(row, 4).toStdString();
        request->name = list_->ItemText(row, 5).toStdString();
    }
    if (const RecordingInfo* info = source_.RowRecording(row)) {
        request->cardFileId = info->cardFileId;
        request->cardName = info->cardName;
        if (request->kind == SourceKind::Card) request->cardPath = source_.CardPath(*info);
    }
    request->deviceBlock = source_.DeviceBlock();
    // A running worker is told to stop; the new one waits for it before it touches the player,
    // so the UI thread never waits here.
    if (worker_.joinable()) {
        if (workerRequest_) workerRequest_->cancel = true;
        request->predecessor = std::move(worker_);
    }
    request->token = ++lastToken_;
    openingToken_ = request->token;
    workerRequest_ = request;
    worker_ = std::thread([this, request] { OpenRecordingWorker(request); });
}

void CDravikViewerDlg::FinishWorker() {
    if (workerRequest_) workerRequest_->cancel = true;
    if (worker_.joinable()) worker_.join();
    workerRequest_.reset();
}

bool CDravikViewerDlg::RunOnUi(OpenRequest& request, std::function<void()> step) {
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    // The queued step keeps the request alive: the worker may have given up waiting for it.
    std::shared_ptr<OpenRequest> self = request.shared_from_this();
    PostUiStep([step = std::move(step), done, self] {
        if (!self->cancel.load()) step();
        done->set_value();
    });
    while (finished.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
        if (request.cancel.load()) return false;
    return !request.cancel.load();
}

void CDravikViewerDlg::PostUiStep(std::function<void()> step) {
    // The steps go through a queue of our own; the call queued to the UI thread carries no data,
    // so the hand-over is plain to every tool that checks it.
    {
        std::lock_guard lock(uiStepsMutex_);
        uiSteps_.push_back(std::move(step));
    }
    QMetaObject::invokeMethod(this, "RunUiSteps", Qt::QueuedConnection);
}

void CDravikViewerDlg::RunUiSteps() {
    for (;;) {
        std::function<void()> step;
        {
            std::lock_guard lock(uiStepsMutex_);
            if (uiSteps_.empty()) return;
            step = std::move(uiSteps_.front());
            uiSteps_.pop_front();
        }
        step();
    }
}

void CDravikViewerDlg::OpenRecordingWorker(std::shared_ptr<OpenRequest> request) {
    if (request->predecessor.joinable()) request->predecessor.join();
    bool opened = false;
    if (openingToken_.load() == request->token && !request->cancel.load() && request->path.size() >= 4) {
        for (int attempt = 0; attempt < 3 && !request->cancel.load(); ++attempt) {
            ++openAttempts_;
            opened = OpenRow(*request);
            if (opened) {
                RunOnUi(*request, [this, request] {
                    currentFileName_ = request->name;
                    Button(cmd::kPause)->show();
                    Button(cmd::kPlay)->hide();
                });
            } else {
                RunOnUi(*request, [this] {
                    if (front_->isVisible() || rear_->isVisible()) HideScreens();
                });
            }
            if (started_.load()) break;
        }
    }
    int token = request->token;
    openingToken_.compare_exchange_strong(token, 0);
    if (!request->cancel.load())
        PostUiStep([this, opened] { emit openingFinished(opened); });
}

bool CDravikViewerDlg::OpenRow(OpenRequest& request) {
    player_.SetOption(0);
    for (int waited = 0; waited < openSettleMs_ && !request.cancel.load(); waited += 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (request.cancel.load()) return false;

    bool ok = false;
    switch (request.kind) {
        case SourceKind::RemovableDrive:
        case SourceKind::Computer:
            ok = player_.OpenRecording(request.path, kDiskContext, kDiskLocator);
            break;
        case SourceKind::Card: {
            PreparedRecording prepared;
            {
                card::CardFileReader reader(request.deviceBlock, request.cardPath, request.cardFileId);
                if (reader.IsOpen())
                    prepared = PrepareCardRecording(reader, request.cardName.empty() ? request.name : request.cardName,
                                                    tempFolder_);
                else
                    prepared.play = PreparedRecording::Play::Failed;
            }
            if (prepared.play == PreparedRecording::Play::Original) {
                ok = player_.OpenRecording(request.name, reinterpret_cast<std::uintptr_t>(request.deviceBlock),
                                           request.cardFileId);
            } else if (prepared.play == PreparedRecording::Play::Rebuilt) {
                ok = player_.OpenRecording(prepared.path, kDiskContext, kDiskLocator);
            } else if (!prepared.error.empty()) {
                const QString error = QString::fromStdString(prepared.error);
                RunOnUi(request, [this, error] { ShowText(error); });
                return false;
            }
            break;
        }
        case SourceKind::Nothing:
            RunOnUi(request, [this] { ShowMessage(kStrMsgCannotPlay); });
            return false;
    }
    if (!ok) {
        RunOnUi(request, [this] { ShowMessage(kStrMsgCannotPlay); });
        return false;
    }
    if (request.cancel.load()) return false;

    // Steps on the window: start the position timer, play, lay out the channels, apply speed,
    // brightness and volume. They run in this order on the UI thread.
    const bool applied = RunOnUi(request, [this, name = request.name] {
        if (!PositionTimerRunning()) timers_[cmd::kTimerPosition]->start();
        if (loadDlg_) loadDlg_->hide();
        started_ = player_.Run() >= 0;
        if (mode_ == LayoutMode::Full) list_->clearFocus();
        ApplyChannelButtons(name);
        ShowChannelView(view_);
        EnablePlayingControls();
        gsensor_->SetTimeSpan(static_cast<int>(player_.GetDurationMs()));
        player_.SetVolume(muted_ ? 0 : VolumePercentForLevel(volume_->Level()));
        player_.SetRate(SpeedFactorFromPosition(speedSlider_->value()));
        ApplyBrightness(BrightnessForSlider(brightSlider_->value()));
    });
    if (!applied) return false;

    // The telemetry is read here, off the UI thread, into fresh lists handed over in one step.
    ClearGsensorTrack();
    ClearGpsTrack();
    TelemetryLoad load;
    PullTelemetry(player_, load, &request.cancel);
    if (request.cancel.load()) return false;
    PublishTelemetry(std::move(load));

    return RunOnUi(request, [this] {
        UpdateMapArea();
        gsensor_->update();
        update();
        Button(cmd::kPause)->show();
        Button(cmd::kPlay)->hide();
    });
}

void CDravikViewerDlg::UpdateMapArea() {
    hasGps_ = GpsTrack.GetSize() > 0;
    online_ = hasGps_ && InternetConnected();
    if (!hasGps_) DockMap();
    if (hasGps_ && online_ && mapView_) mapView_->Navigate();
    ApplyMapArea();
}

void CDravikViewerDlg::ApplyMapArea() {
    if (!mapPanel_) return;
    const bool full = mode_ == LayoutMode::Full;
    const bool docked = TheMapMode() == MapMode::Docked;
    if (!hasGps_) {
        mapPanel_->hide();
        noData_->setVisible(full);
        noConnection_->hide();
        Button(cmd::kMap)->hide();
    } else if (online_) {
        mapPanel_->setVisible(full);
        noData_->hide();
        noConnection_->hide();
        Button(cmd::kMap)->setVisible(full && docked);
    } else {
        mapPanel_->hide();
        noData_->hide();
        noConnection_->setVisible(full);
        Button(cmd::kMap)->hide();
    }
}

}  // namespace kx
