#pragma once
// The main window: a caption-less, skinned window that owns every panel, the playlist, the
// player and the recording source, and routes buttons, keys, menu items, timers and drops to
// playback control, the playlist and snapshot capture.
//
// Everything runs on the UI thread except the opening of a recording, which runs on one worker
// thread at a time (OpenRecordingWorker). The worker is cancelled cooperatively, never killed;
// it reaches the window only through calls queued to the UI thread, and while it runs the
// opening flag blocks every command.

#include "app/core/ViewerLayout.h"
#include "app/viewer/CommandIds.h"
#include "card/DriveDiscovery.h"
#include "card/RecordingSource.h"
#include "controls/IMainWindowLink.h"
#include "controls/ISeekTarget.h"
#include "playback/CPlaybackGraph.h"
#include "report/CReportPrinter.h"

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class QMenu;

namespace kx {

class AudioSink;
class CDvButtonCtrl;
class CDvGsensorCtrl;
class CDvListCtrl;
class CDvMapPanelCtrl;
class CDvScreenCtrl;
class CDvSimpleSliderCtrl;
class CDvSliderCtrl;
class CDvSpeedCtrl;
class CDvTextCtrl;
class CDvVolumeCtrl;
class CFileLoadDlg;
class CMapDlg;
class CMapNoConnectedWnd;
class CMapNoDataWnd;
class CMapViewWnd;
class CardRemovalWatcher;
class CZoomDlg;
struct CardMaintenanceHooks;

class CDravikViewerDlg : public QWidget, public IMainWindowLink, public ISeekTarget {
    Q_OBJECT
public:
    // How message boxes are shown: the text, whether it asks yes/no; returns true for OK/yes.
    // Tests replace it to record the messages instead of blocking on them.
    using MessageHandler = std::function<bool(const QString& text, bool yesNo)>;

    explicit CDravikViewerDlg(QWidget* parent = nullptr);
    ~CDravikViewerDlg() override;

    // Builds the window (the dialog initialisation): controls, layout, tooltips, timers.
    // `sound` is the sound device for the player (null: no sound).
    bool Initialise(AudioSink* sound);

    // Card images named on the command line stand for drives of their own.
    void SetCardImages(std::vector<CardImageOption> images);
    void SetDiscoveryRoots(DriveDiscoveryRoots roots);
    // Paths to load after the start-up notice, as if dropped on the window.
    void SetStartupPaths(std::vector<std::string> paths) { startupPaths_ = std::move(paths); }
    // The card image (or drive root) to load after the start-up notice.
    void SetStartupCard(const std::string& devicePath) { startupCard_ = devicePath; }
    void SetMessageHandler(MessageHandler handler) { messageHandler_ = std::move(handler); }
    // Chooses the printer for the report (the print dialog unless set).
    void SetPrinterChooser(PrinterChooser chooser) { printerChooser_ = std::move(chooser); }
    // The wait before each opening (the player settles after the previous graph).
    void SetOpenSettleMs(int ms) { openSettleMs_ = ms; }
    // The scratch folder for rebuilt card recordings (the program's temp folder unless set).
    void SetTempFolder(std::string folder) { tempFolder_ = std::move(folder); }
    const std::string& TempFolderPath() const { return tempFolder_; }
    // How long the start-up notice and the loading notice stay (5000 and 3000 ms).
    void SetNoticeTimes(int startupMs, int loadingMs) { startupNoticeMs_ = startupMs, loadingNoticeMs_ = loadingMs; }

    // ---- commands ----------------------------------------------------------------------------
    // Every button, menu item and key ends here; ignored while a recording is being opened.
    void OnCommand(int id);
    void OnTimer(int id);
    // A volume with this root (mount point or card image) went away.
    void OnVolumeRemoved(const std::string& root);
    // Loads a source: the drive whose root equals the first path, else the computer entry with
    // these paths as dropped items, then the loading dialog fills the list (mode 3).
    void LoadDroppedPaths(const std::vector<std::string>& paths);
    // Loads the drive (card image or removable drive) with this root or device path (mode 2).
    bool LoadDrive(const std::string& rootOrDevice);
    // The context menu for the current language, built with the menu's ids.
    std::unique_ptr<QMenu> BuildContextMenu() const;
    void PlayRow(int row);
    void ShowChannelView(ChannelView view);

    // ---- state, for the panels and tests ------------------------------------------------------
    bool IsOpening() const { return openingToken_.load() != 0; }
    LayoutMode Mode() const { return mode_; }
    ChannelView View() const { return view_; }
    int CurrentRow() const { return currentRow_; }
    const std::string& CurrentFileName() const { return currentFileName_; }
    const std::string& CurrentCardDrive() const { return currentCardDrive_; }
    bool IsMuted() const { return muted_; }
    float SpeedValue() const { return speedValue_; }
    bool HasGps() const { return hasGps_; }
    bool StartedMark() const { return started_.load(); }
    int OpenAttempts() const { return openAttempts_.load(); }
    bool PositionTimerRunning() const;
    CPlaybackGraph& Player() { return player_; }
    CRecordingSource& Source() { return source_; }
    CDvButtonCtrl* Button(int id) const;
    CDvListCtrl* List() const { return list_; }
    CDvTextCtrl* Text(int id) const;
    CDvSliderCtrl* SeekSlider() const { return seek_; }
    CZoomDlg* ZoomWindow() const { return zoomDlg_.get(); }
    CDvSimpleSliderCtrl* SpeedSlider() const { return speedSlider_; }
    CDvSimpleSliderCtrl* BrightSlider() const { return brightSlider_; }
    CDvVolumeCtrl* Volume() const { return volume_; }
    CDvSpeedCtrl* SpeedDisplay() const { return speedDisplay_; }
    CDvGsensorCtrl* Gsensor() const { return gsensor_; }
    CDvScreenCtrl* FrontScreen() const { return front_; }
    CDvScreenCtrl* RearScreen() const { return rear_; }
    QWidget* NoDataPlaceholder() const;
    QWidget* NoConnectionPlaceholder() const;
    CDvMapPanelCtrl* MapPanel() const { return mapPanel_; }
    CMapViewWnd* MapView() const { return mapView_; }
    QWidget* FileLoadDialog() const;
    // The video area of the current layout.
    QRect VideoArea() const;

    // IMainWindowLink
    bool IsBusy() const override { return IsOpening(); }
    void FocusDesignatedControl() override;
    void DropFiles(const QStringList& paths) override;
    // ISeekTarget
    bool IsRecordingOpen() const override;
    void SeekMs(std::int64_t milliseconds) override;

signals:
    // The worker finished an opening (whatever its outcome); for tests and the start-up script.
    void openingFinished(bool opened);
    // Timer 1 ran.
    void positionUpdated();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private slots:
    // Runs the steps the opener queued for the UI thread.
    void RunUiSteps();

private:
    struct OpenRequest;

    // initialisation
    void CreateControls();
    CDvButtonCtrl* MakeButton(int id, int face, bool visible = true);
    void LoadButtonImages();
    void SetMuteImages();
    void LoadTooltips(bool afterSettings);
    QTimer* MakeTimer(int id, int periodMs, bool singleShot);

    // layout and painting
    void RunLayout();
    void PlaceScreensForView();
    void PaintBackground(QPainter& painter);
    bool HandleKey(QKeyEvent* event);

    // playback control
    void PausePlayback();
    void ResumePlayback();
    void StopPlayback(bool hideScreens);
    void EnablePlayingControls();
    void DisablePlayingControls();
    void UpdatePosition();
    void OnPlay();
    void OnRewind();
    void OnForward();
    void OnSpeedSlider(int position);
    void OnSpeedDefault();
    void StepSpeedSlider(int delta);
    void OnBrightSlider(int position);
    void StepBrightSlider(int delta);
    void OnBrightDefault();
    void ApplyBrightness(int level);
    void OnVolumeLevel(int level);
    void StepVolume(int delta);
    void Unmute();
    void OnMute();
    void OnRearMirror();
    void ApplyRearMirrorIfPlaying();
    void ApplyChannelButtons(const std::string& fileName);
    PlayState State() const;
    bool PlayingOrPaused() const;
    void HideScreens();
    void ClearTempFolder();

    // playlist and opener
    void FillPlaylist(bool all, RecordingKind kind);
    void OnKindFilter(int id);
    void OnPrev();
    void OnNext();
    void OnOpen();
    void OnMerge();
    void ShowEmptySource();
    void RunFileLoadDialog(int mode);
    void FillFromLoadDialog();
    void OpenRecordingWorker(std::shared_ptr<OpenRequest> request);
    bool OpenRow(OpenRequest& request);
    bool RunOnUi(OpenRequest& request, std::function<void()> step);
    void PostUiStep(std::function<void()> step);
    void UpdateMapArea();
    void OnListDoubleClick(int row);
    void FinishWorker();
    void ApplyMapArea();
    std::string loadPath_;

    // other commands
    void OnCapture();
    void OnToggleLayout();
    void OnAbout();
    void OnSettings();
    void OnPrint();
    void OnZoom();
    ReportInputs GatherReportInputs();
    // The card list and the card format the settings dialog works with.
    CardMaintenanceHooks CardHooks();
    void OnMapButton();
    void DockMap();
    void OnCloseCommand();
    void OnCardRemoved();
    bool ShowMessage(int stringId, const QString& prefix = {}, bool yesNo = false);
    bool ShowText(const QString& text, bool yesNo = false);
    void ShowContextMenu(const QPoint& globalPos);

    // owned objects
    CRecordingSource source_;
    CPlaybackGraph player_;
    std::vector<std::string> startupPaths_;
    std::vector<CardImageOption> cardImages_;
    DriveDiscoveryRoots discoveryRoots_;
    std::string startupCard_;
    MessageHandler messageHandler_;
    PrinterChooser printerChooser_;

    // controls
    std::map<int, CDvButtonCtrl*> buttons_;
    std::map<int, int> buttonFaces_;
    std::map<int, CDvTextCtrl*> texts_;
    CDvListCtrl* list_ = nullptr;
    CDvSliderCtrl* seek_ = nullptr;
    CDvSimpleSliderCtrl* speedSlider_ = nullptr;
    CDvSimpleSliderCtrl* brightSlider_ = nullptr;
    CDvVolumeCtrl* volume_ = nullptr;
    CDvSpeedCtrl* speedDisplay_ = nullptr;
    CDvGsensorCtrl* gsensor_ = nullptr;
    CDvScreenCtrl* front_ = nullptr;
    CDvScreenCtrl* rear_ = nullptr;
    CDvMapPanelCtrl* mapPanel_ = nullptr;
    CMapViewWnd* mapView_ = nullptr;
    CMapNoDataWnd* noData_ = nullptr;
    CMapNoConnectedWnd* noConnection_ = nullptr;
    std::unique_ptr<CMapDlg> mapDlg_;
    std::unique_ptr<CZoomDlg> zoomDlg_;
    QPointer<CFileLoadDlg> loadDlg_;
    CardRemovalWatcher* removalWatcher_ = nullptr;
    std::map<int, QTimer*> timers_;

    // state
    LayoutMode mode_ = LayoutMode::Full;
    ChannelView view_ = ChannelView::Front;
    int currentRow_ = -1;
    int pendingRow_ = -1;
    bool muted_ = false;
    float speedValue_ = 1.0f;
    std::string currentFileName_;
    std::string currentCardDrive_;
    std::string tempFolder_;
    bool hasGps_ = false;
    std::atomic<bool> started_{false};
    bool online_ = false;
    bool closing_ = false;
    bool initialised_ = false;
    bool kindEnabled_[4] = {false, false, false, false};  // all, normal, event, parking
    int openSettleMs_ = 500;
    int startupNoticeMs_ = 5000;
    int loadingNoticeMs_ = 3000;
    QPoint dragOffset_;
    bool dragging_ = false;

    // the worker that opens a recording
    // The opening flag: the token of the running opening, 0 when none.
    std::atomic<int> openingToken_{0};
    int lastToken_ = 0;
    std::atomic<int> openAttempts_{0};
    std::thread worker_;
    std::shared_ptr<OpenRequest> workerRequest_;
    std::mutex uiStepsMutex_;
    std::deque<std::function<void()>> uiSteps_;
};

}  // namespace kx
