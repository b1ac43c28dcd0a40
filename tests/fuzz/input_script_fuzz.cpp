// Feeds arbitrary text to the input-script parser of the headless runner. A script
// it accepts must format back to a script that parses to the same frames; a refused
// one must leave the output alone and name the line at fault.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/host/input_script.h"

using namespace torv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  InputScript script;
  script.frames.resize(3);
  std::string error;
  if (!parse_input_script(text, &script, &error)) {
    if (script.frames.size() != 3 || error.rfind("line ", 0) != 0) std::abort();
    return 0;
  }
  if (script.frames.size() > static_cast<size_t>(kMaxScriptFrames)) std::abort();
  InputScript again;
  std::string again_error;
  if (!parse_input_script(format_input_script(script.frames), &again, &again_error) ||
      !(again.frames == script.frames))
    std::abort();
  return 0;
}
