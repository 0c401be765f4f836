// The game's shared colours. Every sprite palette is built from these, so the
// pictures keep one look. None of them turns into a key colour in RGB565: the
// darkest ink keeps every channel high enough to stay non-zero.
#pragma once

#include "image.h"

namespace art {

// Key colours.
constexpr Rgba kKeyBlack = Opaque(0, 0, 0);
constexpr Rgba kHeroKey = Opaque(0, 117, 117);
constexpr Rgba kNameKey = Opaque(127, 255, 255);
constexpr Rgba kMenuNavy = Opaque(0, 0, 65);

// Outlines and neutrals.
constexpr Rgba kInk = Opaque(32, 24, 44);
constexpr Rgba kNearBlack = Opaque(16, 16, 24);
constexpr Rgba kWhite = Opaque(250, 250, 244);
constexpr Rgba kGrey1 = Opaque(210, 214, 224);
constexpr Rgba kGrey2 = Opaque(150, 156, 172);
constexpr Rgba kGrey3 = Opaque(96, 100, 120);
constexpr Rgba kGrey4 = Opaque(60, 62, 82);

// Warm colours.
constexpr Rgba kRed = Opaque(228, 58, 52);
constexpr Rgba kRedDark = Opaque(148, 28, 44);
constexpr Rgba kPink = Opaque(255, 150, 140);
constexpr Rgba kOrange = Opaque(248, 144, 40);
constexpr Rgba kYellow = Opaque(255, 214, 56);
constexpr Rgba kYellowPale = Opaque(255, 244, 168);
constexpr Rgba kGold = Opaque(200, 128, 24);

// Earth and plants.
constexpr Rgba kGreenLight = Opaque(156, 226, 88);
constexpr Rgba kGreen = Opaque(76, 176, 60);
constexpr Rgba kGreenDark = Opaque(36, 108, 52);
constexpr Rgba kGreenDeep = Opaque(24, 68, 44);
constexpr Rgba kTan = Opaque(214, 160, 104);
constexpr Rgba kBrown = Opaque(158, 100, 56);
constexpr Rgba kBrownDark = Opaque(100, 60, 40);
constexpr Rgba kBrownDeep = Opaque(64, 38, 32);

// Cool colours.
constexpr Rgba kSkyPale = Opaque(196, 232, 255);
constexpr Rgba kSky = Opaque(120, 190, 248);
constexpr Rgba kBlue = Opaque(60, 116, 220);
constexpr Rgba kBlueDark = Opaque(36, 56, 140);
constexpr Rgba kCyan = Opaque(96, 224, 232);
constexpr Rgba kCyanDark = Opaque(32, 140, 168);
constexpr Rgba kPurple = Opaque(140, 84, 190);
constexpr Rgba kPurpleDark = Opaque(84, 44, 128);

}  // namespace art
