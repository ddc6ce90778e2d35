#pragma once
// The settings dialog: the camera's own settings on a card ("setup.cfg"), its clock
// ("time.cfg") and the card format, together with the viewer's own options (snapshot folder,
// jump seconds, rear mirror, model). The camera values live in a plain record
// (settings::CameraSettings, settings::ClockFields) that the controls show and edit.

#include "settings/CameraSettings.h"
#include "settings/ClockFields.h"

#include <QDialog>

#include <array>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;

namespace kx {

// One entry of the card list as the dialog shows it.
struct SettingsCard {
    std::string text;  // "label(root)"
    std::string root;  // the card's root folder: "setup.cfg" and "time.cfg" live there
};

// What the dialog needs of card maintenance; the viewer fills it with the real card list and
// format, tests with fixtures.
struct CardMaintenanceHooks {
    std::function<std::vector<SettingsCard>()> list;
    // Formats the card at `index` of the last list with `modelName` as its label, asking and
    // reporting through the dialog. True when the main window must drop that card's listing.
    std::function<bool(QWidget* dialog, int index, const std::string& modelName)> format;
};

class CSettingDlg : public QDialog {
    Q_OBJECT
public:
    // Control ids of the dialog.
    enum Id {
        kModelList = 1129, kTriggerList = 1031, kPowerOffList = 1038, kLcdOffList = 1042,
        kCardList = 1028, kFormatButton = 1029, kQualityList = 1032, kChannelList = 1033,
        kSoundCheck = 1035, kSpeakerList = 1036, kVolt12 = 1037, kVolt24 = 1041, kCutOffList = 1039,
        kTimeCheck = 1046, kYear = 1045, kMonth = 1047, kDay = 1048, kHour = 1049, kMinute = 1050,
        kSecond = 1051, kFolderEdit = 1040, kBrowse = 1052, kPlayText = 1054, kPlaySlider = 1053,
        kMirrorCheck = 1044, kDefaults = 1027,
    };

    CSettingDlg(QWidget* parent, CardMaintenanceHooks hooks);

    // The format asked the main window to drop its listing of the formatted card.
    bool CardRemovedByFormat() const { return cardRemoved_; }

    // For the viewer's own use and tests: the controls by id and the camera record.
    QWidget* Control(int id) const;
    QComboBox* Combo(int id) const;
    const settings::CameraSettings& Camera() const { return camera_; }
    const settings::ClockFields& Clock() const { return clock_; }
    const std::string& SetupPath() const { return setupPath_; }
    const std::string& TimePath() const { return timePath_; }

    // The commands, as the controls run them.
    void OnCardSelected(int index);
    void OnModelChanged(int index);
    void OnVoltage(bool volt24);
    void OnTimeBox(bool checked);
    void OnDefaults();
    void OnFormat();
    void OnBrowse();
    void OnOk();
    // Fills the card list again (a card came or went).
    void FillCardList();

    // How yes/no and OK/Cancel questions are asked; tests answer them.
    using Question = std::function<bool(const QString& text)>;
    void SetQuestion(Question question) { question_ = std::move(question); }

private:
    void CreateControls();
    void LayOut();
    void FillModelLists(int modelIndex);
    void ShowCamera();
    void TakeCamera();
    void ShowClock();
    void TakeClock();
    void RebuildCutOffList();
    void StoreViewerOptions();
    bool Ask(const QString& text);
    QLabel* Caption(int number, const QRect& rect, QWidget* parent = nullptr);
    QGroupBox* Group(int number, const QRect& rect, const QString& fixed = {});
    QComboBox* MakeCombo(int id, const QRect& rect);

    CardMaintenanceHooks hooks_;
    std::vector<SettingsCard> cards_;
    settings::CameraSettings camera_;
    settings::ClockFields clock_;
    std::string setupPath_;
    std::string timePath_;
    bool readFailed_ = false;
    bool cardRemoved_ = false;
    bool filling_ = false;
    Question question_;

    QComboBox* model_ = nullptr;
    QComboBox* trigger_ = nullptr;
    QComboBox* powerOff_ = nullptr;
    QComboBox* lcdOff_ = nullptr;
    QComboBox* cardList_ = nullptr;
    QComboBox* quality_ = nullptr;
    QComboBox* channels_ = nullptr;
    QComboBox* speaker_ = nullptr;
    QComboBox* cutOff_ = nullptr;
    std::array<QComboBox*, 4> otherLists_{};
    std::array<QComboBox*, settings::kClockFieldCount> clockLists_{};
    QCheckBox* sound_ = nullptr;
    QCheckBox* timeBox_ = nullptr;
    QCheckBox* mirror_ = nullptr;
    QRadioButton* volt12_ = nullptr;
    QRadioButton* volt24_ = nullptr;
    QLineEdit* folder_ = nullptr;
    QLabel* playText_ = nullptr;
    QSlider* playSlider_ = nullptr;
    QPushButton* format_ = nullptr;
    std::vector<QWidget*> modelLacking_;  // controls the camera model does not have
};

}  // namespace kx
