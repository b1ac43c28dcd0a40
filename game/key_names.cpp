// The key-name table.
#include "game/key_names.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "game/game_texts.h"

namespace torv {

namespace {

void set_name(KeyNameTable& names, int code, const char* name) {
  // At most 15 bytes; every name of the table fits.
  const size_t length = std::min(std::strlen(name), size_t{kKeyNameBytes - 1});
  std::memcpy(names[code].data(), name, length);
  names[code][length] = 0;
}

struct FixedName {
  int code;
  const char* name;
};

}  // namespace

void build_key_names(KeyNameTable& names) {
  for (auto& entry : names) entry.fill(0);
  static const FixedName fixed[] = {
      {8, "BackSpace"}, {9, "TAB"}, {12, "Clear"}, {13, "Enter"}, {16, "Shift"}, {17, "Ctrl"},
      {19, "Pause"}, {20, "CAPS"}, {21, text::kKeyKana}, {25, text::kKeyKanji}, {27, "ESC"},
      {28, text::kKeyConvert}, {29, text::kKeyNonConvert}, {32, "Space"}, {33, "PageUp"},
      {34, "PageDown"}, {35, "End"}, {36, "Home"}, {37, text::kKeyLeft}, {38, text::kKeyUp},
      {39, text::kKeyRight}, {40, text::kKeyDown}, {44, "PrintScreen"}, {45, "Insert"},
      {46, "Delete"}, {91, text::kKeyWindowsLeft}, {92, text::kKeyWindowsRight},
      {93, "Application"}, {144, "NumLock"}, {145, "ScrollLock"}, {186, ":"}, {187, ";"},
      {188, ","}, {189, "-"}, {190, "."}, {191, "/"}, {192, "@"}, {219, "["}, {220, "\\"},
      {221, "]"}, {222, "^"}, {226, "\\"},
  };
  for (const FixedName& entry : fixed) set_name(names, entry.code, entry.name);
  for (int code = '0'; code <= '9'; ++code) names[code][0] = static_cast<char>(code);
  for (int code = 'A'; code <= 'Z'; ++code) names[code][0] = static_cast<char>(code);
  // Numeric keypad: digits 96-105, then * + (separator 108 has no name) - . /
  char buffer[32];
  for (int digit = 0; digit <= 9; ++digit) {
    std::snprintf(buffer, sizeof buffer, text::kKeyNumPadFormat, digit);
    set_name(names, 96 + digit, buffer);
  }
  static const FixedName keypad_signs[] = {{106, "*"}, {107, "+"}, {109, "-"}, {110, "."}, {111, "/"}};
  for (const FixedName& sign : keypad_signs) {
    std::snprintf(buffer, sizeof buffer, "%s%s", text::kKeyNumPadPrefix, sign.name);
    set_name(names, sign.code, buffer);
  }
  for (int n = 1; n <= 24; ++n) {
    std::snprintf(buffer, sizeof buffer, "F%d", n);
    set_name(names, 111 + n, buffer);
  }
}

}  // namespace torv
