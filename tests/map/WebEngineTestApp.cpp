// One QApplication for the whole test program: the offscreen platform, and the web engine
// without a GPU (and without Chromium's sandbox when the tests run as root).

#include "map/WebEngineSetup.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <memory>

namespace {

class WebEngineEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        kx::PrepareWebEngine("--disable-gpu");
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[20] = "kx_map_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

const auto* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new WebEngineEnvironment);

}  // namespace
