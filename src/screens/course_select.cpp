// The course select: the three courses of the chosen stage with a pulsing
// highlight, and the records panel of the highlighted course.
#include <algorithm>
#include <array>
#include <string>

#include "render/display.h"
#include "platform/table_index.h"
#include "render/panel.h"
#include "screens/screens.h"
#include "shell/game.h"
#include "shell/program.h"
#include "sound/sound.h"

namespace tumbleroo {

namespace {

constexpr int16_t kCourses = 3;
constexpr int kEntranceFrames = 36;
constexpr int32_t kHeadingX = 110;
constexpr int32_t kStageLineY = 40;
constexpr int32_t kSelectLineY = 90;
constexpr int32_t kLineX = 200;
constexpr int32_t kLineSlideStep = 20;
constexpr int kPulseSteps = 25;
constexpr int32_t kPulseGreenStep = 10;
constexpr int kCursorPauseMs = 100;

constexpr int kHeadingPointSize = 45;
constexpr int kPanelPointSize = 20;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kMagenta = 0xFF00FF;

// The records panel and its three lines.
constexpr int32_t kPanelX = 125;
constexpr int32_t kPanelY = 330;
constexpr int32_t kPanelCols = 13;
constexpr int32_t kPanelRows = 5;
constexpr int32_t kRecordX = 145;
constexpr int32_t kClearedLineY = 355;
constexpr int32_t kHighScoreLineY = 390;
constexpr int32_t kCoinsLineY = 420;

// A file the game could not read or save is told here once, above the
// heading, in the panel's size: the course select is where records are shown.
constexpr int32_t kNoticeX = 10;
constexpr int32_t kNoticeY = 5;

constexpr int32_t kArrowX = 130;
constexpr int32_t kArrowSourceY = 150;
constexpr int32_t kArrowWidth = 70;
constexpr int32_t kArrowHeight = 44;

int32_t CourseLineY(int16_t course) { return 50 * course + 120; }
// The arrow sits left of its line, a little lower.
int32_t ArrowY(int16_t course) { return 50 * course + 125; }

uint32_t PixelColour(uint32_t rgb) { return ColorToPixel(rgb) + kPixelValueMarker; }

const CourseRecord& RecordOf(const Game& game, int16_t stage, int16_t course) {
    static const CourseRecord kNoRecord;
    if (stage < 1 || stage > 5 || course < 1 || course > kCourses) return kNoRecord;
    return game.records.CourseRecords[AsIndex(stage)][AsIndex(course)];
}

// The day of a clear stamp: stamps of older records files carry the time of
// day as well, which would run past the panel's frame.
std::string DayOf(const std::string& clearedAt) { return clearedAt.substr(0, clearedAt.find(' ')); }

void DrawRecordsPanel(Game& game, const CourseRecord& record) {
    Surface& back = game.display.BackBuffer;
    const std::string cleared = IsOn(record.Cleared) ? DayOf(record.ClearedAt) + " Cleared" : "Uncleared";
    DrawText(game, back, kRecordX, kClearedLineY, cleared);
    DrawText(game, back, kRecordX, kHighScoreLineY, "   -----HighScore-----");
    DrawText(game, back, kRecordX, kCoinsLineY,
             "      Coins:" + NumberText(record.BestCoins) + "/" + NumberText(record.CoinCount));
}

void DrawNotice(Game& game) {
    if (game.records.notice.empty()) return;
    Surface& back = game.display.BackBuffer;
    SetForeColor(back, PixelColour(kWhite));
    DrawText(game, back, kNoticeX, kNoticeY, game.records.notice);
}

void DrawEntranceFrame(Game& game, std::array<int32_t, kCourses + 1>& lineX, int frame) {
    Surface& back = game.display.BackBuffer;
    ClearSurface(back, game.run.MenuBackPixel);
    // The panel grows from nothing to its full size while the lines slide in.
    const double grown = frame / static_cast<double>(kEntranceFrames - 1);
    const int32_t cols = Round32(kPanelCols * grown);
    const int32_t rows = Round32(kPanelRows * grown);
    for (int16_t n = 1; n <= kCourses; ++n) {
        lineX[AsIndex(n)] = std::min(lineX[AsIndex(n)] + kLineSlideStep, kLineX);
        DrawPanelFrame(game, kPanelX, kPanelY, cols, rows);
        DrawText(game, back, lineX[AsIndex(n)], CourseLineY(n), "Course" + NumberText(n));
    }
    FlipScreen(game);
    ProcessPendingEvents(game);
}

int16_t ChooseCourse(Game& game) {
    Surface& back = game.display.BackBuffer;
    const int16_t stage = game.run.SelectedStage;
    game.display.FormFont.italic = true;
    SetFormFontSize(game, kHeadingPointSize);
    SetForeColor(back, PixelColour(kWhite));

    std::array<int32_t, kCourses + 1> lineX{};
    for (int16_t n = 1; n <= kCourses; ++n) lineX[AsIndex(n)] = -50 * n * n;
    for (int frame = 0; frame < kEntranceFrames; ++frame) DrawEntranceFrame(game, lineX, frame);

    int16_t cursor = 1;
    int pulse = 0;
    for (;;) {
        SetFormFontSize(game, kPanelPointSize);
        SetForeColor(back, kMagenta);
        ClearSurface(back, game.run.MenuBackPixel);
        DrawPanelFrame(game, kPanelX, kPanelY, kPanelCols, kPanelRows);
        DrawRecordsPanel(game, RecordOf(game, stage, cursor));
        DrawNotice(game);

        SetFormFontSize(game, kHeadingPointSize);
        for (int16_t n = 1; n <= kCourses; ++n) {
            SetForeColor(back, PixelColour(kWhite));
            DrawText(game, back, kHeadingX, kStageLineY, "     Stage " + NumberText(stage));
            DrawText(game, back, kHeadingX, kSelectLineY, "Select Course..");
            if (n == cursor) {
                SetForeColor(back, PixelColour(static_cast<uint32_t>(kPulseGreenStep * pulse) << 8));
                pulse = (pulse + 1) % kPulseSteps;
            }
            DrawText(game, back, kLineX, CourseLineY(n), "Course " + NumberText(n));
        }

        if (KeyDown(game, Key::Escape)) return -1;
        if (KeyDown(game, Key::Up)) {
            PlaySound(game, SoundId::Select);
            cursor = cursor == 1 ? kCourses : static_cast<int16_t>(cursor - 1);
            game.platform->SleepMs(kCursorPauseMs);
        }
        if (KeyDown(game, Key::Down)) {
            PlaySound(game, SoundId::Select);
            cursor = cursor == kCourses ? 1 : static_cast<int16_t>(cursor + 1);
            game.platform->SleepMs(kCursorPauseMs);
        }
        if (KeyDown(game, Key::Z) || KeyDown(game, Key::Enter)) {
            PlaySound(game, SoundId::Decide);
            return cursor;
        }
        DrawPicture(game, game.pictures->Choice, 0, kArrowSourceY, kArrowWidth, kArrowHeight,
                    kArrowX, ArrowY(cursor));
        FlipScreen(game);
        ProcessPendingEvents(game);
    }
}

}  // namespace

int16_t RunCourseSelect(Game& game) {
    const int16_t choice = ChooseCourse(game);
    game.records.notice.clear();  // told once
    return choice;
}

}  // namespace tumbleroo
