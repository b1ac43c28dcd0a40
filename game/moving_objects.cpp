// Movement rules of the 19 object types, carrying, contacts and defeat.
#include "game/moving_objects.h"

#include <algorithm>

#include "game/camera.h"
#include "game/image_indices.h"

namespace torv {

namespace {

constexpr int kAmmoMax = 999;
constexpr int kWalkerFallStep = 4;   // a walker without floor drops 4 pixels a frame
constexpr int kGroundProbe = 4;      // a walker feels for floor 4 pixels under its feet
constexpr int kDropPlatformSpeed = 2;
constexpr int kShotHitScore = 200;
constexpr int kCloseHitScore = 50;
constexpr int kPickupScore = 10;
constexpr int kPickupAmmo = 5;
constexpr int kPickupSize = 24;
constexpr int kLandingInset = 2;     // a platform's outer 2 pixels do not catch the player

struct Box {
  int x, y, w, h;
};

bool overlap(const Box& a, const Box& b) {
  return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

Box box_of(const MovingObject& o) { return {o.x, o.y, o.w, o.h}; }
Box box_of(const PlayerState& p) { return {p.x, p.y, kPlayerSize, kPlayerSize}; }

// Everything one object's rule needs.
struct Mover {
  const WorldGrid& grid;
  PlayerState& player;
  MovingObject& o;
  bool ridden;

  bool solid(int x, int y) const { return grid.solid_at(x, y); }
  // The rider's head is inside a block: a carrying platform turns back.
  bool rider_blocked(int right_offset) const {
    return ridden && (solid(player.x, player.y) || solid(player.x + right_offset, player.y));
  }
  void leave() {
    if (ridden) stop_riding(player);
    ridden = false;
  }
};

void move_walker(Mover& m) {
  MovingObject& o = m.o;
  if (o.x > kWorldWidth - 1 || m.solid(o.x + o.w, o.y + o.h - 1)) o.dx = -1;
  if (o.x < 1 || m.solid(o.x, o.y + o.h - 1)) o.dx = 1;
  if (o.y >= kWorldHeight) {  // fell out of the world
    o.alive = 0;
    return;
  }
  const int probe_y = o.y + o.h + kGroundProbe;
  const bool ground = m.solid(o.x, probe_y) || m.solid(o.x + o.w - 1, probe_y);
  if (!ground) {
    o.dy = kWalkerFallStep;
    o.dx = 0;
  } else if (o.dy != 0) {  // just landed: face the player
    o.dx = m.player.x < o.x ? -1 : 1;
    o.dy = 0;
  }
  if (o.ledge) {
    if (m.solid(o.x, probe_y)) {
      if (!m.solid(o.x + o.w, probe_y)) o.dx = -1;
    } else {
      o.dx = 1;
    }
  }
  o.x += o.speed * o.dx;
  o.y += o.dy;  // the fall is not scaled by the speed
}

// The bottom test shared by the vertical movers.
bool blocked_below(const Mover& m) {
  const MovingObject& o = m.o;
  return m.solid(o.x, o.y + o.h + 1) || m.solid(o.x + o.w - 1, o.y + o.h + 1);
}

void move_vertical_patrol(Mover& m) {
  MovingObject& o = m.o;
  // The spike patrol feels one pixel further right above it.
  const int right = o.type == kSpikePatrol ? o.x + o.w : o.x + o.w - 1;
  if (o.y > o.y_min) {
    if (m.solid(o.x, o.y - 1) || m.solid(right, o.y - 1)) o.dy = 1;
  } else {
    o.dy = 1;
  }
  if (o.y >= o.y_max || blocked_below(m)) o.dy = -1;
  o.y += o.speed * o.dy;
}

void move_flyer(Mover& m) {
  MovingObject& o = m.o;
  if (o.x <= o.x_min || m.solid(o.x, o.y + o.h - 1) || m.solid(o.x, o.y)) o.dx = 1;
  if (o.x >= o.x_max || m.solid(o.x + o.w, o.y) || m.solid(o.x + o.w, o.y + o.h - 1)) o.dx = -1;
  o.x += o.speed * o.dx;
}

void move_bouncer(Mover& m) {
  MovingObject& o = m.o;
  if (o.x <= o.x_min || o.x >= o.x_max || m.solid(o.x, o.y + 1) || m.solid(o.x, o.y + o.h - 1) ||
      m.solid(o.x + o.w, o.y + o.h - 1) || m.solid(o.x + o.w, o.y + 1)) {
    o.dx = -o.dx;
  }
  if (o.y <= o.y_min || o.y >= o.y_max || m.solid(o.x + 1, o.y) || m.solid(o.x + o.w - 1, o.y) ||
      m.solid(o.x + 1, o.y + o.h) || m.solid(o.x + o.w - 1, o.y + o.h)) {
    o.dy = -o.dy;
  }
  o.x += o.speed * o.dx;
  o.y += o.speed * o.dy;
}

// A ridden platform is moved after the rider has been carried (part 2).
void move_unless_ridden(Mover& m) {
  if (m.ridden) return;
  m.o.x += m.o.speed * m.o.dx;
  m.o.y += m.o.speed * m.o.dy;
}

void move_side_platform(Mover& m) {
  MovingObject& o = m.o;
  if (o.x >= o.x_max || m.solid(o.x + o.w, o.y + o.h)) o.dx = -1;
  if (o.x <= o.x_min || m.solid(o.x, o.y + o.h)) o.dx = 1;
  move_unless_ridden(m);
}

bool blocked_above(const Mover& m) {
  const MovingObject& o = m.o;
  return m.solid(o.x, o.y - 1) || m.solid(o.x + o.w - 1, o.y - 1);
}

void move_wrap_platform(Mover& m) {
  MovingObject& o = m.o;
  if (o.y < 0 && o.dy < 0) {
    o.y = kWorldHeight;
    m.leave();
  } else if (o.y > kWorldHeight && o.dy > 0) {
    o.y = 0;
    m.leave();
  }
  if (blocked_above(m) || m.rider_blocked(kPlayerSize - 1)) o.dy = 1;
  if (blocked_below(m)) o.dy = -1;
  move_unless_ridden(m);
}

void move_lift_platform(Mover& m) {
  MovingObject& o = m.o;
  if (o.y <= o.y_min || blocked_above(m) || m.rider_blocked(kPlayerSize - 1)) o.dy = 1;
  if (o.y >= o.y_max) {
    o.dy = -1;
  } else if (blocked_below(m)) {
    o.dy = -1;
  }
  move_unless_ridden(m);
}

void move_drop_platform(Mover& m) {
  MovingObject& o = m.o;
  move_unless_ridden(m);
  if (o.y >= kWorldHeight) {
    o.alive = 0;
    o.dy = 0;
    m.leave();
  }
}

void move_diagonal_platform(Mover& m) {
  MovingObject& o = m.o;
  const bool at_left = o.x <= o.x_min || m.solid(o.x, o.y + o.h / 2);
  const bool at_right = o.x >= o.x_max || m.solid(o.x + o.w - 1, o.y + o.h / 2);
  if (o.type == kPlatformDiagDown) {
    // Down-right until the right end or the floor, then up-left.
    if (at_left || blocked_above(m) || m.rider_blocked(kPlayerSize)) {
      o.dx = 1;
      o.dy = 1;
    }
    if (at_right || blocked_below(m)) {
      o.dx = -1;
      o.dy = -1;
    }
  } else {
    // Up-right until the right end or the ceiling, then down-left.
    if (at_left || blocked_below(m) || m.rider_blocked(kPlayerSize)) {
      o.dx = 1;
      o.dy = -1;
    }
    if (at_right || blocked_above(m)) {
      o.dx = -1;
      o.dy = 1;
    }
  }
  move_unless_ridden(m);
}

void move_object(Mover& m) {
  switch (m.o.type) {
    case kSlime:
    case kRedSlime:
    case kSpikeWalker:
    case kSpikeLedgeWalker: move_walker(m); break;
    case kYellowSlime:
    case kSpikePatrol:
    case kSpikeLift: move_vertical_patrol(m); break;
    case kSpikeFlyer: move_flyer(m); break;
    case kSpikeBouncer: move_bouncer(m); break;
    case kPlatformSide:
    case kPlatformSwing: move_side_platform(m); break;
    case kPlatformUpWrap:
    case kPlatformDownWrap: move_wrap_platform(m); break;
    case kPlatformLift: move_lift_platform(m); break;
    case kPlatformDrop: move_drop_platform(m); break;
    case kPlatformDiagDown:
    case kPlatformDiagUp: move_diagonal_platform(m); break;
    default: break;  // pickups stay where they are
  }
}

bool turns_to_player_on_waking(int32_t type) {
  return type == kSlime || type == kRedSlime || type == kSpikeFlyer || type == kSpikeWalker ||
         type == kSpikeLedgeWalker;
}

void carry_rider(GameState& state) {
  PlayerState& p = state.player;
  MovingObject* platform = ridden_object(state);
  if (!platform) return;
  MovingObject& o = *platform;
  const WorldGrid& grid = state.grid;
  if (is_platform(o.type)) {
    const bool still_on = o.x < p.x + kPlayerSize && p.x < o.x + o.w && p.y + kPlayerSize >= o.y &&
                          o.y + o.h >= p.y + kPlayerSize;
    if (!still_on) {
      stop_riding(p);
    } else {
      p.jump_frames = -1;
      if (o.dx < 0 && !grid.solid_at(p.x - o.speed, p.y) && !grid.solid_at(p.x - o.speed, p.y + 15)) {
        p.x += o.speed * o.dx;
      }
      if (o.dx > 0 && !grid.solid_at(p.x + o.speed + kPlayerSize, p.y) &&
          !grid.solid_at(p.x + o.speed + kPlayerSize, p.y + 15)) {
        p.x += o.speed * o.dx;
      }
      if (!grid.solid_at(p.x, o.y + kPlayerSize) && !grid.solid_at(p.x + 15, o.y + kPlayerSize)) {
        p.y = o.y + o.speed * o.dy - kPlayerSize;
      }
    }
  }
  // It stayed put in the movement pass; it moves now, with or without its rider.
  o.x += o.speed * o.dx;
  o.y += o.speed * o.dy;
}

void land_on_platform(GameState& state, int index) {
  PlayerState& p = state.player;
  MovingObject& o = state.objects[static_cast<size_t>(index)];
  if (p.riding) return;
  if (!(o.x + kLandingInset < p.x + kPlayerSize && p.x < o.x + o.w - kLandingInset &&
        p.y + kPlayerSize >= o.y && o.y + o.h >= p.y + kPlayerSize)) {
    return;
  }
  if (o.type == kPlatformDrop) {
    o.dy = 1;
    o.speed = kDropPlatformSpeed;
  }
  if (!state.grid.solid_at(p.x, o.y + kPlayerSize) && !state.grid.solid_at(p.x + 15, o.y + kPlayerSize)) {
    p.y = o.y - kPlayerSize;
  }
  p.riding = 1;
  p.ridden = index;
}

void collect_pickup(GameState& state, MovingObject& o, SimServices& services) {
  if (!overlap(box_of(o), box_of(state.player))) return;
  o.alive = 0;
  int32_t& ammo = o.type == kPickupFire ? state.progress.fire_ammo : state.progress.ice_ammo;
  ammo = std::min(ammo + kPickupAmmo, kAmmoMax);
  state.progress.score += kPickupScore;
  services.play_sound(kEffectItem);
}

void end_shot(PlayerState& p) {
  p.attack_kind = kNoShot;
  p.attack_state = kAttackNone;
  p.pose_timer = 0;
}

void touch_enemy(GameState& state, int index, SimServices& services) {
  PlayerState& p = state.player;
  MovingObject& o = state.objects[static_cast<size_t>(index)];
  if (p.attack_kind >= 0) {
    // The hit box takes the size of image 77 + kind / 2, not of the shot's own image.
    const int slot = kImageShots + p.attack_kind / 2;
    const Box shot = {p.shot_x, p.shot_y, services.image_width(slot), services.image_height(slot)};
    if (overlap(shot, box_of(o))) {
      o.hp -= 1;
      state.progress.score += kShotHitScore;
      end_shot(p);
      if (o.hp <= 0) kill_object(state, index);
      services.play_sound(kEffectDamage);
    }
  } else if (p.attack_state == kAttackClose && is_slime(o.type) && overlap(box_of(o), box_of(p))) {
    o.hp -= 1;
    state.progress.score += kCloseHitScore;
    if (o.hp <= 0) kill_object(state, index);
    services.play_sound(kEffectDamage);
  }
  // An enemy just defeated (gone, or now a pickup) no longer hurts.
  if (!o.alive || !is_enemy(o.type)) return;
  if (p.protection_timer == 0 && overlap(box_of(o), box_of(p))) p.status = kStatusLifeLost;
}

}  // namespace

bool object_on_screen(const MovingObject& o, const PlayerState& p, int status_bar_height) {
  return p.camera_x - o.w < o.x && o.x < p.camera_x + kScreenWidth && p.camera_y - o.h < o.y &&
         o.y < p.camera_y + kScreenHeight - status_bar_height;
}

MovingObject* ridden_object(GameState& state) {
  const PlayerState& p = state.player;
  if (!p.riding || p.ridden < 0 || static_cast<size_t>(p.ridden) >= state.objects.size()) return nullptr;
  return &state.objects[static_cast<size_t>(p.ridden)];
}

void kill_object(GameState& state, int index) {
  MovingObject& o = state.objects[static_cast<size_t>(index)];
  const int r = state.random.next() % 10;
  if (r == 0 || r == 1) {
    o.type = r == 0 ? kPickupFire : kPickupIce;
    o.hp = 1;
    o.y += o.h - kPickupSize;  // keeps the bottom edge where it was
    o.w = kPickupSize;
    o.h = kPickupSize;
    o.alive = 1;
  } else {
    o.dx = 0;
    o.dy = 0;
    o.alive = 0;
  }
}

void update_objects(GameState& state, SimServices& services) {
  const int bar_height = services.image_height(kImageStatusBar);
  PlayerState& p = state.player;
  const int count = static_cast<int>(state.objects.size());

  for (int i = 0; i < count; ++i) {
    MovingObject& o = state.objects[static_cast<size_t>(i)];
    if (!o.alive) continue;
    if (!o.awake) {
      if (object_on_screen(o, p, bar_height)) {
        o.awake = 1;
        if (turns_to_player_on_waking(o.type)) o.dx = p.x < o.x ? -1 : 1;
      }
      continue;
    }
    Mover mover{state.grid, p, o, p.riding != 0 && p.ridden == i};
    move_object(mover);
  }

  carry_rider(state);

  for (int i = 0; i < count; ++i) {
    MovingObject& o = state.objects[static_cast<size_t>(i)];
    if (!o.alive) continue;
    if (is_platform(o.type)) {
      land_on_platform(state, i);
    } else if (is_pickup(o.type)) {
      collect_pickup(state, o, services);
    } else {
      touch_enemy(state, i, services);
    }
  }
}

}  // namespace torv
