// PlayerState: the player's per-stage values (position, camera, timers, jump and
// attack state). load_stage resets it through reset_player; the attack mode and
// its switch timer survive that and are reset only by a new game.
#pragma once

#include <cstdint>
#include <tuple>

namespace torv {

constexpr int kPlayerSize = 16;  // the player is a 16 x 16 box

// player_status values.
enum PlayerStatus : int32_t {
  kStatusPlaying = -1,
  kStatusLifeLost = 0,
  kStatusGoal = 1,
  kStatusToTitle = 2,  // set by the pause menu
};

// attack_mode values.
enum AttackMode : int32_t { kModeFire = 0, kModeIce = 1, kModeClose = 2, kAttackModeCount = 3 };

// attack_state values.
enum AttackState : int32_t { kAttackNone = 0, kAttackShotPose = 1, kAttackClose = 2 };

// Shot directions; attack_kind = mode * 4 + direction, -1 when no shot flies.
enum ShotDirection : int32_t { kShotRight = 0, kShotLeft = 1, kShotUp = 2, kShotDown = 3 };
constexpr int32_t kNoShot = -1;

struct PlayerState {
  int32_t x = 0, y = 0;  // top-left of the 16 x 16 box, world pixels
  int32_t camera_x = 0, camera_y = 0;
  int32_t time_left = 0;  // frames, 60 a second
  int32_t facing_left = 0;
  int32_t anim_frame = 0;    // 0..7, the walking images
  int32_t speed_factor = 0;  // 1 walking, 2 dashing; 0 only before the first update
  int32_t jump_frames = 0;   // frames of fast rise left; 0 on the ground; -1 no fast rise possible
  int32_t rise_fall = 0;     // phase counter of the rise and fall speeds
  int32_t jump_latch = 0;    // 1 from a jump's start until the jump input is released
  int32_t stomp_combo = 0;   // stomps since the player last stood on solid ground
  int32_t riding = 0;
  int32_t ridden = -1;  // index of the ridden object, -1 none
  int32_t status = kStatusPlaying;

  int32_t attack_mode = kModeFire;
  int32_t attack_switch_timer = 0;
  int32_t attack_state = kAttackNone;
  int32_t pose_timer = 0;        // 10 after a shot, 90 at a close-range start, -1 once run out
  int32_t protection_timer = 0;  // > 0: immune to hazards and enemies
  int32_t attack_kind = kNoShot;
  int32_t shot_x = 0, shot_y = 0;

  auto fields() const {
    return std::tie(x, y, camera_x, camera_y, time_left, facing_left, anim_frame, speed_factor, jump_frames,
                    rise_fall, jump_latch, stomp_combo, riding, ridden, status, attack_mode, attack_switch_timer,
                    attack_state, pose_timer, protection_timer, attack_kind, shot_x, shot_y);
  }
  bool operator==(const PlayerState& o) const { return fields() == o.fields(); }
  bool operator!=(const PlayerState& o) const { return !(*this == o); }
};

}  // namespace torv
