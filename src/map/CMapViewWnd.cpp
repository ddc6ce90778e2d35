#include "map/CMapViewWnd.h"

#include "app/core/DebugLog.h"
#include "app/core/ProgramPaths.h"
#include "map/MapBridge.h"
#include "telemetry/TelemetryLookup.h"

#include <QUrl>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>


namespace kx {

CMapViewWnd::CMapViewWnd(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("DvMapViewWnd"));
    browser_ = new QWebEngineView(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    connect(browser_, &QWebEngineView::loadStarted, this, [this] { pageLoaded_ = false; });
    connect(browser_, &QWebEngineView::loadFinished, this, &CMapViewWnd::OnLoadFinished);
}

CMapViewWnd::~CMapViewWnd() = default;

bool CMapViewWnd::Create(QWidget* parent, int id, const QRect& rect, bool visible) {
    setParent(parent);
    id_ = id;
    setGeometry(rect);
    setVisible(visible);
    return true;
}

void CMapViewWnd::Reset() {
    navigated_ = false;
    lastLatitude_ = 0;
    lastLongitude_ = 0;
}

void CMapViewWnd::Navigate() { Navigate(ProgramFolder()); }

void CMapViewWnd::Navigate(const std::string& programFolder) {
    if (navigated_ || programFolder.empty()) return;
    const QString page = QString::fromStdString(programFolder) + QStringLiteral("/map/map.htm");
    browser_->load(QUrl::fromLocalFile(page));
    navigated_ = true;
}

void CMapViewWnd::OnLoadFinished(bool ok) {
    pageLoaded_ = ok;
    if (!ok) DebugLog("map: the page did not load");
    // A page loaded again has lost its track.
    sentTrack_.reset();
    emit pageLoaded(ok);
}

// The page draws the recording's route so that it shows even where no map tile loads; it is
// sent again whenever a new recording's fixes have been published.
void CMapViewWnd::SendTrackIfChanged() {
    auto track = GpsTrack.Get();
    if (!pageLoaded_ || track == sentTrack_) return;
    QString command = QStringLiteral("track(");
    for (const CGPSData& fix : track->records) {
        if (!fix.valid) continue;
        command += QString::asprintf("'%lf', '%lf', ", NmeaToDegrees(fix.latitude),
                                     NmeaToDegrees(fix.longitude));
    }
    command += QLatin1Char(')');
    if (RunScriptCommand(command)) sentTrack_ = std::move(track);
}

bool CMapViewWnd::UpdatePosition(std::uint32_t timeMs) {
    if (!navigated_) return false;
    const auto track = GpsTrack.Get();
    if (track->records.empty()) return false;
    const CGPSData* fix = FindRecordAt(*track, timeMs);
    if (!fix || !fix->valid) return false;
    lastLatitude_ = NmeaToDegrees(fix->latitude);
    lastLongitude_ = NmeaToDegrees(fix->longitude);
    SendTrackIfChanged();
    RunScriptCommand(QString::fromStdString(PositionCommand(lastLatitude_, lastLongitude_)));
    return true;
}

void CMapViewWnd::ResendPosition() {
    SendTrackIfChanged();
    RunScriptCommand(QString::fromStdString(PositionCommand(lastLatitude_, lastLongitude_)));
}

bool CMapViewWnd::RunScriptCommand(const QString& command, ScriptResult done) {
    const auto call = ParseScriptCommand(command.toStdString());
    if (!call || !pageLoaded_) {
        if (done) done(QString());
        return false;
    }
    const QString script = QString::fromStdString(ScriptCallText(*call));
    browser_->page()->runJavaScript(script, [done = std::move(done)](const QVariant& result) {
        if (done) done(result.isNull() ? QString() : result.toString());
    });
    return true;
}

}  // namespace kx
