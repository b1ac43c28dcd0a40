// update_player and the cell contacts.
#include "game/player.h"

#include <algorithm>

#include "game/moving_objects.h"

namespace torv {

namespace {

constexpr int kWalkStep = 2;          // pixels a frame; dashing doubles it
constexpr int kDashFactor = 2;
constexpr int kDashAlign = 4;         // a dash begins only on a 4-pixel boundary
constexpr int kAnimFrames = 8;
constexpr int kAnimPeriod = 4;        // frames per walking image, divided by the factor
constexpr int kRight = kPlayerSize - 1;   // offset of the box's right column
constexpr int kBelow = kPlayerSize;       // offset of the row just under the box
constexpr int kFootRow = kPlayerSize + 1; // offset of the row the player stands on

// The rise/fall counter F: landing sets kSettled; a stomp or a jump start sets 0;
// the end of a fast rise sets kTopOfJump, from which the slow top counts down.
constexpr int kSettled = 12;
constexpr int kTopOfJump = 24;
constexpr int kJumpFrames = 30;
constexpr int kStompJumpFrames = 60;

constexpr int kBreakScore = 10;
constexpr int kHiddenScore = 50;
constexpr int kHiddenLifeScore = 100;
constexpr int kStompScore = 100;      // times the place in the combo
constexpr int kLivesMax = 99;
constexpr int kAmmoMax = 999;
constexpr int kHolyWaterPerLife = 100;

bool is_floor_on_fire(const WorldGrid& grid, int x, int y) {
  const int foot = y + kFootRow;
  const int left = grid.tile_at(x, foot);
  const int right = grid.tile_at(x + kRight, foot);
  // One foot on fire burns only when the other foot has nothing solid to stand on.
  return (left == kTileFire && right == kTileFire) ||
         (left == kTileFire && right != kTileFire && !grid.solid_at(x + kRight, foot)) ||
         (right == kTileFire && left != kTileFire && !grid.solid_at(x, foot));
}

// One horizontal step of 2 * factor pixels, or of 2 when the longer one is blocked
// (a dash then drops to walking). The box's leading column must be free at the
// player's top row and just under the box.
void step_sideways(PlayerState& p, const WorldGrid& grid, int direction, int frame_counter) {
  const int front = direction < 0 ? 0 : kRight;
  auto allowed = [&](int nx) {
    const bool inside = direction < 0 ? nx >= 1 : nx <= kWorldWidth - 1;
    return inside && !grid.solid_at(nx + front, p.y + kBelow) && !grid.solid_at(nx + front, p.y);
  };
  const int n = p.x + direction * kWalkStep * p.speed_factor;
  if (allowed(n)) {
    p.x = n;
    if (frame_counter % (kAnimPeriod / p.speed_factor) == 0) p.anim_frame += direction;
  } else if (allowed(p.x + direction * kWalkStep)) {
    p.speed_factor = 1;
    p.x += direction * kWalkStep;
    if (frame_counter % kAnimPeriod == 0) p.anim_frame += direction;
  }
}

void walk(GameState& state, const FrameInput& input, int frame_counter) {
  PlayerState& p = state.player;
  if (input.left) step_sideways(p, state.grid, -1, frame_counter);
  if (input.right) step_sideways(p, state.grid, 1, frame_counter);
  if (p.x < 0) p.x = 0;
  if (p.x + kPlayerSize > kWorldWidth) p.x = kWorldWidth - kPlayerSize;
  if (p.anim_frame < 0) p.anim_frame = kAnimFrames - 1;
  if (p.anim_frame > kAnimFrames - 1) p.anim_frame = 0;
}

int fall_step(PlayerState& p) {
  int& f = p.rise_fall;
  int c = 4;
  if (f >= 5 && f <= 12) {
    f -= 1;
    c = 1;
  } else if (f >= 1 && f <= 4) {
    f -= 1;
    c = 2;
  }
  // Off the 4-pixel grid the step shrinks so that the player comes back onto it.
  if (p.y % 4 != 0) {
    if (c == 4) {
      c = p.y % 2 == 0 ? 2 : 1;
    } else if (c == 2) {
      c = 1;
    }
  }
  return c;
}

int rise_step(PlayerState& p) {
  int& f = p.rise_fall;
  if (f >= 21 && f <= 24) {
    f -= 1;
    return 1;
  }
  if (f >= 13 && f <= 20) {
    f -= 1;
    return 2;
  }
  return 4;
}

void stomp(GameState& state, int d, SimServices& services) {
  PlayerState& p = state.player;
  const int count = static_cast<int>(state.objects.size());
  for (int i = 0; i < count; ++i) {
    MovingObject& o = state.objects[static_cast<size_t>(i)];
    if (!o.alive || !is_slime(o.type)) continue;
    if (!(o.x < p.x + kRight && p.x < o.x + o.w - 1 && o.y >= p.y + kBelow && p.y + d + kBelow >= o.y)) continue;
    o.hp -= 1;
    if (o.hp == 0) kill_object(state, i);
    state.progress.score += (p.stomp_combo + 1) * kStompScore;
    p.stomp_combo += 1;
    p.jump_frames = 0;
    p.rise_fall = 0;
    p.jump_latch = 0;
    p.y -= d;
    services.play_sound(kEffectEnemyDead);
  }
}

void fall(GameState& state, int c, SimServices& services) {
  PlayerState& p = state.player;
  const WorldGrid& grid = state.grid;
  const MovingObject* platform = ridden_object(state);
  int d = c;
  if (platform && platform->dy > 0 && p.jump_frames <= 0 && !grid.solid_at(p.x, p.y + d + kBelow) &&
      !grid.solid_at(p.x + kRight, p.y + d + kBelow)) {
    d = platform->speed * platform->dy;
  }
  const bool held_up = (platform && platform->dy <= 0) || p.jump_frames > 0 ||
                       grid.solid_at(p.x, p.y + d + kBelow) || grid.solid_at(p.x + kRight, p.y + d + kBelow);
  if (held_up) {
    if (p.jump_frames <= 0) {
      p.jump_frames = 0;
      p.stomp_combo = 0;
      p.rise_fall = kSettled;
    }
    return;
  }
  if (platform && !grid.solid_at(p.x, platform->y + kBelow) && !grid.solid_at(p.x + kRight, platform->y + kBelow)) {
    p.y = platform->y - (kPlayerSize - 1);
    d = platform->speed;
  }
  stomp(state, d, services);
  p.y += d;
}

void start_jump(GameState& state, const FrameInput& input, SimServices& services) {
  PlayerState& p = state.player;
  const MovingObject* platform = ridden_object(state);
  if (!input.jump || p.jump_latch != 0 || p.pose_timer != 0) return;
  if (!(p.jump_frames == 0 || (platform && is_platform(platform->type) && platform->dy > 0))) return;
  p.rise_fall = 0;
  p.jump_latch = 1;
  p.jump_frames = p.stomp_combo != 0 ? kStompJumpFrames : kJumpFrames;
  services.play_sound(kEffectJump);
  stop_riding(p);
}

// The head runs into a block: breakable blocks break, item blocks open.
void head_hit(GameState& state, SimServices& services) {
  PlayerState& p = state.player;
  WorldGrid& grid = state.grid;
  for (int x : {p.x, p.x + kRight}) {
    if (grid.tile_at(x, p.y) == kTileBreakable) {
      grid.set_tile_at(x, p.y, kTileEmpty);
      grid.set_solid_at(x, p.y, false);
      state.progress.score += kBreakScore;
      services.play_sound(kEffectBreak);
    }
  }
  for (int x : {p.x, p.x + kRight}) open_item_block(grid, x / kCellSize, (p.y - 1) / kCellSize);
  p.rise_fall = kSettled;
  p.jump_frames = -1;
}

// Hidden blocks in the cells the head has just entered become plain blocks.
bool reveal_hidden_blocks(GameState& state, int probe_y) {
  PlayerState& p = state.player;
  WorldGrid& grid = state.grid;
  bool found = false;
  for (int x : {p.x, p.x + kRight}) {
    const int column = x / kCellSize;
    const int row = probe_y / kCellSize;
    const int code = grid.tile(column, row);
    if (code != kTileHidden && code != kTileHiddenLife) continue;
    grid.set_solid(column, row, true);
    grid.set_tile(column, row, kTilePlain);
    if (code == kTileHidden) {
      state.progress.score += kHiddenScore;
    } else {
      grid.set_tile(column, row - 1, kTileExtraLife);
      state.progress.score += kHiddenLifeScore;
    }
    found = true;
  }
  return found;
}

void rise(GameState& state, const FrameInput& input, int g, SimServices& services) {
  PlayerState& p = state.player;
  const WorldGrid& grid = state.grid;
  if (p.jump_frames <= 0 && p.rise_fall <= kSettled) {
    if (p.rise_fall == 0 && p.jump_frames == 0) {  // after a stomp without a jump: the slow top
      p.rise_fall = kTopOfJump;
      p.jump_frames = -1;
    }
    return;
  }
  if (!(input.jump || p.rise_fall != 0)) {  // jump released during the fast rise
    p.rise_fall = kTopOfJump;
    p.jump_frames = -1;
    return;
  }
  if (grid.solid_at(p.x, p.y) || grid.solid_at(p.x + kRight, p.y) || p.y < 0) {
    head_hit(state, services);
    return;
  }
  p.y = std::max(p.y - g, 0);
  p.jump_frames -= 1;
  if (reveal_hidden_blocks(state, p.y + g - kCellSize)) {
    p.rise_fall = kSettled;
    p.jump_frames = -1;
  }
}

}  // namespace

void open_item_block(WorldGrid& grid, int column, int row) {
  static constexpr uint8_t kItems[] = {kTileFireAmmo5, kTileFireAmmo15, kTileIceAmmo5,
                                       kTileIceAmmo15, kTileHolyWater,  kTileExtraLife};
  const int code = grid.tile(column, row);
  if (code < kTileItemFirst || code > kTileItemLast) return;
  grid.set_tile(column, row, kTilePlain);
  if (row > 0) grid.set_tile(column, row - 1, kItems[code - kTileItemFirst]);
}

void touch_cell(GameState& state, int column, int row, SimServices& services) {
  GameProgress& g = state.progress;
  PlayerState& p = state.player;
  WorldGrid& grid = state.grid;
  auto collect = [&](int32_t& counter, int amount, int score) {
    counter = std::min(counter + amount, kAmmoMax);
    g.score += score;
    services.play_sound(kEffectItem);
    grid.set_tile(column, row, kTileEmpty);
  };
  switch (grid.tile(column, row)) {
    case kTileFire:
    case kTileSpikes:
      if (p.protection_timer == 0) {
        p.status = kStatusLifeLost;
        services.play_sound(kEffectDamage);
      }
      break;
    case kTileHolyWater:
      g.holy_water += 1;
      services.play_sound(kEffectItem);
      g.score += 10;
      grid.set_tile(column, row, kTileEmpty);
      if (g.holy_water >= kHolyWaterPerLife) {
        g.lives = std::min(g.lives + 1, kLivesMax);
        g.holy_water = 0;
      }
      break;
    case kTileExtraLife:
      g.lives = std::min(g.lives + 1, kLivesMax);
      services.play_sound(kEffectLifeUp);
      grid.set_tile(column, row, kTileEmpty);
      break;
    case kTileFireAmmo5: collect(g.fire_ammo, 5, 10); break;
    case kTileFireAmmo15: collect(g.fire_ammo, 15, 50); break;
    case kTileIceAmmo5: collect(g.ice_ammo, 5, 10); break;
    case kTileIceAmmo15: collect(g.ice_ammo, 15, 50); break;
    case kTileGoal: p.status = kStatusGoal; break;
    default: break;
  }
}

void update_player(GameState& state, const FrameInput& input, int frame_counter, SimServices& services) {
  PlayerState& p = state.player;

  if (input.dash && p.x % kDashAlign == 0) {
    p.speed_factor = kDashFactor;
  } else if (!input.dash) {
    p.speed_factor = 1;
  }
  // Only a stage start leaves the factor 0 (and every start x is on the boundary);
  // walking is the safe meaning, and nothing ever divides by 0.
  if (p.speed_factor < 1) p.speed_factor = 1;

  int a = 0;  // the contact cells lean one pixel the way the player steers
  if (input.left) {
    p.facing_left = 1;
    a = -1;
  }
  if (input.right) {
    p.facing_left = 0;
    a = 1;
  }

  if (p.attack_state == kAttackNone) walk(state, input, frame_counter);

  fall(state, fall_step(p), services);
  const int g = rise_step(p);
  start_jump(state, input, services);
  rise(state, input, g, services);

  if (!input.jump && (p.jump_frames == 0 || p.riding)) p.jump_latch = 0;

  for (int dy : {0, kBelow}) {
    for (int dx : {0, kRight}) touch_cell(state, (p.x + a + dx) / kCellSize, (p.y + dy) / kCellSize, services);
  }

  if (is_floor_on_fire(state.grid, p.x, p.y)) {
    services.play_sound(kEffectDamage);
    if (p.protection_timer == 0) p.status = kStatusLifeLost;
  }

  if (p.y > kWorldHeight) p.status = kStatusLifeLost;
}

}  // namespace torv
