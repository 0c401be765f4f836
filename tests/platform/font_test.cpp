// The words' face: found by its family through fontconfig (or at the path
// known at build time) and able to draw.
#include "platform/sdl_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tumbleroo {
namespace {

TEST(Font, TheGothicFaceIsFoundAndDraws) {
    TextRasterizer text;
    ASSERT_FALSE(text.FontFile().empty());
    EXPECT_TRUE(std::filesystem::is_regular_file(text.FontFile()));
    EXPECT_EQ(std::filesystem::path(text.FontFile()).filename(), "ipagp.ttf");
    const GlyphBitmap word = text.Render("Stage", FontSpec{20, true, true});
    EXPECT_GT(word.width, 0);
    EXPECT_GT(word.height, 0);
}

}  // namespace
}  // namespace tumbleroo
