#include "app/core/ProgramPaths.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kx;
using kx::test::ScopedEnv;
using kx::test::TempDir;
using kx::test::WriteFileBytes;

namespace {

TEST(ProgramPaths, ProgramFolderIsTheExecutablesFolder) {
    EXPECT_EQ(std::filesystem::canonical(ProgramFolder()), std::filesystem::canonical(KX_PROGRAM_DIR));
}

TEST(ProgramPaths, DefaultCaptureFolderFollowsTheDesktopsDocumentsFolder) {
    TempDir home;
    ScopedEnv h("HOME", home.path());
    ScopedEnv c("XDG_CONFIG_HOME", home / "cfg");
    std::filesystem::create_directories(home / "cfg");
    WriteFileBytes(home / "cfg/user-dirs.dirs", "# written by xdg-user-dirs-update\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    EXPECT_EQ(DefaultCaptureFolder(), home / "Dokumente/CAM_CAPTURE");
    EXPECT_TRUE(std::filesystem::is_directory(home / "Dokumente/CAM_CAPTURE"));
}

TEST(ProgramPaths, OptionsAndScratchFoldersFallBackToTheUsersFolders) {
    TempDir home;
    ScopedEnv c("XDG_CONFIG_HOME", home / "cfg");
    ScopedEnv k("XDG_CACHE_HOME", home / "cache");
    const bool portable = std::filesystem::is_directory(ProgramFolder() + "/config");
    if (!portable) {
        EXPECT_EQ(OptionsPath(), home / "cfg/kx480-viewer/option.ini");
        EXPECT_TRUE(std::filesystem::is_directory(home / "cfg/kx480-viewer"));
    } else {
        EXPECT_EQ(OptionsPath(), ProgramFolder() + "/config/option.ini");
    }
    const std::string temp = TempFolder();
    EXPECT_TRUE(temp == ProgramFolder() + "/temp" || temp == home / "cache/kx480-viewer/temp") << temp;
}

}  // namespace
