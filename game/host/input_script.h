// Input scripts: what a player holds in each frame, written as run lengths so that
// a person can read and edit them. One run a line:
//
//   <frames> <keys>
//
// keys is "-" (nothing held) or any of: L R U D (the directions), S (dash),
// J (jump), A (attack), C (attack switch), P (pause). "#" starts a comment; blank
// lines are ignored. Example: "30 R" walks right for half a second, "12 RSJ"
// dashes right while holding jump.
#pragma once

#include <string>
#include <vector>

#include "game/sim_services.h"

namespace torv {

struct InputScript {
  std::vector<FrameInput> frames;
};

// No script needs more than a few hours of frames (4 hours at 60 frames a second),
// in one run or in all its runs together; the cap keeps a typo, or many lines of
// long runs, from asking for gigabytes.
inline constexpr long kMaxScriptFrames = 60L * 60 * 60 * 4;

// Parses a script. On an error answers false, leaves *out alone and describes the
// error with its line number in *error.
bool parse_input_script(const std::string& text, InputScript* out, std::string* error);
bool load_input_script(const std::string& path, InputScript* out, std::string* error);

// The run-length text of a sequence of frames (comment lines may be prepended).
std::string format_input_script(const std::vector<FrameInput>& frames);

// The keys of one frame as a script writes them ("-" for none), and back.
std::string keys_of(const FrameInput& input);
bool input_from_keys(const std::string& keys, FrameInput* out);

}  // namespace torv
