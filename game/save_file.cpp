// The save file codec and its atomic replacement.
#include "game/save_file.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include "common/complemented_text.h"

namespace torv {

namespace {

bool read_slot(ByteReader& reader, GameProgress& slot) {
  for (std::string* text : {&slot.stage_file, &slot.archive_name, &slot.stage_title, &slot.next_stage_file})
    if (!reader.read_complemented_text(*text, kMaxSaveTextBytes)) return false;
  return reader.read_int32(slot.fire_ammo) && reader.read_int32(slot.ice_ammo) && reader.read_int32(slot.score) &&
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
  // std::filesystem's rename replaces an existing target on Windows too (MoveFileEx
  // with replacing, where the C runtime's rename refuses to).
  std::error_code error;
  std::filesystem::rename(from, to, error);
  return !error;
}

// Makes the rename itself last through a power cut: on POSIX systems a rename is
// kept only once its directory is synced. Windows has no such step. The new file
// is in place either way, so a failure here does not fail the save.
void sync_directory_of(const std::string& path) {
#ifndef _WIN32
  std::string directory = std::filesystem::path(path).parent_path().string();
  if (directory.empty()) directory = ".";
  const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
#else
  (void)path;
#endif
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
  if (size > kMaxSaveFileBytes) return SaveReadResult::kReadError;
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
  sync_directory_of(path);
  return true;
}

SaveReadResult read_save_file(const std::string& path, KeyConfig& keys, SaveSlots& slots) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return SaveReadResult::kNoFile;
  // One byte more than the largest save file is enough to tell that a file is too
  // long; a file of gigabytes costs no more than that.
  std::vector<uint8_t> bytes(kMaxSaveFileBytes + 1);
  size_t size = 0;
  while (size < bytes.size()) {
    const size_t n = std::fread(bytes.data() + size, 1, bytes.size() - size, file);
    if (n == 0) break;
    size += n;
  }
  const bool read_failed = std::ferror(file) != 0;
  std::fclose(file);
  if (read_failed) return SaveReadResult::kReadError;
  return decode_save(bytes.data(), size, keys, slots);
}

}  // namespace torv
