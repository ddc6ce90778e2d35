#include "app/core/DecoderRegistry.h"
#include "app/core/Registry.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kx;
using kx::test::ScopedEnv;
using kx::test::TempDir;

namespace {

TEST(Registry, KeysMustExistToOpenAndAreCreatedWithTheirParents) {
    TempDir dir;
    ScopedEnv env("KX480_REGISTRY_DIR", dir.path());
    EXPECT_FALSE(RegistryKey::Open(RegistryHive::CurrentUser, "Software\\GNU"));
    const auto key = RegistryKey::Create(RegistryHive::CurrentUser, "Software\\GNU\\ffdshow");
    ASSERT_TRUE(key);
    EXPECT_TRUE(RegistryKey::Open(RegistryHive::CurrentUser, "software\\gnu"));  // names ignore case
    EXPECT_TRUE(key->SetDword("h264", 1));
    EXPECT_TRUE(key->SetString("note", "line one\nback\\slash=x"));
    const auto again = RegistryKey::Open(RegistryHive::CurrentUser, "SOFTWARE\\GNU\\FFDSHOW");
    ASSERT_TRUE(again);
    EXPECT_EQ(again->QueryDword("h264"), 1u);
    EXPECT_EQ(again->QueryString("note"), "line one\nback\\slash=x");
    EXPECT_EQ(again->QueryString("h264"), std::nullopt);  // a DWORD is not text
    EXPECT_FALSE(RegistryKey::Open(RegistryHive::LocalMachine, "Software\\GNU\\ffdshow"));
}

TEST(Registry, AnUnwritableHiveFailsQuietly) {
    ScopedEnv env("KX480_REGISTRY_DIR", "/proc/no-such-folder");
    EXPECT_FALSE(RegistryKey::Create(RegistryHive::CurrentUser, "Software\\KX"));
    PrepareDecoderRegistry();  // every failure is ignored
}

TEST(DecoderRegistry, WritesTheDecoderValuesUnderBothKeys) {
    TempDir dir;
    ScopedEnv env("KX480_REGISTRY_DIR", dir.path());
    PrepareDecoderRegistry();
    const auto gnu = RegistryKey::Open(RegistryHive::CurrentUser, "Software\\GNU\\ffdshow");
    const auto kx = RegistryKey::Open(RegistryHive::CurrentUser, "Software\\KX\\ffdshow");
    ASSERT_TRUE(gnu && kx);
    EXPECT_EQ(gnu->QueryDword("multipleInstances"), 0u);
    EXPECT_EQ(gnu->QueryDword("isWhitelist"), 0u);
    EXPECT_EQ(gnu->QueryDword("h264"), 1u);
    EXPECT_EQ(gnu->QueryString("whitelist"), std::string(DecoderWhitelist()));
    EXPECT_EQ(kx->QueryString("whitelist"), std::string(DecoderWhitelist()));
}

TEST(DecoderRegistry, TheWhitelistNames332ProgramsEndingWithTheViewer) {
    const std::string_view w = DecoderWhitelist();
    EXPECT_EQ(w.size(), 4731u);
    EXPECT_EQ(std::count(w.begin(), w.end(), ';'), 332);
    EXPECT_EQ(w.substr(0, 51), "3wPlayer.exe;ACDSee10.exe;ACDSee11.exe;ACDSee5.exe;");
    EXPECT_TRUE(w.ends_with(";KX480 Viewer.exe;"));
}

}  // namespace
