// Code page 932 through the C library's converter, for tests that check the game's
// Shift-JIS bytes independently of it. glibc knows the code page as "CP932"; musl,
// the WebAssembly build's C library, only as "SHIFT_JIS", which differs from it in a
// few symbols (the wave dash, the minus sign) that these texts do not use.
#pragma once

#include <iconv.h>

namespace torv {
namespace test {

inline iconv_t open_from_cp932(const char* to) {
  iconv_t cd = iconv_open(to, "CP932");
  return cd != reinterpret_cast<iconv_t>(-1) ? cd : iconv_open(to, "SHIFT_JIS");
}

inline iconv_t open_to_cp932(const char* from) {
  iconv_t cd = iconv_open("CP932", from);
  return cd != reinterpret_cast<iconv_t>(-1) ? cd : iconv_open("SHIFT_JIS", from);
}

}  // namespace test
}  // namespace torv
