// The attack mode switch, the shots and the close-range attack.
#include "game/attacks.h"

#include "game/camera.h"
#include "game/image_indices.h"

namespace torv {

namespace {

struct Corner {
  int x, y;
};

void end_attack(PlayerState& p) {
  p.attack_state = kAttackNone;
  p.pose_timer = 0;
  p.attack_kind = kNoShot;
}

void start_attack(GameState& state, const FrameInput& input, SimServices& services) {
  PlayerState& p = state.player;
  GameProgress& g = state.progress;
  p.jump_frames = -1;  // an attack ends any fast rise
  int32_t* ammo = p.attack_mode == kModeFire ? &g.fire_ammo : p.attack_mode == kModeIce ? &g.ice_ammo : nullptr;
  if (!ammo || *ammo <= 0) {
    // Close range, also the fallback when the chosen shots have run out.
    p.attack_state = kAttackClose;
    p.pose_timer = kCloseRangeFrames;
    p.protection_timer = kCloseRangeFrames;
    return;
  }
  *ammo -= 1;
  p.attack_state = kAttackShotPose;
  // Start positions are measured with the fire images, for ice shots as well.
  const int sizer = input.up || input.down ? kImageFireUp : kImageFireRight;
  const int w = services.image_width(sizer);
  const int h = services.image_height(sizer);
  const int centred_x = p.x - w / 2 + kPlayerSize / 2;
  const int centred_y = p.y - h / 2 + kPlayerSize / 2;
  int direction = kShotRight;
  if (input.up) {
    direction = kShotUp;
    p.shot_x = centred_x;
    p.shot_y = p.y - h;
  } else if (input.down) {
    direction = kShotDown;
    p.shot_x = centred_x;
    p.shot_y = p.y + kPlayerSize;
  } else if (p.facing_left) {
    direction = kShotLeft;
    p.shot_x = p.x - w;
    p.shot_y = centred_y;
  } else {
    p.shot_x = p.x - 16;  // a right shot starts over the player and flies out
    p.shot_y = centred_y;
  }
  p.attack_kind = p.attack_mode * 4 + direction;
  p.pose_timer = kPoseFramesAfterShot;
  services.play_sound(kEffectFire);
}

void fly_shot(GameState& state, SimServices& services) {
  PlayerState& p = state.player;
  WorldGrid& grid = state.grid;
  const int kind = p.attack_kind;
  const int w = services.image_width(kImageShots + kind);
  const int h = services.image_height(kImageShots + kind);
  Corner corners[2];
  switch (kind % 4) {
    case kShotRight:
      p.shot_x += kShotSpeed;
      corners[0] = {p.shot_x + w, p.shot_y};
      corners[1] = {p.shot_x + w, p.shot_y + h};
      break;
    case kShotLeft:
      p.shot_x -= kShotSpeed;
      corners[0] = {p.shot_x, p.shot_y};
      corners[1] = {p.shot_x, p.shot_y + h};
      break;
    case kShotUp:
      p.shot_y -= kShotSpeed;
      corners[0] = {p.shot_x, p.shot_y};
      corners[1] = {p.shot_x + w, p.shot_y};
      break;
    default:
      p.shot_y += kShotSpeed;
      corners[0] = {p.shot_x, p.shot_y + h};
      corners[1] = {p.shot_x + w, p.shot_y + h};
      break;
  }
  const bool fire = kind / 4 == kModeFire;
  bool ended = false;
  for (const Corner& c : corners) {
    const int code = grid.tile_at(c.x, c.y);
    if (fire && code == kTileBurnable) {
      grid.set_tile_at(c.x, c.y, kTileEmpty);
      grid.set_solid_at(c.x, c.y, false);
      services.play_sound(kEffectBreak);
      ended = true;
    } else if (!fire && code == kTileFire) {
      grid.set_tile_at(c.x, c.y, kTilePlain);  // stays solid
      services.play_sound(kEffectFreeze);
      ended = true;
    }
  }
  if (grid.solid_at(corners[0].x, corners[0].y) || grid.solid_at(corners[1].x, corners[1].y)) ended = true;
  if (ended) end_attack(p);
}

bool shot_off_screen(const PlayerState& p, SimServices& services) {
  const int w = services.image_width(kImageShots + p.attack_kind);
  const int h = services.image_height(kImageShots + p.attack_kind);
  return p.shot_x <= p.camera_x - w || p.shot_x >= p.camera_x + kScreenWidth || p.shot_y <= p.camera_y - h ||
         p.shot_y >= p.camera_y + kScreenHeight;
}

void dig(GameState& state, SimServices& services) {
  PlayerState& p = state.player;
  WorldGrid& grid = state.grid;
  const int foot = p.y + kPlayerSize + 1;
  for (int x : {p.x, p.x + kPlayerSize - 1}) {
    if (grid.tile_at(x, foot) == kTileBreakable) {
      grid.set_tile_at(x, foot, kTileEmpty);
      grid.set_solid_at(x, foot, false);
      services.play_sound(kEffectBreak);
    }
  }
}

}  // namespace

int update_attack_switch(PlayerState& p, const FrameInput& input) {
  if (!input.attack_switch) {
    p.attack_switch_timer = 0;
    return p.attack_switch_timer;
  }
  if (p.attack_switch_timer > 0) p.attack_switch_timer -= 1;
  if (p.attack_switch_timer == 0) {
    p.attack_mode += 1;
    p.attack_switch_timer = kAttackSwitchRepeat;
  }
  if (p.attack_mode >= kAttackModeCount) p.attack_mode = kModeFire;
  return p.attack_switch_timer;
}

void update_attack(GameState& state, const FrameInput& input, SimServices& services) {
  PlayerState& p = state.player;
  if (input.attack && p.pose_timer == 0 && p.attack_state == kAttackNone && p.attack_kind == kNoShot) {
    start_attack(state, input, services);
  }
  if (p.attack_kind != kNoShot) fly_shot(state, services);
  if (p.attack_kind != kNoShot && shot_off_screen(p, services)) end_attack(p);
  if (p.attack_state == kAttackClose && p.pose_timer > 0) dig(state, services);

  if (!input.attack) {
    p.attack_state = kAttackNone;
    p.protection_timer = 0;
    p.pose_timer = 0;
  } else {
    if (p.protection_timer > 0) p.protection_timer -= 1;
    if (p.pose_timer > 0) {
      p.pose_timer -= 1;
      if (p.pose_timer == 0) p.pose_timer = -1;
    }
  }
}

}  // namespace torv
