// The ending: ten credit pages whose letters fly in, glow and fly out over
// drifting stars and the bobbing hero.
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "core/cell.h"
#include "render/display.h"
#include "platform/table_index.h"
#include "screens/screens.h"
#include "shell/game.h"
#include "shell/program.h"

namespace tumbleroo {

namespace {

constexpr std::array<const char*, 10> kCreditPages{
    "Tumbleroo",
    "2002/08/21",
    "―Map Design―",
    "Pemko",
    "―Graphics―",
    "Vellumet",
    "Pemko",
    "Programed By..\r   Pemko",
    "Thank You For Playing",
    "End...",
};

constexpr int kTextPointSize = 20;
constexpr double kLetterSpacing = 30.0;
constexpr double kCentreX = 320.0;
constexpr double kRowOneY = 240.0;
constexpr double kRowTwoY = 300.0;
constexpr int kMaxLetters = 101;
constexpr int kFlyInFrames = 80;
constexpr int kShowFrames = 331;
constexpr int kFlyOutFrames = 61;
constexpr int kFlyOutSpeedFactor = 4;
constexpr int kSchemes = 6;

constexpr int16_t kTickWrap = 300;
constexpr int32_t kAngleStep = 4;
constexpr int32_t kHeroX = 310;
constexpr double kHeroCentreY = 240.0;
constexpr double kBobAmplitude = 50.0;
constexpr int32_t kHeroSize = 40;
constexpr int kEndingStarCount = 11;
constexpr int32_t kYellowStarCell = 27;
constexpr int32_t kCyanStarCell = 33;

struct Letter {
    std::string text;
    double x = 0.0;
    double y = 0.0;
    double dx = 0.0;
    double dy = 0.0;
};

uint32_t Rgb(int32_t r, int32_t g, int32_t b) {
    return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) |
           (static_cast<uint32_t>(b) << 16);
}

// Splits UTF-8 text into its characters.
std::vector<std::string> Characters(const std::string& text) {
    std::vector<std::string> out;
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        size_t length = 1;
        if (lead >= 0xF0) length = 4;
        else if (lead >= 0xE0) length = 3;
        else if (lead >= 0xC0) length = 2;
        out.push_back(text.substr(i, length));
        i += length;
    }
    return out;
}

// A start point just outside the screen on one axis: -50 to 0, or from just
// past the far edge.
double StartCoordinate(Game& game, int32_t extent) {
    int32_t v = static_cast<int32_t>(std::floor(game.random.Next() * 100.0)) - 50;
    if (v > 0) v += extent;
    return v;
}

// Sets the text colour of a scheme for brightness b; scheme 3 keeps the
// colour last set.
void SetSchemeColour(Surface& back, int32_t scheme, int32_t b) {
    switch (scheme) {
        case 0: SetForeColor(back, Rgb(0, b, 0)); break;
        case 1: SetForeColor(back, Rgb(0, 0, b)); break;
        case 2: SetForeColor(back, Rgb(b, 0, 0)); break;
        case 4: SetForeColor(back, Rgb(0, 255 - b, b)); break;
        case 5: SetForeColor(back, Rgb(255 - b, 0, b)); break;
        default: break;
    }
}

std::vector<Letter> LayOutPage(Game& game, const std::string& text) {
    std::vector<std::string> chars = Characters(text);
    if (chars.size() > kMaxLetters) chars.resize(kMaxLetters);
    const int letters = static_cast<int>(chars.size());
    std::optional<int> lineBreak;
    for (int j = 0; j < letters; ++j) {
        if (chars[AsIndex(j)] == "\r") {
            lineBreak = j;
            chars[AsIndex(j)].clear();
            break;
        }
    }
    // Each row is centred on its count of characters.
    const int rowOneCount = lineBreak ? *lineBreak : letters;
    double left = kCentreX - rowOneCount / 2.0 * kLetterSpacing;
    double rowY = kRowOneY;
    int place = 0;
    std::vector<Letter> page(chars.size());
    for (int j = 0; j < letters; ++j) {
        Letter& letter = page[AsIndex(j)];
        letter.text = chars[AsIndex(j)];
        const double startX = StartCoordinate(game, kScreenWidth);
        const double startY = StartCoordinate(game, kScreenHeight);
        if (lineBreak && j == *lineBreak + 1) {
            left = kCentreX - (letters - *lineBreak) / 2.0 * kLetterSpacing;
            rowY = kRowTwoY;
            place = 0;
        }
        const double targetX = left + kLetterSpacing * place;
        ++place;
        letter.dx = (startX - targetX) / kFlyInFrames;
        letter.dy = (startY - rowY) / kFlyInFrames;
        letter.x = startX;
        letter.y = startY;
    }
    return page;
}

void DrawLetter(Game& game, const Letter& letter) {
    DrawText(game, game.display.BackBuffer, Round32(letter.x), Round32(letter.y), letter.text);
}

void ShowPage(Game& game, std::vector<Letter>& page, int32_t scheme) {
    Surface& back = game.display.BackBuffer;
    const int letters = static_cast<int>(page.size());
    // Fly in and glow: each line darkens from its first letter to its last.
    for (int t = 0; t < kShowFrames; ++t) {
        ClearSurface(back, game.run.MenuBackPixel);
        DrawEndingBackground(game);
        ProcessPendingEvents(game);
        int32_t b = 255;
        for (Letter& letter : page) {
            b = Round32(b - 200.0 / (letters + 3));
            SetSchemeColour(back, scheme, b);
            DrawLetter(game, letter);
            if (t < kFlyInFrames) {
                letter.x -= letter.dx;
                letter.y -= letter.dy;
            }
        }
        FlipScreen(game);
    }
    // Fly out onward, four times as fast.
    for (int t = 0; t < kFlyOutFrames; ++t) {
        DrawEndingBackground(game);
        int32_t b = 255;
        for (Letter& letter : page) {
            b = Round32(b - 200.0 / letters);
            SetForeColor(back, Rgb(0, 255 - b, b));
            letter.x += kFlyOutSpeedFactor * letter.dx;
            letter.y += kFlyOutSpeedFactor * letter.dy;
            DrawLetter(game, letter);
        }
        FlipScreen(game);
        ProcessPendingEvents(game);
        ClearSurface(back, game.run.MenuBackPixel);
    }
}

void PlaceEndingStar(Game& game, EndingStar& star) {
    star.X = Round32(game.random.Next() * kScreenWidth);
    star.Y = Round32(game.random.Next() * kScreenHeight);
    star.Speed = game.random.Next() * 2.5 + 0.5;
    star.Cell = game.random.Next() < 0.6 ? kYellowStarCell : kCyanStarCell;
    star.Active = kOn;
}

}  // namespace

void ShowEnding(Game& game) {
    SetFormFontSize(game, kTextPointSize);
    for (const char* text : kCreditPages) {
        ScreenState& screens = game.screens;
        screens.EndingScheme = (screens.EndingScheme + 1) % kSchemes;
        std::vector<Letter> page = LayOutPage(game, text);
        if (page.empty()) continue;
        if (KeyDown(game, Key::Escape)) Form_Unload(game);
        ShowPage(game, page, screens.EndingScheme);
    }
}

void DrawEndingBackground(Game& game) {
    ScreenState& screens = game.screens;
    ++screens.EndingTick;
    screens.EndingAngle = (screens.EndingAngle + kAngleStep) % 360;
    const int32_t row = screens.EndingTick < 100 ? 0
                        : screens.EndingTick < 200 ? 1
                        : screens.EndingTick < 300 ? 2
                                                   : 3;
    if (screens.EndingTick == kTickWrap) screens.EndingTick = 0;

    const int32_t column = screens.EndingTick % 50 == 0 ? kHeroSize : 0;
    const double bob = std::sin(screens.EndingAngle * 3.1415926 / 180.0) * kBobAmplitude;
    DrawPicture(game, game.pictures->CharPic, column, kHeroSize * row, kHeroSize, kHeroSize,
                kHeroX, Round32(bob + kHeroCentreY));

    for (int i = 0; i < kEndingStarCount; ++i) {
        EndingStar& star = screens.EndingStars[AsIndex(i)];
        if (!IsOn(star.Active)) PlaceEndingStar(game, star);
        // Down and to the right, wrapping round the screen edges.
        star.X = Round32(star.X + 2.0 * star.Speed + 1.0) % kScreenWidth;
        star.Y = Round32(star.Y + 2.0 * star.Speed + 1.0) % kScreenHeight;
        const int32_t size = Round32(kCellPixels * star.Speed);
        StretchBlit(game.display.BackBuffer, star.X, star.Y, size, size, game.pictures->ObjPictures,
                    kCellPixels * star.Cell, 0, kCellPixels, kCellPixels, true);
    }
}

}  // namespace tumbleroo
