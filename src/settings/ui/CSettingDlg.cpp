#include "settings/ui/CSettingDlg.h"

#include "app/core/LanguageTable.h"
#include "app/core/ProgramPaths.h"
#include "app/core/StringIds.h"
#include "app/core/ViewerOptions.h"
#include "settings/CameraOptions.h"
#include "settings/SetupFile.h"
#include "settings/TimeFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include <ctime>

namespace kx {

using settings::ClockField;

namespace {

QString LangText(int number) {
    const auto text = LanguageString(number);
    return text ? QString::fromStdString(*text) : QString();
}

QString EntryText(const settings::OptionEntry& entry) {
    return entry.stringId ? LangText(entry.stringId) : QString::fromUtf8(entry.text.data(), static_cast<int>(entry.text.size()));
}

void FillCombo(QComboBox* combo, std::span<const settings::OptionEntry> entries) {
    combo->clear();
    for (const auto& entry : entries) combo->addItem(EntryText(entry));
}

std::tm LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

constexpr const char* kStyle =
    "QDialog { background: rgb(30,30,30); }"
    "QLabel, QCheckBox, QRadioButton { color: rgb(200,200,200); }"
    "QGroupBox { color: rgb(255,255,255); border: 1px solid rgb(100,100,100); margin-top: 8px; }"
    "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 3px; }"
    "QComboBox, QLineEdit { background: rgb(20,20,20); color: rgb(220,220,220);"
    " border: 1px solid rgb(100,100,100); padding-left: 3px; }"
    "QComboBox:disabled, QLineEdit:disabled, QLabel:disabled { color: rgb(90,90,90); }"
    "QPushButton { background: rgb(50,50,50); color: rgb(220,220,220); border: 1px solid rgb(100,100,100); }"
    "QPushButton:pressed { background: rgb(0,128,128); }";

}  // namespace

CSettingDlg::CSettingDlg(QWidget* parent, CardMaintenanceHooks hooks) : QDialog(parent), hooks_(std::move(hooks)) {
    setModal(true);
    setFixedSize(900, 650);
    setWindowTitle(LangText(kStrTipSettings));
    setStyleSheet(kStyle);

    // The viewer's options as the file holds them now.
    const std::string options = OptionsPath();
    if (!options.empty()) LoadOptions(options, TheViewerOptions());
    CreateControls();
    FillCardList();
    const int modelIndex = TheViewerOptions().modelIndex == 0 ? 0 : -1;
    model_->setCurrentIndex(modelIndex);
    camera_.modelName = modelIndex == 0 ? std::string(settings::kCameraModel) : std::string();
    FillModelLists(modelIndex);

    playSlider_->setRange(1, 10);
    // The record holds the options read at start-up when the file could not be read now.
    const auto& o = TheViewerOptions();
    folder_->setText(QString::fromStdString(o.saveFolder));
    playText_->setText(QString::number(o.jumpSeconds));
    playSlider_->setValue(o.jumpSeconds);
    mirror_->setChecked(o.rearMirror);
    for (QComboBox* list : clockLists_) list->setEnabled(false);
    if (camera_.HasCameraModel()) {
        settings::ApplyCameraDefaults(camera_, clock_, LocalNow());
        ShowClock();
    }
    ShowCamera();
    if (parent) move(parent->frameGeometry().center() - QPoint(width() / 2, height() / 2));
}

QLabel* CSettingDlg::Caption(int number, const QRect& rect, QWidget* parent) {
    auto* label = new QLabel(LangText(number), parent ? parent : this);
    label->setGeometry(rect);
    return label;
}

QGroupBox* CSettingDlg::Group(int number, const QRect& rect, const QString& fixed) {
    auto* group = new QGroupBox(fixed.isEmpty() ? LangText(number) : fixed, this);
    group->setGeometry(rect);
    group->lower();
    return group;
}

QComboBox* CSettingDlg::MakeCombo(int id, const QRect& rect) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(QString::number(id));
    combo->setGeometry(rect);
    return combo;
}

void CSettingDlg::CreateControls() {
    const bool german = TheViewerOptions().languageIndex == 2;
    const int noteTop = german ? -10 : 0;
    const int noteHeight = german ? 29 : 19;

    Group(148, QRect(5, 5, 883, 580));
    // Model.
    Group(246, QRect(10, 25, 288, 79));
    Caption(247, QRect(20, 50 + noteTop, 258, noteHeight));
    Caption(248, QRect(20, 74, 129, 19));
    model_ = MakeCombo(kModelList, QRect(154, 74, 129, 19));
    model_->addItem(QString::fromUtf8(settings::kCameraModel.data(), static_cast<int>(settings::kCameraModel.size())));
    // Trigger level, parking power-off, display-off.
    Group(153, QRect(10, 110, 288, 79));
    Caption(154, QRect(20, 134 + noteTop, 258, noteHeight));
    Caption(241, QRect(20, 158, 129, 19));
    trigger_ = MakeCombo(kTriggerList, QRect(154, 158, 129, 19));
    FillCombo(trigger_, settings::TriggerOptions());
    Group(177, QRect(10, 194, 288, 79));
    Caption(178, QRect(20, 218 + noteTop, 258, noteHeight));
    Caption(234, QRect(20, 242, 129, 19));
    powerOff_ = MakeCombo(kPowerOffList, QRect(154, 242, 129, 19));
    FillCombo(powerOff_, settings::PowerOffOptions());
    Group(0, QRect(10, 278, 288, 79), "LCD OFF");
    Caption(176, QRect(20, 302, 258, 19));
    auto* lcdLabel = new QLabel("LCD OFF", this);
    lcdLabel->setGeometry(20, 326, 129, 19);
    lcdOff_ = MakeCombo(kLcdOffList, QRect(154, 326, 129, 19));

    // Card.
    Group(149, QRect(305, 25, 288, 79));
    Caption(150, QRect(315, 50 + noteTop, 268, noteHeight));
    Caption(151, QRect(315, 74, german ? 51 : 64, 19));
    cardList_ = MakeCombo(kCardList, german ? QRect(369, 74, 102, 19) : QRect(382, 74, 128, 19));
    format_ = new QPushButton(LangText(152), this);
    format_->setGeometry(german ? QRect(476, 74, 102, 19) : QRect(515, 74, 64, 19));

    // Settings the camera model does not have.
    QGroupBox* voice = Group(228, QRect(305, 110, 288, 79));
    QGroupBox* led = Group(242, QRect(305, 194, 288, 79));
    QGroupBox* motion = Group(163, QRect(305, 278, 288, 79));
    const int otherY[4] = {158, 245, 302, 326};
    const int otherIds[4] = {1034, 1123, 1030, 1043};
    for (int i = 0; i < 4; ++i) otherLists_[static_cast<std::size_t>(i)] = MakeCombo(otherIds[i], QRect(447, otherY[i], 129, 19));
    otherLists_[0]->addItems({LangText(232), LangText(230)});
    otherLists_[1]->addItems({LangText(243), LangText(244)});
    modelLacking_ = {voice, led, motion, otherLists_[0], otherLists_[1], otherLists_[2], otherLists_[3]};

    // Video and sound.
    Group(168, QRect(598, 25, 285, 79));
    Caption(169, QRect(606, 50, 129, 19));
    quality_ = MakeCombo(kQualityList, QRect(740, 50, 129, 19));
    Caption(173, QRect(606, 74, 129, 19));
    channels_ = MakeCombo(kChannelList, QRect(740, 74, 129, 19));
    FillCombo(channels_, settings::ChannelOptions());
    Group(179, QRect(598, 110, 285, 79));
    Caption(180, QRect(606, 134, 129, 19));
    sound_ = new QCheckBox(LangText(181), this);
    sound_->setGeometry(740, 134, 129, 19);
    Caption(182, QRect(606, 158, 129, 19));
    speaker_ = MakeCombo(kSpeakerList, QRect(740, 158, 129, 19));

    // Battery.
    Group(183, QRect(598, 194, 285, 79));
    volt12_ = new QRadioButton(LangText(184), this);
    volt12_->setGeometry(606, 218, 129, 19);
    volt24_ = new QRadioButton(LangText(185), this);
    volt24_->setGeometry(606, 242, 129, 19);
    Caption(186, QRect(740, 218, 129, 19));
    cutOff_ = MakeCombo(kCutOffList, QRect(740, 242, 129, 19));

    // Clock.
    Group(187, QRect(598, 278, 285, 79));
    timeBox_ = new QCheckBox(LangText(188), this);
    timeBox_->setGeometry(606, 297, 51, 19);
    Caption(136, QRect(660, 302, 36, 19));
    Caption(137, QRect(660, 326, 36, 19));
    const int clockIds[6] = {kYear, kMonth, kDay, kHour, kMinute, kSecond};
    for (std::size_t i = 0; i < settings::kClockFieldCount; ++i) {
        const int x = 698 + static_cast<int>(i % 3) * 61;
        const int y = i < 3 ? 302 : 326;
        QComboBox* list = MakeCombo(clockIds[i], QRect(x, y, 56, 19));
        for (const std::string& entry : settings::ClockEntries(static_cast<ClockField>(i)))
            list->addItem(QString::fromStdString(entry));
        clockLists_[i] = list;
    }

    // The viewer's own options.
    Group(189, QRect(10, 365, 515, 110));
    Caption(191, QRect(25, 395, 550, 19));
    if (german) Caption(192, QRect(25, 429, 192, 28));
    else Caption(192, QRect(25, 434, 96, 23));
    folder_ = new QLineEdit(this);
    folder_->setObjectName(QString::number(kFolderEdit));
    folder_->setGeometry(german ? QRect(217, 434, 192, 23) : QRect(126, 434, 288, 23));
    auto* browse = new QPushButton(LangText(193), this);
    browse->setGeometry(german ? 414 : 419, 434, 96, 23);
    Group(194, QRect(10, 480, 515, 95));
    Caption(195, QRect(25, 505, 550, 19));
    playText_ = new QLabel(this);
    playText_->setObjectName(QString::number(kPlayText));
    playText_->setGeometry(25, 535, 96, 23);
    playSlider_ = new QSlider(Qt::Horizontal, this);
    playSlider_->setObjectName(QString::number(kPlaySlider));
    playSlider_->setGeometry(126, 535, 384, 23);
    Group(211, QRect(530, 365, 353, 110));
    mirror_ = new QCheckBox(LangText(212), this);
    mirror_->setGeometry(543, 416, 312, 23);

    auto* defaults = new QPushButton(LangText(196), this);
    defaults->setGeometry(616, 588, 86, 25);
    auto* ok = new QPushButton(LangText(kStrButtonOk), this);
    ok->setGeometry(707, 588, 86, 25);
    auto* cancel = new QPushButton(LangText(kStrButtonCancel), this);
    cancel->setGeometry(798, 588, 86, 25);

    connect(model_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!filling_) OnModelChanged(i);
    });
    connect(cardList_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!filling_) OnCardSelected(i);
    });
    connect(volt12_, &QRadioButton::clicked, this, [this] { OnVoltage(false); });
    connect(volt24_, &QRadioButton::clicked, this, [this] { OnVoltage(true); });
    connect(timeBox_, &QCheckBox::toggled, this, &CSettingDlg::OnTimeBox);
    connect(playSlider_, &QSlider::valueChanged, this, [this](int v) { playText_->setText(QString::number(v)); });
    connect(browse, &QPushButton::clicked, this, &CSettingDlg::OnBrowse);
    connect(format_, &QPushButton::clicked, this, &CSettingDlg::OnFormat);
    connect(defaults, &QPushButton::clicked, this, &CSettingDlg::OnDefaults);
    connect(ok, &QPushButton::clicked, this, &CSettingDlg::OnOk);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QComboBox* CSettingDlg::Combo(int id) const { return findChild<QComboBox*>(QString::number(id)); }

QWidget* CSettingDlg::Control(int id) const {
    switch (id) {
        case kSoundCheck: return sound_;
        case kVolt12: return volt12_;
        case kVolt24: return volt24_;
        case kTimeCheck: return timeBox_;
        case kFolderEdit: return folder_;
        case kPlayText: return playText_;
        case kPlaySlider: return playSlider_;
        case kMirrorCheck: return mirror_;
        case kFormatButton: return format_;
        default: return Combo(id);
    }
}

void CSettingDlg::FillModelLists(int modelIndex) {
    filling_ = true;
    const bool camera = modelIndex == 0;
    // The model's own lists; without a model only what every model has.
    quality_->clear();
    speaker_->clear();
    lcdOff_->clear();
    otherLists_[2]->clear();
    otherLists_[3]->clear();
    if (camera) {
        FillCombo(quality_, settings::QualityOptions());
        FillCombo(speaker_, settings::SpeakerOptions());
        FillCombo(lcdOff_, settings::LcdOffOptions());
    } else {
        const auto qualities = settings::QualityOptions();
        quality_->addItem(EntryText(qualities.front()));
        quality_->addItem(EntryText(qualities.back()));
        for (const auto& entry : settings::SpeakerOptions().subspan(1)) speaker_->addItem(EntryText(entry));
    }
    for (QWidget* widget : modelLacking_) widget->setEnabled(!camera);
    filling_ = false;
    RebuildCutOffList();
}

void CSettingDlg::RebuildCutOffList() {
    filling_ = true;
    FillCombo(cutOff_, settings::CutOffOptions(camera_.volt24, camera_.HasCameraModel()));
    filling_ = false;
}

void CSettingDlg::ShowCamera() {
    filling_ = true;
    const auto select = [](QComboBox* combo, int index) {
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
    };
    select(trigger_, camera_.triggerIndex);
    select(quality_, camera_.qualityIndex);
    sound_->setChecked(camera_.audioEnabled);
    select(speaker_, camera_.speakerIndex);
    select(channels_, camera_.channelIndex);
    (camera_.volt24 ? volt24_ : volt12_)->setChecked(true);
    filling_ = false;
    RebuildCutOffList();
    filling_ = true;
    select(cutOff_, camera_.cutOffIndex);
    select(powerOff_, camera_.powerOffIndex);
    select(lcdOff_, camera_.lcdOffIndex);
    filling_ = false;
}

void CSettingDlg::TakeCamera() {
    camera_.triggerIndex = trigger_->currentIndex();
    camera_.qualityIndex = quality_->currentIndex();
    camera_.audioEnabled = sound_->isChecked();
    camera_.speakerIndex = speaker_->currentIndex();
    camera_.channelIndex = channels_->currentIndex();
    camera_.volt24 = volt24_->isChecked();
    camera_.cutOffIndex = cutOff_->currentIndex();
    camera_.powerOffIndex = powerOff_->currentIndex();
    camera_.lcdOffIndex = lcdOff_->currentIndex();
}

void CSettingDlg::ShowClock() {
    for (std::size_t i = 0; i < settings::kClockFieldCount; ++i) clockLists_[i]->setCurrentIndex(clock_.selected[i]);
}

void CSettingDlg::TakeClock() {
    for (std::size_t i = 0; i < settings::kClockFieldCount; ++i) clock_.selected[i] = clockLists_[i]->currentIndex();
}

void CSettingDlg::FillCardList() {
    filling_ = true;
    cards_ = hooks_.list ? hooks_.list() : std::vector<SettingsCard>{};
    cardList_->clear();
    for (const auto& card : cards_) cardList_->addItem(QString::fromStdString(card.text));
    cardList_->setCurrentIndex(-1);
    filling_ = false;
}

void CSettingDlg::OnCardSelected(int index) {
    TakeCamera();
    const bool camera = camera_.HasCameraModel();
    if (index < 0 || index >= static_cast<int>(cards_.size())) {
        setupPath_.clear();
        timePath_.clear();
        if (camera) {
            TakeClock();
            settings::ApplyCameraDefaults(camera_, clock_, LocalNow());
            ShowClock();
        }
        ShowCamera();
        return;
    }
    const std::string& root = cards_[static_cast<std::size_t>(index)].root;
    // A card without a root folder (an image whose partition is not mounted) has no camera
    // files to read or write here.
    const std::string base = root.empty() || root.back() == '/' ? root : root + "/";
    setupPath_ = root.empty() ? std::string() : base + "setup.cfg";
    timePath_ = root.empty() ? std::string() : base + "time.cfg";
    TakeClock();
    if (camera) {
        readFailed_ = !settings::ReadSetupFile(setupPath_, camera_);
        if (readFailed_) settings::ApplyCameraDefaults(camera_, clock_, LocalNow());
    }
    settings::ReadTimeFile(timePath_, clock_);
    ShowCamera();
    ShowClock();
}

void CSettingDlg::OnModelChanged(int index) {
    camera_.modelName = index == 0 ? std::string(settings::kCameraModel) : std::string();
    FillModelLists(index);
    OnCardSelected(cardList_->currentIndex());
}

void CSettingDlg::OnVoltage(bool volt24) {
    // The cut-off list is rebuilt for the system and keeps its place in the list.
    TakeCamera();
    settings::SelectVoltageSystem(camera_, volt24);
    ShowCamera();
}

void CSettingDlg::OnTimeBox(bool checked) {
    if (checked) {
        settings::SetClockFields(clock_, LocalNow());
        ShowClock();
    }
    for (QComboBox* list : clockLists_) list->setEnabled(checked);
}

void CSettingDlg::OnDefaults() {
    if (camera_.HasCameraModel()) {
        TakeClock();
        settings::ApplyCameraDefaults(camera_, clock_, LocalNow());
        ShowCamera();
        ShowClock();
    }
    if (!readFailed_) {
        folder_->setText(QString::fromStdString(DefaultCaptureFolder()));
        playText_->setText("5");
        playSlider_->setValue(5);
        mirror_->setChecked(false);
    }
    readFailed_ = false;
}

void CSettingDlg::OnBrowse() {
    const QString chosen = QFileDialog::getExistingDirectory(this, QString(), folder_->text(), QFileDialog::ShowDirsOnly);
    if (!chosen.isEmpty()) folder_->setText(chosen);
}

void CSettingDlg::OnFormat() {
    const int index = cardList_->currentIndex();
    if (index < 0 || index >= static_cast<int>(cards_.size()) || !hooks_.format) return;
    if (hooks_.format(this, index, camera_.modelName)) cardRemoved_ = true;
    FillCardList();
}

bool CSettingDlg::Ask(const QString& text) {
    if (question_) return question_(text);
    return QMessageBox::question(this, windowTitle(), text, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

void CSettingDlg::StoreViewerOptions() {
    auto& o = TheViewerOptions();
    o.saveFolder = folder_->text().toStdString();
    o.jumpSeconds = ParseLeadingInt(playText_->text().toStdString());
    o.rearMirror = mirror_->isChecked();
    o.modelIndex = model_->currentIndex();
    // The interface language and the speed unit have no control here: they keep their values.
    LoadLanguageLibrary(o);
    const std::string path = OptionsPath();
    if (!path.empty()) SaveOptions(path, o);
}

void CSettingDlg::OnOk() {
    if (cardList_->currentIndex() < 0) {
        const QString text = LangText(kStrMsgNoCardSelected);
        if (!text.isEmpty() && !Ask(text)) return;
        StoreViewerOptions();
        accept();
        return;
    }
    TakeCamera();
    TakeClock();
    if (camera_.HasCameraModel()) settings::WriteSetupFile(setupPath_, camera_);
    settings::WriteTimeFile(timePath_, clock_, timeBox_->isChecked());
    StoreViewerOptions();
    accept();
}

}  // namespace kx
