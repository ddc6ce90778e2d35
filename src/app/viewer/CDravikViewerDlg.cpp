// The main window's construction, layout, painting, keys, mouse, timers and command routing.
// Playback control, the playlist with the opener, and snapshot capture live in files of their
// own (PlaybackControl.cpp, Playlist.cpp, SnapshotCapture.cpp).

#include "app/viewer/CDravikViewerDlg.h"

#include "app/core/DecoderRegistry.h"
#include "app/core/LanguageTable.h"
#include "app/core/PlaybackValues.h"
#include "app/core/ProgramPaths.h"
#include "app/core/StringIds.h"
#include "app/core/ViewerOptions.h"
#include "app/viewer/CAboutDlg.h"
#include "app/viewer/CardRemovalWatcher.h"
#include "card/CardFileReader.h"
#include "card/ui/CFileLoadDlg.h"
#include "playback/RecordingBytes.h"
#include "controls/CDvButtonCtrl.h"
#include "controls/CDvGsensorCtrl.h"
#include "controls/CDvListCtrl.h"
#include "controls/CSkinVerticleScrollbar.h"
#include "controls/CDvMapPanelCtrl.h"
#include "controls/CDvScreenCtrl.h"
#include "controls/CDvSimpleSliderCtrl.h"
#include "controls/CDvSliderCtrl.h"
#include "controls/CDvSpeedCtrl.h"
#include "controls/CDvTextCtrl.h"
#include "controls/CDvVolumeCtrl.h"
#include "controls/ControlConstants.h"
#include "controls/ResourceDrawing.h"
#include "controls/SkinIds.h"
#include "controls/SkinRegistry.h"
#include "map/CMapDlg.h"
#include "map/CMapNoConnectedWnd.h"
#include "map/CMapNoDataWnd.h"
#include "map/CMapViewWnd.h"
#include "map/MapMode.h"
#include "report/CZoomDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <QWindow>

namespace kx {

using skin::ButtonFace;

namespace {

QRect ToRect(const LayoutPlace& p) { return QRect(p.x, p.y, p.width, p.height); }
QRect ToRect(const LayoutRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

// Top-row button ids and their faces.
struct ButtonSpec {
    int id;
    ButtonFace face;
};
constexpr ButtonSpec kButtons[] = {
    {cmd::kOpen, ButtonFace::Open},       {cmd::kMerge, ButtonFace::Merge},
    {cmd::kCapture, ButtonFace::Capture}, {cmd::kPrint, ButtonFace::Print},
    {cmd::kZoom, ButtonFace::Zoom},       {cmd::kSave, ButtonFace::Save},
    {cmd::kSetting, ButtonFace::Setting}, {cmd::kAbout, ButtonFace::About},
    {cmd::kMin, ButtonFace::Min},         {cmd::kMax, ButtonFace::Max},
    {cmd::kClose, ButtonFace::Close},     {cmd::kPrev, ButtonFace::Prev},
    {cmd::kRewind, ButtonFace::Rewind},   {cmd::kPlay, ButtonFace::Play},
    {cmd::kPause, ButtonFace::Pause},     {cmd::kForward, ButtonFace::Forward},
    {cmd::kNext, ButtonFace::Next},       {cmd::kSpeed, ButtonFace::Speed},
    {cmd::kBright, ButtonFace::Bright},   {cmd::kMute, ButtonFace::Sound},
    {cmd::kMap, ButtonFace::Map},         {cmd::kRearMirror, ButtonFace::RearMirror},
    {cmd::kFront, ButtonFace::Front},     {cmd::kRear, ButtonFace::Rear},
    {cmd::kBoth, ButtonFace::BothChannels}, {cmd::kKindAll, ButtonFace::KindAll},
    {cmd::kKindEvent, ButtonFace::KindEvent}, {cmd::kKindNormal, ButtonFace::KindNormal},
    {cmd::kKindParking, ButtonFace::KindParking},
};

// Tooltip numbers at start-up (About and rear_mirror change after the settings dialog).
struct TipSpec {
    int id;
    int text;
};
constexpr TipSpec kTips[] = {
    {cmd::kOpen, 101},  {cmd::kMerge, 272},   {cmd::kCapture, 102}, {cmd::kZoom, 208},
    {cmd::kPrint, 105}, {cmd::kSetting, 106}, {cmd::kSave, 107},    {cmd::kAbout, 109},
    {cmd::kMin, 108},   {cmd::kMax, 107},     {cmd::kClose, 209},   {cmd::kFront, 112},
    {cmd::kRear, 113},  {cmd::kBoth, 114},    {cmd::kPrev, 115},    {cmd::kRewind, 116},
    {cmd::kPlay, 117},  {cmd::kPause, 118},   {cmd::kForward, 119}, {cmd::kNext, 120},
    {cmd::kSpeed, 121}, {cmd::kBright, 122},  {cmd::kMute, 124},    {cmd::kKindAll, 131},
    {cmd::kKindNormal, 133}, {cmd::kKindEvent, 132}, {cmd::kKindParking, 134},
};

QString LangText(int number) {
    const auto text = LanguageString(number);
    return text ? QString::fromStdString(*text) : QString();
}

}  // namespace

CDravikViewerDlg::CDravikViewerDlg(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    // The options are read before any window exists; a missing file keeps the defaults.
    const std::string options = OptionsPath();
    if (!options.empty()) LoadOptions(options, TheViewerOptions());
}

CDravikViewerDlg::~CDravikViewerDlg() {
    for (int id : {cmd::kTimerDoubleClick, cmd::kTimerCardRemoved})
        if (auto it = timers_.find(id); it != timers_.end()) it->second->stop();
    // The worker first: it may still be calling the player.
    FinishWorker();
    if (PlayingOrPaused()) StopPlayback(false);
    player_.CloseRecording();
    player_.AttachWindows(nullptr, nullptr);
    const std::string options = OptionsPath();
    if (!options.empty()) SaveOptions(options, TheViewerOptions());
    openingToken_ = 0;
    if (mapView_ && mapDlg_) mapDlg_->Dock(mapView_, mapPanel_);
}

void CDravikViewerDlg::SetCardImages(std::vector<CardImageOption> images) {
    if (removalWatcher_)
        for (const auto& image : images) removalWatcher_->WatchFile(image.image);
    cardImages_ = images;
    source_.SetCardImages(std::move(images));
}

void CDravikViewerDlg::SetDiscoveryRoots(DriveDiscoveryRoots roots) {
    discoveryRoots_ = roots;
    source_.SetDiscoveryRoots(std::move(roots));
}

QTimer* CDravikViewerDlg::MakeTimer(int id, int periodMs, bool singleShot) {
    auto* timer = new QTimer(this);
    timer->setInterval(periodMs);
    timer->setSingleShot(singleShot);
    connect(timer, &QTimer::timeout, this, [this, id] { OnTimer(id); });
    timers_[id] = timer;
    return timer;
}

bool CDravikViewerDlg::PositionTimerRunning() const {
    const auto it = timers_.find(cmd::kTimerPosition);
    return it != timers_.end() && it->second->isActive();
}

CDvButtonCtrl* CDravikViewerDlg::Button(int id) const {
    const auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second;
}

CDvTextCtrl* CDravikViewerDlg::Text(int id) const {
    const auto it = texts_.find(id);
    return it == texts_.end() ? nullptr : it->second;
}

QWidget* CDravikViewerDlg::NoDataPlaceholder() const { return noData_; }
QWidget* CDravikViewerDlg::NoConnectionPlaceholder() const { return noConnection_; }
QWidget* CDravikViewerDlg::FileLoadDialog() const { return loadDlg_.data(); }

QRect CDravikViewerDlg::VideoArea() const { return ToRect(ComputeLayout(width(), height(), mode_).video); }

CDvButtonCtrl* CDravikViewerDlg::MakeButton(int id, int face, bool visible) {
    auto* button = new CDvButtonCtrl(this);
    const auto size = skin::ButtonFaceSize(static_cast<ButtonFace>(face));
    button->Create(this, id, QRect(0, 0, size.width, size.height), visible);
    button->SetStripBackground(skin::ButtonOnTopStrip(static_cast<ButtonFace>(face)));
    connect(button, &CDvButtonCtrl::command, this, &CDravikViewerDlg::OnCommand);
    buttons_[id] = button;
    buttonFaces_[id] = face;
    return button;
}

void CDravikViewerDlg::LoadButtonImages() {
    const int language = TheViewerOptions().languageIndex;
    for (const auto& [id, face] : buttonFaces_) {
        if (id == cmd::kMute) continue;
        buttons_[id]->SetImageSet(skin::ButtonImageSet(static_cast<ButtonFace>(face), language));
    }
    // The Zoom button shows its pressed image while the magnifier is on.
    Button(cmd::kZoom)->SetCheckedImage(skin::ButtonImageNumber(ButtonFace::Zoom, skin::ButtonState::Pressed, language));
    SetMuteImages();
}

void CDravikViewerDlg::SetMuteImages() {
    if (auto* mute = Button(cmd::kMute))
        mute->SetImageSet(skin::ButtonImageSet(muted_ ? ButtonFace::Muted : ButtonFace::Sound, 0));
}

void CDravikViewerDlg::LoadTooltips(bool afterSettings) {
    for (const auto& tip : kTips) {
        int number = tip.text;
        if (afterSettings && tip.id == cmd::kAbout) number = kStrTipAboutInfo;
        if (auto* button = Button(tip.id)) {
            const QString text = LangText(number);
            if (!text.isEmpty() || afterSettings) button->setToolTip(text);
        }
    }
    if (afterSettings) Button(cmd::kRearMirror)->setToolTip(LangText(kStrMirrorRear));
    speedSlider_->setToolTip(LangText(111));
    brightSlider_->setToolTip(LangText(123));
    volume_->setToolTip(LangText(125));
}

void CDravikViewerDlg::CreateControls() {
    for (const auto& spec : kButtons) MakeButton(spec.id, static_cast<int>(spec.face));

    gsensor_ = new CDvGsensorCtrl(this);
    gsensor_->Create(this, kIdGsensorGraph, QRect(0, 0, 100, 100), true);
    gsensor_->SetLanguageIndex(TheViewerOptions().languageIndex);
    volume_ = new CDvVolumeCtrl(this);
    volume_->Create(this, kIdVolumeBar, QRect(0, 0, 70, 21), true);
    speedDisplay_ = new CDvSpeedCtrl(this);
    speedDisplay_->Create(this, kIdSpeedDisplay, QRect(0, 0, 124, 38), true);

    front_ = new CDvScreenCtrl(this);
    front_->Create(this, kIdFrontScreen, QRect(0, 0, 300, 200), false);
    rear_ = new CDvScreenCtrl(this);
    rear_->Create(this, kIdRearScreen, QRect(0, 0, 100, 100), false);
    for (auto* screen : {front_, rear_}) {
        screen->SetLanguageIndex(TheViewerOptions().languageIndex);
        connect(screen, &CDvScreenCtrl::contextMenuRequested, this, &CDravikViewerDlg::ShowContextMenu);
    }
    connect(gsensor_, &CDvGsensorCtrl::contextMenuRequested, this, &CDravikViewerDlg::ShowContextMenu);

    mapPanel_ = new CDvMapPanelCtrl(this);
    mapPanel_->Create(this, kIdMapPanel, QRect(0, 0, 276, 200), true);
    const struct {
        int id, kind;
        QColor background;
    } textSpecs[] = {{cmd::kText1, 1, kColorBackground}, {cmd::kText2, 2, kColorBackground},
                     {cmd::kText3, 3, kColorPanel},      {cmd::kText4, 4, kColorPanel},
                     {cmd::kText7, 7, kColorPanel}};
    for (const auto& spec : textSpecs) {
        auto* text = new CDvTextCtrl(this);
        text->Create(this, spec.id, QRect(0, 0, 400, 20), true);
        text->SetKind(spec.kind);
        text->SetBackground(spec.background);
        text->Values().playSpeed = speedValue_;
        texts_[spec.id] = text;
    }
    noData_ = new CMapNoDataWnd(this);
    noData_->Create(this, 0, QRect(0, 0, 276, 200), false);
    noData_->SetLanguageIndex(TheViewerOptions().languageIndex);
    noConnection_ = new CMapNoConnectedWnd(this);
    noConnection_->Create(this, 0, QRect(0, 0, 276, 200), false);
    noConnection_->SetLanguageIndex(TheViewerOptions().languageIndex);

    seek_ = new CDvSliderCtrl(this);
    seek_->Create(this, cmd::kSeek, QRect(0, 0, 547, 30), true);
    seek_->SetMainWindowLink(this);
    seek_->SetSeekTarget(this);
    seek_->SetImages(skin::kSeekTrack, skin::kSeekThumb, skin::kSeekFill);
    speedSlider_ = new CDvSimpleSliderCtrl(this);
    speedSlider_->Create(this, cmd::kSpeedSlider, QRect(0, 0, 95, 30), true);
    brightSlider_ = new CDvSimpleSliderCtrl(this);
    brightSlider_->Create(this, cmd::kBrightSlider, QRect(0, 0, 95, 30), true);
    for (auto* slider : {speedSlider_, brightSlider_}) {
        slider->SetImages(skin::kSmallTrack, skin::kSmallThumb);
        slider->setRange(0, kSliderMaximum);
        slider->setValue(kSliderMiddle);
        slider->setPageStep(kSliderPage);
    }
    connect(speedSlider_, &QSlider::valueChanged, this, [this](int p) {
        if (!IsOpening()) OnSpeedSlider(p);
    });
    connect(brightSlider_, &QSlider::valueChanged, this, [this](int p) {
        if (!IsOpening()) OnBrightSlider(p);
    });
    connect(volume_, &CDvVolumeCtrl::volumeLevelChanged, this, [this](int level) {
        if (!IsOpening()) OnVolumeLevel(level);
    });

    list_ = new CDvListCtrl(this);
    list_->Create(this, cmd::kList, QRect(0, 0, 262, 200), true);
    list_->SetupAsPlaylist();
    list_->SetMainWindowLink(this);
    connect(list_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { OnListDoubleClick(row); });
    connect(list_, &CDvListCtrl::rowRightClicked, this, [this](int) { list_->setFocus(); });
}

bool CDravikViewerDlg::Initialise(AudioSink* sound) {
    if (initialised_) return true;
    initialised_ = true;
    if (const SkinImage* icon = SkinRegistry::Find(skin::kAppIcon)) setWindowIcon(QIcon(QPixmap::fromImage(icon->image)));
    PrepareDecoderRegistry();
    source_.AddFolderName("NORMAL");
    source_.AddFolderName("INFINITE");
    source_.AddFolderName("EVENT");
    source_.AddFolderName("PARKING");
    source_.AddExtension("AVI");
    setWindowTitle(QString::asprintf("%s Viewer", "KX480"));
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    setMouseTracking(true);

    CreateControls();
    // Card recordings play in place, read through the card library.
    SetCardFileOpener(card::OpenCardFileBytes);
    player_.AttachWindows(front_, rear_);
    player_.AttachSound(sound);
    LoadButtonImages();

    seek_->setEnabled(false);
    for (int id : {cmd::kFront, cmd::kRear, cmd::kBoth, cmd::kRearMirror}) Button(id)->hide();
    mapView_ = new CMapViewWnd(mapPanel_);
    mapView_->Create(mapPanel_, kIdMapView, QRect(QPoint(0, 0), mapPanel_->size()), true);
    CDvMapPanelCtrl::MoveMapView(mapView_, mapPanel_);
    mapView_->Navigate();
    noData_->show();
    mapPanel_->hide();
    Button(cmd::kMap)->hide();
    noConnection_->hide();
    Button(cmd::kPause)->hide();

    mapDlg_ = std::make_unique<CMapDlg>();
    mapDlg_->Create();
    mapDlg_->SetPositionSource([this] { return static_cast<std::uint32_t>(player_.GetPositionMs()); });
    connect(mapDlg_.get(), &CMapDlg::closeRequested, this, &CDravikViewerDlg::DockMap);
    resize(kMinimumWidth, kMinimumHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(kMinimumWidth / 2, kMinimumHeight / 2));
    RunLayout();
    zoomDlg_ = std::make_unique<CZoomDlg>();
    volume_->SetLevel(kVolumeInitialLevel);
    for (int id : {cmd::kMerge, cmd::kCapture, cmd::kPrint, cmd::kPrev, cmd::kRewind, cmd::kPlay, cmd::kForward,
                   cmd::kNext, cmd::kKindAll, cmd::kKindEvent, cmd::kKindNormal, cmd::kKindParking})
        Button(id)->SetButtonEnabled(false);

    QPalette tips = QToolTip::palette();
    tips.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xFF));
    tips.setColor(QPalette::ToolTipText, QColor(0, 0, 0));
    QToolTip::setPalette(tips);
    LoadTooltips(false);

    if (tempFolder_.empty()) tempFolder_ = TempFolder();
    setAcceptDrops(true);
    qApp->installEventFilter(this);
    removalWatcher_ = new CardRemovalWatcher(this);
    for (const auto& image : cardImages_) removalWatcher_->WatchFile(image.image);
    connect(removalWatcher_, &CardRemovalWatcher::volumeRemoved, this,
            [this](const QString& root) { OnVolumeRemoved(root.toStdString()); });
    MakeTimer(cmd::kTimerPosition, 200, false);
    MakeTimer(cmd::kTimerDoubleClick, 1000, false);
    MakeTimer(cmd::kTimerCardRemoved, 1000, false);
    MakeTimer(cmd::kTimerStartup, 1, true)->start();
    return true;
}

// ---- layout and painting -------------------------------------------------------------------

void CDravikViewerDlg::RunLayout() {
    if (!list_) return;
    const ViewerLayout l = ComputeLayout(width(), height(), mode_);
    const bool full = mode_ == LayoutMode::Full;
    setUpdatesEnabled(false);
    const std::pair<int, LayoutPlace> places[] = {
        {cmd::kOpen, l.open},         {cmd::kMerge, l.merge},       {cmd::kCapture, l.capture},
        {cmd::kPrint, l.print},       {cmd::kZoom, l.zoom},         {cmd::kSave, l.save},
        {cmd::kSetting, l.setting},   {cmd::kAbout, l.about},       {cmd::kMin, l.min},
        {cmd::kMax, l.max},           {cmd::kClose, l.close},       {cmd::kPrev, l.prev},
        {cmd::kRewind, l.rewind},     {cmd::kPlay, l.play},         {cmd::kPause, l.play},
        {cmd::kForward, l.forward},   {cmd::kNext, l.next},         {cmd::kSpeed, l.speedButton},
        {cmd::kBright, l.brightButton}, {cmd::kMute, l.mute},       {cmd::kMap, l.mapButton},
        {cmd::kFront, l.front},       {cmd::kRear, l.rear},         {cmd::kBoth, l.both},
        {cmd::kRearMirror, l.rearMirror}, {cmd::kKindAll, l.kindAll}, {cmd::kKindEvent, l.kindEvent},
        {cmd::kKindNormal, l.kindNormal}, {cmd::kKindParking, l.kindParking},
    };
    for (const auto& [id, place] : places) {
        auto* button = Button(id);
        button->setGeometry(ToRect(place));
        button->SetLayoutMode(static_cast<int>(mode_));
    }
    gsensor_->setGeometry(ToRect(l.gsensor));
    Text(cmd::kText1)->setGeometry(ToRect(l.text1));
    Text(cmd::kText2)->setGeometry(ToRect(l.text2));
    Text(cmd::kText3)->setGeometry(ToRect(l.text3));
    Text(cmd::kText4)->setGeometry(ToRect(l.text4));
    Text(cmd::kText7)->setGeometry(ToRect(l.text7));
    seek_->setGeometry(ToRect(l.seek));
    speedSlider_->setGeometry(ToRect(l.speedSlider));
    brightSlider_->setGeometry(ToRect(l.brightSlider));
    volume_->setGeometry(ToRect(l.volume));
    speedDisplay_->setGeometry(ToRect(l.speedDisplay));
    mapPanel_->setGeometry(ToRect(l.mapPanel));
    noData_->setGeometry(ToRect(l.mapPanel));
    noConnection_->setGeometry(ToRect(l.mapPanel));
    list_->setGeometry(ToRect(l.list));

    for (int id : {cmd::kOpen, cmd::kMerge, cmd::kCapture, cmd::kPrint, cmd::kZoom, cmd::kSetting, cmd::kAbout,
                   cmd::kMin, cmd::kMax, cmd::kClose, cmd::kKindAll, cmd::kKindEvent, cmd::kKindNormal,
                   cmd::kKindParking})
        Button(id)->setVisible(full);
    Button(cmd::kSave)->setVisible(true);
    Text(cmd::kText2)->setVisible(full);
    Text(cmd::kText7)->setVisible(full);
    list_->setVisible(full);
    if (list_->Scrollbar()) list_->Scrollbar()->setVisible(full);
    const bool docked = TheMapMode() == MapMode::Docked;
    Text(cmd::kText3)->setVisible(full && docked);
    Text(cmd::kText4)->setVisible(full && docked);
    ApplyMapArea();
    PlaceScreensForView();
    setUpdatesEnabled(true);
    update();
}

void CDravikViewerDlg::PlaceScreensForView() {
    const ViewerLayout l = ComputeLayout(width(), height(), mode_);
    const ScreenPlaces places = PlaceScreens(l.video, view_);
    front_->setGeometry(ToRect(places.front));
    rear_->setGeometry(ToRect(places.rear));
}

void CDravikViewerDlg::PaintBackground(QPainter& painter) {
    const ViewerLayout l = ComputeLayout(width(), height(), mode_);
    painter.fillRect(rect(), kColorBackground);
    for (int x = 0; x < width(); x += 100) DrawBitmapResource(33, 100, painter, skin::kTopTile, x, 0, false, {});
    const QRect video = ToRect(l.video);
    if (front_->isVisible() || rear_->isVisible()) {
        painter.fillRect(video, kColorBackground);
        painter.setPen(kColorLine);
        painter.drawRect(video.adjusted(0, 0, -1, -1));
    } else {
        // The empty video picture: the frame with the program's mark in the middle.
        painter.fillRect(video, kColorBackground);
        painter.setPen(kColorLine);
        painter.drawRect(video.adjusted(0, 0, -1, -1));
        const QSize icon = ResourceSize(skin::kAppIcon);
        if (!icon.isEmpty() && video.width() > icon.width() && video.height() > icon.height()) {
            painter.setOpacity(0.2);
            DrawPngResource(painter, skin::kAppIcon, video.center().x() - icon.width() / 2,
                            video.center().y() - icon.height() / 2);
            painter.setOpacity(1.0);
        }
    }
    const QRect band(l.bar.left + 5, l.bar.top, l.bar.Width() - 10, l.bar.Height());
    painter.fillRect(band, kColorPanelLight);
    painter.setPen(kColorLine);
    painter.drawRect(band.adjusted(0, 0, -1, -1));
    if (mode_ == LayoutMode::Full) {
        painter.drawRect(ToRect(l.mapArea).adjusted(0, 0, -1, -1));
        painter.drawRect(ToRect(l.listArea).adjusted(0, 0, -1, -1));
    }
}

void CDravikViewerDlg::paintEvent(QPaintEvent*) {
    // The window's backing store is already off-screen: what is painted here reaches the screen
    // in one step.
    QPainter painter(this);
    PaintBackground(painter);
}

void CDravikViewerDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    RunLayout();
    player_.RepositionChannels();
}

// ---- events ----------------------------------------------------------------------------------

bool CDravikViewerDlg::event(QEvent* e) {
    if (e->type() == QEvent::Type(QEvent::User + cmd::kMsgKindButtons)) {
        for (int id : {cmd::kKindAll, cmd::kKindEvent, cmd::kKindNormal, cmd::kKindParking}) Button(id)->update();
        return true;
    }
    return QWidget::event(e);
}

bool CDravikViewerDlg::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget == this || isAncestorOf(widget))
            if (HandleKey(static_cast<QKeyEvent*>(e))) return true;
    }
    if (e->type() == QEvent::MouseMove && watched == this)
        for (auto& [id, button] : buttons_) button->SetHovering(false);
    return QWidget::eventFilter(watched, e);
}

void CDravikViewerDlg::keyPressEvent(QKeyEvent* e) {
    if (!HandleKey(e)) QWidget::keyPressEvent(e);
}

bool CDravikViewerDlg::HandleKey(QKeyEvent* e) {
    const auto mods = e->modifiers();
    const int key = e->key();
    if (mods & Qt::AltModifier) {
        if (key == Qt::Key_F4) {
            OnCommand(cmd::kClose);
            return true;
        }
        return false;
    }
    if ((mods & Qt::ControlModifier) && key == Qt::Key_O) {
        OnCommand(cmd::kOpen);
        return true;
    }
    if (mods & Qt::ControlModifier) return false;
    switch (key) {
        case Qt::Key_Escape:
            OnCommand(cmd::kSave);
            return true;
        case Qt::Key_Space:
            OnCommand(cmd::kMenuPlayPause);
            return true;
        case Qt::Key_PageUp:
            if (PlayingOrPaused() && currentRow_ > 0) OnCommand(cmd::kPrev);
            return true;
        case Qt::Key_PageDown:
            if (PlayingOrPaused() && currentRow_ < list_->rowCount() - 1) OnCommand(cmd::kNext);
            return true;
        case Qt::Key_Up:
            OnCommand(cmd::kMenuVolumeUp);
            return true;
        case Qt::Key_Down:
            OnCommand(cmd::kMenuVolumeDown);
            return true;
        case Qt::Key_B:
            OnCommand(cmd::kBright);
            return true;
        case Qt::Key_M:
            OnCommand(cmd::kMute);
            return true;
        case Qt::Key_S:
            OnCommand(cmd::kSpeed);
            return true;
        default:
            return false;
    }
}

namespace {

// The edges a point of the 10-pixel frame grabs: corners first, then the four edges.
Qt::Edges FrameEdges(QPoint p, QSize size) {
    constexpr int kFrame = 10;
    const bool left = p.x() < kFrame, right = p.x() >= size.width() - kFrame;
    const bool top = p.y() < kFrame, bottom = p.y() >= size.height() - kFrame;
    Qt::Edges edges;
    if (left) edges |= Qt::LeftEdge;
    if (right) edges |= Qt::RightEdge;
    if (top) edges |= Qt::TopEdge;
    if (bottom) edges |= Qt::BottomEdge;
    return edges;
}

}  // namespace

void CDravikViewerDlg::mousePressEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    if (e->button() == Qt::RightButton) {
        const ViewerLayout l = ComputeLayout(width(), height(), mode_);
        if (pos.x() < l.list.x) ShowContextMenu(e->globalPosition().toPoint());
        return;
    }
    if (e->button() != Qt::LeftButton || isMaximized()) return;
    const Qt::Edges edges = FrameEdges(pos, size());
    if (edges && windowHandle() && windowHandle()->startSystemResize(edges)) return;
    if (!edges && windowHandle() && windowHandle()->startSystemMove()) return;
    // Without a window manager that moves windows for us, move by hand.
    dragging_ = true;
    dragOffset_ = e->globalPosition().toPoint() - frameGeometry().topLeft();
}

void CDravikViewerDlg::mouseMoveEvent(QMouseEvent* e) {
    if (dragging_) move(e->globalPosition().toPoint() - dragOffset_);
}

void CDravikViewerDlg::mouseReleaseEvent(QMouseEvent*) { dragging_ = false; }

void CDravikViewerDlg::mouseDoubleClickEvent(QMouseEvent* e) {
    if (mode_ == LayoutMode::Full && e->position().y() < 40) OnCommand(cmd::kMax);
}

void CDravikViewerDlg::closeEvent(QCloseEvent* e) {
    closing_ = true;
    OnCloseCommand();
    e->accept();
}

void CDravikViewerDlg::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void CDravikViewerDlg::dropEvent(QDropEvent* e) {
    QStringList paths;
    for (const QUrl& url : e->mimeData()->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    if (!paths.isEmpty()) DropFiles(paths);
    e->acceptProposedAction();
}

void CDravikViewerDlg::FocusDesignatedControl() { setFocus(); }

bool CDravikViewerDlg::IsRecordingOpen() const {
    return const_cast<CPlaybackGraph&>(player_).MediaGraph() != nullptr;
}

void CDravikViewerDlg::SeekMs(std::int64_t milliseconds) {
    if (IsOpening()) return;
    player_.SeekMs(static_cast<int>(milliseconds));
}

// ---- commands --------------------------------------------------------------------------------

void CDravikViewerDlg::OnCommand(int id) {
    if (IsOpening()) return;
    switch (id) {
        case cmd::kOpen: case cmd::kMenuOpen: OnOpen(); break;
        case cmd::kMerge: OnMerge(); break;
        case cmd::kCapture: OnCapture(); break;
        case cmd::kSave: OnToggleLayout(); break;
        case cmd::kPrint: OnPrint(); break;
        case cmd::kSetting: OnSettings(); break;
        case cmd::kZoom: OnZoom(); break;
        case cmd::kAbout: OnAbout(); break;
        case cmd::kMin: showMinimized(); break;
        case cmd::kMax: isMaximized() ? showNormal() : showMaximized(); break;
        case cmd::kClose: OnCloseCommand(); break;
        case cmd::kPrev: case cmd::kMenuPrev: OnPrev(); break;
        case cmd::kNext: case cmd::kMenuNext: OnNext(); break;
        case cmd::kRewind: OnRewind(); break;
        case cmd::kForward: OnForward(); break;
        case cmd::kPlay: OnPlay(); break;
        case cmd::kPause:
            if (State() == PlayState::Running) PausePlayback();
            break;
        case cmd::kMenuPlayPause:
            if (State() == PlayState::Running) PausePlayback();
            else if (State() == PlayState::Paused) ResumePlayback();
            break;
        case cmd::kSpeed: case cmd::kMenuSpeedDefault: OnSpeedDefault(); break;
        case cmd::kMenuFaster: StepSpeedSlider(+kSliderPage); break;
        case cmd::kMenuSlower: StepSpeedSlider(-kSliderPage); break;
        case cmd::kBright: case cmd::kMenuBrightDefault: OnBrightDefault(); break;
        case cmd::kMenuDarken: StepBrightSlider(-kSliderPage); break;
        case cmd::kMenuBrighten: StepBrightSlider(+kSliderPage); break;
        case cmd::kMute: case cmd::kMenuMute: OnMute(); break;
        case cmd::kMenuVolumeUp: StepVolume(+1); break;
        case cmd::kMenuVolumeDown: StepVolume(-1); break;
        case cmd::kMap: OnMapButton(); break;
        case cmd::kFront: ShowChannelView(ChannelView::Front); break;
        case cmd::kRear: ShowChannelView(ChannelView::Rear); break;
        case cmd::kBoth: ShowChannelView(ChannelView::Both); break;
        case cmd::kRearMirror: OnRearMirror(); break;
        case cmd::kKindAll: case cmd::kMenuKindAll: OnKindFilter(cmd::kKindAll); break;
        case cmd::kKindNormal: case cmd::kMenuKindNormal: OnKindFilter(cmd::kKindNormal); break;
        case cmd::kKindEvent: case cmd::kMenuKindEvent: OnKindFilter(cmd::kKindEvent); break;
        case cmd::kKindParking: case cmd::kMenuKindParking: OnKindFilter(cmd::kKindParking); break;
        default: break;
    }
}

void CDravikViewerDlg::OnTimer(int id) {
    switch (id) {
        case cmd::kTimerPosition:
            UpdatePosition();
            emit positionUpdated();
            break;
        case cmd::kTimerDoubleClick:
            if (IsOpening()) break;  // fires again a second later
            timers_[id]->stop();
            if (list_->rowCount() > 0 && pendingRow_ >= 0 && pendingRow_ < list_->rowCount() &&
                list_->ItemText(pendingRow_, 4).size() > 3) {
                StopPlayback(false);
                PlayRow(pendingRow_);
            }
            break;
        case cmd::kTimerCardRemoved:
            if (IsOpening()) break;
            timers_[id]->stop();
            OnCardRemoved();
            break;
        case cmd::kTimerStartup:
            timers_[id]->stop();
            RunFileLoadDialog(CFileLoadDlg::kModeStartup);
            if (!startupCard_.empty()) LoadDrive(startupCard_);
            else if (!startupPaths_.empty()) LoadDroppedPaths(startupPaths_);
            break;
        default:
            break;
    }
}

void CDravikViewerDlg::OnVolumeRemoved(const std::string& root) {
    // The listed source is on the removed volume when it is the volume's root (or card image)
    // or lies below it.
    if (currentCardDrive_.empty() || root.empty() || root == "/") return;
    const bool onVolume = currentCardDrive_ == root ||
                          (currentCardDrive_.size() > root.size() && currentCardDrive_.compare(0, root.size(), root) == 0 &&
                           (root.back() == '/' || currentCardDrive_[root.size()] == '/'));
    if (!onVolume) return;
    if (IsOpening()) {
        timers_[cmd::kTimerCardRemoved]->start();
        return;
    }
    OnCardRemoved();
}

void CDravikViewerDlg::OnCardRemoved() {
    if (State() == PlayState::Running) PausePlayback();
    currentCardDrive_.clear();
    StopPlayback(true);
    list_->DeleteAllItems();
    list_->SetMarkedRow(-1);
    currentRow_ = -1;
    for (int i = 0; i < 4; ++i) kindEnabled_[i] = false;
    for (int id : {cmd::kKindAll, cmd::kKindEvent, cmd::kKindNormal, cmd::kKindParking}) Button(id)->SetButtonEnabled(false);
    for (int id : {cmd::kFront, cmd::kRear, cmd::kBoth, cmd::kRearMirror}) Button(id)->hide();
    for (int id : {cmd::kMerge, cmd::kCapture, cmd::kPrint, cmd::kPrev, cmd::kRewind, cmd::kPlay, cmd::kForward,
                   cmd::kNext})
        Button(id)->SetButtonEnabled(false);
    speedDisplay_->SetSpeed(0);
    speedDisplay_->update();
    auto& axes = Text(cmd::kText2)->Values();
    axes.x = axes.y = axes.z = 0;
    axes.hasAxisData = false;
    Text(cmd::kText2)->update();
    auto& position = Text(cmd::kText4)->Values();
    position.latitude = position.longitude = 0;
    Text(cmd::kText4)->update();
    ClearGpsTrack();
    ClearGsensorTrack();
    if (mapView_) mapView_->Reset();
    DockMap();
    Text(cmd::kText3)->hide();
    Text(cmd::kText4)->hide();
    ShowMessage(kStrMsgNoRecordings);
    QApplication::postEvent(this, new QEvent(QEvent::Type(QEvent::User + cmd::kMsgKindButtons)));
}

void CDravikViewerDlg::OnToggleLayout() {
    mode_ = mode_ == LayoutMode::Full ? LayoutMode::VideoOnly : LayoutMode::Full;
    RunLayout();
    update();
}

void CDravikViewerDlg::OnAbout() {
    const bool paused = State() == PlayState::Running;
    if (paused) PausePlayback();
    CAboutDlg about(this, TheViewerOptions().languageIndex, source_);
    if (about.exec() == QDialog::Accepted) ApplyRearMirrorIfPlaying();
    if (paused) ResumePlayback();
}


void CDravikViewerDlg::OnMapButton() {
    if (!mapDlg_ || !mapView_) return;
    TheMapMode() = MapMode::Floating;
    mapDlg_->Float(mapView_);
    Button(cmd::kMap)->hide();
    Text(cmd::kText3)->hide();
    Text(cmd::kText4)->hide();
}

void CDravikViewerDlg::DockMap() {
    if (!mapDlg_ || !mapView_) return;
    if (TheMapMode() != MapMode::Floating) return;
    mapDlg_->Dock(mapView_, mapPanel_);
    TheMapMode() = MapMode::Docked;
    RunLayout();
}

void CDravikViewerDlg::OnCloseCommand() {
    if (PlayingOrPaused()) player_.Stop();
    player_.CloseRecording();
    timers_[cmd::kTimerPosition]->stop();
    ClearTempFolder();
    if (!closing_) {
        closing_ = true;
        close();
    }
}

bool CDravikViewerDlg::ShowText(const QString& text, bool yesNo) {
    if (messageHandler_) return messageHandler_(text, yesNo);
    if (yesNo)
        return QMessageBox::question(this, windowTitle(), text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    QMessageBox::information(this, windowTitle(), text);
    return true;
}

bool CDravikViewerDlg::ShowMessage(int stringId, const QString& prefix, bool yesNo) {
    // Without a language table the message is skipped.
    const auto text = LanguageString(stringId);
    if (!text) return false;
    return ShowText(prefix + QString::fromStdString(*text), yesNo);
}

}  // namespace kx
