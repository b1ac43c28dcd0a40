// The save file codec and its atomic replacement.
#include "game/save_file.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "common/complemented_text.h"

namespace torv {

namespace {

bool read_slot(ByteReader& reader, GameProgress& slot) {
  return reader.read_complemented_text(slot.stage_file) && reader.read_complemented_text(slot.archive_name) &&
         reader.read_complemented_text(slot.stage_title) && reader.read_complemented_text(slot.next_stage_file) &&
         reader.read_int32(slot.fire_ammo) && reader.read_int32(slot.ice_ammo) && reader.read_int32(slot.score) &&
         reader.read_int32(slot.lives) && reader.read_int32(slot.holy_water) && reader.read_int32(slot.stage_number);
}

bool flush_to_disk(std::FILE* file) {
  if (std::fflush(file) != 0) return false;
#ifdef _WIN32
  return _commit(_fileno(file)) == 0;
#else
  return fsync(fileno(file)) == 0;
#endif
}

bool replace_file(const std::string& from, const std::string& to) {
  // std::filesystem's rename replaces an existing target on Windows too (where the C
  // runtime's rename refuses to).
  std::error_code error;
  std::filesystem::rename(from, to, error);
  return !error;
}

}  // namespace

std::vector<uint8_t> encode_save(const KeyConfig& keys, const SaveSlots& slots) {
  std::vector<uint8_t> out;
  write_complemented_text(out, kSaveTag);
  out.insert(out.end(), keys.keys, keys.keys + kButtonCount);
  out.insert(out.end(), keys.pad_buttons, keys.pad_buttons + kButtonCount);
  for (const GameProgress& slot : slots) {
    write_complemented_text(out, slot.stage_file);
    write_complemented_text(out, slot.archive_name);
    write_complemented_text(out, slot.stage_title);
    write_complemented_text(out, slot.next_stage_file);
    for (int32_t value : {slot.fire_ammo, slot.ice_ammo, slot.score, slot.lives, slot.holy_water, slot.stage_number})
      write_int32(out, value);
  }
  return out;
}

SaveReadResult decode_save(const uint8_t* data, size_t size, KeyConfig& keys, SaveSlots& slots) {
  ByteReader reader(data, size);
  std::string tag;
  if (!reader.read_complemented_text(tag)) return size == 0 ? SaveReadResult::kForeign : SaveReadResult::kReadError;
  if (tag != kSaveTag) return SaveReadResult::kForeign;
  KeyConfig read_keys;
  SaveSlots read_slots;
  if (!reader.read_bytes(read_keys.keys, kButtonCount) || !reader.read_bytes(read_keys.pad_buttons, kButtonCount))
    return SaveReadResult::kReadError;
  for (GameProgress& slot : read_slots)
    if (!read_slot(reader, slot)) return SaveReadResult::kReadError;
  keys = read_keys;
  slots = read_slots;
  return SaveReadResult::kLoaded;
}

bool write_save_file(const std::string& path, const KeyConfig& keys, const SaveSlots& slots) {
  const std::vector<uint8_t> bytes = encode_save(keys, slots);
  const std::string temporary = path + ".tmp";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && flush_to_disk(file);
  if (std::fclose(file) != 0 || !written || !replace_file(temporary, path)) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

SaveReadResult read_save_file(const std::string& path, KeyConfig& keys, SaveSlots& slots) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return SaveReadResult::kNoFile;
  // The whole file is read into one buffer of its own size; every length inside is
  // then checked against what is really there before anything is allocated for it.
  std::vector<uint8_t> bytes;
  uint8_t chunk[4096];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
  const bool read_failed = std::ferror(file) != 0;
  std::fclose(file);
  if (read_failed) return SaveReadResult::kReadError;
  return decode_save(bytes.data(), bytes.size(), keys, slots);
}

}  // namespace torv
