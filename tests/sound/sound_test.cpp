// Sound effects on the headless platform's silent device: loading from the
// game folder, channels taken in turn, restarts, and the quiet failures.
#include "sound/sound.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/headless_platform.h"
#include "support/test_game.h"

namespace tumbleroo {
namespace {

namespace fs = std::filesystem;

constexpr const char* kNoSoundMessage = "DirectSoundは利用できません。";

// Coins own channels 2 to 5 (buffers 0 to 3).
constexpr int kFirstCoinChannel = 2;

// A game folder holding a copy of the shipped effects in Se/.
struct SoundFolder {
    std::string dir;
    SoundFolder() {
        char pattern[] = "/tmp/tumbleroo-sound-XXXXXX";
        dir = mkdtemp(pattern);
        fs::copy(fs::path(TUMBLEROO_SOURCE_DIR) / "data" / "Se", fs::path(dir) / "Se");
    }
    ~SoundFolder() {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
};

struct SoundGame {
    HeadlessPlatform platform;
    Game game;
    explicit SoundGame(const std::string& dir) {
        game.platform = &platform;
        game.run.BasePath = dir + "/";
        game.settings.PlayMusic = kOn;
    }
    const SoundEffect& Effect(SoundId id) const { return game.sound.effects[static_cast<size_t>(id)]; }
};

std::vector<int> Channels(const std::vector<PlayedSound>& played) {
    std::vector<int> channels;
    for (const PlayedSound& p : played) channels.push_back(p.channel);
    return channels;
}

std::vector<bool> Restarts(const std::vector<PlayedSound>& played) {
    std::vector<bool> restarts;
    for (const PlayedSound& p : played) restarts.push_back(p.restarted);
    return restarts;
}

TEST(Sound, LoadsEverythingFromTheGameFolderWithoutMovingTheProcess) {
    SoundFolder folder;
    SoundGame s(folder.dir);
    const fs::path before = fs::current_path();
    LoadSoundEffects(s.game);
    EXPECT_EQ(fs::current_path(), before);

    const std::string se = folder.dir + "/Se/";
    EXPECT_EQ(s.platform.loadedSounds,
              (std::vector<std::string>{se + "Select.wav", se + "Decide.wav", se + "Coin.wav",
                                        se + "Jump.wav", se + "Gya.wav", se + "GameOver.wav"}));
    EXPECT_TRUE(s.platform.messages.empty());

    // Every effect has its own channels: playing all buffers of all effects
    // touches each channel exactly once.
    const std::vector<int16_t> counts = {1, 1, 4, 2, 3, 1};
    std::multiset<int> used;
    for (int id = 0; id < kSoundCount; ++id) {
        const SoundEffect& effect = s.Effect(static_cast<SoundId>(id));
        EXPECT_EQ(effect.Count, counts[static_cast<size_t>(id)]) << id;
        EXPECT_EQ(effect.Current, 0) << id;
        for (int i = 0; i < effect.Count; ++i) PlaySound(s.game, static_cast<SoundId>(id));
    }
    for (const PlayedSound& p : s.platform.played) used.insert(p.channel);
    EXPECT_EQ(used.size(), 12u);
    EXPECT_EQ(std::set<int>(used.begin(), used.end()).size(), 12u);
}

TEST(Sound, BuffersTakeTurnsAndASoundingBufferStartsOver) {
    SoundFolder folder;
    SoundGame s(folder.dir);
    LoadSoundEffects(s.game);

    for (int i = 0; i < 5; ++i) PlaySound(s.game, SoundId::Coin);
    const int c = kFirstCoinChannel;
    EXPECT_EQ(Channels(s.platform.played), (std::vector<int>{c + 1, c + 2, c + 3, c + 0, c + 1}));
    EXPECT_EQ(Restarts(s.platform.played), (std::vector<bool>{false, false, false, false, true}));
    EXPECT_EQ(s.Effect(SoundId::Coin).Current, 1);

    // A single buffer: replayed while sounding it restarts, once quiet it
    // simply plays again.
    s.platform.played.clear();
    PlaySound(s.game, SoundId::Select);
    PlaySound(s.game, SoundId::Select);
    s.platform.SleepMs(1000);
    PlaySound(s.game, SoundId::Select);
    EXPECT_EQ(Channels(s.platform.played), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(Restarts(s.platform.played), (std::vector<bool>{false, true, false}));

    // A reload replaces the sounds and starts the turns over.
    LoadSoundEffects(s.game);
    EXPECT_EQ(s.platform.loadedSounds.size(), 12u);
    EXPECT_EQ(s.Effect(SoundId::Coin).Current, 0);
    s.platform.played.clear();
    PlaySound(s.game, SoundId::Coin);
    ASSERT_EQ(s.platform.played.size(), 1u);
    EXPECT_EQ(s.platform.played[0].channel, c + 1);
    EXPECT_EQ(s.platform.played[0].sound, s.Effect(SoundId::Coin).sound);
}

TEST(Sound, SoundOffPlaysNothingAndKeepsTheTurn) {
    SoundFolder folder;
    SoundGame s(folder.dir);
    LoadSoundEffects(s.game);
    PlaySound(s.game, SoundId::Jump);
    s.game.settings.PlayMusic = kOff;
    for (int id = 0; id < kSoundCount; ++id) PlaySound(s.game, static_cast<SoundId>(id));
    EXPECT_EQ(s.platform.played.size(), 1u);
    EXPECT_EQ(s.Effect(SoundId::Jump).Current, 1);
    EXPECT_EQ(s.Effect(SoundId::Coin).Current, 0);

    // Turned back on, the turn continues where it was.
    s.game.settings.PlayMusic = kOn;
    PlaySound(s.game, SoundId::Jump);
    EXPECT_EQ(s.Effect(SoundId::Jump).Current, 0);
}

TEST(Sound, MissingFilesSilenceOnlyTheirOwnEffects) {
    SoundFolder folder;
    fs::remove(fs::path(folder.dir) / "Se" / "Jump.wav");
    SoundGame s(folder.dir);
    LoadSoundEffects(s.game);
    EXPECT_EQ(s.Effect(SoundId::Jump).Count, 0);
    PlaySound(s.game, SoundId::Jump);
    EXPECT_TRUE(s.platform.played.empty());
    PlaySound(s.game, SoundId::Gya);
    EXPECT_EQ(s.platform.played.size(), 1u);
    EXPECT_TRUE(s.platform.messages.empty());

    // No Se folder at all: every effect is silent and the game goes on.
    fs::remove_all(fs::path(folder.dir) / "Se");
    LoadSoundEffects(s.game);
    s.platform.played.clear();
    for (int id = 0; id < kSoundCount; ++id) {
        EXPECT_EQ(s.Effect(static_cast<SoundId>(id)).Count, 0) << id;
        PlaySound(s.game, static_cast<SoundId>(id));
    }
    EXPECT_TRUE(s.platform.played.empty());
    EXPECT_TRUE(s.platform.messages.empty());
}

TEST(Sound, NoDeviceWarnsAtEveryLoadAndStaysSilent) {
    SoundFolder folder;
    SoundGame s(folder.dir);
    s.platform.audioAvailable = false;
    LoadSoundEffects(s.game);
    LoadSoundEffects(s.game);
    EXPECT_EQ(s.platform.messages, (std::vector<std::string>{kNoSoundMessage, kNoSoundMessage}));
    EXPECT_TRUE(s.platform.loadedSounds.empty());
    for (int id = 0; id < kSoundCount; ++id) PlaySound(s.game, static_cast<SoundId>(id));
    EXPECT_TRUE(s.platform.played.empty());
    ReleaseSound(s.game);
}

TEST(Sound, ReleaseLeavesNothingToPlay) {
    SoundFolder folder;
    SoundGame s(folder.dir);
    LoadSoundEffects(s.game);
    ReleaseSound(s.game);
    EXPECT_FALSE(s.game.sound.deviceOpen);
    PlaySound(s.game, SoundId::Coin);
    EXPECT_TRUE(s.platform.played.empty());
}

// The road through the game: a run of coins picked up on the move rings the
// coin channels in turn, the fifth cutting off the oldest ding.
TEST(Sound, CoinRunDuringPlayRingsTheCoinChannelsInTurn) {
    testing::TestGame t;
    fs::copy(fs::path(TUMBLEROO_SOURCE_DIR) / "data" / "Se", fs::path(t.dir) / "Se");
    t.game.settings.PlayMusic = kOn;
    LoadSoundEffects(t.game);
    t.UseMap(testing::Course(
        "............\n"
        "..S.........\n"
        "...ooooo....\n"
        "############\n"));
    t.Keys(testing::During(1, 30, "RIGHT"));
    t.PlayStage(testing::kOpeningFlips + 32);
    ASSERT_EQ(t.game.player.CoinsCollected, 5);
    const int c = kFirstCoinChannel;
    EXPECT_EQ(Channels(t.platform.played), (std::vector<int>{c + 1, c + 2, c + 3, c + 0, c + 1}));
    EXPECT_EQ(Restarts(t.platform.played), (std::vector<bool>{false, false, false, false, true}));
}

}  // namespace
}  // namespace tumbleroo
