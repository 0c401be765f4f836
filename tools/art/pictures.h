// The ten pictures of the game and the builders that make them.
#pragma once

#include <vector>

#include "image.h"

namespace art {

// How the game makes a picture's pixels transparent.
enum class KeyRule {
    kNone,     // drawn opaque
    kBlack,    // RGB 0, 0, 0 is transparent
    kTopLeft,  // the colour of the top-left pixel is transparent
};

struct PictureRecipe {
    const char* name;
    int width;
    int height;
    KeyRule key;
    Rgba topLeft;  // the required top-left colour for kTopLeft pictures
    Image (*build)();
};

const std::vector<PictureRecipe>& AllPictures();

Image BuildBlockPic();
Image BuildNumberP();
Image BuildObjPictures();
Image BuildCharPic();
Image BuildOpic();
Image BuildTitle();
Image BuildChoice();
Image BuildNamePic();
Image BuildPicture1();
Image BuildStagePic();

// Writes the review sheet of all pictures at 3x with their cell grids.
bool WriteContactSheet(const std::string& path);

// The hero facing the player, standing, on a clear background (24 x 40).
Image BuildHeroFront();
// The desktop icons in every hicolor size: DIR/<n>x<n>/apps/<id>.png.
bool WriteIcons(const std::string& dir);

}  // namespace art
