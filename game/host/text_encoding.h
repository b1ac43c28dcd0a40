// The game's texts are Shift-JIS (code page 932) bytes; platforms outside Windows
// show UTF-8. One conversion for the few places that hand a game text to the system
// (message boxes).
#pragma once

#include <string>

namespace torv {

// The UTF-8 form of a Shift-JIS text; bytes that do not convert become "?".
std::string utf8_from_shift_jis(const std::string& text);

}  // namespace torv
