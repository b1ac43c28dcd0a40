// Platform seam: telling the player why the game cannot go on (message_box_sdl.cpp:
// an SDL message box, and the same line on the standard error stream, which is all
// that is seen when there is no display).
#pragma once

#include <string>

struct SDL_Window;

namespace torv {

enum class MessageKind { kInformation, kError };

// caption and text in UTF-8; window may be null.
void show_message(MessageKind kind, SDL_Window* window, const std::string& caption, const std::string& text);

}  // namespace torv
