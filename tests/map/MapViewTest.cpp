// The map view with the real page: loading it from the program folder, sending positions
// through the bridge and reading back where the page shows the marker.

#include "MapWait.h"

#include "map/CMapViewWnd.h"
#include "telemetry/TelemetryTrack.h"

#include <QDir>
#include <QFile>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <gtest/gtest.h>

namespace kx {
namespace {

constexpr int kLoadTimeoutMs = 15000;

CGPSData Fix(std::uint32_t time, double latitude, double longitude, bool valid = true) {
    CGPSData fix;
    fix.time = time;
    fix.latitude = latitude;
    fix.longitude = longitude;
    fix.valid = valid ? 1 : 0;
    return fix;
}

// Keeps the page's script errors, which the view itself never reports.
class ConsolePage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;
    QStringList errors;

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int line, const QString& source) override {
        if (level == ErrorMessageLevel)
            errors << QStringLiteral("%1:%2: %3").arg(source).arg(line).arg(message);
    }
};

class MapView : public ::testing::Test {
protected:
    void SetUp() override {
        page_ = new ConsolePage(view_.Browser());
        view_.Browser()->setPage(page_);
        view_.resize(400, 300);
        view_.show();
    }
    void TearDown() override { ClearGpsTrack(); }

    void LoadPage() {
        view_.Navigate(KX_PROGRAM_DIR);
        ASSERT_TRUE(test::WaitUntil([&] { return view_.IsPageLoaded(); }, kLoadTimeoutMs))
            << "map.htm did not load from " << KX_PROGRAM_DIR;
    }

    QString Marker() { return test::RunAndWait(view_, "markerPosition()").value_or("timeout"); }

    // Whether the page shows the marker (red) at the view's centre, within a short time.
    bool MarkerAtCentre() {
        return test::WaitUntil(
            [&] {
                const QImage image = view_.grab().toImage();
                const QColor centre = image.pixelColor(image.width() / 2, image.height() / 2);
                return centre.red() > 200 && centre.green() < 100 && centre.blue() < 100;
            },
            2000);
    }

    CMapViewWnd view_;
    ConsolePage* page_ = nullptr;
};

TEST_F(MapView, PageFollowsTheFixesAndKeepsItsPlaceOnAnInvalidOne) {
    GpsTrack.Publish({Fix(0, 3730.5, 930.25), Fix(1000, -3351.4070, -15112.9178),
                      Fix(2000, 3731.0, 931.0, false), Fix(3000, 3731.5, 931.5)});
    LoadPage();
    EXPECT_EQ(Marker(), "");

    ASSERT_TRUE(view_.UpdatePosition(0));
    EXPECT_NEAR(view_.LastLatitude(), 37.508333, 1e-6);
    EXPECT_NEAR(view_.LastLongitude(), 9.504167, 1e-6);
    EXPECT_EQ(Marker(), "37.508333,9.504167");
    EXPECT_TRUE(MarkerAtCentre());

    // Half the world away: the page brings the marker back into view.
    ASSERT_TRUE(view_.UpdatePosition(500));
    EXPECT_EQ(Marker(), "-33.856783,-151.215297");
    EXPECT_TRUE(MarkerAtCentre());

    // The fix at 2 s is not valid: nothing is sent and the marker stays.
    EXPECT_FALSE(view_.UpdatePosition(1500));
    EXPECT_EQ(Marker(), "-33.856783,-151.215297");
    EXPECT_NEAR(view_.LastLatitude(), -33.856783, 1e-6);

    // Past the last fix: nothing either.
    EXPECT_FALSE(view_.UpdatePosition(5000));
    EXPECT_EQ(Marker(), "-33.856783,-151.215297");

    // The route reached the page: three valid fixes.
    EXPECT_EQ(test::RunAndWait(view_, "javascript:routeLength()").value_or("timeout"), "3");

    EXPECT_TRUE(page_->errors.isEmpty()) << page_->errors.join('\n').toStdString();

    if (const QByteArray shots = qgetenv("KX480_MAP_SHOTS"); !shots.isEmpty()) {
        GpsTrack.Publish({Fix(0, 3730.5, 930.25), Fix(1000, 3730.7, 930.6),
                          Fix(2000, 3731.2, 930.9), Fix(3000, 3731.5, 931.6)});
        view_.UpdatePosition(1500);
        Marker();
        test::WaitUntil([] { return false; }, 500);
        view_.grab().save(QDir(QString::fromUtf8(shots)).filePath("map-view.png"));
    }
}

TEST_F(MapView, BridgeAnswersEmptyWhenThereIsNothingToCall) {
    GpsTrack.Publish({Fix(0, 3730.5, 930.25)});
    // Not navigated: no position is sent, and the bridge has no page.
    EXPECT_FALSE(view_.UpdatePosition(0));
    EXPECT_EQ(test::RunAndWait(view_, "markerPosition()"), QString());

    LoadPage();
    EXPECT_EQ(test::RunAndWait(view_, "javascript:noSuchFunction('1')"), QString());
    EXPECT_EQ(test::RunAndWait(view_, "markerPosition"), QString());
    // Leaflet draws when the build could install it beside the page, the canvas otherwise.
    const bool leaflet = QFile::exists(QStringLiteral(KX_PROGRAM_DIR "/map/leaflet/leaflet.js"));
    EXPECT_EQ(test::RunAndWait(view_, "mapRenderer()").value_or(""),
              leaflet ? "leaflet" : "canvas");
}

TEST_F(MapView, MissingPageLeavesTheBridgeEmpty) {
    bool finished = false;
    QObject::connect(&view_, &CMapViewWnd::pageLoaded, [&](bool) { finished = true; });
    view_.Navigate("/nonexistent-kx480-folder");
    EXPECT_TRUE(view_.IsNavigated());
    ASSERT_TRUE(test::WaitUntil([&] { return finished; }, kLoadTimeoutMs));
    EXPECT_FALSE(view_.IsPageLoaded());
    EXPECT_FALSE(view_.RunScriptCommand("javascript:positionChange('1', '2')"));

    // Navigation happens once: a second call with the right folder does nothing.
    view_.Navigate(KX_PROGRAM_DIR);
    EXPECT_FALSE(test::WaitUntil([&] { return view_.IsPageLoaded(); }, 300));

    view_.Reset();
    EXPECT_FALSE(view_.IsNavigated());
    view_.Navigate("");
    EXPECT_FALSE(view_.IsNavigated());
}

}  // namespace
}  // namespace kx
