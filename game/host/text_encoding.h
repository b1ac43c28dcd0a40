// The game's texts are Shift-JIS (code page 932) bytes; platforms outside Windows
// show UTF-8. One conversion for the few places that hand a game text to the system
// (message boxes).
#pragma once

#include <iconv.h>

#include <string>

namespace torv {

// A converter from code page 932 to `to` (an iconv name), or (iconv_t)-1. glibc
// knows the code page as "CP932"; musl, the browser build's C library, only as
// "SHIFT_JIS", which differs from it in a few symbols (the wave dash, the minus
// sign, the yen and pound signs) that the game's texts do not use.
iconv_t open_from_cp932(const char* to);

// The UTF-8 form of a Shift-JIS text; bytes that do not convert become "?".
std::string utf8_from_shift_jis(const std::string& text);

}  // namespace torv
