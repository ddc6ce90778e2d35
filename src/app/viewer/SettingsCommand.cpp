// The Setting button: the settings dialog, and what the main window takes over after it.

#include "app/core/ViewerOptions.h"
#include "app/viewer/CDravikViewerDlg.h"
#include "controls/CDvButtonCtrl.h"
#include "controls/CDvGsensorCtrl.h"
#include "controls/CDvListCtrl.h"
#include "controls/CDvScreenCtrl.h"
#include "controls/CSkinVerticleScrollbar.h"
#include "map/CMapNoConnectedWnd.h"
#include "map/CMapNoDataWnd.h"
#include "app/core/LanguageTable.h"
#include "app/core/ProgramPaths.h"
#include "settings/CardFormat.h"
#include "settings/CardList.h"
#include "settings/ui/CSettingDlg.h"

namespace kx {

void CDravikViewerDlg::OnSettings() {
    const bool paused = State() == PlayState::Running;
    if (paused) PausePlayback();
    CSettingDlg dialog(this, CardHooks());
    if (dialog.exec() == QDialog::Accepted) {
        ApplyRearMirrorIfPlaying();
        const int language = TheViewerOptions().languageIndex;
        gsensor_->SetLanguageIndex(language);
        front_->SetLanguageIndex(language);
        rear_->SetLanguageIndex(language);
        noData_->SetLanguageIndex(language);
        noConnection_->SetLanguageIndex(language);
        LoadButtonImages();
        update();
        LoadTooltips(true);
        list_->ReloadColumnTitles();
    }
    if (paused && list_->rowCount() > 0) ResumePlayback();
}

}  // namespace kx

namespace kx {

CardMaintenanceHooks CDravikViewerDlg::CardHooks() {
    // The entries of the last listing, which the format works on.
    auto entries = std::make_shared<std::vector<settings::CardListEntry>>();
    CardMaintenanceHooks hooks;
    hooks.list = [this, entries] {
        *entries = settings::FillCardList(discoveryRoots_, cardImages_);
        std::vector<SettingsCard> cards;
        for (const auto& entry : *entries) {
            // A card image without a folder standing for its first partition has no root
            // folder the camera's files can be read from.
            const std::string root = entry.isImage && entry.imageRootFolder.empty() ? std::string() : entry.rootFolder;
            cards.push_back({settings::CardListText(entry), root});
        }
        return cards;
    };
    hooks.format = [this, entries](QWidget*, int index, const std::string& modelName) {
        if (index < 0 || index >= static_cast<int>(entries->size())) return false;
        settings::FormatCardRequest request;
        request.card = (*entries)[static_cast<std::size_t>(index)];
        request.modelName = modelName;
        request.programFolder = ProgramFolder();
        request.saveFolder = settings::MakeFormatSaveFolder();
        request.roots = discoveryRoots_;
        const auto& card = request.card;
        request.listedByMainWindow =
            !currentCardDrive_.empty() &&
            (currentCardDrive_ == card.rootFolder || currentCardDrive_ == card.physicalDrivePath ||
             currentCardDrive_.rfind(card.rootFolder + "/", 0) == 0);
        const bool listed = request.listedByMainWindow;
        settings::FormatCardCallbacks callbacks;
        callbacks.confirm = [this, listed](int stringId) {
            const auto text = LanguageString(stringId);
            const bool yes = ShowText(text ? QString::fromStdString(*text) : QString(), true);
            // Nothing may read the card while it is formatted.
            if (yes && listed) {
                StopPlayback(true);
                player_.CloseRecording();
            }
            return yes;
        };
        callbacks.message = [this](int stringId, const std::string& detail) {
            const auto text = LanguageString(stringId);
            if (!text) return;
            QString shown = QString::fromStdString(*text);
            if (!detail.empty()) shown += "\n" + QString::fromStdString(detail);
            ShowText(shown);
        };
        const settings::FormatCardOutcome outcome = settings::FormatCard(request, callbacks);
        if (outcome.runCardRemoved) OnCardRemoved();
        return outcome.runCardRemoved;
    };
    return hooks;
}

}  // namespace kx
