// Reading and writing input scripts.
#include "game/host/input_script.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace torv {

namespace {

// The letters in the order they are written; each names one input.
struct KeyLetter {
  char letter;
  bool FrameInput::*input;
};
constexpr KeyLetter kLetters[] = {
    {'L', &FrameInput::left},   {'R', &FrameInput::right},  {'U', &FrameInput::up},
    {'D', &FrameInput::down},   {'S', &FrameInput::dash},   {'J', &FrameInput::jump},
    {'A', &FrameInput::attack}, {'C', &FrameInput::attack_switch}, {'P', &FrameInput::pause},
};

}  // namespace

std::string keys_of(const FrameInput& input) {
  std::string keys;
  for (const KeyLetter& k : kLetters) {
    if (input.*k.input) keys += k.letter;
  }
  return keys.empty() ? "-" : keys;
}

bool input_from_keys(const std::string& keys, FrameInput* out) {
  FrameInput input;
  if (keys != "-") {
    for (char c : keys) {
      bool known = false;
      for (const KeyLetter& k : kLetters) {
        if (c == k.letter) {
          input.*k.input = true;
          known = true;
        }
      }
      if (!known) return false;
    }
  }
  *out = input;
  return true;
}

bool parse_input_script(const std::string& text, InputScript* out, std::string* error) {
  InputScript script;
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    const size_t hash = line.find('#');
    if (hash != std::string::npos) line.resize(hash);
    std::istringstream fields(line);
    std::string count_text, keys, extra;
    if (!(fields >> count_text)) continue;  // blank or comment only
    auto fail = [&](const std::string& what) {
      *error = "line " + std::to_string(number) + ": " + what;
      return false;
    };
    if (!(fields >> keys)) return fail("expected \"<frames> <keys>\", found only \"" + count_text + "\"");
    if (fields >> extra) return fail("unexpected \"" + extra + "\" after the keys");
    errno = 0;
    char* end = nullptr;
    const long count = std::strtol(count_text.c_str(), &end, 10);
    if (*end != '\0' || errno != 0 || count < 1 || count > kMaxScriptFrames) {
      return fail("frame count \"" + count_text + "\" is not a number from 1 to " + std::to_string(kMaxScriptFrames));
    }
    FrameInput input;
    if (!input_from_keys(keys, &input)) return fail("unknown key in \"" + keys + "\" (use - or LRUDSJACP)");
    if (count > kMaxScriptFrames - static_cast<long>(script.frames.size()))
      return fail("the script runs past " + std::to_string(kMaxScriptFrames) + " frames");
    script.frames.insert(script.frames.end(), static_cast<size_t>(count), input);
  }
  *out = std::move(script);
  return true;
}

bool load_input_script(const std::string& path, InputScript* out, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    *error = path + ": cannot be read";
    return false;
  }
  std::ostringstream text;
  text << file.rdbuf();
  if (!parse_input_script(text.str(), out, error)) {
    *error = path + ": " + *error;
    return false;
  }
  return true;
}

std::string format_input_script(const std::vector<FrameInput>& frames) {
  std::string text;
  size_t i = 0;
  while (i < frames.size()) {
    size_t j = i + 1;
    while (j < frames.size() && frames[j] == frames[i]) ++j;
    text += std::to_string(j - i) + " " + keys_of(frames[i]) + "\n";
    i = j;
  }
  return text;
}

}  // namespace torv
