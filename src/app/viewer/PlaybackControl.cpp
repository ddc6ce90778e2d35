// The main window's playback control: play, pause, stop, jumps, speed, brightness, volume,
// channel views, the rear mirror and the position update that keeps the panels in step.

#include "app/core/PlaybackValues.h"
#include "app/core/ViewerOptions.h"
#include "app/viewer/CDravikViewerDlg.h"
#include "controls/CDvButtonCtrl.h"
#include "controls/CDvGsensorCtrl.h"
#include "controls/CDvListCtrl.h"
#include "controls/CSkinVerticleScrollbar.h"
#include "controls/CDvScreenCtrl.h"
#include "controls/CDvSimpleSliderCtrl.h"
#include "controls/CDvSliderCtrl.h"
#include "controls/CDvSpeedCtrl.h"
#include "controls/CDvTextCtrl.h"
#include "controls/CDvVolumeCtrl.h"
#include "controls/SpeedFactor.h"
#include "map/CMapDlg.h"
#include "map/CMapViewWnd.h"
#include "map/MapMode.h"
#include "telemetry/TelemetryLookup.h"
#include "telemetry/TelemetryTrack.h"

#include <QFocusEvent>

#include <filesystem>

namespace kx {

namespace {

// Decoder parameters: picture adjustment on, brightness offset, flip on, horizontal mirror.
constexpr unsigned kParamAdjust = 205;
constexpr unsigned kParamBrightness = 202;
constexpr unsigned kParamFlip = 1101;
constexpr unsigned kParamMirror = 1113;
constexpr double kMilesPerKm = 0.621371;

}  // namespace

PlayState CDravikViewerDlg::State() const { return const_cast<CPlaybackGraph&>(player_).GetPlayState(); }

bool CDravikViewerDlg::PlayingOrPaused() const {
    const PlayState s = State();
    return s == PlayState::Running || s == PlayState::Paused;
}

void CDravikViewerDlg::HideScreens() {
    front_->hide();
    rear_->hide();
    update();
}

void CDravikViewerDlg::ClearTempFolder() {
    // Files only: the folder and anything below it stay.
    if (tempFolder_.empty()) return;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(tempFolder_, ec)) {
        std::error_code fileError;
        if (entry.is_regular_file(fileError)) std::filesystem::remove(entry.path(), fileError);
    }
}

void CDravikViewerDlg::PausePlayback() {
    player_.Pause();
    timers_[cmd::kTimerPosition]->stop();
    Button(cmd::kPlay)->show();
    Button(cmd::kPause)->hide();
}

void CDravikViewerDlg::ResumePlayback() {
    player_.Run();
    Button(cmd::kPause)->show();
    Button(cmd::kPlay)->hide();
    if (!PositionTimerRunning()) timers_[cmd::kTimerPosition]->start();
}

void CDravikViewerDlg::StopPlayback(bool hideScreens) {
    if (hideScreens) HideScreens();
    player_.Stop();
    ClearTempFolder();
    Button(cmd::kPlay)->show();
    Button(cmd::kPause)->hide();
    seek_->setValue(0);
    DisablePlayingControls();
}

void CDravikViewerDlg::EnablePlayingControls() {
    Button(cmd::kMerge)->SetButtonEnabled(source_.Kind() == SourceKind::Card);
    for (int id : {cmd::kCapture, cmd::kPrint, cmd::kPrev, cmd::kRewind, cmd::kPlay, cmd::kForward, cmd::kNext})
        Button(id)->SetButtonEnabled(true);
    Text(cmd::kText2)->Values().hasAxisData = true;
    Text(cmd::kText2)->update();
    seek_->setEnabled(true);
    const PlayState s = State();
    if (TheViewerOptions().rearMirror && s != PlayState::Stopped && s != PlayState::Idle &&
        player_.GetVideoPinCount() >= 2) {
        player_.PutDecoderParam(2, kParamFlip, 1);
        player_.PutDecoderParam(2, kParamMirror, 1);
    }
}

void CDravikViewerDlg::DisablePlayingControls() {
    for (int id : {cmd::kMerge, cmd::kCapture, cmd::kPrint, cmd::kRewind, cmd::kForward})
        Button(id)->SetButtonEnabled(false);
    for (int id : {cmd::kPrev, cmd::kPlay, cmd::kNext}) Button(id)->SetButtonEnabled(true);
    Text(cmd::kText2)->Values().hasAxisData = false;
    Text(cmd::kText2)->update();
    ClearGsensorTrack();
    gsensor_->update();
    speedDisplay_->SetSpeed(0);
    speedDisplay_->Redraw();
    seek_->setEnabled(false);
    setFocus();
}

void CDravikViewerDlg::OnPlay() {
    const PlayState s = State();
    if (s == PlayState::Paused) {
        ResumePlayback();
        return;
    }
    if (s == PlayState::Stopped && currentRow_ >= 0 && currentRow_ < list_->rowCount() &&
        !list_->ItemText(currentRow_, 4).isEmpty())
        PlayRow(currentRow_);
}

void CDravikViewerDlg::OnRewind() {
    if (State() != PlayState::Running) return;
    player_.SeekMs(static_cast<int>(RewindTarget(player_.GetPositionMs(), TheViewerOptions().jumpSeconds)));
    UpdatePosition();
}

void CDravikViewerDlg::OnForward() {
    if (State() != PlayState::Running) return;
    player_.SeekMs(static_cast<int>(
        ForwardTarget(player_.GetPositionMs(), player_.GetDurationMs(), TheViewerOptions().jumpSeconds)));
    UpdatePosition();
}

void CDravikViewerDlg::OnSpeedSlider(int position) {
    speedValue_ = SpeedFactorFromPosition(position);
    Text(cmd::kText1)->Values().playSpeed = speedValue_;
    Text(cmd::kText1)->update();
    const PlayState s = State();
    if (s != PlayState::Stopped && s != PlayState::Idle) player_.SetRate(speedValue_);
}

void CDravikViewerDlg::StepSpeedSlider(int delta) {
    // The slider reports the move, which applies it.
    speedSlider_->setValue(std::clamp(speedSlider_->value() + delta, 0, kSliderMaximum));
}

void CDravikViewerDlg::OnSpeedDefault() {
    speedValue_ = 1.0f;
    Text(cmd::kText1)->Values().playSpeed = speedValue_;
    Text(cmd::kText1)->update();
    const PlayState s = State();
    if (s != PlayState::Stopped && s != PlayState::Idle) player_.SetRate(1.0f);
    const QSignalBlocker quiet(speedSlider_);
    speedSlider_->setValue(kSliderMiddle);
    speedSlider_->update();
}

void CDravikViewerDlg::ApplyBrightness(int level) {
    for (int channel : {1, 2}) {
        player_.PutDecoderParam(channel, kParamAdjust, 1);
        player_.PutDecoderParam(channel, kParamBrightness, level);
    }
}

void CDravikViewerDlg::OnBrightSlider(int position) {
    const PlayState s = State();
    if (s == PlayState::Stopped || s == PlayState::Idle) return;
    ApplyBrightness(BrightnessForSlider(position));
    // A paused picture is decoded again with the new level.
    if (s == PlayState::Paused) player_.SeekMs(static_cast<int>(player_.GetPositionMs()));
}

void CDravikViewerDlg::StepBrightSlider(int delta) {
    {
        const QSignalBlocker quiet(brightSlider_);
        brightSlider_->setValue(std::clamp(brightSlider_->value() + delta, 0, kSliderMaximum));
    }
    brightSlider_->update();
    const PlayState s = State();
    if (s != PlayState::Stopped && s != PlayState::Idle) ApplyBrightness(BrightnessForSlider(brightSlider_->value()));
}

void CDravikViewerDlg::OnBrightDefault() {
    const PlayState s = State();
    if (s != PlayState::Stopped && s != PlayState::Idle) ApplyBrightness(0);
    const QSignalBlocker quiet(brightSlider_);
    brightSlider_->setValue(kSliderMiddle);
    brightSlider_->update();
}

void CDravikViewerDlg::Unmute() {
    if (!muted_) return;
    muted_ = false;
    SetMuteImages();
    Button(cmd::kMute)->update();
    volume_->Redraw();
}

void CDravikViewerDlg::OnVolumeLevel(int level) {
    Unmute();
    player_.SetVolume(VolumePercentForLevel(level));
}

void CDravikViewerDlg::StepVolume(int delta) {
    Unmute();
    const int level = volume_->Level() + delta;
    if (level < 0 || level > kVolumeMaximumLevel) return;
    volume_->SetLevel(level);
    player_.SetVolume(VolumePercentForLevel(level));
}

void CDravikViewerDlg::OnMute() {
    muted_ = !muted_;
    SetMuteImages();
    Button(cmd::kMute)->update();
    if (muted_) {
        player_.SetVolume(0);
        volume_->DrawMuted();
    } else {
        volume_->Redraw();
        player_.SetVolume(VolumePercentForLevel(volume_->Level()));
    }
}

void CDravikViewerDlg::OnRearMirror() {
    auto& options = TheViewerOptions();
    options.rearMirror = !options.rearMirror;
    Button(cmd::kRearMirror)->SetChecked(options.rearMirror);
    if (player_.MediaGraph()) player_.SetRearMirror(options.rearMirror);
}

void CDravikViewerDlg::ApplyRearMirrorIfPlaying() {
    const PlayState s = State();
    if (player_.GetVideoPinCount() >= 2 && s != PlayState::Stopped && s != PlayState::Idle)
        player_.SetRearMirror(TheViewerOptions().rearMirror);
}

void CDravikViewerDlg::ShowChannelView(ChannelView view) {
    const PlayState s = State();
    if (s != PlayState::Stopped && s != PlayState::Idle) view_ = view;
    Button(cmd::kFront)->SetChecked(view_ == ChannelView::Front);
    Button(cmd::kRear)->SetChecked(view_ == ChannelView::Rear);
    Button(cmd::kBoth)->SetChecked(view_ == ChannelView::Both);
    if (s == PlayState::Stopped || s == PlayState::Idle) return;
    PlaceScreensForView();
    front_->setVisible(view_ != ChannelView::Rear);
    rear_->setVisible(view_ != ChannelView::Front);
    update();
    player_.RepositionChannels();
}

void CDravikViewerDlg::ApplyChannelButtons(const std::string& fileName) {
    // The 21st character of a camera file name is its channel count.
    const bool twoChannels = fileName.size() > 20 && fileName[20] == '2';
    for (int id : {cmd::kFront, cmd::kRear, cmd::kBoth}) Button(id)->setVisible(twoChannels);
    if (!twoChannels) {
        Button(cmd::kRearMirror)->hide();
        view_ = ChannelView::Front;
    } else {
        Button(cmd::kRearMirror)->show();
        Button(cmd::kRearMirror)->SetChecked(TheViewerOptions().rearMirror);
    }
}

void CDravikViewerDlg::UpdatePosition() {
    seek_->clearFocus();
    seek_->update();
    const PlayState s = State();
    auto& timeText = Text(cmd::kText1)->Values();
    if (s == PlayState::Running || s == PlayState::Paused) {
        timeText.totalMs = static_cast<int>(player_.GetDurationMs());
        timeText.currentMs = static_cast<int>(player_.GetPositionMs());
    } else {
        timeText.totalMs = timeText.currentMs = 0;
    }
    Text(cmd::kText1)->update();
    if (s != PlayState::Running) return;

    const std::uint64_t position = player_.GetPositionMs();
    const std::uint64_t duration = player_.GetDurationMs();
    if (position >= duration) {
        seek_->setValue(static_cast<int>(position));
        seek_->update();
        StopPlayback(false);
        const int rows = list_->rowCount();
        const int row = currentRow_;
        if (rows == 0 || row < 0) {
            HideScreens();
        } else if (row + 1 < rows) {
            list_->selectRow(row + 1);
            PlayRow(row + 1);
        } else {
            // The last row ended: row 0 is selected and nothing plays.
            list_->selectRow(0);
            list_->SetMarkedRow(0);
            currentRow_ = 0;
            view_ = ChannelView::Front;
            Button(cmd::kFront)->SetChecked(true);
            Button(cmd::kRear)->SetChecked(false);
            Button(cmd::kBoth)->SetChecked(false);
            HideScreens();
        }
        return;
    }

    seek_->setRange(0, static_cast<int>(duration));
    seek_->setValue(static_cast<int>(position));
    seek_->update();
    if (IsOpening()) return;
    const auto time = static_cast<std::uint32_t>(position);
    if (mapView_) {
        if (mode_ == LayoutMode::Full && mapView_->IsPageLoaded() && hasGps_ && TheMapMode() == MapMode::Docked)
            mapView_->show();
        mapView_->UpdatePosition(time);
    }
    double speed = 0;
    FindSpeedAt(time, speed);
    if (TheViewerOptions().speedInMiles) speed *= kMilesPerKm;
    speedDisplay_->SetSpeed(speed);
    speedDisplay_->Redraw();
    if (mode_ != LayoutMode::Full) return;
    auto& axes = Text(cmd::kText2)->Values();
    FindGsensorAt(time, axes.x, axes.y, axes.z);
    Text(cmd::kText2)->update();
    auto& place = Text(cmd::kText4)->Values();
    FindPositionAt(time, place.latitude, place.longitude);
    Text(cmd::kText4)->update();
    if (mapDlg_) {
        mapDlg_->CoordinatesPanel()->Values().latitude = place.latitude;
        mapDlg_->CoordinatesPanel()->Values().longitude = place.longitude;
        mapDlg_->CoordinatesPanel()->update();
    }
}

}  // namespace kx
