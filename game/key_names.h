// Names of the virtual keys as the key configuration screen shows them (Shift-JIS,
// Japanese keyboard layout for the symbol keys); keys without a name are empty.
#pragma once

#include <array>

namespace torv {

inline constexpr int kKeyNameBytes = 16;  // 15 bytes of text and the terminating zero
using KeyNameTable = std::array<std::array<char, kKeyNameBytes>, 256>;

void build_key_names(KeyNameTable& names);

}  // namespace torv
