// The settings dialog over a card folder: reading the camera's files when a card is picked,
// writing them back on OK (the clock only with its box checked), the viewer options, and the
// main window's follow-up.

#include "TempDir.h"
#include "ViewerFixture.h"
#include "app/core/LanguageTable.h"
#include "app/core/StringIds.h"
#include "app/core/ViewerOptions.h"
#include "controls/CDvButtonCtrl.h"
#include "controls/CDvListCtrl.h"
#include "controls/CSkinVerticleScrollbar.h"
#include "settings/SetupFile.h"
#include "settings/ui/CSettingDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTimer>

#include <fstream>
#include <sstream>

namespace kx::test {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        TheViewerOptions() = ViewerOptions{};
        fs::create_directories(card_);
        settings::CameraSettings values;
        values.modelName = "KX480";
        settings::ApplyCameraDefaults(values);
        values.triggerIndex = 5;
        values.volt24 = true;
        values.cutOffIndex = 6;
        values.softwareVersion = "V2.3";
        ASSERT_TRUE(settings::WriteSetupFile(card_ + "/setup.cfg", values));
        std::ofstream(card_ + "/time.cfg", std::ios::binary) << "24/03/07\r\n09/05/00\r\n";
        setup_ = ReadFile(card_ + "/setup.cfg");
    }

    CardMaintenanceHooks Hooks() {
        CardMaintenanceHooks hooks;
        hooks.list = [this] { return std::vector<SettingsCard>{{"KX480(" + card_ + ")", card_}}; };
        return hooks;
    }

    std::string Options() { return ReadFile(dir_ / "config/kx480-viewer/option.ini"); }

    TempDir dir_;
    ScopedEnv config_{"XDG_CONFIG_HOME", dir_ / "config"};
    std::string card_ = dir_ / "card";
    std::string setup_;
};

TEST_F(SettingsDialogTest, OkWithoutACardAsksAndWritesOnlyTheViewerOptions) {
    CSettingDlg dialog(nullptr, Hooks());
    EXPECT_EQ(dialog.size(), QSize(900, 650));
    EXPECT_EQ(dialog.Combo(CSettingDlg::kModelList)->currentIndex(), 0);
    EXPECT_EQ(dialog.Combo(CSettingDlg::kCardList)->count(), 1);
    EXPECT_EQ(dialog.Combo(CSettingDlg::kCardList)->currentIndex(), -1);
    // Camera defaults stand until a card is picked; the clock lists are off.
    EXPECT_EQ(dialog.Combo(CSettingDlg::kTriggerList)->currentIndex(), 3);
    EXPECT_EQ(dialog.Combo(CSettingDlg::kCutOffList)->currentText(), "11.9V");
    EXPECT_FALSE(dialog.Combo(CSettingDlg::kYear)->isEnabled());

    static_cast<QLineEdit*>(dialog.Control(CSettingDlg::kFolderEdit))->setText(QString::fromStdString(dir_ / "shots"));
    static_cast<QSlider*>(dialog.Control(CSettingDlg::kPlaySlider))->setValue(7);
    EXPECT_EQ(static_cast<QLabel*>(dialog.Control(CSettingDlg::kPlayText))->text(), "7");
    static_cast<QCheckBox*>(dialog.Control(CSettingDlg::kMirrorCheck))->setChecked(true);

    std::vector<QString> asked;
    dialog.SetQuestion([&](const QString& text) {
        asked.push_back(text);
        return asked.size() > 1;  // Cancel first, then OK
    });
    dialog.OnOk();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(Options().empty());
    dialog.OnOk();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].toStdString(), LanguageString(kStrMsgNoCardSelected).value_or("?"));
    const std::string options = Options();
    EXPECT_NE(options.find("SAVE_DIRECTORY=" + (dir_ / "shots") + "\r\n"), std::string::npos) << options;
    EXPECT_NE(options.find("PLAY_VALUE=7\r\n"), std::string::npos);
    EXPECT_NE(options.find("REAR_MIRROR=1\r\n"), std::string::npos);
    EXPECT_NE(options.find("MODEL=0\r\n"), std::string::npos);
    EXPECT_EQ(ReadFile(card_ + "/setup.cfg"), setup_);
    EXPECT_EQ(ReadFile(card_ + "/time.cfg"), "24/03/07\r\n09/05/00\r\n");
}

TEST_F(SettingsDialogTest, PickingACardReadsItsFilesAndOkWritesThemBack) {
    CSettingDlg dialog(nullptr, Hooks());
    dialog.Combo(CSettingDlg::kCardList)->setCurrentIndex(0);
    EXPECT_EQ(dialog.SetupPath(), card_ + "/setup.cfg");
    EXPECT_EQ(dialog.Combo(CSettingDlg::kTriggerList)->currentIndex(), 5);
    EXPECT_TRUE(static_cast<QAbstractButton*>(dialog.Control(CSettingDlg::kVolt24))->isChecked());
    EXPECT_EQ(dialog.Combo(CSettingDlg::kCutOffList)->currentText(), "24.4V");
    EXPECT_EQ(dialog.Combo(CSettingDlg::kYear)->currentText(), "2024");
    EXPECT_EQ(dialog.Combo(CSettingDlg::kMinute)->currentText(), "05");

    // Back to 12 V: the cut-off list is rebuilt and keeps its place.
    dialog.OnVoltage(false);
    EXPECT_EQ(dialog.Combo(CSettingDlg::kCutOffList)->currentText(), "12.5V");
    dialog.Combo(CSettingDlg::kQualityList)->setCurrentIndex(0);
    dialog.OnOk();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    settings::CameraSettings written;
    written.modelName = "KX480";
    ASSERT_TRUE(settings::ReadSetupFile(card_ + "/setup.cfg", written));
    EXPECT_EQ(written.qualityIndex, 0);
    EXPECT_FALSE(written.volt24);
    EXPECT_EQ(written.cutOffIndex, 6);
    EXPECT_EQ(written.softwareVersion, "V2.3");
    // The clock box was not checked: time.cfg stays as it was.
    EXPECT_EQ(ReadFile(card_ + "/time.cfg"), "24/03/07\r\n09/05/00\r\n");

    CSettingDlg again(nullptr, Hooks());
    again.Combo(CSettingDlg::kCardList)->setCurrentIndex(0);
    static_cast<QCheckBox*>(again.Control(CSettingDlg::kTimeCheck))->setChecked(true);
    EXPECT_TRUE(again.Combo(CSettingDlg::kYear)->isEnabled());
    again.Combo(CSettingDlg::kYear)->setCurrentText("2030");
    again.Combo(CSettingDlg::kMonth)->setCurrentText("12");
    again.Combo(CSettingDlg::kDay)->setCurrentText("31");
    again.Combo(CSettingDlg::kHour)->setCurrentText("23");
    again.Combo(CSettingDlg::kMinute)->setCurrentText("59");
    again.Combo(CSettingDlg::kSecond)->setCurrentText("59");
    again.OnOk();
    EXPECT_EQ(ReadFile(card_ + "/time.cfg"), "30/12/31\r\n23/59/59\r\n");
}

TEST_F(SettingsDialogTest, ACameraFileThatCannotBeReadGivesTheDefaults) {
    fs::remove(card_ + "/setup.cfg");
    CSettingDlg dialog(nullptr, Hooks());
    dialog.Combo(CSettingDlg::kTriggerList)->setCurrentIndex(6);
    dialog.Combo(CSettingDlg::kCardList)->setCurrentIndex(0);
    EXPECT_EQ(dialog.Combo(CSettingDlg::kTriggerList)->currentIndex(), 3);
    // Defaults after a failed read leave the viewer's own options alone once.
    static_cast<QLineEdit*>(dialog.Control(CSettingDlg::kFolderEdit))->setText("/kept");
    dialog.OnDefaults();
    EXPECT_EQ(static_cast<QLineEdit*>(dialog.Control(CSettingDlg::kFolderEdit))->text(), "/kept");
    dialog.OnDefaults();
    EXPECT_EQ(static_cast<QLabel*>(dialog.Control(CSettingDlg::kPlayText))->text(), "5");
    EXPECT_NE(static_cast<QLineEdit*>(dialog.Control(CSettingDlg::kFolderEdit))->text(), "/kept");
}

TEST_F(SettingsDialogTest, AnotherModelNeitherReadsNorWritesTheCameraFile) {
    TheViewerOptions().modelIndex = 3;
    CSettingDlg dialog(nullptr, Hooks());
    EXPECT_EQ(dialog.Combo(CSettingDlg::kModelList)->currentIndex(), -1);
    EXPECT_TRUE(dialog.Camera().modelName.empty());
    EXPECT_EQ(dialog.Combo(CSettingDlg::kCutOffList)->count(), 5);  // "no cut-off" and four voltages
    dialog.Combo(CSettingDlg::kCardList)->setCurrentIndex(0);
    EXPECT_NE(dialog.Combo(CSettingDlg::kTriggerList)->currentIndex(), 5);
    fs::remove(card_ + "/setup.cfg");
    dialog.OnOk();
    EXPECT_FALSE(fs::exists(card_ + "/setup.cfg"));
    EXPECT_NE(Options().find("MODEL=-1\r\n"), std::string::npos);
}

TEST_F(ViewerTest, SettingsOkReloadsTheTooltipsOfTheMainWindow) {
    EXPECT_EQ(dlg_->Button(cmd::kAbout)->toolTip().toStdString(), LanguageString(kStrTipAbout).value_or("?"));
    bool seen = false;
    QTimer::singleShot(100, [&] {
        auto* settingsDialog = qobject_cast<CSettingDlg*>(QApplication::activeModalWidget());
        seen = settingsDialog != nullptr;
        if (!settingsDialog) return;
        settingsDialog->SetQuestion([](const QString&) { return true; });
        settingsDialog->OnOk();
    });
    dlg_->OnCommand(cmd::kSetting);
    ASSERT_TRUE(seen);
    EXPECT_EQ(dlg_->Button(cmd::kAbout)->toolTip().toStdString(), LanguageString(kStrTipAboutInfo).value_or("?"));
    EXPECT_EQ(dlg_->Button(cmd::kRearMirror)->toolTip().toStdString(), LanguageString(kStrMirrorRear).value_or("?"));
}

}  // namespace
}  // namespace kx::test

namespace kx::test {
namespace {

TEST_F(ViewerTest, FormattingTheListedCardFromTheSettingsDialogDropsItsListing) {
    const std::string image = dir_ / "card.img";
    const auto made = RunCommand(std::string(KX_PROGRAM_DIR) + "/kx480-tool gen-card " + image +
                                 " --size 256M --recordings 2 --seconds 1 2>&1");
    ASSERT_EQ(made.status, 0) << made.output;
    dlg_->SetCardImages({{image, ""}});
    const int before = finished_;
    ASSERT_TRUE(dlg_->LoadDrive(image));
    ASSERT_TRUE(WaitFinished(before + 1));
    ASSERT_EQ(dlg_->List()->rowCount(), 2);

    std::vector<QString> shown;
    dlg_->SetMessageHandler([&](const QString& text, bool) {
        shown.push_back(text);
        return true;  // Yes to the format
    });
    bool listed = false;
    QTimer::singleShot(100, [&] {
        auto* settingsDialog = qobject_cast<CSettingDlg*>(QApplication::activeModalWidget());
        if (!settingsDialog) return;
        QComboBox* cards = settingsDialog->Combo(CSettingDlg::kCardList);
        for (int i = 0; i < cards->count(); ++i)
            if (cards->itemText(i).contains(QString::fromStdString(image))) {
                cards->setCurrentIndex(i);
                listed = true;
            }
        if (listed) settingsDialog->OnFormat();
        settingsDialog->reject();
    });
    dlg_->OnCommand(cmd::kSetting);
    ASSERT_TRUE(listed);
    EXPECT_EQ(dlg_->List()->rowCount(), 0);
    EXPECT_NE(dlg_->Player().GetPlayState(), PlayState::Running);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].toStdString(), LanguageString(kStrMsgConfirmFormat).value_or("?"));
    EXPECT_TRUE(shown[1].startsWith(QString::fromStdString(LanguageString(kStrMsgFormatDone).value_or("?"))));
    EXPECT_EQ(shown[2].toStdString(), LanguageString(kStrMsgNoRecordings).value_or("?"));
    // The camera's folders are there again, empty.
    const auto listing = RunCommand(std::string(KX_PROGRAM_DIR) + "/kx480-tool card ls " + image + " NORMAL 2>&1");
    EXPECT_EQ(listing.status, 0) << listing.output;
    EXPECT_EQ(listing.output.find(".avi"), std::string::npos) << listing.output;
}

}  // namespace
}  // namespace kx::test

namespace kx::test {
namespace {

TEST_F(ViewerTest, MergeCopiesThePlayingCardRecordingToTheComputer) {
    const std::string image = dir_ / "card.img";
    ASSERT_EQ(RunCommand(std::string(KX_PROGRAM_DIR) + "/kx480-tool gen-card " + image +
                         " --size 256M --recordings 2 --seconds 1 2>&1")
                  .status,
              0);
    dlg_->SetCardImages({{image, ""}});
    const int before = finished_;
    ASSERT_TRUE(dlg_->LoadDrive(image));
    ASSERT_TRUE(WaitFinished(before + 1));
    ASSERT_TRUE(dlg_->Button(cmd::kMerge)->IsButtonEnabled());

    const std::string target = dir_ / "copy.avi";
    QString suggested;
    QTimer::singleShot(300, [&] {
        auto* picker = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!picker) return;
        suggested = picker->selectedFiles().value(0);
        // The name typed into the dialog's file name box.
        picker->setDirectory(QString::fromStdString(dir_.path()));
        if (auto* name = picker->findChild<QLineEdit*>()) name->setText("copy.avi");
        QMetaObject::invokeMethod(picker, "accept");
    });
    dlg_->OnCommand(cmd::kMerge);
    EXPECT_TRUE(suggested.endsWith("/REC_20240307_090000_2.avi")) << suggested.toStdString();
    // The copy holds the card file's bytes.
    const std::string expected = dir_ / "expected.avi";
    ASSERT_EQ(RunCommand(std::string(KX_PROGRAM_DIR) + "/kx480-tool card cp " + image +
                         " NORMAL/REC_20240307_090000_2.avi " + expected + " 2>&1")
                  .status,
              0);
    ASSERT_TRUE(fs::exists(target));
    EXPECT_EQ(ReadFile(target), ReadFile(expected));
    // Playback paused for the copy goes on.
    EXPECT_EQ(dlg_->Player().GetPlayState(), PlayState::Running);
}

}  // namespace
}  // namespace kx::test
