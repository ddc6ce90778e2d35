// kx480-viewer [PATH...] [--card IMAGE[:ROOT]] [--screenshot FILE] [--quit-after SECONDS]
//
// Starts the viewer. Folders and files named on the command line, or a card image, are loaded
// after the start-up notice as a drop would load them. --screenshot saves a picture of the
// window just before --quit-after ends the program (for scripted runs without a display).

#include "app/sound/QtAudioSink.h"
#include "app/viewer/CDravikViewerDlg.h"
#include "card/DriveDiscovery.h"
#include "map/WebEngineSetup.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

struct CommandLine {
    std::vector<std::string> paths;
    std::vector<kx::CardImageOption> cards;
    std::string screenshot;
    double quitAfter = 0;
    bool ok = true;
};

CommandLine ParseCommandLine(int argc, char** argv) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--card" && hasValue) line.cards.push_back(kx::ParseCardImageOption(argv[++i]));
        else if (arg == "--screenshot" && hasValue) line.screenshot = argv[++i];
        else if (arg == "--quit-after" && hasValue) line.quitAfter = std::atof(argv[++i]);
        else if (arg.rfind("--", 0) == 0) line.ok = false;
        else line.paths.push_back(arg);
    }
    return line;
}

}  // namespace

int main(int argc, char** argv) {
    const CommandLine line = ParseCommandLine(argc, argv);
    if (!line.ok) {
        std::cerr << "usage: kx480-viewer [PATH...] [--card IMAGE[:ROOT]] [--screenshot FILE] [--quit-after SECONDS]\n";
        return 2;
    }
    kx::PrepareWebEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName("kx480-viewer");

    kx::QtAudioSink sound;
    int result = 0;
    {
        kx::CDravikViewerDlg window;
        window.SetCardImages(line.cards);
        if (!line.cards.empty()) window.SetStartupCard(line.cards.front().image);
        else window.SetStartupPaths(line.paths);
        window.Initialise(&sound);
        window.show();
        if (line.quitAfter > 0) {
            QTimer::singleShot(static_cast<int>(line.quitAfter * 1000), &window, [&window, &line] {
                if (!line.screenshot.empty()) {
                    if (window.grab().save(QString::fromStdString(line.screenshot)))
                        std::printf("screenshot: %s\n", line.screenshot.c_str());
                    else
                        std::fprintf(stderr, "kx480-viewer: cannot save %s\n", line.screenshot.c_str());
                    std::fflush(stdout);
                }
                // Closing from inside a modal loop (the loading notice) must end that loop too.
                for (QWidget* top : QApplication::topLevelWidgets())
                    if (top != &window && top->isVisible()) top->close();
                window.close();
                QApplication::quit();
            });
        }
        result = QApplication::exec();
    }
    return result;
}
