// kx480-tool list SOURCE... | list --card IMAGE: loads the recordings as the viewer does and
// prints the playlist rows in order: row, date, time, kind, full path, name (tab-separated).

#include "ArgParser.h"
#include "ToolCommands.h"
#include "app/core/LanguageTable.h"
#include "card/RecordingSource.h"

#include <iostream>

namespace kx::tool {

int ListCommand(const Args& args) {
    ArgParser p(args, {"card"}, {});
    if (!p.ok() || (p.positional().empty() == !p.value("card"))) {
        std::cerr << "usage: kx480-tool list FOLDER|FILE... | list --card IMAGE\n";
        return kExitFailure;
    }
    TheViewerOptions().languageIndex = 0;  // kind texts from the English table
    LoadLanguageLibrary(TheViewerOptions());
    CRecordingSource source;
    source.AddExtension("AVI");
    for (const char* folder : {"NORMAL", "INFINITE", "EVENT", "PARKING"}) source.AddFolderName(folder);
    bool loaded = false;
    if (const auto image = p.value("card")) {
        source.SetDiscoveryRoots({"/nonexistent", "/nonexistent", "/dev"});
        source.SetCardImages({{*image, {}}});
        source.DiscoverDrives();
        loaded = source.Drives().front().kind == SourceKind::Card && source.LoadSource(0);
        if (!loaded) {
            std::cerr << "kx480-tool list: " << *image << " is not a camera card\n";
            return kExitUnreadable;
        }
    } else {
        const int computer = source.DiscoverDrives() - 1;
        loaded = source.LoadSource(computer, p.positional(), true);
    }
    PlaylistFill fill;
    if (!loaded || source.FillAll(fill) == 0) {
        std::cerr << "kx480-tool list: no recordings\n";
        return kExitFailure;
    }
    for (const PlaylistRow& row : fill.rows)
        std::cout << row.number << '\t' << row.date << '\t' << row.time << '\t' << row.kind << '\t' << row.fullPath
                  << '\t' << row.name << '\n';
    return kExitOk;
}

}  // namespace kx::tool
