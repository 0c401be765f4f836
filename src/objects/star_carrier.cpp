// Star carriers: harmless walking platforms that turn at walls and carry a
// player who stands on them one pixel per frame. The carrier ridden last
// keeps priority when the feet are over two of them.
#include "core/terrain.h"
#include "objects/object_support.h"
#include "objects/objects.h"
#include "player/movement.h"
#include "objects/move_contact.h"

namespace tumbleroo {

namespace {

constexpr int16_t kCarrierCell = 33;
constexpr int32_t kProbeX = 10;
constexpr int32_t kProbeY = 5;

// Turns at a wall on either side; the left wall wins when both are there.
// False when a probe restarted the stage and the carrier is gone.
bool TurnAtWalls(Game& game, size_t i) {
    std::vector<Actor>& carriers = game.objects.StarCarriers;
    const bool wallRight = !IsEmpty(CellAt(game, carriers[i].X + kProbeX, carriers[i].Y + kProbeY));
    if (!Holds(carriers, i)) return false;
    if (wallRight) carriers[i].VX = -1;
    const bool wallLeft = !IsEmpty(CellAt(game, carriers[i].X - kProbeX, carriers[i].Y + kProbeY));
    if (!Holds(carriers, i)) return false;
    if (wallLeft) carriers[i].VX = 1;
    return true;
}

}  // namespace

void UpdateStarCarriers(Game& game) {
    ObjectState& o = game.objects;
    PlayerState& p = game.player;
    const int64_t count = static_cast<int64_t>(o.StarCarriers.size());

    if (o.StarCarrierRidden < 0 || o.StarCarrierRidden > count - 1) o.StarCarrierRidden = 0;
    bool riding = false;
    int16_t ridingDirection = 0;

    // The remembered carrier is asked first, drawn where it stands.
    if (const size_t ridden = static_cast<size_t>(o.StarCarrierRidden); TurnAtWalls(game, ridden)) {
        Actor& carrier = o.StarCarriers[ridden];
        const ContactFlags flags = MoveDrawActor(game, 0, 0, carrier, kCarrierCell, kCellPixels);
        if (IsOn(flags.Above)) {
            ridingDirection = carrier.VX;
            riding = true;
        }
    }

    for (size_t i = 0; i < o.StarCarriers.size(); ++i) {
        if (!TurnAtWalls(game, i)) break;
        Actor& carrier = o.StarCarriers[i];
        const ContactFlags flags =
            MoveDrawActor(game, carrier.VX, carrier.VY, carrier, kCarrierCell, kCellPixels);
        if (IsOn(flags.Below)) p.VerticalSpeed = 0.0;
        if (IsOn(flags.Above) && !riding) {
            ridingDirection = carrier.VX;
            riding = true;
            o.StarCarrierRidden = static_cast<int32_t>(i);
        }
        // The player beside a carrier cannot step away from it.
        if (IsOn(flags.RightSide)) {
            p.CanMoveRight = kOff;
            p.PushRight = kOn;
        }
        if (IsOn(flags.LeftSide)) {
            p.CanMoveLeft = kOff;
            p.PushLeft = kOn;
        }
    }

    // Carriers share the side lifts' riding flag and decide it for the frame.
    if (!riding) {
        p.RidingSideLift = kOff;
        return;
    }
    p.RidingSideLift = kOn;
    if (ridingDirection == -1) {
        MoveLeft(game, 1);
    } else {
        MoveRight(game, 1);
    }
}

}  // namespace tumbleroo
