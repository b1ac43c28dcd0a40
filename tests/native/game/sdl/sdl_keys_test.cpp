// SDL keys as Windows virtual-key codes, and back for synthesised presses.
#include "game/sdl/sdl_keys.h"

#include <gtest/gtest.h>

#include "game/key_names.h"

namespace torv {
namespace {

SDL_Keysym key(SDL_Scancode scancode, SDL_Keycode sym) {
  SDL_Keysym k{};
  k.scancode = scancode;
  k.sym = sym;
  return k;
}

TEST(VirtualKeyOf, LettersByTheirSymbolOtherKeysByTheirPlace) {
  struct Case {
    SDL_Scancode scancode;
    SDL_Keycode sym;
    int vk;
  };
  const Case cases[] = {
      {SDL_SCANCODE_Z, SDLK_z, 'Z'},
      {SDL_SCANCODE_Y, SDLK_z, 'Z'},  // a German layout's Z is where US has Y
      {SDL_SCANCODE_Q, SDLK_a, 'A'},  // a French layout's A
      {SDL_SCANCODE_0, SDLK_0, '0'},
      {SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, 16},
      {SDL_SCANCODE_RSHIFT, SDLK_RSHIFT, 16},
      {SDL_SCANCODE_RCTRL, SDLK_RCTRL, 17},
      {SDL_SCANCODE_LALT, SDLK_LALT, 18},
      {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 27},
      {SDL_SCANCODE_RETURN, SDLK_RETURN, 13},
      {SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, 13},
      {SDL_SCANCODE_LEFT, SDLK_LEFT, 37},
      {SDL_SCANCODE_DOWN, SDLK_DOWN, 40},
      {SDL_SCANCODE_KP_7, SDLK_KP_7, 103},
      {SDL_SCANCODE_F1, SDLK_F1, 112},
      {SDL_SCANCODE_F24, SDLK_F24, 135},
      {SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON, 186},
      {SDL_SCANCODE_INTERNATIONAL1, SDLK_BACKSLASH, 226},  // ろ
      {SDL_SCANCODE_INTERNATIONAL3, SDLK_BACKSLASH, 220},  // ¥
      {SDL_SCANCODE_INTERNATIONAL4, SDL_SCANCODE_TO_KEYCODE(SDL_SCANCODE_INTERNATIONAL4), 28},  // 変換
      {SDL_SCANCODE_MUTE, SDLK_MUTE, 0},  // Windows has no code the game knows
  };
  for (const Case& c : cases) {
    EXPECT_EQ(virtual_key_of(key(c.scancode, c.sym)), c.vk) << SDL_GetScancodeName(c.scancode);
  }
}

// Every key the configuration screen can name is a key SDL can give, and the key
// synthesised for a code is read back as that code.
TEST(KeyForVirtualKey, EveryNamedKeyRoundTrips) {
  KeyNameTable names;
  build_key_names(names);
  int named = 0;
  for (int vk = 1; vk < 256; ++vk) {
    if (names[vk][0] == 0) continue;
    ++named;
    SDL_Keysym k;
    ASSERT_TRUE(key_for_virtual_key(vk, &k)) << "no key gives code " << vk << " (" << names[vk].data() << ")";
    EXPECT_EQ(virtual_key_of(k), vk);
  }
  EXPECT_GT(named, 100);
  SDL_Keysym k;
  EXPECT_FALSE(key_for_virtual_key(0, &k));
  EXPECT_FALSE(key_for_virtual_key(255, &k));
}

}  // namespace
}  // namespace torv
