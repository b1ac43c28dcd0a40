// Feeds arbitrary bytes to the "save.dat" reader, from memory and from a file. A
// file it loads must encode back to a file of at most the largest save file's size
// that loads as the same keys and slots; anything else must leave the keys and
// slots exactly as they were.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/save_file.h"
#include "scratch_file.h"

namespace {

using namespace torv;

// Values no file sets by chance: a failed read must leave them.
void fill_sentinels(KeyConfig& keys, SaveSlots& slots) {
  keys.keys[0] = 0xA5;
  slots[3].stage_title = "sentinel";
  slots[8].score = -12345;
}

bool same(const KeyConfig& a, const SaveSlots& as, const KeyConfig& b, const SaveSlots& bs) {
  return a == b && as == bs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const fuzz::ScratchFile file("fuzz_save_file");
  KeyConfig before_keys;
  SaveSlots before_slots;
  fill_sentinels(before_keys, before_slots);

  KeyConfig keys = before_keys;
  SaveSlots slots = before_slots;
  const SaveReadResult result = decode_save(data, size, keys, slots);
  if (result != SaveReadResult::kLoaded) {
    if (!same(keys, slots, before_keys, before_slots)) std::abort();
  } else {
    const std::vector<uint8_t> again = encode_save(keys, slots);
    if (again.size() > kMaxSaveFileBytes) std::abort();  // the game could not read its own save
    KeyConfig reread_keys;
    SaveSlots reread_slots;
    if (decode_save(again.data(), again.size(), reread_keys, reread_slots) != SaveReadResult::kLoaded ||
        !same(keys, slots, reread_keys, reread_slots))
      std::abort();
  }

  // The file reader answers as the decoder does for the same bytes.
  file.Write(data, size);
  KeyConfig file_keys = before_keys;
  SaveSlots file_slots = before_slots;
  if (read_save_file(file.path(), file_keys, file_slots) != result || !same(file_keys, file_slots, keys, slots))
    std::abort();
  return 0;
}
