// The game from its title menu without a window: HostGame's shell for torvsim
// --title. Each frame's keys come from an input script, straight into the key table
// (the SDL front-end sends the same keys through its event queue instead); time is
// simulated, frames are only handed to the recorder, there is no pad and no sound
// device. The run stops when the script has run out or the title's exit is chosen.
#pragma once

#include "game/host/host_game.h"
#include "game/host/input_script.h"
#include "game/host/host_clock.h"

namespace torv {

class TitleShell : public HostShell {
public:
  explicit TitleShell(const InputScript& script) : script_(script) {}

  void pump_events(HostGame& game) override;
  void present(const FrameView&) override {}
  HostClock& clock() override { return clock_; }
  PadSource& pad() override { return no_pad_; }
  bool pad_attached() override { return false; }
  void request_quit() override { quit_ = true; }

  // Frames taken from the script so far; whether the exit item ended the run.
  int frames() const { return frames_; }
  bool quit() const { return quit_; }

private:
  class NoPad : public PadSource {
  public:
    void get_xy(int32_t& x, int32_t& y) override { x = y = 0; }
    int get_button(int) override { return 0; }
    int get_any_button() override { return -1; }
  };

  const InputScript& script_;
  SimulatedClock clock_;
  NoPad no_pad_;
  int frames_ = 0;
  bool quit_ = false;
};

}  // namespace torv
