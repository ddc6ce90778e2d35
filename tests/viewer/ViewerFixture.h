#pragma once
// The whole viewer on generated recordings: a main window that loads a folder or a card image as
// a user's drop would, plays, and reports its messages to the test instead of blocking on them.

#include "RunCommand.h"
#include "TempDir.h"
#include "app/core/ViewerOptions.h"
#include "app/viewer/CDravikViewerDlg.h"
#include "sim/CameraSimulator.h"

#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace kx::test {

// Camera recordings made once per test program: 320 x 180, a few seconds.
struct Recording {
    const char* kind;
    const char* start;
    int channels;
    sim::AudioKind audio;
    double seconds;
};

inline std::string MakeFolder(const std::string& folder, const std::vector<Recording>& recordings) {
    std::filesystem::create_directories(folder);
    for (const auto& r : recordings) {
        sim::SimOptions options;
        options.kind = r.kind;
        options.start = r.start;
        options.channels = r.channels;
        options.audio = r.audio;
        options.seconds = r.seconds;
        const auto result = sim::GenerateRecording(folder, options);
        EXPECT_TRUE(result.ok) << result.error;
    }
    return folder;
}

class ViewerTest : public ::testing::Test {
protected:
    void SetUp() override {
        TheViewerOptions() = ViewerOptions{};
        dlg_ = std::make_unique<CDravikViewerDlg>();
        dlg_->SetTempFolder(dir_ / "temp");
        dlg_->SetOpenSettleMs(20);
        dlg_->SetNoticeTimes(20, 20);
        dlg_->SetMessageHandler([this](const QString& text, bool) {
            messages_.push_back(text);
            return false;
        });
        QObject::connect(dlg_.get(), &CDravikViewerDlg::openingFinished, [this](bool ok) {
            ++finished_;
            if (ok) ++opened_;
        });
        ASSERT_TRUE(dlg_->Initialise(nullptr));
        dlg_->show();
        // The start-up notice comes and goes before the test loads anything.
        QTest::qWait(200);
    }

    void TearDown() override { dlg_.reset(); }

    // Loads a folder as a drop and waits until its first row has been opened.
    void LoadAndWait(const std::string& folder, int openings = 1) {
        const int before = finished_;
        dlg_->LoadDroppedPaths({folder});
        WaitFinished(before + openings);
    }

    bool WaitFinished(int count, int timeoutMs = 20000) {
        const bool ok = QTest::qWaitFor([&] { return finished_ >= count && !dlg_->IsOpening(); }, timeoutMs);
        EXPECT_TRUE(ok) << "openings finished: " << finished_ << " of " << count;
        return ok;
    }

    // Waits for the next position update while playing.
    bool WaitPositionUpdate() {
        bool updated = false;
        const auto connection =
            QObject::connect(dlg_.get(), &CDravikViewerDlg::positionUpdated, [&] { updated = true; });
        const bool ok = QTest::qWaitFor([&] { return updated; }, 3000);
        QObject::disconnect(connection);
        return ok;
    }

    PlayState State() { return dlg_->Player().GetPlayState(); }

    TempDir dir_;
    ScopedEnv config_{"XDG_CONFIG_HOME", dir_ / "config"};
    ScopedEnv cache_{"XDG_CACHE_HOME", dir_ / "cache"};
    ScopedEnv online_{"KX480_ONLINE", "0"};
    std::unique_ptr<CDravikViewerDlg> dlg_;
    std::vector<QString> messages_;
    int finished_ = 0;
    int opened_ = 0;
};

}  // namespace kx::test
