// Text panels: what each kind writes where, and what a panel shows without a language table
// or with a kind it does not know.

#include "ControlTestSupport.h"

#include "app/core/StringIds.h"
#include "controls/CDvTextCtrl.h"
#include "controls/ControlConstants.h"

#include <gtest/gtest.h>

namespace kx {
namespace {

std::optional<std::string> Labels(int number) { return "<" + std::to_string(number) + ">"; }
std::optional<std::string> NoLabels(int) { return std::nullopt; }

std::vector<QString> Texts(const std::vector<TextPanelItem>& items) {
    std::vector<QString> texts;
    for (const auto& item : items) texts.push_back(item.text);
    return texts;
}

TEST(TextPanel, PlayTimeShowsMinutesAndSecondsOfPositionAndLength) {
    TextPanelValues v;
    v.currentMs = 65'000;
    v.totalMs = (62 * 60 + 3) * 1000 + 999;
    v.playSpeed = 0.99999994f;
    const auto items = TextPanelItems(1, v, 400, Labels);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].text, "<110>    01:05  /  62:03");
    EXPECT_EQ(QPoint(items[0].x, items[0].y), QPoint(10, 2));
    EXPECT_EQ(items[1].text, "<111>   1.00 x");
    EXPECT_EQ(QPoint(items[1].x, items[1].y), QPoint(260, 2));

    v.totalMs = 100 * 60'000;  // three-digit minutes are not cut
    EXPECT_EQ(TextPanelItems(1, v, 400, Labels)[0].text, "<110>    01:05  /  100:00");
}

TEST(TextPanel, AxesShowNumbersOnlyWithAxisData) {
    TextPanelValues v;
    v.x = 0.15625;
    v.y = -1.5;
    v.z = 1.0;
    v.hasAxisData = true;
    const auto numbers = TextPanelItems(2, v, 400, NoLabels);
    EXPECT_EQ(Texts(numbers),
              (std::vector<QString>{"X:  0.156250", "Y:  -1.500000", "Z:  1.000000"}));
    EXPECT_EQ(numbers[0].colour, kColorAxisX);
    EXPECT_EQ(numbers[1].colour, kColorAxisY);
    EXPECT_EQ(numbers[2].colour, kColorAxisZ);
    EXPECT_EQ(numbers[2].x, 210);

    v.hasAxisData = false;
    EXPECT_EQ(Texts(TextPanelItems(2, v, 400, NoLabels)),
              (std::vector<QString>{"X:  -", "Y:  -", "Z:  -"}));
}

TEST(TextPanel, KindsWriteTheirTextsAtTheirPlaces) {
    TextPanelValues v;
    v.latitude = 37.5f;
    v.longitude = 127.25f;
    v.counts = {"   7", "   4", "   2", "   1"};
    v.sizes = {"1.5GB", "0.9GB", "0.4GB", "0.2GB"};
    const struct {
        int kind;
        std::vector<QString> texts;
        QPoint first;
        int fontHeight;
    } cases[] = {
        {3, {"<126>"}, {10, 3}, 13},
        {4, {"<128>: 37.500000  <129>: 127.250000"}, {3, 3}, 13},
        {5, {"<126>"}, {10, 3}, 13},
        {6, {"<128>:  37.500000    <129>:  127.250000"}, {10, 3}, 13},
        {8, {"KX480 Viewer"}, {10, 3}, 15},
        {9, {"Version 1.0.0 (Build 3925)"}, {10, 3}, 15},
        {10, {"<276>", "<283>", "<284>"}, {10, 3}, 12},
        {11, {"<274>", "<281>", "<282>"}, {10, 3}, 12},
        {12, {QString::fromUtf8("전체"), "   7", "1.5GB"}, {10, 3}, 15},
        {13, {QString::fromUtf8("이벤트"), "   2", "0.4GB"}, {10, 3}, 15},
        {14, {QString::fromUtf8("주차"), "   1", "0.2GB"}, {10, 3}, 15},
        {15, {QString::fromUtf8("상시"), "   4", "0.9GB"}, {10, 3}, 15},
        {16, {QString::fromUtf8("파일수        크기")}, {10, 3}, 15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        const auto items = TextPanelItems(c.kind, v, 200, Labels);
        ASSERT_FALSE(items.empty());
        EXPECT_EQ(Texts(items), c.texts);
        EXPECT_EQ(QPoint(items[0].x, items[0].y), c.first);
        EXPECT_EQ(items[0].fontHeight, c.fontHeight);
    }
    const auto notice = TextPanelItems(10, v, 200, Labels);
    EXPECT_EQ(notice[2].y, 33);
    const auto card = TextPanelItems(12, v, 200, Labels);
    EXPECT_EQ(card[1].x, 80);
    EXPECT_EQ(card[2].x, 150);
}

TEST(TextPanel, ListTitleIsCentredBySixPixelsPerCharacter) {
    const auto centred = TextPanelItems(7, {}, 92, Labels);  // "<130>": 5 characters
    ASSERT_EQ(centred.size(), 1u);
    EXPECT_EQ(centred[0].x, (92 - 30) / 2);
    const auto tooLong = TextPanelItems(
        7, {}, 92, [](int) { return std::optional<std::string>(std::string(20, 'w')); });
    EXPECT_EQ(tooLong[0].x, (92 - 120) / 2);
}

TEST(TextPanel, WithoutLanguageTextsOnlyTheFixedKindsWrite) {
    for (int kind : {1, 3, 4, 5, 6, 7, 10, 11}) EXPECT_TRUE(TextPanelItems(kind, {}, 200, NoLabels).empty()) << kind;
    for (int kind : {2, 8, 9, 12, 13, 14, 15, 16}) EXPECT_FALSE(TextPanelItems(kind, {}, 200, NoLabels).empty()) << kind;
    for (int kind : {0, 17, -1, 1000}) EXPECT_TRUE(TextPanelItems(kind, {}, 200, Labels).empty()) << kind;
}

// The painted panel: background everywhere but where text was written, text in its colour.
struct PanelPicture {
    QImage image;
    int inked = 0;          // pixels that are not the background
    int inColour = 0;       // pixels of exactly `colour`
};

PanelPicture PaintPanel(int kind, QColor background, QColor colour, bool axisData = true) {
    CDvTextCtrl panel;
    panel.resize(400, 20);
    panel.SetKind(kind);
    panel.SetBackground(background);
    panel.Values().hasAxisData = axisData;
    PanelPicture picture{test::Render(panel)};
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 400; ++x) {
            const QRgb pixel = picture.image.pixel(x, y);
            picture.inked += pixel != background.rgb();
            picture.inColour += pixel == colour.rgb();
        }
    }
    return picture;
}

TEST(TextPanel, PaintsTextOverItsBackground) {
    test::LanguageScope english(0);
    const PanelPicture title = PaintPanel(3, kColorPanel, kColorWhite);
    EXPECT_GT(title.inColour, 10);
    // The title starts at x 10: nothing left of it.
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 9; ++x) ASSERT_EQ(title.image.pixel(x, y), kColorPanel.rgb());

    EXPECT_GT(PaintPanel(2, kColorBackground, kColorAxisY).inColour, 5);
}

TEST(TextPanel, UnknownKindsAndMissingTablesShowTheBackgroundOnly) {
    EXPECT_EQ(PaintPanel(17, QColor(20, 20, 20), kColorWhite).inked, 0);
    EXPECT_EQ(PaintPanel(0, QColor(30, 30, 30), kColorWhite).inked, 0);
    test::LanguageScope none(99);
    EXPECT_EQ(PaintPanel(1, kColorBackground, kColorWhite).inked, 0);
    EXPECT_EQ(PaintPanel(7, kColorPanel, kColorWhite).inked, 0);
    EXPECT_GT(PaintPanel(9, kColorBackground, kColorWhite).inColour, 10);
}

}  // namespace
}  // namespace kx
