// The playlist and its scrollbar: thumb limits, arrows and track, keys, wheel, row colours,
// and drops.

#include "ControlTestSupport.h"

#include "controls/CDvListCtrl.h"
#include "controls/CSkinVerticleScrollbar.h"
#include "controls/ControlConstants.h"
#include "controls/IMainWindowLink.h"
#include "controls/SkinIds.h"
#include "controls/SkinRegistry.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QUrl>
#include <gtest/gtest.h>

namespace kx {
namespace {

class Link : public IMainWindowLink {
public:
    bool IsBusy() const override { return busy; }
    void FocusDesignatedControl() override {}
    void DropFiles(const QStringList& paths) override { dropped = paths; }
    bool busy = false;
    QStringList dropped;
};

class Playlist : public ::testing::Test {
protected:
    void SetUp() override {
        list = new CDvListCtrl(&window);
        list->setGeometry(10, 40, 262, 200);
        list->SetupAsPlaylist();
        list->SetMainWindowLink(&link);
        window.resize(400, 300);
        window.show();
    }
    void Fill(int rows) {
        for (int row = 0; row < rows; ++row)
            list->InsertRow(row, {QString::number(row + 1), "2024-03-07", "09:00:00", "Normal",
                                  "/card", "REC.avi"});
        QCoreApplication::processEvents();
    }
    CSkinVerticleScrollbar& Bar() { return *list->Scrollbar(); }
    void Key(int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(list, &press);
    }

    test::LanguageScope english{0};
    QWidget window;
    CDvListCtrl* list = nullptr;
    Link link;
};

TEST_F(Playlist, ScrollbarSitsBesideTheListAsTallAsIt) {
    ASSERT_NE(list->Scrollbar(), nullptr);
    EXPECT_EQ(Bar().geometry(), QRect(272, 40, 18, 200));
    list->move(20, 50);
    EXPECT_EQ(Bar().geometry(), QRect(282, 50, 18, 200));
    EXPECT_EQ(list->columnCount(), 6);
    EXPECT_EQ(list->columnWidth(0), 35);
    EXPECT_EQ(list->columnWidth(3), 150);
    EXPECT_EQ(list->columnWidth(4), 0);
}

TEST_F(Playlist, ShortListShowsNoThumbAndArrowsDoNothing) {
    Fill(3);
    ASSERT_EQ(list->ScrollLimit(), 0);
    const QImage shown = test::Render(Bar());
    const QImage& track = SkinRegistry::Find(skin::kScrollTrack)->image;
    EXPECT_EQ(shown.pixel(9, 60), track.pixel(6, 0));  // track where a thumb would be
    test::Click(Bar(), {9, 27});
    test::Click(Bar(), {9, 200 - 27});
    EXPECT_EQ(list->ScrollPosition(), 0);
}

TEST_F(Playlist, ThumbStopsAtTheTrackEnds) {
    Fill(40);
    ASSERT_GT(list->ScrollLimit(), 0);
    test::Mouse(Bar(), QEvent::MouseButtonPress, {9, Bar().ThumbTop() + 5});
    ASSERT_TRUE(Bar().IsDragging());
    test::Drag(Bar(), {9, -50});
    EXPECT_EQ(Bar().ThumbTop(), 36);
    EXPECT_EQ(list->ScrollPosition(), 0);
    test::Drag(Bar(), {9, 500});
    EXPECT_EQ(Bar().ThumbTop(), 200 - 54);
    EXPECT_EQ(list->ScrollPosition(), list->ScrollLimit());
    test::Mouse(Bar(), QEvent::MouseButtonRelease, {9, 500});
    EXPECT_FALSE(Bar().IsDragging());
    EXPECT_EQ(Bar().ThumbTop(), 200 - 54);
}

TEST_F(Playlist, ArrowsScrollALineAndTheTrackAPage) {
    Fill(40);
    test::Click(Bar(), {9, 200 - 27});  // down arrow
    EXPECT_EQ(list->ScrollPosition(), 1);
    test::Click(Bar(), {9, 27});        // up arrow
    EXPECT_EQ(list->ScrollPosition(), 0);
    const int page = list->verticalScrollBar()->pageStep();
    test::Click(Bar(), {9, 150});       // track below the thumb
    EXPECT_EQ(list->ScrollPosition(), page);
    EXPECT_GT(Bar().ThumbTop(), 36);
    test::Click(Bar(), {9, 37});        // track above the thumb
    EXPECT_EQ(list->ScrollPosition(), 0);
    EXPECT_EQ(Bar().ThumbTop(), 36);
    test::Click(Bar(), {9, 5});         // the caps do nothing
    EXPECT_EQ(list->ScrollPosition(), 0);
}

TEST_F(Playlist, LeftAndRightKeysAreSwallowed) {
    Fill(40);
    list->setCurrentCell(2, 1);
    list->horizontalScrollBar()->setValue(0);
    Key(Qt::Key_Right);
    Key(Qt::Key_Left);
    Key(Qt::Key_Right);
    EXPECT_EQ(list->currentColumn(), 1);
    EXPECT_EQ(list->horizontalScrollBar()->value(), 0);
    Key(Qt::Key_Down);
    EXPECT_EQ(list->currentRow(), 3);
}

TEST_F(Playlist, WheelScrollsOneLineMoreThanTheListItself) {
    Fill(40);
    QWheelEvent wheel(QPointF(50, 50), QPointF(list->mapToGlobal(QPoint(50, 50))), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list->viewport(), &wheel);
    EXPECT_EQ(list->ScrollPosition(), 1 + QApplication::wheelScrollLines());
}

TEST_F(Playlist, MarkedRowOutranksSelectedRowAndRowsAlternate) {
    Fill(6);
    list->SetMarkedRow(2);
    list->selectRow(3);
    EXPECT_EQ(list->RowColours(2, true).first, kColorRowMarked);
    EXPECT_EQ(list->RowColours(3, true).first, kColorRowSelected);
    EXPECT_EQ(list->RowColours(3, true).second, kColorRowSelectedText);
    QCoreApplication::processEvents();
    const QImage shown = test::Render(*list);
    const int header = list->horizontalHeader()->height();
    const int row = list->rowHeight(0);
    const auto rowBackground = [&](int r) { return shown.pixel(33, header + r * row + 1); };
    EXPECT_EQ(rowBackground(0), kColorRowEven.rgb());
    EXPECT_EQ(rowBackground(1), kColorRowOdd.rgb());
    EXPECT_EQ(rowBackground(2), kColorRowMarked.rgb());
    EXPECT_EQ(rowBackground(3), kColorRowSelected.rgb());
    EXPECT_EQ(shown.pixel(33, header / 2), kColorHeader.rgb());
}

TEST_F(Playlist, DropsReachTheMainWindowUnlessItIsBusy) {
    const auto drop = [&] {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile("/media/card/EVENT"), QUrl::fromLocalFile("/tmp/a.avi")});
        QDragEnterEvent enter(QPoint(20, 30), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &enter);
        QDropEvent event(QPointF(20, 30), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &event);
    };
    link.busy = true;
    drop();
    EXPECT_TRUE(link.dropped.isEmpty());
    link.busy = false;
    drop();
    EXPECT_EQ(link.dropped, (QStringList{"/media/card/EVENT", "/tmp/a.avi"}));
}

TEST(PlaylistWithoutLanguage, KeepsItsColumnsWithEmptyTitles) {
    test::LanguageScope none(99);
    QWidget window;
    auto* list = new CDvListCtrl(&window);
    list->SetupAsPlaylist();
    ASSERT_EQ(list->columnCount(), 6);
    EXPECT_TRUE(list->horizontalHeaderItem(0)->text().isEmpty());
    // The rows keep the path and name the playlist plays from.
    list->InsertRow(0, {"1", "2024-03-07", "09:00:00", "", "/card/REC_20240307_090000_2.avi", "REC_20240307_090000_2.avi"});
    EXPECT_EQ(list->ItemText(0, 4), "/card/REC_20240307_090000_2.avi");
}

}  // namespace
}  // namespace kx
