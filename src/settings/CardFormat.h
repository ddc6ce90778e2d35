#pragma once
// Formatting a camera card from the settings dialog (and kx480-tool card format): the card is
// re-partitioned for the camera through the card library and its partition 1 made FAT32, while
// the camera's "setup.cfg" and the viewer's installer on the card survive the format.

#include "card/DriveDiscovery.h"
#include "settings/CardList.h"

#include <functional>
#include <string>
#include <vector>

namespace kx::settings {

inline constexpr const char* kInstallerName = "KX480 Viewer.msi";
inline constexpr const char* kSetupFileName = "setup.cfg";

struct FormatCardRequest {
    CardListEntry card;            // the selected entry of FillCardList
    std::string modelName;         // the model list's text, used as the volume label; "" for none
    std::string programFolder;     // holds "KX480 Viewer.msi", copied to a card that had none
    std::string saveFolder;        // an existing folder of the user's (MakeFormatSaveFolder)
                                   // where the two files wait while the card is formatted
    bool listedByMainWindow = false;  // the main window lists this card's recordings
    DriveDiscoveryRoots roots;     // where a mounted card is checked to be still listed
};

struct FormatCardCallbacks {
    // The Yes/No question (string `stringId`, 235); true for Yes.
    std::function<bool(int stringId)> confirm;
    // The final message (string 277, 278, 279 or 280); `detail` is "" or a line saying more,
    // such as where saved files were left.
    std::function<void(int stringId, const std::string& detail)> message;
};

struct FormatCardOutcome {
    bool confirmed = false;
    int messageId = 0;          // the string shown at the end; 0 when none was shown
    std::string detail;         // what was passed with it
    int partitionResult = 0;    // RepartitionCard's result, 0 when it did not run
    bool formatDone = false;    // the card was formatted (the FAT32 step may still have failed)
    // The main window must run its card-removed handling: formatDone and the card is the one it
    // lists.
    bool runCardRemoved = false;
    // Saved files that could not be put back on the card; they stay in the save folder.
    std::vector<std::string> keptFiles;
};

// The whole format, in this order:
//  1. ask string 235; anything but Yes ends here with nothing done;
//  2. "KX480 Viewer.msi" (exact name) and "setup.cfg" are copied off the card into the save
//     folder, each copy checked against the card, and only then deleted from the card; a file
//     that cannot be saved stops the format (278) before anything is formatted;
//  3. a card the platform cannot format (not listed any more, an image that is not a regular
//     file, mkfs.fat missing) or a mounted card that cannot be unmounted: 277;
//  4. a card without the camera's file system and with no model name: partition 1 is made
//     FAT32 (no label); counts as done when that succeeded, 278 when not;
//  5. otherwise RepartitionCard; anything but 1000 gives 278. On 1000 partition 1 is made
//     FAT32 with the model name as label: 279, or 280 when that could not be done; the format
//     counts as done either way;
//  6. the installer is put back, or copied from the program folder when the card had none;
//     "setup.cfg" is put back when the card had one. Each file is checked on the card and only
//     then deleted from the save folder;
//  7. the noted string is shown through `message`.
// A mounted card is unmounted (umount) before anything is written to its disk and its files
// are then put back on its FAT partition directly.
FormatCardOutcome FormatCard(const FormatCardRequest& request, const FormatCardCallbacks& callbacks);

// A fresh folder for the saved files under the user's cache folder
// (<cache>/card-format-XXXXXX); "" when it cannot be made.
std::string MakeFormatSaveFolder();

}  // namespace kx::settings
