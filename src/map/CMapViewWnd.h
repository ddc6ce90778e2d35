#pragma once
// The web map: a browser control that loads <program folder>/map/map.htm once and follows the
// GPS position of the playing moment through the page's positionChange function. One instance
// for the whole program; it moves between the main window's map panel and the floating map
// window (CDvMapPanelCtrl::MoveMapView).
//
// Script calls go through the bridge (RunScriptCommand): a page that is missing, still loading
// or lacks the function answers with empty text, and the next timer tick simply tries again.

#include "telemetry/TelemetryRecords.h"
#include "telemetry/TelemetryTrack.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QWebEngineView;

namespace kx {

inline constexpr int kIdMapView = 2091;

class CMapViewWnd : public QWidget {
    Q_OBJECT

public:
    using ScriptResult = std::function<void(const QString& text)>;

    explicit CMapViewWnd(QWidget* parent = nullptr);
    ~CMapViewWnd() override;

    bool Create(QWidget* parent, int id, const QRect& rect, bool visible = true);
    int ControlId() const { return id_; }

    // Navigated flag 0 and last position 0, 0.
    void Reset();
    // Loads the page from the program's folder, once; nothing when already navigated or when
    // the program's folder is unknown (the flag then stays clear).
    void Navigate();
    // The same with an explicit program folder.
    void Navigate(const std::string& programFolder);
    bool IsNavigated() const { return navigated_; }
    // True once the page finished loading successfully.
    bool IsPageLoaded() const { return pageLoaded_; }

    // Sends the position of the GPS fix at `timeMs` (the lookup's first fix at or after it).
    // Nothing is sent, and the last position stays, when the view is not navigated, the track
    // is empty, or the fix found is missing or not valid. True when a command was sent.
    bool UpdatePosition(std::uint32_t timeMs);
    // Sends the last position again.
    void ResendPosition();
    double LastLatitude() const { return lastLatitude_; }
    double LastLongitude() const { return lastLongitude_; }

    // The bridge: parses `command` and calls the page's function with string arguments.
    // `done` (optional) receives the function's result as text when it arrives, or empty text
    // when nothing could be called. Returns false when nothing was called.
    bool RunScriptCommand(const QString& command, ScriptResult done = {});

    QWebEngineView* Browser() const { return browser_; }

signals:
    // The page finished loading (ok false for a missing page).
    void pageLoaded(bool ok);

private:
    void OnLoadFinished(bool ok);
    void SendTrackIfChanged();

    int id_ = 0;
    QWebEngineView* browser_ = nullptr;
    bool navigated_ = false;
    bool pageLoaded_ = false;
    double lastLatitude_ = 0;
    double lastLongitude_ = 0;
    std::shared_ptr<const TrackSnapshot<CGPSData>> sentTrack_;
};

}  // namespace kx
