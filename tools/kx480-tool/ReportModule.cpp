// kx480-report.so: kx480-tool report FILE --at MS -o OUT.pdf [--model N]. The viewer's
// two-page report of a moment of a recording, printed to a PDF file by the same printing code,
// without a window: the channel pictures from the player, the panel values from the
// recording's telemetry, and the map picture from an offscreen map view when there is a GPS
// position.

#include "ArgParser.h"
#include "HiddenWindow.h"
#include "MediaCommands.h"
#include "app/core/ProgramPaths.h"
#include "map/CMapViewWnd.h"
#include "map/WebEngineSetup.h"
#include "playback/CPlaybackGraph.h"
#include "playback/TelemetryPull.h"
#include "report/ChannelPicture.h"
#include "report/CReportPrinter.h"
#include "telemetry/TelemetryLookup.h"
#include "telemetry/TelemetryPacket.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPrinter>

#include <cstdlib>
#include <iostream>
#include <memory>

namespace kx::tool {

namespace {

constexpr const char* kUsage = "usage: kx480-tool report FILE --at MS -o OUT.pdf [--model N]\n";
constexpr int kPictureWaitMs = 10000;
constexpr int kMapWaitMs = 20000;

// Runs the event loop until `done` or the time is up.
template <class Done>
bool WaitFor(Done done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// The map view's picture of the position at `timeMs`, as the viewer's docked map shows it.
QImage MapPicture(std::uint32_t timeMs) {
    CMapViewWnd view;
    view.Create(nullptr, kIdMapView, QRect(0, 0, 276, 203), true);
    view.show();
    bool loaded = false, ok = false;
    QObject::connect(&view, &CMapViewWnd::pageLoaded, [&](bool success) { loaded = true, ok = success; });
    view.Navigate(ProgramFolder());
    if (!WaitFor([&] { return loaded; }, kMapWaitMs) || !ok) return {};
    view.UpdatePosition(timeMs);
    // The page draws the track and the marker; tiles that do arrive in this time are shown.
    WaitFor([] { return false; }, 1500);
    return view.grab().toImage();
}

int ReportCommand(const Args& args) {
    std::string out;
    const Args rest = TakeOutputOption(args, out);
    ArgParser p(rest, {"at", "model"}, {});
    const long long at = ParseWholeNumber(p.value("at").value_or("")).value_or(-1);
    const auto model = ParseWholeNumber(p.value("model").value_or("0"));
    if (!p.ok() || p.positional().size() != 1 || out.empty() || at < 0 || at > INT32_MAX || !model) {
        if (!p.ok()) std::cerr << "kx480-tool report: " << p.error() << '\n';
        std::cerr << kUsage;
        return kExitFailure;
    }
    const std::string& path = p.positional()[0];

    HiddenPlayer hidden;
    CPlaybackGraph& player = hidden.player;
    if (!hidden.Open(path)) {
        std::cerr << "kx480-tool report: cannot open " << path << " as a recording\n";
        return kExitFailure;
    }
    TelemetryLoad load;
    PullTelemetry(player, load);
    PublishTelemetry(std::move(load));
    player.Run();
    player.Pause();
    player.SeekMs(static_cast<int>(at));
    if (!player.MediaGraph()->WaitForPictures(kPictureWaitMs)) {
        std::cerr << "kx480-tool report: " << path << " shows no picture at " << at << " ms\n";
        return kExitFailure;
    }

    ReportInputs inputs;
    ChannelImage image;
    if (player.GrabChannelImage(0, image)) inputs.channel1 = ChannelPicture(image);
    inputs.channelCount = player.GetVideoPinCount();
    if (inputs.channelCount == 2 && player.GrabChannelImage(1, image)) inputs.channel2 = ChannelPicture(image);
    const auto time = static_cast<std::uint32_t>(player.GetPositionMs());
    float latitude = 0, longitude = 0;
    FindPositionAt(time, latitude, longitude);
    inputs.latitude = latitude;
    inputs.longitude = longitude;
    FindGsensorAt(time, inputs.x, inputs.y, inputs.z);
    inputs.modelIndex = static_cast<int>(*model);
    if (latitude != 0 && longitude != 0) inputs.mapPicture = MapPicture(time);
    player.CloseRecording();

    const bool printed = PrintReport(nullptr, inputs, [&out](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(out));
        return true;
    });
    if (!printed) {
        std::cerr << "kx480-tool report: cannot write " << out << '\n';
        return kExitFailure;
    }
    std::cout << "report=" << out << " pages=2 position_ms=" << time << " channels=" << inputs.channelCount
              << " map=" << (inputs.mapPicture.isNull() ? 0 : 1) << '\n';
    return kExitOk;
}

}  // namespace

}  // namespace kx::tool

extern "C" __attribute__((visibility("default"))) int kx480_report_command(const char* command, int argc,
                                                                            const char* const* argv) {
    if (std::string(command ? command : "") != "report") return kx::tool::kExitFailure;
    // No window is shown: the offscreen platform unless a display is there to use.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    kx::PrepareWebEngine("--disable-gpu");
    int qtArgc = 1;
    char name[] = "kx480-tool";
    char* qtArgv[] = {name, nullptr};
    QApplication app(qtArgc, qtArgv);
    return kx::tool::ReportCommand(kx::tool::Args(argv, argv + argc));
}
