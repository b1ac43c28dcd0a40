// CTamArchiveCreate: building an archive from loose files or memory blocks.
#include "archive/tam_archive_create.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "common/portable.h"

namespace {

uint8_t clock_seed() { return static_cast<uint8_t>(torv::tick_ms() & 0xFF); }

}  // namespace

// Scrambles record and takes it into the list (or deletes it on failure).
int CTamArchiveCreate::Append(CTamBinary* record, uint8_t seed) {
  if (record->Encrypt(seed) != 0) {
    delete record;
    return -1;
  }
  return members_.Add(record) ? 0 : -1;  // Add deletes the record when it fails
}

int CTamArchiveCreate::AddFile(const char* path) {
  CTamBinary* record = new (std::nothrow) CTamBinary;
  if (!record) return -1;
  if (record->OpenData(path) != 0) {
    delete record;
    return -1;
  }
  if (!record->GetData() || record->GetTitle()[0] == '\0') {
    delete record;
    return 0;
  }
  return Append(record, clock_seed());
}

int CTamArchiveCreate::AddMemory(const unsigned char* data, int len, const char* title) {
  return AddMemory(data, len, title, clock_seed());
}

int CTamArchiveCreate::AddMemory(const unsigned char* data, int len, const char* title, uint8_t seed) {
  if (!title || !*title || len < 0 || (len > 0 && !data)) return -1;
  CTamBinary* record = new (std::nothrow) CTamBinary;
  if (!record) return -1;
  if (len == 0) {
    // The block of an empty payload is its seed byte alone.
    if (record->OpenDataFromMemory(&seed, 1, title) != 0) {
      delete record;
      return -1;
    }
    return members_.Add(record) ? 0 : -1;
  }
  if (record->OpenDataFromMemory(data, len, title) != 0) {
    delete record;
    return -1;
  }
  return Append(record, seed);
}

int CTamArchiveCreate::SaveArchive(const char* path) {
  const int count = members_.GetSize();
  if (count == 0 || !path) return -1;

  // Offsets are int32 in the format: refuse an archive they cannot address rather
  // than write wrapped offsets.
  int64_t offset = torv::kArchiveHeaderSize + static_cast<int64_t>(torv::kArchiveEntrySize) * count;
  const size_t directory_bytes = static_cast<size_t>(torv::kArchiveEntrySize) * static_cast<size_t>(count);
  unsigned char* directory = static_cast<unsigned char*>(std::calloc(directory_bytes, 1));
  if (!directory) return -1;
  for (int i = 0; i < count; ++i) {
    const CTamBinary& record = *members_[i];
    unsigned char* entry = directory + static_cast<size_t>(i) * torv::kArchiveEntrySize;
    if (offset + record.GetSize() > INT32_MAX) {
      std::free(directory);
      return -1;
    }
    torv::write_le32(entry, record.GetSize());
    torv::write_le32(entry + 4, static_cast<int32_t>(offset));
    // The whole 256-byte field is inverted, so the NUL padding is stored as 0xFF.
    const char* title = record.GetTitle();
    for (int b = 0; b < torv::kArchiveTitleSize; ++b) entry[8 + b] = static_cast<unsigned char>(~static_cast<unsigned char>(title[b]));
    offset += record.GetSize();
  }

  std::FILE* f = std::fopen(path, "wb");
  if (!f) {
    std::free(directory);
    return -1;
  }
  unsigned char header[torv::kArchiveHeaderSize];
  torv::write_le32(header, torv::kArchiveHeaderSize);
  torv::write_le32(header + 4, count);
  bool ok = std::fwrite(header, 1, sizeof header, f) == sizeof header &&
            std::fwrite(directory, 1, directory_bytes, f) == directory_bytes;
  for (int i = 0; ok && i < count; ++i) {
    const CTamBinary& record = *members_[i];
    ok = std::fwrite(record.GetData(), 1, static_cast<size_t>(record.GetSize()), f) == static_cast<size_t>(record.GetSize());
  }
  ok = std::fclose(f) == 0 && ok;
  std::free(directory);
  if (!ok) {
    std::remove(path);
    return -1;
  }
  return 0;
}
