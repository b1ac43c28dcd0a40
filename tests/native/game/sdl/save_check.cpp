// save_check: reads a "save.dat" with the game's own reader and prints what it holds,
// one line for the keys and one per slot (texts as hex, they are Shift-JIS). Built
// natively and for Windows from this one source, so the same file is read by the
// reader each build of the game uses. Exit status 0 when the file loads, else 1.
#include <cstdio>
#include <string>

#include "game/save_file.h"

namespace {

std::string hex(const std::string& text) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : text) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out.empty() ? "-" : out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: save_check SAVE.DAT\n");
    return 2;
  }
  torv::KeyConfig keys;
  torv::SaveSlots slots;
  const torv::SaveReadResult result = torv::read_save_file(argv[1], keys, slots);
  if (result != torv::SaveReadResult::kLoaded) {
    std::printf("not loaded (%d)\n", static_cast<int>(result));
    return 1;
  }
  std::printf("keys");
  for (uint8_t k : keys.keys) std::printf(" %d", k);
  std::printf(" pads");
  for (uint8_t b : keys.pad_buttons) std::printf(" %d", b);
  std::printf("\n");
  for (int i = 0; i < torv::kSaveSlots; ++i) {
    const torv::GameProgress& p = slots[static_cast<size_t>(i)];
    if (p.stage_file.empty()) {
      std::printf("file %d: empty\n", i + 1);
      continue;
    }
    std::printf("file %d: stage=%s archive=%s title=%s next=%s fire=%d ice=%d score=%d lives=%d water=%d number=%d\n",
                i + 1, p.stage_file.c_str(), p.archive_name.c_str(), hex(p.stage_title).c_str(),
                p.next_stage_file.c_str(), p.fire_ammo, p.ice_ammo, p.score, p.lives, p.holy_water, p.stage_number);
  }
  return 0;
}
