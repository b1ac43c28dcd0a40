// What the simulation needs from the engine, passed in: sound effects, image sizes,
// the background picture, a clock to seed the random numbers; plus the input of one
// frame and the game's own random generator. A test or the headless runner
// implements SimServices with fakes; the Windows game routes it to the modules.
#pragma once

#include <cstdint>
#include <string>

#include "game/resource_tables.h"

namespace torv {

class SimServices {
public:
  virtual ~SimServices() = default;
  // Starts an effect once; may be called again while it still plays.
  virtual void play_sound(Effect effect) = 0;
  // Size of the image at an index of the image table (image_indices.h); -1 when
  // the image is not loaded.
  virtual int image_width(int index) = 0;
  virtual int image_height(int index) = 0;
  // Replaces the stage background picture with the member of "dat.tfa" so named.
  virtual void reload_background(const std::string& member) = 0;
  // Milliseconds of a wrapping clock; seeds the random numbers at each stage.
  virtual uint32_t clock_ms() = 0;
};

// The nine inputs of one frame (true while held).
struct FrameInput {
  bool left = false, right = false, up = false, down = false;
  bool dash = false, jump = false, attack = false, attack_switch = false, pause = false;

  bool operator==(const FrameInput& o) const {
    return left == o.left && right == o.right && up == o.up && down == o.down && dash == o.dash &&
           jump == o.jump && attack == o.attack && attack_switch == o.attack_switch && pause == o.pause;
  }
};

// The game's pseudo-random numbers: a plain linear congruential generator giving
// 0..32767, kept in the game state so that a run is reproducible from its seed and
// a saved state carries its generator along.
class GameRandom {
public:
  void seed(uint32_t value) { state_ = value; }
  int next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFF);
  }
  uint32_t state() const { return state_; }
  bool operator==(const GameRandom& o) const { return state_ == o.state_; }

private:
  uint32_t state_ = 1;
};

}  // namespace torv
