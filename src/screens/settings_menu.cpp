// The settings menu: sound, background, look-ahead and speed switched in
// memory at once, the records reset, and OK to write the settings file.
#include <array>
#include <cstdint>
#include <string>

#include "persist/records.h"
#include "persist/settings.h"
#include "platform/table_index.h"
#include "render/display.h"
#include "render/panel.h"
#include "render/stage_draw.h"
#include "screens/screens.h"
#include "shell/game.h"
#include "shell/program.h"
#include "sound/sound.h"

namespace tumbleroo {

namespace {

enum Item : int16_t { kSound, kDrawBack, kAutoView, kSpeed, kResetScore, kOk };
constexpr int16_t kLastItem = kOk;
constexpr std::array<const char*, 6> kLabels{"Sound", "DrawBack", "AutoView",
                                             "Speed", "ResetScore", "OK"};

constexpr int kEntranceFrames = 12;
constexpr int kTextPointSize = 40;
constexpr int kHintPointSize = 20;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0xFF0000;
constexpr int32_t kBlinkStep = 5;
constexpr int32_t kBlinkWrap = 250;
constexpr int kStepPauseMs = 200;
constexpr int kConfirmPauseMs = 100;

constexpr int32_t kHeadingX = 240;
constexpr int32_t kHeadingY = 10;
constexpr int32_t kLabelX = 180;
constexpr int32_t kValueX = 500;
constexpr int32_t kPanelX = 80;
constexpr int32_t kPanelY = 60;
constexpr int32_t kPanelCols = 18;
constexpr int32_t kPanelRows = 12;

// The highlighted label goes from yellow towards white.
uint32_t HighlightColour(int32_t blink) {
    return 0xFFFF | (static_cast<uint32_t>(blink) << 16);
}

Flag* SwitchOf(Settings& settings, int16_t item) {
    switch (item) {
        case kSound: return &settings.PlayMusic;
        case kDrawBack: return &settings.DrawBack;
        case kAutoView: return &settings.AutoView;
        default: return nullptr;
    }
}

// A speed made negative by hand in Init.ini shows with its minus sign; the
// menu never lowers it, and Right brings it back up.
std::string ValueText(Settings& settings, int16_t item) {
    if (item == kSpeed) return NumberText(settings.GameSpeed);
    const Flag* flag = SwitchOf(settings, item);
    return flag && IsOn(*flag) ? "On" : "Off";
}

// Left turns a switch on and lowers the speed (never below 0); Right turns
// it off and raises the speed (never above the longest pause).
void ChangeSetting(Game& game, int16_t item, bool left) {
    Settings& settings = game.settings;
    if (Flag* flag = SwitchOf(settings, item)) {
        *flag = left ? kOn : kOff;
        return;
    }
    if (item != kSpeed) return;
    game.platform->SleepMs(kStepPauseMs);
    int32_t& speed = settings.GameSpeed;
    if (left && speed >= 1) --speed;
    if (!left && speed < kMaxGameSpeedMs) ++speed;
}

void DrawMenu(Game& game, int16_t highlighted, int32_t blink) {
    Surface& back = game.display.BackBuffer;
    ClearSurface(back, game.run.MenuBackPixel);
    SetFormFontSize(game, kTextPointSize);
    SetForeColor(back, kGreen);
    DrawText(game, back, kHeadingX, kHeadingY, "Config..");
    SetForeColor(back, kBlue);
    for (int16_t n = 0; n <= kLastItem; ++n) {
        if (n == highlighted) SetForeColor(back, HighlightColour(blink));
        DrawText(game, back, kLabelX, 40 * n + 90, kLabels[AsIndex(n)]);
        if (n == highlighted) SetForeColor(back, kBlue);
        // The values step 45 pixels while the labels step 40.
        if (n <= kSpeed) DrawText(game, back, kValueX, 45 * n + 90, ValueText(game.settings, n));
    }
    SetFormFontSize(game, kHintPointSize);
    DrawText(game, back, 200, 350, "↑↓選択　←→変更");
    DrawPanelFrame(game, kPanelX, kPanelY, kPanelCols, kPanelRows);
    FlipScreen(game);
}

}  // namespace

void RunSettingsMenu(Game& game) {
    Surface& back = game.display.BackBuffer;
    const Settings onEntry = game.settings;
    SetFormFontSize(game, kTextPointSize);
    SetForeColor(back, kGreen);
    for (int i = 1; i <= kEntranceFrames; ++i) {
        ClearSurface(back, game.run.MenuBackPixel);
        DrawText(game, back, 20 * i, kHeadingY, "Config..");
        DrawPanelFrame(game, kPanelX, kPanelY, Round32(1.5 * i), i);
        FlipScreen(game);
        ProcessPendingEvents(game);
    }

    int16_t item = 0;
    int32_t blink = 0;
    for (;;) {
        blink += kBlinkStep;
        if (blink == kBlinkWrap) blink = 0;
        DrawMenu(game, item, blink);
        ProcessPendingEvents(game);

        if (KeyDown(game, Key::Escape)) {
            game.settings = onEntry;
            game.platform->SleepMs(kStepPauseMs);
            return;
        }
        if (KeyDown(game, Key::Up)) {
            PlaySound(game, SoundId::Select);
            game.platform->SleepMs(kStepPauseMs);
            if (item > 0) --item;
        }
        if (KeyDown(game, Key::Down)) {
            PlaySound(game, SoundId::Select);
            game.platform->SleepMs(kStepPauseMs);
            if (item < kLastItem) ++item;
        }
        if (KeyDown(game, Key::Z) || KeyDown(game, Key::Enter)) {
            PlaySound(game, SoundId::Decide);
            if (item == kResetScore) {
                ResetRecords(game.records);
                FlashWhite(game);
                FlashWhite(game);
            } else if (item == kOk) {
                game.platform->SleepMs(kConfirmPauseMs);
                SaveSettings(game.records, game.settings);
                return;
            }
        }
        if (KeyDown(game, Key::Left)) ChangeSetting(game, item, true);
        if (KeyDown(game, Key::Right)) ChangeSetting(game, item, false);
    }
}

}  // namespace tumbleroo
