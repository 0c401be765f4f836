// Spawning the object tables, the contact windows, move-and-draw, the
// update order and the trace.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/cell.h"
#include "objects/move_contact.h"
#include "objects/objects.h"
#include "objects/objects_trace.h"
#include "render/display.h"
#include "shell/stage_flow.h"
#include "support/test_game.h"

namespace tumbleroo {
namespace {

using testing::Course;
using testing::TestGame;

// Columns 1 and 3 hold penguins (column 3 two of them), column 5 a side lift,
// column 6 a sinking block, columns 7 and 8 four orbiters, row 0 five coins.
const char* kSpawnRows =
    ".ooooo....\n"
    ".......OO.\n"
    "...b......\n"
    ".......OO.\n"
    "..........\n"
    ".....=k...\n"
    "..........\n"
    "..........\n"
    "..........\n"
    ".b........\n"
    "...b......\n"
    "..........\n";

TEST(SpawnObjects, FillsTablesInColumnOrderAndClearsLeavingKinds) {
    TestGame t;
    t.game.run.SelectedStage = 2;
    t.game.run.SelectedCourse = 3;
    t.UseMap(Course(kSpawnRows));
    t.PrepareStage();
    const ObjectState& o = t.game.objects;

    ASSERT_EQ(o.BluePenguins.size(), 3u);
    EXPECT_EQ(o.BluePenguins[0].X, 20);
    EXPECT_EQ(o.BluePenguins[0].Y, 180);
    EXPECT_EQ(o.BluePenguins[1].X, 60);
    EXPECT_EQ(o.BluePenguins[1].Y, 40);
    EXPECT_EQ(o.BluePenguins[2].X, 60);
    EXPECT_EQ(o.BluePenguins[2].Y, 200);
    for (const Actor& p : o.BluePenguins) {
        EXPECT_EQ(p.VX, 1);
        EXPECT_EQ(p.VY, 0);
        EXPECT_EQ(p.Counter, 0);
        EXPECT_EQ(p.Alive, kOn);
    }
    EXPECT_EQ(t.game.map.Cell(3, 10), 0);
    EXPECT_EQ(t.game.map.Cell(5, 5), 12);  // lifts keep their cell
    EXPECT_EQ(t.game.map.Cell(6, 5), 0);   // sinking blocks do not
    ASSERT_EQ(o.SideLifts.size(), 1u);
    EXPECT_EQ(o.SideLifts[0].X, 100);
    ASSERT_EQ(o.SinkingBlocks.size(), 1u);

    ASSERT_EQ(o.Orbiters.size(), 4u);
    const int expectedAngles[] = {0, 100, 200, 0};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(o.Orbiters[i].Counter, expectedAngles[i]);
        EXPECT_EQ(o.OrbiterHitPoints[i], 5);
        EXPECT_EQ(o.OrbiterCentreX[i], o.Orbiters[i].X);
        EXPECT_EQ(o.OrbiterCentreY[i], o.Orbiters[i].Y);
    }
    EXPECT_EQ(o.Orbiters[1].X, 140);
    EXPECT_EQ(o.Orbiters[1].Y, 60);

    EXPECT_EQ(t.game.records.CourseRecords[2][3].CoinCount, 5);
}

TEST(SpawnObjects, CoinCountIgnoresCoinsTakenInAnEarlierAttempt) {
    TestGame t;
    t.UseMap(Course(kSpawnRows));
    t.PrepareStage();
    t.game.map.Cell(1, 0) = 0;  // a coin picked up
    t.game.records.CourseRecords[1][1].CoinCount = 0;
    RestartAfterMiss(t.game);
    EXPECT_EQ(t.game.records.CourseRecords[1][1].CoinCount, 5);
}

TEST(Pictures, OrbiterSheetIsReadyAtStartUpAndCopiesShareIt) {
    TestGame t;
    const Pictures& pics = *t.game.pictures;
    ASSERT_TRUE(pics.GhostSheet.Exists());
    // Each 32 x 32 frame is enlarged to 40 x 40, the second beside the first.
    EXPECT_EQ(pics.GhostSheet.At(20, 20), pics.Opic.At(64 + 16, 16));
    EXPECT_EQ(pics.GhostSheet.At(60, 30), pics.Opic.At(96 + 16, 24));

    // The course solver copies a game for every candidate: no picture is copied.
    const Game copy = t.game;
    EXPECT_EQ(copy.pictures.get(), t.game.pictures.get());
}

TEST(ContactWindows, EdgesOfAPlainObject) {
    TestGame t;
    auto at = [&](int32_t px, int32_t py) {
        t.game.player.PlayerX = px;
        t.game.player.PlayerY = py;
        return MeasureContact(t.game, 100, 100, 20);
    };
    ContactFlags f = at(100, 60);
    EXPECT_EQ(f.Above, kOn);
    EXPECT_EQ(f.Below, kOff);
    EXPECT_EQ(f.RightSide, kOff);
    EXPECT_EQ(f.LeftSide, kOff);
    EXPECT_EQ(at(100, 64).Above, kOn);
    EXPECT_EQ(at(100, 51).Above, kOn);
    EXPECT_EQ(at(100, 65).Above, kOff);
    EXPECT_EQ(at(100, 50).Above, kOff);
    EXPECT_EQ(at(66, 60).Above, kOn);
    EXPECT_EQ(at(65, 60).Above, kOff);
    EXPECT_EQ(at(114, 60).Above, kOn);
    EXPECT_EQ(at(115, 60).Above, kOff);

    EXPECT_EQ(at(84, 100).LeftSide, kOn);
    EXPECT_EQ(at(85, 100).LeftSide, kOff);
    EXPECT_EQ(at(66, 100).LeftSide, kOn);
    EXPECT_EQ(at(65, 100).LeftSide, kOff);

    EXPECT_EQ(at(106, 100).RightSide, kOn);
    EXPECT_EQ(at(105, 100).RightSide, kOff);
    EXPECT_EQ(at(114, 100).RightSide, kOn);
    EXPECT_EQ(at(115, 100).RightSide, kOff);

    EXPECT_EQ(at(100, 101).Below, kOn);
    EXPECT_EQ(at(100, 100).Below, kOff);
    EXPECT_EQ(at(100, 124).Below, kOn);
    EXPECT_EQ(at(100, 125).Below, kOff);
}

TEST(ContactWindows, GrowWithTheObjectSize) {
    TestGame t;
    t.game.player.PlayerX = 130;  // ddx 30
    t.game.player.PlayerY = 130;  // ddy 30
    ContactFlags f = MeasureContact(t.game, 100, 100, 40);
    EXPECT_EQ(f.Below, kOn);
    EXPECT_EQ(f.RightSide, kOn);
    EXPECT_EQ(MeasureContact(t.game, 100, 100, 20).Below, kOff);
}

// The first pixel of an ObjPictures cell that is not transparent.
bool FindOpaquePixel(const Surface& pic, int16_t cell, int32_t& ox, int32_t& oy) {
    for (oy = 0; oy < 20; ++oy) {
        for (ox = 0; ox < 20; ++ox) {
            if (!pic.hasColorKey || pic.At(20 * cell + ox, oy) != pic.colorKey) return true;
        }
    }
    return false;
}

TEST(MoveDraw, ReportsTheOldPlaceAndDrawsAtTheNewOne) {
    TestGame t;
    Game& g = t.game;
    g.player.ScrollX = 0;
    g.player.ScrollY = 0;
    g.player.PlayerX = 100;
    g.player.PlayerY = 60;
    ClearSurface(g.display.BackBuffer, 0x0841);
    PlacedObject lift{100, 100};
    const ContactFlags f = MoveDrawPlaced(g, 2, 0, lift, 9);
    EXPECT_EQ(f.Above, kOn);
    EXPECT_EQ(lift.X, 102);
    int32_t ox = 0;
    int32_t oy = 0;
    ASSERT_TRUE(FindOpaquePixel(g.pictures->ObjPictures, 9, ox, oy));
    EXPECT_EQ(g.display.BackBuffer.At(102 + ox, 100 + oy), g.pictures->ObjPictures.At(180 + ox, oy));

    Actor actor;
    actor.X = 300;
    actor.Y = 300;
    ClearSurface(g.display.BackBuffer, 0x0841);
    MoveDrawActor(g, 0, -3, actor, 9, kCellPixels);
    EXPECT_EQ(actor.Y, 297);
    EXPECT_EQ(g.display.BackBuffer.At(300 + ox, 297 + oy), g.pictures->ObjPictures.At(180 + ox, oy));

    // Larger kinds only test and move; they draw themselves.
    ClearSurface(g.display.BackBuffer, 0x0841);
    MoveDrawActor(g, 0, 0, actor, 9, 2 * kCellPixels);
    EXPECT_EQ(g.display.BackBuffer.At(300 + ox, 297 + oy), 0x0841);
}

TEST(UpdateObjects, DoesNothingWithoutObjects) {
    TestGame t;
    t.UseMap(Course("......\n......\n"));
    t.PrepareStage();
    const ObjectState before = t.game.objects;
    UpdateObjects(t.game);
    EXPECT_EQ(t.game.objects.MoverState, before.MoverState);
    std::string json = "{";
    AppendObjectsTrace(t.game, json);
    EXPECT_EQ(json, "{");
}

// An enemy's terrain probe may notice the player fallen out of the map and
// restart the stage, which spawns every table again. A course changed on
// disk while it is played (the restart reloads it) comes back with longer
// tables, stored elsewhere: each update goes on with the fresh record, the
// first one included.
TEST(UpdateObjects, AnEnemyProbeThatRestartsTheStageGoesOnWithTheFreshTables) {
    struct KindCase {
        char code;
        std::vector<Actor> ObjectState::*table;
    };
    const KindCase kCases[] = {
        {'b', &ObjectState::BluePenguins}, {'r', &ObjectState::RedPenguins},
        {'s', &ObjectState::BouncingStars}, {'c', &ObjectState::StarCarriers},
        {'M', &ObjectState::Monkeys},
    };
    constexpr int32_t kFirstColumn = 4;
    constexpr int32_t kRow = 2;
    for (const KindCase& kind : kCases) {
        SCOPED_TRACE(std::string(1, kind.code));
        // Row 2 holds `count` of the kind, every other cell from column 4 on.
        const auto rows = [&](int count) {
            std::string row = "....";
            for (int n = 0; n < 18; ++n) row += n < count ? std::string{kind.code, '.'} : "..";
            row += "....";
            return "S" + std::string(43, '.') + "\n" + std::string(44, '.') + "\n" + row + "\n" +
                   std::string(44, '#') + "\n";
        };

        TestGame t;
        t.UseMap(Course(rows(18)), "T1-2");
        Game& g = t.Stage(rows(1));
        ASSERT_EQ((g.objects.*kind.table).size(), 1u);
        g.run.MapName = "T1-2";
        g.player.PlayerY = g.map.MapHeight * 20;
        UpdateObjects(g);

        EXPECT_EQ(g.run.misses, 1u);
        const std::vector<Actor>& fresh = g.objects.*kind.table;
        ASSERT_EQ(fresh.size(), 18u);
        const bool moved = fresh[0].X != kFirstColumn * 20 || fresh[0].Y != kRow * 20;
        EXPECT_TRUE(moved) << "the first fresh record was not updated";
    }
}

TEST(ObjectsTrace, NamesEveryTableAndTheSharedState) {
    TestGame t;
    t.UseMap(Course(".=.O.\n.....\n.....\n.b...\n.....\n"));
    t.PrepareStage();
    std::string json = "{\"frame\":1";
    AppendObjectsTrace(t.game, json);
    json += "}";
    EXPECT_EQ(json.rfind("{\"frame\":1,\"objects\":{\"SideLifts\":[{\"X\":20,\"Y\":0}],", 0), 0u)
        << json;
    EXPECT_NE(json.find("\"BluePenguins\":[{\"X\":20,\"Y\":60,\"VX\":1,\"VY\":0,\"Counter\":0,"
                        "\"Alive\":-1}]"),
              std::string::npos);
    EXPECT_NE(json.find("\"Orbiters\":[{\"X\":60,\"Y\":0,\"VX\":1,\"VY\":0,\"Counter\":0,"
                        "\"Alive\":-1,\"HitPoints\":5,\"CentreX\":60,\"CentreY\":0}]"),
              std::string::npos);
    EXPECT_NE(json.find("\"MoverState\":[0,0,0,0,0,0,0,0,0,0,0]"), std::string::npos);
    EXPECT_EQ(json.find("UpDownLifts"), std::string::npos);
    EXPECT_EQ(json.find("Monkeys"), std::string::npos);
    for (const char* member :
         {"SideLiftOffset", "UpDownLiftOffset", "SpikeBlockLeftOffset", "SpikeBlockRightOffset",
          "SpikeBlockUpOffset", "SpikeBlockDownOffset", "SpikeBlockLeftWarning",
          "SpikeBlockRightWarning", "SpikeBlockUpWarning", "SpikeBlockDownWarning", "SinkToggle",
          "OrbitRadius"}) {
        EXPECT_NE(json.find(std::string("\"") + member + "\":"), std::string::npos) << member;
    }
    // One objects record, closed once: the line stays one JSON object.
    EXPECT_EQ(json.find("\"objects\""), json.rfind("\"objects\"")) << json;
    EXPECT_EQ(std::count(json.begin(), json.end(), '{'), std::count(json.begin(), json.end(), '}')) << json;
    EXPECT_EQ(json.substr(json.size() - 17), "\"OrbitRadius\":0}}") << json;
}

}  // namespace
}  // namespace tumbleroo
