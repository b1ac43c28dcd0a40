// The play mode: the frame loop from a loaded stage through the chain of stages,
// the pause menu with saving, the lost-life fade, the goal's time bonus and the
// game-over and all-clear sequences. Written as the game's modal loops against
// PlayHost, which supplies the frame pacing, the input, the drawing, the sounds,
// the stage files and the save file: the Windows game implements it with the
// modules, the headless runner and the tests with scripted fakes.
#pragma once

#include <string>

#include "game/game_state.h"
#include "game/play_canvas.h"
#include "game/resource_tables.h"
#include "game/stage_loader.h"

namespace torv {

class PlayHost : public SimServices {
public:
  // Waits for the next frame of the 60-a-second schedule (wait_frame(60)); returns
  // at once once a stop is requested.
  virtual void wait_frame() = 0;
  // The frame clock's count within the current second (the animation clock) and
  // the frames counted in the last whole second (shown in the status bar).
  virtual int frame_counter() = 0;
  virtual int measured_fps() = 0;
  // The program is shutting down: every loop ends within a frame.
  virtual bool stop_requested() = 0;
  // The nine inputs as they are now.
  virtual FrameInput read_input() = 0;
  virtual PlayCanvas& canvas() = 0;
  virtual StageSource& stages() = 0;
  // Effects that loop until stopped (the time bonus), and the music: start_music
  // replaces the music with that member of "dat.tfa" and plays it in a loop.
  virtual void loop_sound(Effect effect) = 0;
  virtual void stop_sound(Effect effect) = 0;
  virtual void start_music(const std::string& member) = 0;
  virtual void stop_music() = 0;
  // Copies progress into save slot 0..8 and writes the save file.
  virtual void save_progress(int slot, const GameProgress& progress) = 0;
};

// How run_play ended.
enum class PlayEnd { kGameOver, kAllClear, kToTitle, kStopped };

// Runs the game from the stage already loaded until game over, all clear, the
// pause menu's return to the title, or a stop. Leaves the font at the menu size.
PlayEnd run_play(GameState& state, PlayHost& host);

// The pause menu over the frozen stage: resume, save to one of nine files, or back
// to the title (player status kStatusToTitle).
void run_pause_menu(GameState& state, PlayHost& host);

// Seeds the random numbers from the clock and starts one of "BGM1.ogg" to "BGM5.ogg".
void pick_music(GameState& state, PlayHost& host);

// The title menu's start and continue items: a new game from the first stage, or
// the progress of a save slot from the start of its stage. The load's result is
// answered; a failed load leaves the stage as it was.
int start_new_game(GameState& state, PlayHost& host);
int continue_game(GameState& state, const GameProgress& saved, PlayHost& host);

}  // namespace torv
