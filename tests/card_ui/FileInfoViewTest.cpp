// The card information view as a window: both layouts to the pixel, the list, the panels'
// values, what it looks like, and opening it for a real card image (or refusing to).

#include "card/ui/CFileInfoView.h"

#include "ControlTestSupport.h"
#include "TempDir.h"
#include "app/core/StringIds.h"
#include "card/RecordingSource.h"
#include "card/VorkApi.h"
#include "controls/CDvButtonCtrl.h"
#include "controls/CDvTextCtrl.h"
#include "controls/ControlConstants.h"
#include "controls/SkinIds.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>

using namespace kx;
using namespace kx::test;
namespace fs = std::filesystem;

namespace {

CardInfoSummary Sample() {
    std::vector<RecordingInfo> recordings;
    const auto add = [&](const std::string& name, std::uint64_t kb) {
        RecordingInfo r;
        r.name = r.fullPath = name;
        r.sizeKb = kb;
        recordings.push_back(r);
    };
    add("REC_20240101_000000_1.avi", 1536 * 1024);
    add("EVT_20240101_000100_1.avi", 1536);
    add("PRK_20240101_000200_1.avi", 5 * 1024);
    return SummariseCard(recordings, [](const RecordingInfo& r) { return r.sizeKb; });
}

bool AnyBrightPixel(const QImage& image, QRect area) {
    area &= image.rect();  // the extended layout's title panel reaches past the dialog's edge
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) > 128) return true;
    return false;
}

struct LayoutCase {
    bool extended;
    QSize dialog;
    QPoint title;
    int rowX;
    QRect ok;
};
const LayoutCase kLayouts[] = {
    {false, {250, 230}, {70, 10}, 10, {150, 160, 83, 32}},
    {true, {634, 742}, {444, 10}, 384, {541, 160, 83, 32}},
};

TEST(FileInfoView, PlacesPanelsButtonAndListPerLayout) {
    for (const LayoutCase& c : kLayouts) {
        SCOPED_TRACE(c.extended ? "extended" : "compact");
        CFileInfoView view(nullptr, Sample(), c.extended);
        EXPECT_EQ(view.size(), c.dialog);
        EXPECT_EQ(view.OkButton()->geometry(), c.ok);
        EXPECT_EQ(view.OkButton()->ControlId(), kIdInfoOk);
        const struct {
            int id, kind;
            QPoint at;
        } panels[] = {
            {1000, 12, {c.rowX, 40}}, {1001, 15, {c.rowX, 70}}, {1002, 13, {c.rowX, 100}},
            {1003, 14, {c.rowX, 130}}, {1004, 16, c.title},
        };
        for (const auto& p : panels) {
            const CDvTextCtrl* panel = view.Panel(p.id);
            ASSERT_NE(panel, nullptr) << p.id;
            EXPECT_EQ(panel->geometry(), QRect(p.at, QSize(200, 20))) << p.id;
            EXPECT_EQ(panel->Kind(), p.kind) << p.id;
            EXPECT_EQ(panel->Background(), QColor(10, 10, 10)) << p.id;
            EXPECT_EQ(panel->objectName(), "DvTextWnd");
            EXPECT_FALSE(panel->isHidden());
        }
        EXPECT_EQ(view.List()->isHidden(), !c.extended);
        if (c.extended) {
            EXPECT_EQ(view.List()->geometry(), QRect(10, 10, 364, 692));
        }
    }
}

TEST(FileInfoView, PanelsShowCountsAndTotalsOfTheirRows) {
    CFileInfoView view(nullptr, Sample(), false);
    const struct {
        int id;
        const char* caption;
        const char* count;
        const char* size;
    } rows[] = {
        // 1536 MB + 1.5 MB + 5 MB = 1542 MB; 1536 KB alone is 1 MB, 0.0GB.
        {1000, "전체", "   3", "1.5GB"},
        {1001, "상시", "   1", "1.5GB"},
        {1002, "이벤트", "   1", "0.0GB"},
        {1003, "주차", "   0", "0.0GB"},  // PRK counts only in the all row
    };
    for (const auto& row : rows) {
        const CDvTextCtrl* panel = view.Panel(row.id);
        const auto items = TextPanelItems(panel->Kind(), panel->Values(), panel->width(), LanguageString);
        ASSERT_EQ(items.size(), 3u) << row.id;
        EXPECT_EQ(items[0].text, QString::fromUtf8(row.caption)) << row.id;
        EXPECT_EQ(items[1].text, row.count) << row.id;
        EXPECT_EQ(items[2].text, row.size) << row.id;
    }
}

TEST(FileInfoView, ListHasThreeColumnsAndARowPerRecording) {
    CFileInfoView view(nullptr, Sample(), true);
    const QTreeWidget* list = view.List();
    ASSERT_EQ(list->columnCount(), 3);
    const QTreeWidgetItem* header = list->headerItem();
    EXPECT_EQ(header->text(0), QString::fromUtf8("번호"));
    EXPECT_EQ(header->text(1), QString::fromUtf8("파일이름"));
    EXPECT_EQ(header->text(2), QString::fromUtf8("파일크기"));
    EXPECT_EQ(list->columnWidth(0), 50);
    EXPECT_EQ(list->columnWidth(1), 200);
    EXPECT_EQ(list->columnWidth(2), 80);
    ASSERT_EQ(list->topLevelItemCount(), 3);
    const QStringList expected[] = {
        {"1", "REC_20240101_000000_1.avi", "1536MB"},
        {"2", "EVT_20240101_000100_1.avi", "  1MB"},
        {"3", "PRK_20240101_000200_1.avi", "  5MB"},
    };
    for (int i = 0; i < 3; ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        EXPECT_EQ((QStringList{item->text(0), item->text(1), item->text(2)}), expected[i]) << i;
    }
}

TEST(FileInfoView, OkClosesTheViewAndDropsTheRecordingTexts) {
    CFileInfoView view(nullptr, Sample(), true);
    view.show();
    Click(*view.OkButton(), QPoint(40, 16));
    EXPECT_EQ(view.result(), QDialog::Accepted);
    EXPECT_FALSE(view.isVisible());
    EXPECT_TRUE(view.Summary().entries.empty());
    EXPECT_EQ(view.Summary().counts[kCardRowAll], 3);  // the view keeps its counts
}

TEST(FileInfoView, DrawsDarkBackgroundPanelTextsAndTheSkinnedButton) {
    for (const LayoutCase& c : kLayouts) {
        SCOPED_TRACE(c.extended ? "extended" : "compact");
        LanguageScope language(0);
        CFileInfoView view(nullptr, Sample(), c.extended);
        const QImage image = Render(view);
        ASSERT_EQ(image.size(), c.dialog);
        const QRgb background = Rgb(QColor(10, 10, 10));
        EXPECT_EQ(image.pixel(c.dialog.width() - 3, c.dialog.height() - 3), background);
        // Texts in every panel, dark gaps between the rows.
        for (int y : {40, 70, 100, 130}) {
            EXPECT_TRUE(AnyBrightPixel(image, QRect(c.rowX + 10, y, 40, 20))) << y;     // caption
            EXPECT_TRUE(AnyBrightPixel(image, QRect(c.rowX + 80, y, 40, 20))) << y;     // count
            EXPECT_TRUE(AnyBrightPixel(image, QRect(c.rowX + 150, y, 50, 20))) << y;    // size
            EXPECT_EQ(image.pixel(c.rowX + 100, y + 24), background) << y;
        }
        EXPECT_TRUE(AnyBrightPixel(image, QRect(c.title + QPoint(10, 0), QSize(190, 20))));
        // The OK image covers its rectangle; the background ends right beside it.
        QImage ok = QImage(83, 32, QImage::Format_RGB32);
        {
            QPainter p(&ok);
            view.OkButton()->render(&p);
        }
        EXPECT_EQ(image.copy(c.ok), ok.convertToFormat(QImage::Format_RGB32));
        EXPECT_NE(ok.pixel(41, 16), background);
        EXPECT_EQ(image.pixel(c.ok.left() - 2, c.ok.center().y()), background);
        if (c.extended) {
            EXPECT_NE(image.pixel(100, 300), background);  // the list's own face
        } else {
            EXPECT_EQ(image.pixel(100, 200), background);
        }
    }
}

// ---- Opening for a source ---------------------------------------------------------------------

// A small camera card image with a few recordings: 64 MB, the recordings partition formatted
// with the four folders.
bool MakeCardImage(const std::string& path, const std::vector<std::pair<std::string, std::size_t>>& files) {
    WriteFileBytes(path, "");
    fs::resize_file(path, 64ull << 20);
    int start = 0, spare = 0;
    if (KX_Vork_Delete_Partition(path.c_str(), 7) != 0 ||
        KX_Vork_Create_Partition(path.c_str(), 1, 16, 0, &start, &spare) != 0 ||
        KX_Vork_Create_Partition(path.c_str(), 2, 40, 0, &start, &spare) != 0)
        return false;
    const char* folders[] = {"NORMAL", "EVENT", "PARKING", "INFINITE"};
    const std::uint32_t shares[] = {40, 20, 40, 0};
    std::vector<std::uint8_t> layout(1 + 4 * kVorkFolderLayoutBytes, 0);
    layout[0] = 4;
    for (std::size_t i = 0; i < 4; ++i) {
        std::uint8_t* f = layout.data() + 1 + i * kVorkFolderLayoutBytes;
        std::memcpy(f, folders[i], std::strlen(folders[i]));
        std::memcpy(f + 64, &shares[i], 4);
        const std::uint32_t tenThousand = 10000;
        std::memcpy(f + 72, &tenThousand, 4);
        f[76] = 5;
    }
    if (KX_Vork_Format(path.c_str(), path.c_str(), 2, 2, layout.data(), 0) != 0) return false;
    std::uint8_t block[kVorkBlockBytes] = {};
    if (KX_Vork_Device_Open(path.c_str(), 130, block) != 0) return false;
    bool ok = true;
    for (const auto& [name, bytes] : files) {
        const std::string folder = name.rfind("REC", 0) == 0 ? "NORMAL" : name.rfind("EVT", 0) == 0 ? "EVENT" : "PARKING";
        const int handle = KX_Vork_File_Create(block, folder.c_str(), name.c_str());
        const std::string data(bytes, 'v');
        ok = ok && handle > 0 && KX_Vork_File_Write(block, data.data(), static_cast<int>(data.size()), handle) == static_cast<int>(data.size());
        if (handle > 0) KX_Vork_File_Close(block, handle);
    }
    KX_Vork_Device_Close(block);
    return ok;
}

// What was modal while ShowCardInfo ran: each modal window is looked at, then closed (the view
// through its OK button).
struct ModalLog {
    int messageBoxes = 0;
    int views = 0;
    QString message;
    std::array<QString, 4> counts;
    int listRows = -1;
};

int ShowAndClose(QWidget* parent, const CRecordingSource& source, const std::string& programFolder, ModalLog& log) {
    QTimer poll;
    QElapsedTimer waited;
    waited.start();
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            ++log.messageBoxes;
            log.message = box->text();
            box->accept();
        } else if (auto* view = qobject_cast<CFileInfoView*>(modal)) {
            ++log.views;
            for (int i = 0; i < 4; ++i) log.counts[static_cast<std::size_t>(i)] = view->Panel(1000 + i)->Values().counts[static_cast<std::size_t>(i)];
            log.listRows = view->List()->isHidden() ? -1 : view->List()->topLevelItemCount();
            Click(*view->OkButton(), QPoint(40, 16));
        } else if (waited.elapsed() > 10000 && modal) {
            modal->close();  // something unexpected; do not hang the test
        }
    });
    poll.start(10);
    return ShowCardInfo(parent, source, programFolder);
}

class OpenForSource : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* folder : {"NORMAL", "INFINITE", "EVENT", "PARKING"}) source.AddFolderName(folder);
        source.AddExtension("AVI");
        source.SetDiscoveryRoots({dir / "none", dir / "none", dir / "none"});
        fs::create_directories(dir / "root");
        fs::create_directories(dir / "program");
        ASSERT_TRUE(MakeCardImage(dir / "card.img", {{"REC_20240101_000000_1.avi", 1536 * 1024},
                                                     {"REC_20240101_000100_1.avi", 1024},
                                                     {"REC_20240101_000200_1.avi", 1024},
                                                     {"EVT_20240101_000300_1.avi", 2048},
                                                     {"EVT_20240101_000400_1.avi", 2048},
                                                     {"MOT_20240101_000500_1.avi", 4096}}));
        source.SetCardImages({ParseCardImageOption(dir / "card.img:" + dir / "root")});
        ASSERT_GE(source.DiscoverDrives(), 1);
        ASSERT_EQ(source.Drives()[0].kind, SourceKind::Card);
    }
    TempDir dir;
    CRecordingSource source;
    LanguageScope language{0};
};

TEST_F(OpenForSource, ACardWithItsSetupFileOpensTheViewWithItsCounts) {
    WriteFileBytes(dir / "root/setup.cfg", "");
    WriteFileBytes(dir / "program/User.bin", "");
    ASSERT_TRUE(source.LoadSource(0));
    ModalLog log;
    EXPECT_EQ(ShowAndClose(nullptr, source, dir / "program", log), QDialog::Accepted);
    EXPECT_EQ(log.messageBoxes, 0);
    ASSERT_EQ(log.views, 1);
    EXPECT_EQ(log.counts, (std::array<QString, 4>{"   6", "   3", "   2", "   1"}));
    EXPECT_EQ(log.listRows, 6);
}

TEST_F(OpenForSource, RefusalsShowTheirMessageAndNoView) {
    ModalLog nothingLoaded;
    EXPECT_EQ(ShowAndClose(nullptr, source, dir / "program", nothingLoaded), 0);
    EXPECT_EQ(nothingLoaded.messageBoxes, 1);
    EXPECT_EQ(nothingLoaded.message.toStdString(), *LanguageString(kStrMsgNoRecordingsLoaded));

    ASSERT_TRUE(source.LoadSource(0));  // the root has no setup.cfg
    ModalLog noSetup;
    EXPECT_EQ(ShowAndClose(nullptr, source, dir / "program", noSetup), 0);
    EXPECT_EQ(noSetup.views, 0);
    EXPECT_EQ(noSetup.messageBoxes, 1);
    EXPECT_EQ(noSetup.message.toStdString(), *LanguageString(kStrMsgNoSetupFile));

    fs::create_directories(dir / "files");
    WriteFileBytes(dir / "files/REC_20240101_000000_1.avi", "x");
    WriteFileBytes(dir / "files/setup.cfg", "");
    ASSERT_TRUE(source.LoadSource(static_cast<int>(source.Drives().size()) - 1, {dir / "files"}, true));
    ModalLog notCard;
    EXPECT_EQ(ShowAndClose(nullptr, source, dir / "program", notCard), 0);
    EXPECT_EQ(notCard.views, 0);
    EXPECT_EQ(notCard.message.toStdString(), *LanguageString(kStrMsgNotCameraCard));
}

TEST_F(OpenForSource, WithoutALanguageTableARefusalIsSilent) {
    LanguageScope noTable(-1);
    ModalLog log;
    EXPECT_EQ(ShowAndClose(nullptr, source, dir / "program", log), 0);
    EXPECT_EQ(log.messageBoxes + log.views, 0);
}

TEST_F(OpenForSource, TheViewIsCentredOnItsParent) {
    WriteFileBytes(dir / "root/setup.cfg", "");
    ASSERT_TRUE(source.LoadSource(0));
    QWidget parent;
    parent.setGeometry(100, 80, 1034, 742);
    parent.show();
    QPoint centre;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* view = qobject_cast<CFileInfoView*>(QApplication::activeModalWidget())) {
            centre = view->frameGeometry().center();
            Click(*view->OkButton(), QPoint(40, 16));
        }
    });
    poll.start(10);
    ShowCardInfo(&parent, source, dir / "program");
    EXPECT_LE((centre - parent.frameGeometry().center()).manhattanLength(), 1);
}

}  // namespace
