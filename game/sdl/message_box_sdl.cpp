// Message boxes through SDL.
#include <SDL2/SDL_messagebox.h>

#include <cstdio>

#include "game/sdl/message_box.h"

namespace torv {

void show_message(MessageKind kind, SDL_Window* window, const std::string& caption, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  const Uint32 flags = kind == MessageKind::kError ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
  SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), window);
}

}  // namespace torv
