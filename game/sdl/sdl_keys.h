// SDL keys as the Windows virtual-key codes that the key table, the key names and
// "save.dat" use, so a key configuration carries across between the two builds.
//
// Letters and digits go by the key's symbol in the current layout, as Windows gives
// 'A' for the key that types "a" whatever its place. Every other key goes by its
// place (scancode), with the codes Windows gives on a US keyboard for the symbol keys
// and the Japanese keyboard's own keys (ろ, ¥, カタカナ, 半角/全角, 変換, 無変換) as on
// a Japanese one. Both Shift keys are Shift (16), both Ctrl keys Ctrl (17), both Alt
// keys Alt (18), the keypad's Enter is Enter (13).
#pragma once

#include <SDL2/SDL_keyboard.h>

namespace torv {

// The virtual-key code of a key, or 0 for a key Windows has no code for.
int virtual_key_of(const SDL_Keysym& key);

// A key that gives the virtual-key code vk (the inverse, for synthesised key
// presses): false for 0 and for codes no key gives.
bool key_for_virtual_key(int vk, SDL_Keysym* key);

}  // namespace torv
