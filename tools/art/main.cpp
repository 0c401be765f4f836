// tumbleroo-art: makes the game's ten pictures from the sources in this folder.
//   --out DIR     writes the ten PNG files into DIR
//   --check DIR   rebuilds them in memory and compares them with DIR's PNGs
//   --sheet FILE  writes a contact sheet of all pictures for review
//   --icons DIR   writes the desktop icons into DIR (a hicolor theme folder)
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "palette.h"
#include "pictures.h"

namespace art {

namespace {

uint16_t To565(const Rgba& c) {
    return static_cast<uint16_t>(((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3));
}

// The game compares keys after converting to RGB565, so a sprite colour that
// lands on the key there would vanish on screen. Returns an empty text when
// the picture obeys its key rule.
std::string KeyRuleProblem(const PictureRecipe& recipe, const Image& img) {
    if (img.width != recipe.width || img.height != recipe.height) return "wrong size";
    if (recipe.key == KeyRule::kNone) return "";
    Rgba key = recipe.key == KeyRule::kBlack ? kKeyBlack : recipe.topLeft;
    if (recipe.key == KeyRule::kTopLeft && !(img.At(0, 0) == key)) return "top-left pixel is not the key colour";
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width; ++x) {
            const Rgba& c = img.At(x, y);
            if (!(c == key) && To565(c) == To565(key)) {
                return "pixel " + std::to_string(x) + "," + std::to_string(y) + " turns into the key colour";
            }
        }
    }
    return "";
}

int WriteAll(const std::string& dir) {
    for (const PictureRecipe& recipe : AllPictures()) {
        Image img = recipe.build();
        std::string problem = KeyRuleProblem(recipe, img);
        if (!problem.empty()) {
            std::fprintf(stderr, "%s: %s\n", recipe.name, problem.c_str());
            return 1;
        }
        std::string path = dir + "/" + recipe.name + ".png";
        if (!SavePng(img, path)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}

int CheckAll(const std::string& dir) {
    int failures = 0;
    for (const PictureRecipe& recipe : AllPictures()) {
        Image built = recipe.build();
        std::string problem = KeyRuleProblem(recipe, built);
        if (!problem.empty()) {
            std::fprintf(stderr, "%s: %s\n", recipe.name, problem.c_str());
            ++failures;
            continue;
        }
        Image shipped;
        std::string path = dir + "/" + recipe.name + ".png";
        if (!LoadPng(path, shipped)) {
            std::fprintf(stderr, "%s: cannot read %s\n", recipe.name, path.c_str());
            ++failures;
            continue;
        }
        if (shipped.width != built.width || shipped.height != built.height) {
            std::fprintf(stderr, "%s: size differs from its sources\n", recipe.name);
            ++failures;
            continue;
        }
        int differing = 0;
        for (size_t i = 0; i < built.pixels.size(); ++i) {
            if (!(shipped.pixels[i] == built.pixels[i])) ++differing;
        }
        if (differing > 0) {
            std::fprintf(stderr, "%s: %d pixels differ from its sources\n", recipe.name, differing);
            ++failures;
        }
    }
    if (failures == 0) std::printf("all %zu pictures match their sources\n", AllPictures().size());
    return failures == 0 ? 0 : 1;
}

int Usage() {
    std::fprintf(stderr, "usage: tumbleroo-art --out DIR | --check DIR | --sheet FILE | --icons DIR\n");
    return 2;
}

}  // namespace

const std::vector<PictureRecipe>& AllPictures() {
    static const std::vector<PictureRecipe> pictures = {
        {"BlockPic", 200, 20, KeyRule::kNone, kKeyBlack, BuildBlockPic},
        {"ObjPictures", 780, 20, KeyRule::kBlack, kKeyBlack, BuildObjPictures},
        {"CharPic", 120, 160, KeyRule::kTopLeft, kHeroKey, BuildCharPic},
        {"NumberP", 127, 384, KeyRule::kBlack, kKeyBlack, BuildNumberP},
        {"Title", 452, 76, KeyRule::kTopLeft, kKeyBlack, BuildTitle},
        {"Choice", 145, 315, KeyRule::kTopLeft, kKeyBlack, BuildChoice},
        {"NamePic", 223, 99, KeyRule::kTopLeft, kNameKey, BuildNamePic},
        {"Opic", 128, 32, KeyRule::kBlack, kKeyBlack, BuildOpic},
        {"Picture1", 240, 30, KeyRule::kBlack, kKeyBlack, BuildPicture1},
        {"StagePic", 122, 61, KeyRule::kBlack, kKeyBlack, BuildStagePic},
    };
    return pictures;
}

}  // namespace art

int main(int argc, char** argv) {
    if (argc != 3) return art::Usage();
    if (SDL_Init(0) != 0 || IMG_Init(IMG_INIT_PNG) == 0) {
        std::fprintf(stderr, "SDL_image is not available: %s\n", SDL_GetError());
        return 1;
    }
    int rc = 2;
    try {
        if (std::strcmp(argv[1], "--out") == 0) {
            rc = art::WriteAll(argv[2]);
        } else if (std::strcmp(argv[1], "--check") == 0) {
            rc = art::CheckAll(argv[2]);
        } else if (std::strcmp(argv[1], "--sheet") == 0) {
            rc = art::WriteContactSheet(argv[2]) ? 0 : 1;
        } else if (std::strcmp(argv[1], "--icons") == 0) {
            rc = art::WriteIcons(argv[2]) ? 0 : 1;
        } else {
            rc = art::Usage();
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tumbleroo-art: %s\n", e.what());
        rc = 1;
    }
    IMG_Quit();
    SDL_Quit();
    return rc;
}
