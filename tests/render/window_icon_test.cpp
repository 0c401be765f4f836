// The window icon: the standing hero facing the player, cut from CharPic,
// centred in a square whose remaining pixels are the transparent colour.
#include "platform/table_index.h"
#include "render/window_icon.h"

#include <gtest/gtest.h>

#include "support/test_game.h"

namespace tumbleroo {
namespace {

uint32_t RgbAt(const RgbImage& image, int x, int y) {
    const uint8_t* p = &image.rgb[RowMajor(x, y, image.width) * 3];
    return p[0] | (p[1] << 8) | (p[2] << 16);
}

TEST(WindowIcon, TheHeroStandsInTheMiddleOfAClearSquare) {
    testing::TestGame t;  // start-up sets the icon once the pictures exist
    const RgbImage& icon = t.platform.windowIcon;
    ASSERT_EQ(icon.width, 40);
    ASSERT_EQ(icon.height, 40);
    const uint32_t clear = t.platform.windowIconTransparent;
    int figure = 0, leftMargin = 0, rightMargin = 0;
    for (int y = 0; y < icon.height; ++y) {
        for (int x = 0; x < icon.width; ++x) {
            const bool ink = RgbAt(icon, x, y) != clear;
            figure += ink;
            if (x < 8) leftMargin += ink;
            if (x >= 32) rightMargin += ink;
        }
    }
    EXPECT_EQ(RgbAt(icon, 0, 0), clear);
    EXPECT_GT(figure, 300);  // a whole figure, not a sliver
    EXPECT_EQ(leftMargin, 0);
    EXPECT_EQ(rightMargin, 0);
    EXPECT_NE(RgbAt(icon, 20, 30), clear);  // the body in the middle
}

}  // namespace
}  // namespace tumbleroo
