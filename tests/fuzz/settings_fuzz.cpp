// Feeds arbitrary values of "Setting.ini" to the settings rules: the "FullScreen"
// and "Draw" values (the input up to the first and second newline; a missing
// line is an absent key) and, in the last byte, which drawing modes would start.
// The numbers must follow the seven-character rule, and the drawing-mode choice
// must try a row of its table in order, stop at the first mode that starts, and
// write back only a value whose own row begins with that mode.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "game/draw_mode_fallback.h"
#include "game/settings.h"
#include "tests/native/spine/memory_settings.h"

namespace {

using namespace torv;

using test::MemorySettings;

void check_number(const std::string& value) {
  const int n = parse_setting_number(value);
  // Seven characters hold a sign and six digits, or seven digits.
  if (n < -999999 || n > 9999999) std::abort();
  if (value.size() > static_cast<size_t>(kSettingValueChars) &&
      n != parse_setting_number(value.substr(0, kSettingValueChars)))
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const uint8_t working = size > 0 ? data[size - 1] : 0;  // bit i: attempt i of the row starts
  MemorySettings settings;
  size_t at = 0;
  for (const char* key : {kKeyFullScreen, kKeyDraw}) {
    const size_t end = text.find('\n', at);
    if (end == std::string::npos) break;
    settings.values[key] = text.substr(at, end - at);
    check_number(settings.values[key]);
    at = end + 1;
  }

  read_setting_number(settings, kKeyFullScreen, kDefaultFullScreen);
  const int draw = read_setting_number(settings, kKeyDraw, kDefaultDraw);
  const std::vector<DrawAttempt>& row = draw_attempts(draw);
  if (row.empty()) std::abort();
  std::vector<std::pair<DRAW_INIT_MODE, int>> made;
  const DrawAttempt* started = start_drawing(
      draw,
      [&](DRAW_INIT_MODE mode, int use_16bit) {
        const size_t i = made.size();
        made.emplace_back(mode, use_16bit);
        return (working >> i & 1) != 0 ? 0 : -1;
      },
      settings);

  // The attempts made are the row's, in order, up to the first that starts.
  if (made.size() > row.size()) std::abort();
  for (size_t i = 0; i < made.size(); ++i)
    if (made[i].first != row[i].mode || made[i].second != row[i].use_16bit) std::abort();
  if (started == nullptr) {
    if (made.size() != row.size() || settings.writes != 0) std::abort();
    return 0;
  }
  if (started != &row[made.size() - 1]) std::abort();
  if (settings.writes > 1) std::abort();
  // What was written makes the next start begin with the mode that started.
  const int next = read_setting_number(settings, kKeyDraw, kDefaultDraw);
  if (draw_attempts(next).front().mode != started->mode || draw_mode_text(next)[0] == '\0') std::abort();
  return 0;
}
