// The course records file: its exact text, clears, resets, damaged files,
// crash-safe saving and where the files live.
#include <fcntl.h>
#include <linux/fs.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "persist/ini.h"
#include "persist/records.h"
#include "persist/settings.h"
#include "platform/headless_platform.h"
#include "shell/game.h"
#include "support/files.h"

namespace tumbleroo {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

constexpr const char* kEmptyGroup = " 0 \r\n 0 \r\n\r\n 0 \r\n";

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

// Clears are stamped in UTC for the length of a test.
struct UtcClock {
    std::string oldTz;
    bool hadTz;
    UtcClock() {
        const char* tz = std::getenv("TZ");
        hadTz = tz != nullptr;
        if (hadTz) oldTz = tz;
        setenv("TZ", "UTC", 1);
        tzset();
    }
    ~UtcClock() {
        if (hadTz) {
            setenv("TZ", oldTz.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
};

constexpr int64_t kDec8At140509 = 1796738709;  // 2026-12-08 14:05:09 UTC
constexpr int64_t kSecondsPerDay = 24 * 60 * 60;

struct RecordsGame {
    TempFolder folder;
    HeadlessPlatform platform;
    Game game;
    int64_t now = kDec8At140509;
    RecordsGame() {
        game.platform = &platform;
        game.run.BasePath = folder.path + "/";
        game.records.clock = [this] { return now; };
        ChooseDataFiles(game);
    }
    std::string DatPath() const { return folder.path + "/MapInfo.dat"; }
};

TEST(Records, MissingFileStartsEmptyAndTheFirstSaveWritesFifteenEmptyGroups) {
    RecordsGame r;
    r.game.records.CourseRecords[1][1].Cleared = kOn;
    LoadRecords(r.game);
    EXPECT_FALSE(r.game.records.recordsDamaged);
    for (int stage = 1; stage <= 5; ++stage) {
        for (int course = 1; course <= 3; ++course) {
            const CourseRecord& c = r.game.records.CourseRecords[stage][course];
            EXPECT_EQ(c.Cleared, kOff);
            EXPECT_EQ(c.BestCoins, 0);
            EXPECT_EQ(c.ClearedAt, "");
            EXPECT_EQ(c.CoinCount, 0);
        }
    }
    ASSERT_TRUE(SaveRecords(r.game));
    EXPECT_EQ(ReadFile(r.DatPath()), Repeat(kEmptyGroup, 15));
}

TEST(Records, ClearsSetTheirFlagsAndTheFileTextExactly) {
    UtcClock utc;
    RecordsGame r;
    LoadRecords(r.game);
    r.game.records.CourseRecords[2][3].CoinCount = 30;

    RecordClear(r.game, 2, 3, 0);  // first clear with no coins
    EXPECT_EQ(r.game.records.FirstClear, kOn);
    EXPECT_EQ(r.game.records.NewRecord, kOff);
    const CourseRecord& c = r.game.records.CourseRecords[2][3];
    EXPECT_EQ(c.Cleared, kOn);
    EXPECT_EQ(c.BestCoins, 0);
    EXPECT_EQ(c.ClearedAt, "2026/12/08");

    r.now += kSecondsPerDay;
    RecordClear(r.game, 2, 3, 12);  // one coin more than the best is a record
    EXPECT_EQ(r.game.records.FirstClear, kOff);
    EXPECT_EQ(r.game.records.NewRecord, kOn);
    EXPECT_EQ(c.BestCoins, 12);
    EXPECT_EQ(c.ClearedAt, "2026/12/09");

    const std::string expected = Repeat(kEmptyGroup, 5) +
                                 "-1 \r\n 12 \r\n2026/12/09\r\n 30 \r\n" +
                                 Repeat(kEmptyGroup, 9);
    EXPECT_EQ(ReadFile(r.DatPath()), expected);

    // As many coins as the best changes nothing, yet the file is rewritten.
    std::filesystem::remove(r.DatPath());
    r.now += 3600;
    RecordClear(r.game, 2, 3, 12);
    EXPECT_EQ(r.game.records.FirstClear, kOff);
    EXPECT_EQ(r.game.records.NewRecord, kOff);
    EXPECT_EQ(ReadFile(r.DatPath()), expected);

    // Reading it back gives the same table.
    Game again;
    again.records.recordsPath = r.DatPath();
    LoadRecords(again);
    EXPECT_FALSE(again.records.recordsDamaged);
    EXPECT_EQ(again.records.CourseRecords[2][3].ClearedAt, "2026/12/09");
    EXPECT_EQ(again.records.CourseRecords[2][3].BestCoins, 12);
    EXPECT_EQ(again.records.CourseRecords[2][3].CoinCount, 30);
}

TEST(Records, AnyNonZeroClearedLoadsAsOnAndStagesNeedAllThreeCourses) {
    RecordsGame r;
    WriteFile(r.DatPath(), "5\r\n 7\r\n  old, text\r\n 20 \r\n" +
                               std::string("-1 \r\n 0 \r\n2026/12/08 07:18:13\r\n 0 \r\n") +
                               Repeat(kEmptyGroup, 13));
    LoadRecords(r.game);
    EXPECT_FALSE(r.game.records.recordsDamaged);
    const CourseRecord& first = r.game.records.CourseRecords[1][1];
    EXPECT_EQ(first.Cleared, kOn);
    EXPECT_EQ(first.BestCoins, 7);
    EXPECT_EQ(first.ClearedAt, "old");  // a text value ends at a comma
    EXPECT_EQ(first.CoinCount, 20);
    // Files stamped with the time of day as well keep their text.
    EXPECT_EQ(r.game.records.CourseRecords[1][2].ClearedAt, "2026/12/08 07:18:13");

    EXPECT_EQ(StageCompleted(r.game, 1), kOff);  // courses 1 and 2 only
    r.game.records.CourseRecords[1][3].Cleared = kOn;
    EXPECT_EQ(StageCompleted(r.game, 1), kOn);
    EXPECT_EQ(StageCompleted(r.game, 2), kOff);

    ASSERT_TRUE(SaveRecords(r.game));
    EXPECT_EQ(ReadFile(r.DatPath()).substr(0, 24), "-1 \r\n 7 \r\nold\r\n 20 \r\n-1 ");
}

TEST(Records, ResetEmptiesEveryRecordButKeepsCoinCounts) {
    UtcClock utc;
    RecordsGame r;
    LoadRecords(r.game);
    for (int stage = 1; stage <= 5; ++stage) {
        for (int course = 1; course <= 3; ++course) {
            r.game.records.CourseRecords[stage][course].CoinCount = stage * 10 + course;
            RecordClear(r.game, static_cast<int16_t>(stage), static_cast<int16_t>(course), 4);
        }
    }
    ResetRecords(r.game);
    std::string expected;
    for (int stage = 1; stage <= 5; ++stage) {
        for (int course = 1; course <= 3; ++course) {
            expected += " 0 \r\n 0 \r\n\r\n " + std::to_string(stage * 10 + course) + " \r\n";
        }
    }
    EXPECT_EQ(ReadFile(r.DatPath()), expected);
    EXPECT_EQ(StageCompleted(r.game, 5), kOff);
}

TEST(Records, HalfWrittenFileOfAKilledSaveIsRemovedAtStartAndTheRecordsKept) {
    RecordsGame r;
    const std::string cleared = "-1 \r\n 2 \r\nwhen\r\n 0 \r\n" + Repeat(kEmptyGroup, 14);
    WriteFile(r.DatPath(), cleared);
    WriteFile(r.DatPath() + ".tmp", "-1 \r\n 9");
    LoadRecords(r.game);
    EXPECT_FALSE(std::filesystem::exists(r.DatPath() + ".tmp"));
    EXPECT_EQ(ReadFile(r.DatPath()), cleared);
    EXPECT_EQ(r.game.records.CourseRecords[1][1].Cleared, kOn);
}

TEST(Records, OversizedFileIsDamagedAndNotParsed) {
    RecordsGame r;
    const std::string cleared = "-1 \r\n 2 \r\nwhen\r\n 0 \r\n" + Repeat(kEmptyGroup, 14);
    WriteFile(r.DatPath(), cleared + std::string(2 * 1024 * 1024, '\n'));
    LoadRecords(r.game);
    EXPECT_TRUE(r.game.records.recordsDamaged);
    EXPECT_EQ(r.game.records.CourseRecords[1][1].Cleared, kOff);
}

TEST(Records, DamagedFileLoadsWhatItCanAndIsKeptBesideTheNewOne) {
    RecordsGame r;
    const std::string badPath = r.DatPath() + ".bad";

    // A number line that is not a number spoils only its own value.
    const std::string spoiled = "-1 \r\n 1x \r\nwhen\r\n 9 \r\n" + Repeat(kEmptyGroup, 14);
    WriteFile(r.DatPath(), spoiled);
    LoadRecords(r.game);
    EXPECT_TRUE(r.game.records.recordsDamaged);
    EXPECT_EQ(r.game.records.CourseRecords[1][1].Cleared, kOn);
    EXPECT_EQ(r.game.records.CourseRecords[1][1].BestCoins, 0);
    EXPECT_EQ(r.game.records.CourseRecords[1][1].CoinCount, 9);

    // A short file (as a save cut off by a crash would leave).
    const std::string shortFile = Repeat(kEmptyGroup, 2) + "-1 \r\n 3 \r\n";
    WriteFile(r.DatPath(), shortFile);
    LoadRecords(r.game);
    EXPECT_TRUE(r.game.records.recordsDamaged);
    EXPECT_EQ(r.game.records.CourseRecords[1][3].Cleared, kOn);
    EXPECT_EQ(r.game.records.CourseRecords[1][3].BestCoins, 3);
    EXPECT_EQ(r.game.records.CourseRecords[1][1].BestCoins, 0);  // reloaded from scratch

    RecordClear(r.game, 1, 1, 2);
    EXPECT_EQ(ReadFile(badPath), shortFile);
    Game reread;
    reread.records.recordsPath = r.DatPath();
    LoadRecords(reread);
    EXPECT_FALSE(reread.records.recordsDamaged);
    EXPECT_EQ(reread.records.CourseRecords[1][3].BestCoins, 3);

    // Later saves leave the kept copy alone.
    RecordClear(r.game, 1, 2, 5);
    EXPECT_EQ(ReadFile(badPath), shortFile);
}

TEST(Records, FailedSaveKeepsTheOldFile) {
    RecordsGame r;
    LoadRecords(r.game);
    ASSERT_TRUE(SaveRecords(r.game));
    const std::string before = ReadFile(r.DatPath());

    // The new file is written beside the old one; make that impossible.
    std::filesystem::create_directory(r.DatPath() + ".tmp");
    RecordClear(r.game, 3, 1, 8);
    EXPECT_EQ(ReadFile(r.DatPath()), before);
    EXPECT_FALSE(SaveRecords(r.game));
    EXPECT_FALSE(IniWriteString(r.DatPath(), "A", "b", "c"));
    EXPECT_EQ(ReadFile(r.DatPath()), before);
}

// A child saves in a tight loop and is killed at random moments; the file
// must always be one complete save or the other.
TEST(Records, KillDuringSavesNeverLeavesAShortFile) {
    RecordsGame r;
    LoadRecords(r.game);
    ASSERT_TRUE(SaveRecords(r.game));
    std::mt19937 pick(12345);
    std::uniform_int_distribution<int> delayUs(0, 4000);
    int killedMidSave = 0;
    const int kRuns = 60;
    for (int run = 0; run < kRuns; ++run) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int32_t coins = 1;; ++coins) {
                r.game.records.CourseRecords[5][3].BestCoins = coins * 1000;
                r.game.records.CourseRecords[5][3].ClearedAt = std::string(coins % 40, 'x');
                SaveRecords(r.game);
            }
        }
        usleep(static_cast<useconds_t>(delayUs(pick)));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        if (std::filesystem::exists(r.DatPath() + ".tmp")) ++killedMidSave;

        Game check;
        check.records.recordsPath = r.DatPath();
        LoadRecords(check);
        ASSERT_FALSE(check.records.recordsDamaged) << "after kill " << run;
        const std::string text = ReadFile(r.DatPath());
        ASSERT_EQ(std::count(text.begin(), text.end(), '\n'), kRecordLines) << "after kill " << run;
    }
    RecordProperty("KilledWhileWritingTheNewFile", killedMidSave);
}

// Makes a folder refuse new files even for the superuser; undone on scope
// exit so the folder can be removed.
struct ReadOnlyFolder {
    std::string path;
    bool immutable = false;
    explicit ReadOnlyFolder(const std::string& folder) : path(folder) {
        chmod(path.c_str(), 0555);
        if (FolderIsWritable(path)) immutable = SetImmutable(true);
    }
    ~ReadOnlyFolder() {
        if (immutable) SetImmutable(false);
        chmod(path.c_str(), 0755);
    }
    bool SetImmutable(bool on) {
        int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY);
        if (fd < 0) return false;
        int flags = 0;
        bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ok && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        close(fd);
        return ok;
    }
};

TEST(Records, DataFilesMoveToTheUserFolderWhenTheGameFolderIsReadOnly) {
    TempFolder base;
    TempFolder user;
    const std::string shipped = "-1 \r\n 4 \r\n2026/01/02 03:04:05\r\n 9 \r\n" + Repeat(kEmptyGroup, 14);
    WriteFile(base.path + "/MapInfo.dat", shipped);

    HeadlessPlatform platform;
    platform.userDataFolder = user.path + "/data/";
    Game game;
    game.platform = &platform;
    game.run.BasePath = base.path + "/";

    ChooseDataFiles(game);  // writable: everything stays in the game folder
    EXPECT_EQ(game.records.recordsPath, base.path + "/MapInfo.dat");
    EXPECT_EQ(game.records.settingsPath, base.path + "/Init.ini");

    ReadOnlyFolder readOnly(base.path);
    if (FolderIsWritable(base.path)) GTEST_SKIP() << "cannot make a folder read-only here";
    ChooseDataFiles(game);
    EXPECT_EQ(game.records.recordsPath, user.path + "/data/MapInfo.dat");
    EXPECT_EQ(game.records.settingsPath, user.path + "/data/Init.ini");
    EXPECT_EQ(ReadFile(game.records.recordsPath), shipped);  // seeded on first use

    LoadRecords(game);
    EXPECT_EQ(game.records.CourseRecords[1][1].BestCoins, 4);
    RecordClear(game, 1, 1, 6);
    EXPECT_EQ(ReadFile(base.path + "/MapInfo.dat"), shipped);
    ChooseDataFiles(game);  // the player's own file is never re-seeded
    LoadRecords(game);
    EXPECT_EQ(game.records.CourseRecords[1][1].BestCoins, 6);
}

TEST(Records, GameFolderThatCannotExistFallsBackQuietly) {
    TempFolder base;
    WriteFile(base.path + "/file", "x");
    HeadlessPlatform platform;
    Game game;
    game.platform = &platform;
    game.run.BasePath = base.path + "/file/";

    ChooseDataFiles(game);  // no user folder either: saves fail, play goes on
    LoadRecords(game);
    EXPECT_FALSE(game.records.recordsDamaged);
    RecordClear(game, 1, 1, 1);
    EXPECT_EQ(game.records.CourseRecords[1][1].BestCoins, 1);

    TempFolder user;
    platform.userDataFolder = user.path + "/";
    ChooseDataFiles(game);
    ASSERT_TRUE(SaveRecords(game));
    EXPECT_EQ(ReadFile(user.path + "/MapInfo.dat").substr(0, 10), "-1 \r\n 1 \r\n");
}

}  // namespace
}  // namespace tumbleroo
