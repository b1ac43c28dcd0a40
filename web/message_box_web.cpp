// Telling the player why the game cannot go on: in the page, where the canvas was
// (page.js, torvShowMessage), and on the browser's console. A browser's own alert
// box would stop the page and every test driving it.
#include <emscripten.h>

#include <cstdio>

#include "game/sdl/message_box.h"

namespace torv {

void show_message(MessageKind kind, SDL_Window*, const std::string& caption, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  EM_ASM({ if (Module.torvShowMessage) Module.torvShowMessage($0 != 0, UTF8ToString($1)); },
         kind == MessageKind::kError ? 1 : 0, text.c_str());
}

}  // namespace torv
