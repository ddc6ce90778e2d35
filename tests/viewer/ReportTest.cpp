// The printed report from the running viewer, to PDF: the texts of both pages, the channel
// pictures in their rectangles (read back by their frame marks) and the map picture.

#include "ViewerFixture.h"

#include "app/core/LanguageTable.h"
#include "controls/CDvButtonCtrl.h"
#include "controls/CDvMapPanelCtrl.h"
#include "controls/CDvTextCtrl.h"
#include "map/CMapViewWnd.h"
#include "map/MapMode.h"
#include "report/CReportPrinter.h"
#include "report/CZoomDlg.h"
#include "sim/FrameMark.h"
#include "telemetry/TelemetryLookup.h"

#include <QImage>
#include <QPrinter>

namespace kx::test {
namespace {

namespace fs = std::filesystem;

const std::string& ReportFolder() {
    static TempDir dir;
    static const std::string folder =
        MakeFolder(dir / "report", {{"REC", "2024-03-07 09:00:00", 2, sim::AudioKind::Aac, 4},
                                    {"PRK", "2024-03-07 09:02:00", 1, sim::AudioKind::None, 4}});
    return folder;
}

std::string Text(int number) { return LanguageString(number).value_or("?"); }

// Page `page` of the PDF as an image at 72 dots per inch.
QImage PdfPage(const std::string& pdf, int page, const std::string& prefix) {
    const auto run = RunCommand("pdftoppm -r 72 -png -f " + std::to_string(page) + " -l " + std::to_string(page) +
                                " -singlefile " + pdf + " " + prefix + " 2>&1");
    EXPECT_EQ(run.status, 0) << run.output;
    return QImage(QString::fromStdString(prefix + ".png"));
}

// The frame mark of the picture inside `rect` (fractions of the page).
sim::FrameMark MarkIn(const QImage& page, double left, double top, double width, double height) {
    const QRect rect(static_cast<int>(page.width() * left) + 2, static_cast<int>(page.height() * top) + 2,
                     static_cast<int>(page.width() * width) - 4, static_cast<int>(page.height() * height) - 4);
    const QImage gray = page.copy(rect).convertToFormat(QImage::Format_Grayscale8);
    return sim::ReadFrameMark(gray.constBits(), static_cast<int>(gray.bytesPerLine()), gray.width(), gray.height());
}

bool AllWhite(const QImage& page, double left, double top, double width, double height) {
    const QRect rect(static_cast<int>(page.width() * left) + 2, static_cast<int>(page.height() * top) + 2,
                     static_cast<int>(page.width() * width) - 4, static_cast<int>(page.height() * height) - 4);
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (page.pixelColor(x, y).lightness() < 250) return false;
    return true;
}

class ReportViewerTest : public ViewerTest {
protected:
    std::string Print(const std::string& name) {
        const std::string pdf = dir_ / name;
        dlg_->SetPrinterChooser([pdf](QPrinter& printer, QWidget*) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(pdf));
            return true;
        });
        dlg_->OnCommand(cmd::kPrint);
        return pdf;
    }
    ScopedEnv onlineForMap_{"KX480_ONLINE", "1"};
};

TEST_F(ReportViewerTest, TwoChannelReportShowsBothPicturesThePositionAndTheGValues) {
    LoadAndWait(ReportFolder());
    ASSERT_TRUE(WaitPositionUpdate());
    // Paused at once, so that a slow machine does not reach the next recording while the map
    // page loads; the page has drawn before the report is printed.
    dlg_->OnCommand(cmd::kPause);
    ASSERT_EQ(State(), PlayState::Paused);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg_->MapView()->IsPageLoaded(); }, 30000));
    QTest::qWait(500);
    const auto position = static_cast<std::uint32_t>(dlg_->Player().GetPositionMs());
    const std::string pdf = Print("two.pdf");
    EXPECT_EQ(State(), PlayState::Paused);
    ASSERT_TRUE(fs::exists(pdf));

    const std::string text = RunCommand("pdftotext -layout " + pdf + " - 2>&1").output;
    for (const std::string& expected : {std::string("Page 1 of 2"), std::string("Page 2 of 2"), std::string("KX480 Viewer"),
                                        "1. " + Text(200), "-" + Text(202), "-" + Text(203), "2. " + Text(204),
                                        "3. " + Text(205)})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    float latitude = 0, longitude = 0;
    ASSERT_TRUE(FindPositionAt(position, latitude, longitude));
    double x = 0, y = 0, z = 0;
    ASSERT_TRUE(FindGsensorAt(position, x, y, z));
    const std::string lat = QString::asprintf("%s : %.08f", Text(128).c_str(), static_cast<double>(latitude)).toStdString();
    const std::string g = QString::asprintf("X = %.08f, Y = %.08f, Z = %.08f", x, y, z).toStdString();
    EXPECT_NE(text.find(lat), std::string::npos) << lat << "\n" << text;
    EXPECT_NE(text.find(g), std::string::npos) << g;

    // The front picture in 20..80 % x 24..50 %, the rear one in 20..80 % x 60..86 %.
    const QImage one = PdfPage(pdf, 1, dir_ / "two-1");
    ASSERT_FALSE(one.isNull());
    const sim::FrameMark front = MarkIn(one, 0.20, 0.24, 0.60, 0.26);
    ASSERT_TRUE(front.found);
    EXPECT_EQ(front.channel, 0);
    EXPECT_NEAR(static_cast<double>(front.frame), position * 30.0 / 1000.0, 2.0);
    const sim::FrameMark rear = MarkIn(one, 0.20, 0.60, 0.60, 0.26);
    ASSERT_TRUE(rear.found);
    EXPECT_EQ(rear.channel, 1);
    // The map picture in 20..60 % x 25..45 % of page 2.
    const QImage two = PdfPage(pdf, 2, dir_ / "two-2");
    EXPECT_FALSE(AllWhite(two, 0.20, 0.25, 0.40, 0.20));
}

TEST_F(ReportViewerTest, OneChannelReportLeavesTheRearOutAndOtherModelsPrintNoTitle) {
    LoadAndWait(ReportFolder());
    dlg_->PlayRow(1);
    ASSERT_TRUE(WaitFinished(2));
    dlg_->OnCommand(cmd::kPause);
    TheViewerOptions().modelIndex = 3;
    const std::string pdf = Print("one.pdf");
    const std::string text = RunCommand("pdftotext -layout " + pdf + " - 2>&1").output;
    EXPECT_EQ(text.find("-" + Text(203)), std::string::npos);
    EXPECT_EQ(text.find("KX480 Viewer"), std::string::npos);
    EXPECT_NE(text.find("Page 2 of 2"), std::string::npos);
    const QImage one = PdfPage(pdf, 1, dir_ / "one-1");
    EXPECT_TRUE(MarkIn(one, 0.20, 0.24, 0.60, 0.26).found);
    EXPECT_TRUE(AllWhite(one, 0.20, 0.60, 0.60, 0.26));
}

TEST_F(ViewerTest, PrintDoesNothingWithoutAPlayingRecordingAndCancelKeepsThePause) {
    int asked = 0;
    dlg_->SetPrinterChooser([&](QPrinter&, QWidget*) { return ++asked, false; });
    dlg_->OnCommand(cmd::kPrint);
    EXPECT_EQ(asked, 0);
    LoadAndWait(ReportFolder());
    dlg_->OnCommand(cmd::kPrint);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(State(), PlayState::Paused);
}

TEST_F(ViewerTest, ZoomButtonSwitchesTheMagnifierAndItsPressedLook) {
    ASSERT_NE(dlg_->ZoomWindow(), nullptr);
    EXPECT_FALSE(dlg_->ZoomWindow()->isVisible());
    dlg_->OnCommand(cmd::kZoom);
    EXPECT_TRUE(dlg_->ZoomWindow()->IsActive());
    EXPECT_TRUE(dlg_->ZoomWindow()->isVisible());
    EXPECT_TRUE(dlg_->Button(cmd::kZoom)->IsChecked());
    dlg_->OnCommand(cmd::kZoom);
    EXPECT_FALSE(dlg_->ZoomWindow()->IsActive());
    EXPECT_FALSE(dlg_->ZoomWindow()->isVisible());
    EXPECT_FALSE(dlg_->Button(cmd::kZoom)->IsChecked());
}

}  // namespace
}  // namespace kx::test

namespace kx::test {
namespace {

// Online (KX480_ONLINE=1): the map shows beside the recording and can float in its own window.
class OnlineViewerTest : public ViewerTest {
protected:
    ScopedEnv onlineForMap_{"KX480_ONLINE", "1"};
};

TEST_F(OnlineViewerTest, TheMapFloatsInItsOwnWindowAndDocksAgain) {
    LoadAndWait(ReportFolder());
    EXPECT_TRUE(dlg_->MapPanel()->isVisible());
    EXPECT_FALSE(dlg_->NoConnectionPlaceholder()->isVisible());
    EXPECT_TRUE(dlg_->Button(cmd::kMap)->isVisible());
    dlg_->OnCommand(cmd::kMap);
    EXPECT_EQ(TheMapMode(), MapMode::Floating);
    EXPECT_FALSE(dlg_->Button(cmd::kMap)->isVisible());
    EXPECT_FALSE(dlg_->Text(cmd::kText4)->isVisible());
    EXPECT_NE(dlg_->MapView()->parentWidget(), dlg_->MapPanel());
    // Escape to the video-only layout and back keeps the map floating.
    dlg_->OnCommand(cmd::kSave);
    dlg_->OnCommand(cmd::kSave);
    EXPECT_FALSE(dlg_->Button(cmd::kMap)->isVisible());
    dlg_->PlayRow(1);  // the parking recording has GPS too: the map stays where it is
    ASSERT_TRUE(WaitFinished(2));
    EXPECT_EQ(TheMapMode(), MapMode::Floating);
}

TEST_F(OnlineViewerTest, ARecordingWithoutGpsShowsTheNoDataPlaceholderAndDocksTheMap) {
    static TempDir dir;
    sim::SimOptions options;
    options.channels = 1;
    options.audio = sim::AudioKind::None;
    options.seconds = 2;
    options.gpsReceiver = false;
    ASSERT_TRUE(sim::GenerateRecording(dir.path(), options).ok);
    LoadAndWait(ReportFolder());
    dlg_->OnCommand(cmd::kMap);
    ASSERT_EQ(TheMapMode(), MapMode::Floating);
    dlg_->LoadDroppedPaths({dir.path()});
    ASSERT_TRUE(WaitFinished(2));
    EXPECT_FALSE(dlg_->HasGps());
    EXPECT_EQ(TheMapMode(), MapMode::Docked);
    EXPECT_TRUE(dlg_->NoDataPlaceholder()->isVisible());
    EXPECT_FALSE(dlg_->MapPanel()->isVisible());
    EXPECT_FALSE(dlg_->Button(cmd::kMap)->isVisible());
}

}  // namespace
}  // namespace kx::test
