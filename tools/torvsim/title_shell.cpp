// Script frames into the key table.
#include "tools/torvsim/title_shell.h"

#include "game/host/script_keys.h"

namespace torv {

void TitleShell::pump_events(HostGame& game) {
  if (quit_) {
    game.request_stop();
    return;
  }
  ++frames_;
  game.keys().clear_all();
  if (frames_ > static_cast<int>(script_.frames.size())) {
    game.request_stop();
    return;
  }
  for (int vk : script_frame_keys(script_.frames[static_cast<size_t>(frames_ - 1)], game.key_config())) {
    game.keys().set(vk, 1);
  }
}

}  // namespace torv
