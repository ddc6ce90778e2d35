// ui_stall_ms: the longest time the UI thread's event loop does not run while the viewer loads
// a card image, opens its cut-off two-channel recording (rebuilt from the card into the scratch
// folder) and starts playing it. A 1 ms timer beats on the UI thread; the largest gap between
// two beats is the stall. No reference: the target is an absolute bound (one and a half frames
// at 30 fps).
//
// kx_bench_viewer_stall CARD_IMAGE

#include "app/viewer/CDravikViewerDlg.h"
#include "controls/CDvScreenCtrl.h"
#include "map/WebEngineSetup.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kx_bench_viewer_stall CARD_IMAGE\n");
        return 2;
    }
    const std::string image = argv[1];
    ::setenv("KX480_ONLINE", "0", 1);
    if (!std::getenv("DISPLAY")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string scratch = (fs::temp_directory_path() / "kx480-stall-XXXXXX").string();
    if (!::mkdtemp(scratch.data())) return 1;
    ::setenv("XDG_CONFIG_HOME", (scratch + "/config").c_str(), 1);

    kx::PrepareWebEngine("--disable-gpu");
    QApplication app(argc, argv);
    int result = 1;
    {
        kx::CDravikViewerDlg viewer;
        viewer.SetTempFolder(scratch + "/temp");
        viewer.SetNoticeTimes(1, 1);
        viewer.SetMessageHandler([](const QString& text, bool) {
            std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
            return false;
        });
        viewer.SetCardImages({{image, {}}});
        viewer.Initialise(nullptr);
        viewer.show();

        QElapsedTimer clock;
        clock.start();
        qint64 last = 0, worst = 0, openedAt = -1, pictureAt = -1;
        bool opened = false, measuring = false;
        QTimer beat;
        beat.setTimerType(Qt::PreciseTimer);
        beat.setInterval(1);
        QObject::connect(&beat, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            if (measuring) worst = std::max(worst, now - last);
            last = now;
            if (openedAt >= 0 && pictureAt < 0 && !viewer.FrontScreen()->CurrentFrame().isNull()) pictureAt = now;
            // Two seconds of playing after the first picture.
            if (pictureAt >= 0 && now - pictureAt > 2'000'000'000LL) app.quit();
            if (now > 120'000'000'000LL) app.quit();
        });
        QObject::connect(&viewer, &kx::CDravikViewerDlg::openingFinished, [&](bool ok) {
            opened = ok;
            openedAt = clock.nsecsElapsed();
            if (!ok) app.quit();
        });
        // The start-up notice first, then the measured load.
        QTimer::singleShot(500, [&] {
            last = clock.nsecsElapsed();
            measuring = true;
            if (!viewer.LoadDrive(image)) {
                std::fprintf(stderr, "kx_bench_viewer_stall: %s is no card\n", image.c_str());
                app.quit();
            }
        });
        beat.start();
        app.exec();
        if (opened && pictureAt >= 0) {
            std::fprintf(stderr, "viewer: opened after %.0f ms, first picture after %.0f ms\n",
                         static_cast<double>(openedAt) / 1e6 - 500, static_cast<double>(pictureAt) / 1e6 - 500);
            std::printf("ui_stall_ms %.1f\n", static_cast<double>(worst) / 1e6);
            result = 0;
        } else {
            std::fprintf(stderr, "kx_bench_viewer_stall: the recording did not play\n");
        }
    }
    std::error_code ec;
    fs::remove_all(scratch, ec);
    return result;
}
