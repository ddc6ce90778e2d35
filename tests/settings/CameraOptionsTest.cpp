// The option lists behind the camera's values: counts, order, fixed texts and the language
// numbers of the others.

#include "app/core/StringIds.h"
#include "settings/CameraOptions.h"
#include "settings/CameraSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace kx::settings;

namespace {

// Each entry as "#N" for a language string or its fixed text, joined by blanks.
std::string Describe(std::span<const OptionEntry> list) {
    std::string out;
    for (const OptionEntry& e : list) {
        if (!out.empty()) out += ' ';
        out += e.stringId != 0 ? "#" + std::to_string(e.stringId) : std::string(e.text);
    }
    return out;
}

}  // namespace

TEST(CameraOptions, ListsInIndexOrder) {
    EXPECT_EQ(Describe(TriggerOptions()), "#270 #161 #160 #159 #158 #157 #156");
    EXPECT_EQ(Describe(QualityOptions()), "#172 #171 #170");
    EXPECT_EQ(Describe(SpeakerOptions()), "#236 Level 1 Level 2 Level 3 Level 4 Level 5");
    EXPECT_EQ(Describe(ChannelOptions()), "#175 #174");
    EXPECT_EQ(Describe(CutOffOptions(false, true)), "#155 11.5V 11.7V 11.9V 12.1V 12.3V 12.5V");
    EXPECT_EQ(Describe(CutOffOptions(true, true)), "#155 23.0V 23.4V 23.8V 24.2V 24.3V 24.4V");
    EXPECT_EQ(Describe(CutOffOptions(false, false)), "#155 11.5V 11.7V 11.9V 12.1V");
    EXPECT_EQ(Describe(CutOffOptions(true, false)), "#155 23.0V 23.4V 23.8V 24.2V");
    EXPECT_EQ(Describe(PowerOffOptions()), "6H 12H 24H 48H");
    EXPECT_EQ(Describe(LcdOffOptions()), "#214 #215 #216 #217 #220");
}

TEST(CameraOptions, EveryLanguageNumberIsInTheTables) {
    for (const auto list : {TriggerOptions(), QualityOptions(), SpeakerOptions(), ChannelOptions(),
                            CutOffOptions(true, true), PowerOffOptions(), LcdOffOptions()}) {
        for (const OptionEntry& e : list) {
            if (e.stringId == 0) continue;
            EXPECT_TRUE(std::ranges::find(kx::kAllStringIds, e.stringId) != std::end(kx::kAllStringIds)) << e.stringId;
        }
    }
}

TEST(CameraOptions, VoltageSystemKeepsTheCutOffIndex) {
    CameraSettings s;
    s.modelName = "KX480";
    SelectVoltageSystem(s, true);  // no selection becomes the first entry
    EXPECT_EQ(s.cutOffIndex, 0);
    s.cutOffIndex = 6;
    SelectVoltageSystem(s, false);
    EXPECT_EQ(s.cutOffIndex, 6);
    EXPECT_FALSE(s.volt24);
    // Without a model the list is shorter: an index past it selects nothing.
    s.modelName.clear();
    SelectVoltageSystem(s, true);
    EXPECT_EQ(s.cutOffIndex, -1);
}
