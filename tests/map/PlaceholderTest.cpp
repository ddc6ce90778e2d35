// The two placeholders: the grey fill with the language's picture centred, the fill alone for a
// language without pictures.

#include "ControlTestSupport.h"

#include "controls/SkinIds.h"
#include "map/CMapNoConnectedWnd.h"
#include "map/CMapNoDataWnd.h"

#include <gtest/gtest.h>

namespace kx {
namespace {

bool OnlyFill(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kColorPlaceholder.rgb()) return false;
    return true;
}

TEST(MapPlaceholder, DrawsTheLanguagesPictureCentredOverTheFill) {
    CMapNoDataWnd noData;
    CMapNoConnectedWnd noConnection;
    EXPECT_EQ(noData.objectName(), "DvMapNoDataWnd");
    EXPECT_EQ(noConnection.objectName(), "DvNotConnectedWnd");
    for (CMapPlaceholderWnd* placeholder : {static_cast<CMapPlaceholderWnd*>(&noData),
                                            static_cast<CMapPlaceholderWnd*>(&noConnection)}) {
        placeholder->Create(nullptr, 1011, QRect(0, 0, 400, 300), true);
        placeholder->SetLanguageIndex(3);
        const QImage image = test::Render(*placeholder);
        EXPECT_EQ(image.pixel(2, 2), kColorPlaceholder.rgb());
        EXPECT_FALSE(OnlyFill(image.copy(80, 75, 240, 150)));
        EXPECT_TRUE(OnlyFill(image.copy(0, 0, 400, 70)));
    }
    EXPECT_EQ(noData.PictureResource(), 1142);
    EXPECT_EQ(noConnection.PictureResource(), 1141);
    noData.SetLanguageIndex(0);
    EXPECT_EQ(noData.PictureResource(), 191);
}

TEST(MapPlaceholder, LanguageWithoutPicturesShowsOnlyTheFill) {
    for (int language : {12, -1}) {
        CMapNoConnectedWnd placeholder;
        placeholder.Create(nullptr, 1012, QRect(0, 0, 300, 200), true);
        placeholder.SetLanguageIndex(language);
        EXPECT_EQ(placeholder.PictureResource(), 0);
        EXPECT_TRUE(OnlyFill(test::Render(placeholder))) << language;
    }
}

}  // namespace
}  // namespace kx
