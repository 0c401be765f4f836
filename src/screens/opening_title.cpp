// The opening credit panel, the title intro and the title menu with its
// star field, sliding arrow and striped wipe.
#include <cmath>

#include "render/display.h"
#include "platform/table_index.h"
#include "screens/screens.h"
#include "shell/game.h"
#include "shell/program.h"

namespace tumbleroo {

namespace {

// Title screen layout, centred on the 640 x 480 screen.
constexpr int32_t kLogoX = 94;
constexpr int32_t kLogoRestY = 102;
constexpr int32_t kLogoWidth = 452;
constexpr int32_t kLogoFullHeight = 76;
constexpr int32_t kLogoHeight = 72;  // the logo without its bottom 4 rows
constexpr int32_t kWordsX = 248;
constexpr int32_t kWordsY = 235;
constexpr int32_t kWordsWidth = 145;
constexpr int32_t kWordsHeight = 150;
constexpr int32_t kItemSpacing = 50;
constexpr int32_t kArrowX = 172;
constexpr int32_t kArrowSourceY = 150;
constexpr int32_t kArrowWidth = 70;
constexpr int32_t kArrowHeight = 44;
constexpr int16_t kLastItem = 2;

// The credit panel of the opening.
constexpr int32_t kPanelX = 209;
constexpr int32_t kPanelY = 200;
constexpr int32_t kPanelLastColumn = 222;
constexpr int32_t kPanelRevealRows = 98;
constexpr int32_t kRevealStep = 3;
constexpr int kOpeningHoldMs = 1000;

constexpr int kStarCount = 41;
constexpr uint32_t kStarColour = 0x00FFFF;  // yellow

// The wipe's stripes: 17 from the left, then 16 between them from the right.
constexpr int32_t kStripeWidth = 20;
constexpr int32_t kStripePitch = 40;
constexpr int kStripesFromLeft = 17;
constexpr int kStripesFromRight = 16;

void ClearToMenuBack(Game& game) {
    ClearSurface(game.display.BackBuffer, game.run.MenuBackPixel);
}

void DrawLogo(Game& game, int32_t x, int32_t y, int32_t height) {
    DrawPicture(game, game.pictures->Title, 0, 0, kLogoWidth, height, x, y);
}

void DrawMenuWords(Game& game, int32_t rows) {
    DrawPicture(game, game.pictures->Choice, 0, 0, kWordsWidth, rows, kWordsX, kWordsY);
}

void DrawMenuArrow(Game& game, int32_t y) {
    DrawPicture(game, game.pictures->Choice, 0, kArrowSourceY, kArrowWidth, kArrowHeight, kArrowX,
                y);
}

int32_t ItemY(int32_t item) { return kWordsY + kItemSpacing * item; }

// The frame the player saw last: after a flip the back buffer holds the one
// before it, so the wipe works from the visible frame.
const Surface& VisibleFrame(const Game& game) {
    const DisplayState& d = game.display;
    return d.FrontBuffer.Exists() ? d.FrontBuffer : d.BackBuffer;
}

void CopyWholeSurface(Surface& dest, const Surface& src) {
    BlitClipped(dest, 0, 0, kScreenWidth, kScreenHeight, 0, 0, src, 0, 0, 0, 0, false);
}

void SpawnStar(Game& game, TitleStar& star) {
    const double sign = game.random.Next() < 0.5 ? 1.0 : -1.0;
    star.DirX = 2.0 * game.random.Next() - 1.0;
    star.DirY = sign * std::sqrt(1.0 - star.DirX * star.DirX);
    star.Distance = Round32(game.random.Next() * 300.0 + 21.0);
}

}  // namespace

void ShowOpening(Game& game) {
    Surface& back = game.display.BackBuffer;
    const Surface& panel = game.pictures->NamePic;
    for (int32_t w = 0; w <= kPanelLastColumn; w += kRevealStep) {
        ClearToMenuBack(game);
        // Each row is smeared to the right in the colour of the reveal edge.
        for (int32_t r = 0; r <= kPanelRevealRows; ++r) {
            SetForeColor(back, ReadPixel(panel, w, r) + kPixelValueMarker);
            DrawLine(back, kPanelX + w, kPanelY + r, kPanelX + kPanelLastColumn, kPanelY + r);
        }
        DrawPicture(game, panel, 0, 0, w, kPanelRevealRows, kPanelX, kPanelY);
        if (KeyDown(game, Key::Escape)) return;
        FlipScreen(game);
        ProcessPendingEvents(game);
    }
    game.platform->SleepMs(kOpeningHoldMs);
}

void ShowTitleIntro(Game& game) {
    RunState& run = game.run;
    run.IntroRunning = kOn;
    // Releasing Z or Enter clears IntroRunning (in Form_KeyUp) and skips the rest.
    for (int32_t d = -560; d <= 0; d += 8) {
        ClearToMenuBack(game);
        DrawLogo(game, kLogoX + d, 0, kLogoFullHeight);
        FlipScreen(game);
        ProcessPendingEvents(game);
        if (!IsOn(run.IntroRunning)) return;
    }
    for (int32_t y = 0; y <= kLogoRestY; y += 5) {
        ClearToMenuBack(game);
        DrawLogo(game, kLogoX, y, kLogoHeight);
        ProcessPendingEvents(game);
        if (!IsOn(run.IntroRunning)) return;
        FlipScreen(game);
    }
    for (int32_t h = 0; h <= kWordsHeight; h += 2) {
        ClearToMenuBack(game);
        DrawLogo(game, kLogoX, kLogoRestY, kLogoHeight);
        DrawMenuWords(game, h);
        ProcessPendingEvents(game);
        if (!IsOn(run.IntroRunning)) return;
        FlipScreen(game);
    }
    run.IntroRunning = kOff;
}

int16_t RunTitleMenu(Game& game) {
    int16_t item = 0;
    for (;;) {
        ClearToMenuBack(game);
        DrawLogo(game, kLogoX, kLogoRestY, kLogoHeight);
        DrawMenuWords(game, kWordsHeight);
        DrawMenuArrow(game, ItemY(item));
        DrawStarfield(game);
        FlipScreen(game);
        ProcessPendingEvents(game);
        if (KeyDown(game, Key::Down) && item != kLastItem) {
            ++item;
            SlideMenuCursor(game, item, +1);
        }
        if (KeyDown(game, Key::Up) && item != 0) {
            --item;
            SlideMenuCursor(game, item, -1);
        }
        if (KeyDown(game, Key::Z) || KeyDown(game, Key::Enter)) {
            WipeToBackground(game);
            return item;
        }
        if (KeyDown(game, Key::Escape)) Form_Unload(game);
    }
}

void SlideMenuCursor(Game& game, int16_t item, int16_t direction) {
    // 2 pixels a frame over the 50 between the old item and the new one.
    for (int32_t i = 0; i <= kItemSpacing; i += 2) {
        const int32_t y = direction > 0 ? ItemY(item - 1) + i : ItemY(item) + kItemSpacing - i;
        ClearToMenuBack(game);
        DrawStarfield(game);
        DrawLogo(game, kLogoX, kLogoRestY, kLogoHeight);
        DrawMenuWords(game, kWordsHeight);
        DrawMenuArrow(game, y);
        FlipScreen(game);
        ProcessPendingEvents(game);
    }
}

void DrawStarfield(Game& game) {
    const PixelValue yellow = ColorToPixel(kStarColour);
    for (int i = 0; i < kStarCount; ++i) {
        TitleStar& star = game.screens.Stars[AsIndex(i)];
        if (star.Distance == 0) SpawnStar(game, star);
        star.Distance = Round32(star.Distance * 1.05);
        const int32_t x = Round32(star.Distance * star.DirX + 320.0);
        const int32_t y = Round32(star.Distance * star.DirY + 240.0);
        const double size = star.Distance / 60.0;
        FillSurfaceRect(game.display.BackBuffer, x, y, Round32(x + size), Round32(y + size),
                        yellow);
        if (star.Distance > 320 || star.Distance < 20) star.Distance = 0;
    }
}

void WipeToBackground(Game& game) {
    Surface& back = game.display.BackBuffer;
    Surface frozen = CreateBlankSurface(kScreenWidth, kScreenHeight);
    CopyWholeSurface(frozen, VisibleFrame(game));
    SetFillColor(back, game.run.MenuBackPixel + kPixelValueMarker);
    SetForeColor(back, game.run.MenuBackPixel + kPixelValueMarker);
    for (int n = 0; n < kStripesFromLeft; ++n) {
        CopyWholeSurface(back, frozen);
        for (int k = 0; k < n; ++k) {
            DrawBox(back, kStripePitch * k, 0, kStripePitch * k + kStripeWidth, kScreenHeight);
        }
        FlipScreen(game);
        ProcessPendingEvents(game);
    }
    CopyWholeSurface(frozen, VisibleFrame(game));
    const int32_t lastStripeX = kScreenWidth - kStripeWidth;
    for (int m = 1; m <= kStripesFromRight; ++m) {
        CopyWholeSurface(back, frozen);
        for (int k = 0; k < m; ++k) {
            DrawBox(back, lastStripeX - kStripePitch * k, 0, kScreenWidth - kStripePitch * k,
                    kScreenHeight);
        }
        FlipScreen(game);
        ProcessPendingEvents(game);
    }
}

}  // namespace tumbleroo
