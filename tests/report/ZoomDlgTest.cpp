#include "report/CZoomDlg.h"

#include "app/core/LanguageTable.h"
#include "app/core/ViewerOptions.h"

#include <QCursor>
#include <QGuiApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace kx {
namespace {

constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kRed = qRgb(255, 0, 0);

QImage Picture(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Puts a language table with the given texts in place for one test, or none at all.
class TableScope {
public:
    explicit TableScope(const char* table) : saved_(TheViewerOptions()) {
        TheViewerOptions().languageIndex = -1;  // nothing to load from disk
        TheViewerOptions().languageLibrary =
            table ? std::make_shared<const LanguageTable>(LanguageTable::Parse(table)) : nullptr;
    }
    ~TableScope() {
        TheViewerOptions().languageIndex = saved_.languageIndex;
        TheViewerOptions().languageLibrary = saved_.languageLibrary;
    }

private:
    ViewerOptions saved_;
};

// A zoom window on a made-up desktop: the pointer is where the test puts it, and the
// "screen" is painted by `paint` (colour per screen point); every grab is recorded.
struct FakeDesktop {
    QRect screen{0, 0, 1280, 800};
    QPoint pointer{300, 300};
    std::function<QRgb(QPoint)> paint = [](QPoint) { return kRed; };
    bool refuse = false;
    std::vector<QRect> grabs;

    void Attach(CZoomDlg& zoom) {
        zoom.SetScreenSource([this] { return screen; });
        zoom.SetCursorSource([this] { return pointer; });
        zoom.SetCaptureSource([this](const QRect& area) {
            grabs.push_back(area);
            if (refuse) return QImage();
            QImage image(area.size(), QImage::Format_RGB32);
            for (int y = 0; y < area.height(); ++y)
                for (int x = 0; x < area.width(); ++x)
                    image.setPixel(x, y, paint(area.topLeft() + QPoint(x, y)));
            return image;
        });
    }
};

TEST(ZoomDlg, StartsHiddenAsAnOnTopToolWindow) {
    CZoomDlg zoom;
    EXPECT_FALSE(zoom.isVisible());
    EXPECT_FALSE(zoom.IsActive());
    EXPECT_EQ(zoom.geometry(), QRect(800, 200, 425, 330));
    EXPECT_EQ(zoom.windowTitle(), QStringLiteral("Zoom"));
    const Qt::WindowFlags flags = zoom.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
}

TEST(ZoomDlg, ToggleShowsWithString208AndHidesAgain) {
    TableScope table("208=Vergrootglas\n");
    CZoomDlg zoom;
    EXPECT_TRUE(zoom.Toggle());
    EXPECT_TRUE(zoom.isVisible());
    EXPECT_TRUE(zoom.IsActive());
    EXPECT_EQ(zoom.windowTitle(), QStringLiteral("Vergrootglas"));
    EXPECT_FALSE(zoom.Toggle());
    EXPECT_FALSE(zoom.isVisible());
    EXPECT_FALSE(zoom.IsActive());
}

TEST(ZoomDlg, WithoutALanguageTableTheTitleStays) {
    TableScope table(nullptr);
    CZoomDlg zoom;
    EXPECT_TRUE(zoom.Toggle());
    EXPECT_TRUE(zoom.isVisible());
    EXPECT_EQ(zoom.windowTitle(), QStringLiteral("Zoom"));
}

TEST(ZoomDlg, CloseBoxOnlyHidesAndClearsTheFlag) {
    TableScope table("208=Lupe\n");
    CZoomDlg zoom;
    FakeDesktop desktop;
    desktop.Attach(zoom);
    zoom.Toggle();
    EXPECT_FALSE(zoom.close());  // the close is refused: the window lives on, hidden
    EXPECT_FALSE(zoom.isVisible());
    EXPECT_FALSE(zoom.IsActive());
    // No more pictures once the flag is clear.
    zoom.OnTimer(kZoomTimerId);
    EXPECT_TRUE(desktop.grabs.empty());
    // The next zoom command shows it again.
    EXPECT_TRUE(zoom.Toggle());
    EXPECT_TRUE(zoom.isVisible());
}

TEST(ZoomDlg, OnlyTimer100WhileActiveTakesPictures) {
    CZoomDlg zoom;
    FakeDesktop desktop;
    desktop.Attach(zoom);
    zoom.OnTimer(kZoomTimerId);
    EXPECT_TRUE(desktop.grabs.empty());
    zoom.Toggle();
    zoom.OnTimer(kZoomTimerId + 1);
    EXPECT_TRUE(desktop.grabs.empty());
    zoom.OnTimer(kZoomTimerId);
    EXPECT_EQ(desktop.grabs.size(), 1u);
}

TEST(ZoomDlg, TheRunningTimerRefreshesWhileActive) {
    CZoomDlg zoom;
    FakeDesktop desktop;
    desktop.Attach(zoom);
    zoom.Toggle();
    QTest::qWait(200);
    EXPECT_GE(desktop.grabs.size(), 2u);
    zoom.Toggle();
    const std::size_t stopped = desktop.grabs.size();
    QTest::qWait(100);
    EXPECT_EQ(desktop.grabs.size(), stopped);
}

TEST(ZoomDlg, MagnifiesThreeTimesAroundThePointer) {
    CZoomDlg zoom;
    FakeDesktop desktop;
    // A white screen with a black 10 x 10 square centred on the pointer (300, 300).
    desktop.paint = [](QPoint p) {
        return QRect(295, 295, 10, 10).contains(p) ? kBlack : kWhite;
    };
    desktop.Attach(zoom);
    zoom.Toggle();
    zoom.OnTimer(kZoomTimerId);

    // Only the shown area, 425 / 3 x 330 / 3 around the pointer, is grabbed.
    ASSERT_EQ(desktop.grabs.size(), 1u);
    EXPECT_EQ(desktop.grabs[0], QRect(230, 245, 141, 110));
    EXPECT_EQ(zoom.LastSource(), QRect(230, 245, 141, 110));

    // The square lies 65..75 x 50..60 into the area: about 196..226 x 150..180 on the window.
    const QImage picture = Picture(zoom);
    ASSERT_EQ(picture.size(), QSize(425, 330));
    EXPECT_EQ(picture.pixel(211, 165), kBlack);
    EXPECT_EQ(picture.pixel(200, 154), kBlack);
    EXPECT_EQ(picture.pixel(188, 165), kWhite);
    EXPECT_EQ(picture.pixel(234, 165), kWhite);
    EXPECT_EQ(picture.pixel(211, 142), kWhite);
    EXPECT_EQ(picture.pixel(211, 188), kWhite);
}

TEST(ZoomDlg, OverItselfTheWindowShowsGrey) {
    struct Case {
        const char* name;
        QRect screen;
    };
    // With a monitor at negative x the capture starts at x0; the own area must still land on
    // the window itself.
    for (const Case& c : {Case{"single monitor", QRect(0, 0, 1280, 800)},
                          Case{"monitor at negative x", QRect(-1280, 0, 2560, 800)}}) {
        SCOPED_TRACE(c.name);
        CZoomDlg zoom;
        FakeDesktop desktop;
        desktop.screen = c.screen;
        desktop.Attach(zoom);
        zoom.Toggle();
        // The pointer on the window's left edge: the left half of the area is the desktop
        // (red), the right half is the window.
        const QPoint own = zoom.mapToGlobal(QPoint(0, 0));
        desktop.pointer = own + QPoint(0, 100);
        zoom.OnTimer(kZoomTimerId);
        ASSERT_EQ(zoom.LastSource(), QRect(own.x() - 70, own.y() + 45, 141, 110));

        const QImage picture = Picture(zoom);
        EXPECT_EQ(picture.pixel(100, 165), kRed);
        EXPECT_EQ(picture.pixel(330, 165), kZoomGrey);
        EXPECT_EQ(picture.pixel(330, 20), kZoomGrey);
    }
}

TEST(ZoomDlg, OnANegativeMonitorTheAreaFollowsThePointer) {
    CZoomDlg zoom;
    FakeDesktop desktop;
    desktop.screen = QRect(-1280, 0, 2560, 800);
    desktop.pointer = QPoint(-640, 400);
    desktop.paint = [](QPoint p) { return p.x() < 0 ? kRed : kWhite; };
    desktop.Attach(zoom);
    zoom.Toggle();
    zoom.OnTimer(kZoomTimerId);
    ASSERT_EQ(desktop.grabs.size(), 1u);
    EXPECT_EQ(desktop.grabs[0], QRect(-710, 345, 141, 110));
    EXPECT_EQ(Picture(zoom).pixel(212, 165), kRed);
}

TEST(ZoomDlg, AreaPastTheDesktopEdgeStaysGrey) {
    // The desktop runs from -1280 to 1280; at its right edge the area is not pulled back
    // (the right test is against the width), so its right half lies past the desktop.
    CZoomDlg zoom;
    FakeDesktop desktop;
    desktop.screen = QRect(-1280, 0, 2560, 800);
    desktop.pointer = QPoint(1279, 100);
    desktop.paint = [](QPoint) { return kWhite; };
    desktop.Attach(zoom);
    zoom.Toggle();
    zoom.OnTimer(kZoomTimerId);
    EXPECT_EQ(zoom.LastSource(), QRect(1209, 45, 141, 110));
    ASSERT_EQ(desktop.grabs.size(), 1u);
    EXPECT_EQ(desktop.grabs[0], QRect(1209, 45, 71, 110));
    const QImage picture = Picture(zoom);
    EXPECT_EQ(picture.pixel(100, 165), kWhite);
    EXPECT_EQ(picture.pixel(320, 165), kZoomGrey);
}

TEST(ZoomDlg, ClientUnderThreePixelsDrawsNothing) {
    for (const QSize client : {QSize(2, 330), QSize(425, 2)}) {
        SCOPED_TRACE(client.width());
        CZoomDlg zoom;
        FakeDesktop desktop;
        desktop.Attach(zoom);
        zoom.Toggle();
        zoom.resize(client);
        ASSERT_EQ(zoom.size(), client);
        zoom.OnTimer(kZoomTimerId);
        EXPECT_TRUE(desktop.grabs.empty());
        EXPECT_TRUE(zoom.LastSource().isEmpty());
        const QImage picture = Picture(zoom);
        EXPECT_EQ(picture.pixel(0, 0), kZoomGrey);
        EXPECT_EQ(picture.pixel(client.width() - 1, client.height() - 1), kZoomGrey);
    }
}

TEST(ZoomDlg, RefusedCaptureShowsGreyAndSaysSoOnce) {
    TableScope table("208=Zoom window\n");
    CZoomDlg zoom;
    FakeDesktop desktop;
    desktop.Attach(zoom);
    zoom.Toggle();
    zoom.OnTimer(kZoomTimerId);  // one good picture first
    EXPECT_EQ(Picture(zoom).pixel(212, 165), kRed);
    desktop.refuse = true;
    zoom.OnTimer(kZoomTimerId);
    zoom.OnTimer(kZoomTimerId);
    EXPECT_TRUE(zoom.CaptureRefused());
    const QString expected = QStringLiteral("Zoom window") + QLatin1String(kZoomNoCaptureNote);
    EXPECT_EQ(zoom.windowTitle(), expected);
    EXPECT_EQ(Picture(zoom).pixel(212, 165), kZoomGrey);
    // Shown again, the title is string 208 with the note, still once.
    zoom.Toggle();
    zoom.Toggle();
    EXPECT_EQ(zoom.windowTitle(), expected);
}

// The real desktop under an X server (run as `xvfb-run -a kx_report_tests`).
TEST(ZoomRealCapture, MagnifiesWhatIsOnTheScreen) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server, platform is "
                     << QGuiApplication::platformName().toStdString();
    constexpr QRgb kMagenta = qRgb(255, 0, 255);
    QWidget target(nullptr, Qt::Window | Qt::FramelessWindowHint);
    target.setAutoFillBackground(true);
    QPalette palette = target.palette();
    palette.setColor(QPalette::Window, QColor(kMagenta));
    target.setPalette(palette);
    target.setGeometry(100, 100, 300, 300);
    target.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&target));

    CZoomDlg zoom;
    zoom.Toggle();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&zoom));

    // Over the coloured window the magnifier shows its colour.
    QCursor::setPos(250, 250);
    QTest::qWait(300);
    EXPECT_TRUE(zoom.LastSource().contains(QPoint(250, 250)));
    EXPECT_FALSE(zoom.CaptureRefused());
    QImage picture = Picture(zoom);
    EXPECT_EQ(picture.pixel(picture.width() / 2, picture.height() / 2), kMagenta);

    // Over itself it shows grey.
    QCursor::setPos(zoom.mapToGlobal(QPoint(zoom.width() / 2, zoom.height() / 2)));
    QTest::qWait(300);
    picture = Picture(zoom);
    EXPECT_EQ(picture.pixel(picture.width() / 2, picture.height() / 2), kZoomGrey);
}

}  // namespace
}  // namespace kx
