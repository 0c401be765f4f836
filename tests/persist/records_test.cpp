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

#include "persist/file_faults.h"
#include "persist/player_files.h"
#include "persist/records.h"
#include "persist/settings.h"
#include "platform/headless_platform.h"
#include "platform/table_index.h"
#include "shell/game.h"
#include "support/files.h"

namespace tumbleroo {
namespace {

using testing::ReadFile;
using testing::ScopedEnv;
using testing::TempFolder;
using testing::TestDataHome;
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
    TestDataHome dataHome;
    TempFolder folder;
    HeadlessPlatform platform;
    Game game;
    int64_t now = kDec8At140509;
    RecordsGame() {
        game.platform = &platform;
        game.run.BasePath = folder.path + "/";
        game.records.clock = [this] { return now; };
        ChooseDataFiles(game.records, game.run.BasePath);
    }
    std::string DatPath() const { return folder.path + "/MapInfo.dat"; }
    std::string UserDatPath() const { return dataHome.UserFolder() + "MapInfo.dat"; }
};

TEST(Records, MissingFileStartsEmptyAndTheFirstSaveWritesFifteenEmptyGroups) {
    RecordsGame r;
    r.game.records.CourseRecords[1][1].Cleared = kOn;
    LoadRecords(r.game.records);
    EXPECT_FALSE(r.game.records.recordsDamaged);
    for (int stage = 1; stage <= 5; ++stage) {
        for (int course = 1; course <= 3; ++course) {
            const CourseRecord& c = r.game.records.CourseRecords[AsIndex(stage)][AsIndex(course)];
            EXPECT_EQ(c.Cleared, kOff);
            EXPECT_EQ(c.BestCoins, 0);
            EXPECT_EQ(c.ClearedAt, "");
            EXPECT_EQ(c.CoinCount, 0);
        }
    }
    ASSERT_TRUE(SaveRecords(r.game.records));
    EXPECT_EQ(ReadFile(r.DatPath()), Repeat(kEmptyGroup, 15));
}

TEST(Records, ClearsSetTheirFlagsAndTheFileTextExactly) {
    UtcClock utc;
    RecordsGame r;
    LoadRecords(r.game.records);
    r.game.records.CourseRecords[2][3].CoinCount = 30;

    RecordClear(r.game.records, 2, 3, 0);  // first clear with no coins
    EXPECT_EQ(r.game.records.FirstClear, kOn);
    EXPECT_EQ(r.game.records.NewRecord, kOff);
    const CourseRecord& c = r.game.records.CourseRecords[2][3];
    EXPECT_EQ(c.Cleared, kOn);
    EXPECT_EQ(c.BestCoins, 0);
    EXPECT_EQ(c.ClearedAt, "2026/12/08");

    r.now += kSecondsPerDay;
    RecordClear(r.game.records, 2, 3, 12);  // one coin more than the best is a record
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
    RecordClear(r.game.records, 2, 3, 12);
    EXPECT_EQ(r.game.records.FirstClear, kOff);
    EXPECT_EQ(r.game.records.NewRecord, kOff);
    EXPECT_EQ(ReadFile(r.DatPath()), expected);

    // Reading it back gives the same table.
    Game again;
    again.records.recordsPath = r.DatPath();
    LoadRecords(again.records);
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
    LoadRecords(r.game.records);
    EXPECT_FALSE(r.game.records.recordsDamaged);
    const CourseRecord& first = r.game.records.CourseRecords[1][1];
    EXPECT_EQ(first.Cleared, kOn);
    EXPECT_EQ(first.BestCoins, 7);
    EXPECT_EQ(first.ClearedAt, "old");  // a text value ends at a comma
    EXPECT_EQ(first.CoinCount, 20);
    // Files stamped with the time of day as well keep their text.
    EXPECT_EQ(r.game.records.CourseRecords[1][2].ClearedAt, "2026/12/08 07:18:13");

    EXPECT_EQ(StageCompleted(r.game.records, 1), kOff);  // courses 1 and 2 only
    r.game.records.CourseRecords[1][3].Cleared = kOn;
    EXPECT_EQ(StageCompleted(r.game.records, 1), kOn);
    EXPECT_EQ(StageCompleted(r.game.records, 2), kOff);

    ASSERT_TRUE(SaveRecords(r.game.records));
    EXPECT_EQ(ReadFile(r.DatPath()).substr(0, 24), "-1 \r\n 7 \r\nold\r\n 20 \r\n-1 ");
}

TEST(Records, ResetEmptiesEveryRecordButKeepsCoinCounts) {
    UtcClock utc;
    RecordsGame r;
    LoadRecords(r.game.records);
    for (int stage = 1; stage <= 5; ++stage) {
        for (int course = 1; course <= 3; ++course) {
            r.game.records.CourseRecords[AsIndex(stage)][AsIndex(course)].CoinCount = stage * 10 + course;
            RecordClear(r.game.records, static_cast<int16_t>(stage), static_cast<int16_t>(course), 4);
        }
    }
    ResetRecords(r.game.records);
    std::string expected;
    for (int stage = 1; stage <= 5; ++stage) {
        for (int course = 1; course <= 3; ++course) {
            expected += " 0 \r\n 0 \r\n\r\n " + std::to_string(stage * 10 + course) + " \r\n";
        }
    }
    EXPECT_EQ(ReadFile(r.DatPath()), expected);
    EXPECT_EQ(StageCompleted(r.game.records, 5), kOff);
}

TEST(Records, HalfWrittenFileOfAKilledSaveIsRemovedAtStartAndTheRecordsKept) {
    RecordsGame r;
    const std::string cleared = "-1 \r\n 2 \r\nwhen\r\n 0 \r\n" + Repeat(kEmptyGroup, 14);
    WriteFile(r.DatPath(), cleared);
    WriteFile(r.DatPath() + ".tmp", "-1 \r\n 9");
    LoadRecords(r.game.records);
    EXPECT_FALSE(std::filesystem::exists(r.DatPath() + ".tmp"));
    EXPECT_EQ(ReadFile(r.DatPath()), cleared);
    EXPECT_EQ(r.game.records.CourseRecords[1][1].Cleared, kOn);
}

TEST(Records, OversizedFileIsDamagedAndNotParsed) {
    RecordsGame r;
    const std::string cleared = "-1 \r\n 2 \r\nwhen\r\n 0 \r\n" + Repeat(kEmptyGroup, 14);
    const std::string oversized = cleared + std::string(2 * 1024 * 1024, '\n');
    WriteFile(r.DatPath(), oversized);
    LoadRecords(r.game.records);
    EXPECT_TRUE(r.game.records.recordsDamaged);
    EXPECT_NE(r.game.records.notice, "");
    EXPECT_EQ(r.game.records.CourseRecords[1][1].Cleared, kOff);
    ASSERT_TRUE(SaveRecords(r.game.records));
    EXPECT_EQ(ReadFile(r.DatPath() + ".bad"), oversized);
}

TEST(Records, DamagedFileLoadsWhatItCanAndIsKeptBesideTheNewOne) {
    RecordsGame r;
    const std::string badPath = r.DatPath() + ".bad";

    // A number line that is not a number spoils only its own value.
    const std::string spoiled = "-1 \r\n 1x \r\nwhen\r\n 9 \r\n" + Repeat(kEmptyGroup, 14);
    WriteFile(r.DatPath(), spoiled);
    LoadRecords(r.game.records);
    EXPECT_TRUE(r.game.records.recordsDamaged);
    EXPECT_EQ(r.game.records.CourseRecords[1][1].Cleared, kOn);
    EXPECT_EQ(r.game.records.CourseRecords[1][1].BestCoins, 0);
    EXPECT_EQ(r.game.records.CourseRecords[1][1].CoinCount, 9);

    // A short file (as a save cut off by a crash would leave).
    const std::string shortFile = Repeat(kEmptyGroup, 2) + "-1 \r\n 3 \r\n";
    WriteFile(r.DatPath(), shortFile);
    LoadRecords(r.game.records);
    EXPECT_TRUE(r.game.records.recordsDamaged);
    EXPECT_EQ(r.game.records.CourseRecords[1][3].Cleared, kOn);
    EXPECT_EQ(r.game.records.CourseRecords[1][3].BestCoins, 3);
    EXPECT_EQ(r.game.records.CourseRecords[1][1].BestCoins, 0);  // reloaded from scratch

    RecordClear(r.game.records, 1, 1, 2);
    EXPECT_EQ(ReadFile(badPath), shortFile);
    Game reread;
    reread.records.recordsPath = r.DatPath();
    LoadRecords(reread.records);
    EXPECT_FALSE(reread.records.recordsDamaged);
    EXPECT_EQ(reread.records.CourseRecords[1][3].BestCoins, 3);

    // Later saves leave the kept copy alone.
    RecordClear(r.game.records, 1, 2, 5);
    EXPECT_EQ(ReadFile(badPath), shortFile);
}

// The best coins of a course as the file at `path` holds them.
int32_t BestCoinsIn(const std::string& path, int stage, int course) {
    Game game;
    game.records.recordsPath = path;
    LoadRecords(game.records);
    EXPECT_FALSE(game.records.recordsDamaged) << path;
    return game.records.CourseRecords[AsIndex(stage)][AsIndex(course)].BestCoins;
}

// A second damaged file must not overwrite the copy kept of the first, and
// the player hears of each damaged file once, when it is read.
TEST(Records, EveryDamagedFileKeepsItsOwnNumberedCopy) {
    RecordsGame r;
    const std::string first = Repeat(kEmptyGroup, 2) + "-1 \r\n";
    const std::string second = "x\r\n";
    const std::string third = "y\r\n";
    // The third on a file system without hard links: copied, not linked.
    FileOps noLinks = PosixFileOps();
    noLinks.link = testing::LinkNotSupported;
    for (const std::string& damaged : {first, second, third}) {
        if (damaged == third) r.game.records.fileOps = &noLinks;
        WriteFile(r.DatPath(), damaged);
        r.game.records.notice.clear();
        LoadRecords(r.game.records);
        EXPECT_NE(r.game.records.notice.find("damaged"), std::string::npos);
        r.game.records.notice.clear();
        ASSERT_TRUE(SaveRecords(r.game.records));
        ASSERT_TRUE(SaveRecords(r.game.records));
        EXPECT_EQ(r.game.records.notice, "");
    }
    EXPECT_EQ(ReadFile(r.DatPath() + ".bad"), first);
    EXPECT_EQ(ReadFile(r.DatPath() + ".bad.1"), second);
    EXPECT_EQ(ReadFile(r.DatPath() + ".bad.2"), third);
    EXPECT_FALSE(std::filesystem::exists(r.DatPath() + ".bad.3"));
}

// Full disk, I/O error, a rename across file systems: every step of a save
// can fail. The old file stays, the save says so and why, and the player is
// told; the user's folder fails alike, so nothing is saved anywhere.
TEST(Records, InjectedWriteFsyncAndRenameFailuresKeepTheOldFileAndAreReported) {
    struct Fault {
        const char* name;
        FileOps ops;
        const char* reason;
    };
    FileOps fullDisk = PosixFileOps();
    fullDisk.write = testing::WriteToFullDisk;
    FileOps ioError = PosixFileOps();
    ioError.fsync = testing::FsyncIoError;
    FileOps crossDevice = PosixFileOps();
    crossDevice.rename = testing::RenameAcrossDevices;
    const Fault faults[] = {{"write", fullDisk, "No space left on device"},
                            {"fsync", ioError, "Input/output error"},
                            {"rename", crossDevice, "Invalid cross-device link"}};
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.name);
        RecordsGame r;
        LoadRecords(r.game.records);
        ASSERT_TRUE(SaveRecords(r.game.records));
        const std::string before = ReadFile(r.DatPath());

        r.game.records.fileOps = &fault.ops;
        RecordClear(r.game.records, 3, 1, 8);
        EXPECT_EQ(r.game.records.notice, std::string("Records not saved: ") + fault.reason);
        const SaveResult result = SaveRecords(r.game.records);
        EXPECT_FALSE(result.saved);
        EXPECT_EQ(result.reason, fault.reason);
        EXPECT_NE(result.message.find(r.DatPath()), std::string::npos);
        EXPECT_EQ(ReadFile(r.DatPath()), before);
        EXPECT_FALSE(std::filesystem::exists(r.DatPath() + ".tmp"));
        EXPECT_FALSE(std::filesystem::exists(r.UserDatPath()));
        EXPECT_EQ(r.game.records.recordsPath, r.DatPath());

        // Settings saves fail and keep their file alike.
        WriteFile(r.folder.path + "/Init.ini", "[Keys]\nJump=X\n");
        r.game.records.notice.clear();
        EXPECT_FALSE(SaveSettings(r.game.records, r.game.settings));
        EXPECT_EQ(r.game.records.notice, std::string("Settings not saved: ") + fault.reason);
        EXPECT_EQ(ReadFile(r.folder.path + "/Init.ini"), "[Keys]\nJump=X\n");

        // Once the disk behaves again the clear reaches the file.
        r.game.records.fileOps = nullptr;
        ASSERT_TRUE(SaveRecords(r.game.records));
        EXPECT_EQ(BestCoinsIn(r.DatPath(), 3, 1), 8);
    }
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

// A save the game folder refuses (a folder in the file's place, a folder
// made read-only while the game runs) goes to the user's data folder, and
// later saves follow it there.
TEST(Records, SaveTheGameFolderRefusesGoesToTheUserFolder) {
    RecordsGame r;
    std::filesystem::create_directory(r.DatPath());
    LoadRecords(r.game.records);
    EXPECT_NE(r.game.records.notice.find("MapInfo.dat cannot be read"), std::string::npos);
    RecordClear(r.game.records, 1, 2, 7);
    EXPECT_TRUE(std::filesystem::is_directory(r.DatPath()));
    EXPECT_EQ(r.game.records.recordsPath, r.UserDatPath());
    EXPECT_EQ(BestCoinsIn(r.UserDatPath(), 1, 2), 7);
    RecordClear(r.game.records, 1, 3, 2);
    EXPECT_EQ(BestCoinsIn(r.UserDatPath(), 1, 3), 2);

    RecordsGame ro;
    LoadRecords(ro.game.records);
    ASSERT_TRUE(SaveRecords(ro.game.records));
    const std::string before = ReadFile(ro.DatPath());
    ReadOnlyFolder readOnly(ro.folder.path);
    if (FolderIsWritable(ro.folder.path)) GTEST_SKIP() << "cannot make a folder read-only here";
    RecordClear(ro.game.records, 2, 2, 4);
    EXPECT_EQ(ReadFile(ro.DatPath()), before);
    EXPECT_EQ(BestCoinsIn(ro.UserDatPath(), 2, 2), 4);
    EXPECT_EQ(ro.game.records.notice, "");
}

// A records file that cannot be read is reported, and is never replaced
// before it is kept aside: it may hold every clear the player made.
TEST(Records, UnreadableFileIsReportedAndKeptAside) {
    RecordsGame r;
    const std::string cleared = "-1 \r\n 2 \r\nwhen\r\n 0 \r\n" + Repeat(kEmptyGroup, 14);
    WriteFile(r.DatPath(), cleared);
    FileOps failing = PosixFileOps();
    failing.read = testing::ReadIoError;
    r.game.records.fileOps = &failing;
    LoadRecords(r.game.records);
    EXPECT_TRUE(r.game.records.recordsDamaged);
    EXPECT_NE(r.game.records.notice.find("cannot be read"), std::string::npos);
    RecordClear(r.game.records, 5, 3, 1);
    r.game.records.fileOps = nullptr;
    EXPECT_EQ(ReadFile(r.DatPath() + ".bad"), cleared);
    EXPECT_EQ(BestCoinsIn(r.DatPath(), 5, 3), 1);

    // Where it cannot even be copied aside, it stays and the save goes to
    // the user's folder.
    RecordsGame noCopy;
    WriteFile(noCopy.DatPath(), cleared);
    FileOps failingNoLinks = failing;
    failingNoLinks.link = testing::LinkNotSupported;
    noCopy.game.records.fileOps = &failingNoLinks;
    LoadRecords(noCopy.game.records);
    RecordClear(noCopy.game.records, 5, 3, 1);
    noCopy.game.records.fileOps = nullptr;
    EXPECT_EQ(ReadFile(noCopy.DatPath()), cleared);
    EXPECT_FALSE(std::filesystem::exists(noCopy.DatPath() + ".bad"));
    EXPECT_EQ(noCopy.game.records.recordsPath, noCopy.UserDatPath());
    EXPECT_EQ(BestCoinsIn(noCopy.UserDatPath(), 5, 3), 1);
}

TEST(Records, WithNoFolderThatTakesThemSavesFailAndPlayGoesOn) {
    TempFolder base;
    WriteFile(base.path + "/file", "x");
    ScopedEnv noXdg("XDG_DATA_HOME", std::nullopt);
    ScopedEnv noHome("HOME", std::nullopt);
    Game game;
    game.run.BasePath = base.path + "/file/";

    ChooseDataFiles(game.records, game.run.BasePath);
    EXPECT_EQ(game.records.userFolder, "");
    LoadRecords(game.records);
    EXPECT_FALSE(game.records.recordsDamaged);
    RecordClear(game.records, 1, 1, 1);
    EXPECT_EQ(game.records.CourseRecords[1][1].BestCoins, 1);
    EXPECT_EQ(game.records.notice, "Records not saved: Not a directory");
}

// An installed game keeps the player's files in $XDG_DATA_HOME/tumbleroo/
// (~/.local/share/tumbleroo/ without it): the shipped records are copied
// there on first use, and the files of the old Tumbleroo/Tumbleroo folder
// are moved over once.
TEST(Records, InstalledGameKeepsFilesInTheUserFolderMovingTheOldOnesOver) {
    const std::string shipped = "-1 \r\n 4 \r\n2026/01/02\r\n 9 \r\n" + Repeat(kEmptyGroup, 14);
    const std::string old = "-1 \r\n 6 \r\n2026/02/03\r\n 9 \r\n" + Repeat(kEmptyGroup, 14);
    TempFolder shared;
    WriteFile(shared.path + "/MapInfo.dat", shipped);
    TempFolder home;
    ScopedEnv noXdg("XDG_DATA_HOME", std::nullopt);
    ScopedEnv homeVar("HOME", home.path);
    const std::string userFolder = home.path + "/.local/share/tumbleroo/";
    const std::string oldFolder = home.path + "/.local/share/Tumbleroo/Tumbleroo/";
    EXPECT_EQ(PlayerFilesFolder(), userFolder);
    EXPECT_EQ(OldPlayerFilesFolder(), oldFolder);

    auto start = [&shared] {
        Game game;
        game.run.BasePath = shared.path + "/";
        game.records.filesInUserFolder = true;
        ChooseDataFiles(game.records, game.run.BasePath);
        LoadRecords(game.records);
        LoadSettings(game.records, game.settings, game.windowSettings);
        return game;
    };

    // First use: seeded from the shipped records.
    Game first = start();
    EXPECT_EQ(first.records.recordsPath, userFolder + "MapInfo.dat");
    EXPECT_EQ(first.records.settingsPath, userFolder + "Init.ini");
    EXPECT_EQ(first.records.CourseRecords[1][1].BestCoins, 4);
    RecordClear(first.records, 1, 1, 5);
    EXPECT_EQ(ReadFile(shared.path + "/MapInfo.dat"), shipped);

    // An old folder beside a folder already in use is left alone.
    std::filesystem::create_directories(oldFolder);
    WriteFile(oldFolder + "MapInfo.dat", old);
    EXPECT_EQ(start().records.CourseRecords[1][1].BestCoins, 5);
    EXPECT_EQ(ReadFile(oldFolder + "MapInfo.dat"), old);

    // Without a user folder yet, the old files move over and the old folder goes.
    std::filesystem::remove_all(userFolder);
    WriteFile(oldFolder + "Init.ini", "[BasicInformation]\r\nGameSpeed= 7\r\n");
    Game moved = start();
    EXPECT_EQ(moved.records.CourseRecords[1][1].BestCoins, 6);
    EXPECT_EQ(moved.settings.GameSpeed, 7);
    EXPECT_FALSE(std::filesystem::exists(home.path + "/.local/share/Tumbleroo"));
    EXPECT_EQ(start().records.CourseRecords[1][1].BestCoins, 6);  // moved once, not re-seeded

    // $XDG_DATA_HOME wins over HOME.
    TempFolder xdg;
    ScopedEnv xdgVar("XDG_DATA_HOME", xdg.path);
    EXPECT_EQ(PlayerFilesFolder(), xdg.path + "/tumbleroo/");
    EXPECT_EQ(OldPlayerFilesFolder(), xdg.path + "/Tumbleroo/Tumbleroo/");
}

// On another file system the old files cannot be renamed: they are copied
// and removed only once the copy is safe.
TEST(Records, OldFilesOnAnotherFileSystemAreCopiedThenRemoved) {
    TempFolder from;
    TempFolder to;
    WriteFile(to.path + "/Init.ini", "mine");
    std::filesystem::create_directories(from.path + "/old");
    WriteFile(from.path + "/old/MapInfo.dat", "records");
    WriteFile(from.path + "/old/Init.ini", "theirs");
    FileOps crossDevice = PosixFileOps();
    crossDevice.rename = testing::RenameOnlyWithinAFolder;
    MoveOldPlayerFiles(from.path + "/old/", to.path + "/", crossDevice);
    EXPECT_EQ(ReadFile(to.path + "/MapInfo.dat"), "records");
    EXPECT_EQ(ReadFile(to.path + "/Init.ini"), "mine");
    EXPECT_FALSE(std::filesystem::exists(from.path + "/old/MapInfo.dat"));
    EXPECT_EQ(ReadFile(from.path + "/old/Init.ini"), "theirs");  // never overwrites
}

TEST(Records, GameFolderStaysTheHomeOfItsFilesUnlessItIsReadOnly) {
    TestDataHome dataHome;
    TempFolder base;
    const std::string shipped =
        "-1 \r\n 4 \r\n2026/01/02 03:04:05\r\n 9 \r\n" + Repeat(kEmptyGroup, 14);
    WriteFile(base.path + "/MapInfo.dat", shipped);
    Game game;
    game.run.BasePath = base.path + "/";

    ChooseDataFiles(game.records, game.run.BasePath);  // writable: everything stays in the game folder
    EXPECT_EQ(game.records.recordsPath, base.path + "/MapInfo.dat");
    EXPECT_EQ(game.records.settingsPath, base.path + "/Init.ini");
    EXPECT_EQ(game.records.userFolder, dataHome.UserFolder());

    ReadOnlyFolder readOnly(base.path);
    if (FolderIsWritable(base.path)) GTEST_SKIP() << "cannot make a folder read-only here";
    ChooseDataFiles(game.records, game.run.BasePath);
    EXPECT_EQ(game.records.recordsPath, dataHome.UserFolder() + "MapInfo.dat");
    EXPECT_EQ(ReadFile(game.records.recordsPath), shipped);  // seeded on first use
    LoadRecords(game.records);
    RecordClear(game.records, 1, 1, 6);
    EXPECT_EQ(ReadFile(base.path + "/MapInfo.dat"), shipped);
    ChooseDataFiles(game.records, game.run.BasePath);  // the player's own file is never re-seeded
    LoadRecords(game.records);
    EXPECT_EQ(game.records.CourseRecords[1][1].BestCoins, 6);
}

// Kills a child that saves in a tight loop at random moments, `kKills`
// times; `check` looks at the file after each kill. Returns how many kills
// landed inside a save (its file beside the real one was open).
template <typename Save, typename Check>
int KillDuringSaves(const std::string& path, Save save, Check check) {
    constexpr int kKills = 60;
    constexpr int kMaxDelayUs = 3000;
    std::mt19937 pick(12345);
    std::uniform_int_distribution<int> delayUs(0, kMaxDelayUs);
    int killedMidSave = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        int ready[2];
        EXPECT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        EXPECT_GE(child, 0);
        if (child == 0) {
            close(ready[0]);
            save(0);
            const char byte = 1;  // saving has begun: kill at any moment from here
            if (write(ready[1], &byte, 1) != 1) _exit(1);
            for (int n = 1;; ++n) save(n);
        }
        close(ready[1]);
        char byte = 0;
        EXPECT_EQ(read(ready[0], &byte, 1), 1);
        close(ready[0]);
        usleep(static_cast<useconds_t>(delayUs(pick)));
        ::kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        if (std::filesystem::exists(path + ".tmp")) ++killedMidSave;
        check(kill);
        if (::testing::Test::HasFatalFailure()) break;
    }
    return killedMidSave;
}

// The file must always be one complete save or the one before.
TEST(Records, KillDuringSavesLeavesOneWholeSaveOfEitherFile) {
    RecordsGame r;
    LoadRecords(r.game.records);
    ASSERT_TRUE(SaveRecords(r.game.records));
    const int recordsKills = KillDuringSaves(
        r.DatPath(),
        [&r](int n) {
            r.game.records.CourseRecords[5][3].BestCoins = n * 1000;
            r.game.records.CourseRecords[5][3].ClearedAt = std::string(AsIndex(n % 40), 'x');
            SaveRecords(r.game.records);
        },
        [&r](int kill) {
            Game check;
            check.records.recordsPath = r.DatPath();
            LoadRecords(check.records);
            ASSERT_FALSE(check.records.recordsDamaged) << "after kill " << kill;
            const std::string text = ReadFile(r.DatPath());
            ASSERT_EQ(std::count(text.begin(), text.end(), '\n'), kRecordLines)
                << "after kill " << kill;
        });
    EXPECT_GT(recordsKills, 0);
    RecordProperty("RecordsKillsInsideASave", recordsKills);

    // Settings: every save switches all three flags together and makes the
    // pause odd exactly when they are on; a mix would be a torn save.
    const std::string iniPath = r.folder.path + "/Init.ini";
    const std::string foreign = "; mine\r\n[Keys]\r\nJump=X\r\n";
    WriteFile(iniPath, foreign);
    const int settingsKills = KillDuringSaves(
        iniPath,
        [&r](int n) {
            const Flag on = ToFlag(n % 2 == 1);
            r.game.settings = {on, on, on, n % 1000};
            SaveSettings(r.game.records, r.game.settings);
        },
        [&r, &iniPath, &foreign](int kill) {
            Game check;
            check.records.settingsPath = iniPath;
            LoadSettings(check.records, check.settings, check.windowSettings);
            const Settings& s = check.settings;
            ASSERT_EQ(check.records.notice, "") << "after kill " << kill;
            ASSERT_EQ(s.AutoView, s.PlayMusic) << "after kill " << kill;
            ASSERT_EQ(s.DrawBack, s.PlayMusic) << "after kill " << kill;
            ASSERT_EQ(IsOn(s.PlayMusic), s.GameSpeed % 2 == 1) << "after kill " << kill;
            ASSERT_EQ(ReadFile(iniPath).substr(0, foreign.size()), foreign)
                << "after kill " << kill;
        });
    EXPECT_GT(settingsKills, 0);
    RecordProperty("SettingsKillsInsideASave", settingsKills);
}

}  // namespace
}  // namespace tumbleroo
