// CTamArchiveCreate: the archive writer. Collects members one by one (each kept
// already scrambled) and writes them as one archive.
#pragma once

#include <cstdint>

#include "archive/tam_binary.h"
#include "common/pvector.h"

class CTamArchiveCreate {
public:
  // Reads the file at path and appends it, scrambled with a seed from the clock.
  // Title = the part of path after its last backslash. -1 when the file cannot be
  // read (the list is unchanged). An empty file, or a path ending in a backslash,
  // is silently not added (0).
  int AddFile(const char* path);
  // Appends len bytes of data under title; an empty payload (len 0) is stored as a
  // block holding only its seed. -1 for a null or empty title, a title longer than
  // 255 bytes, len < 0, or null data with len > 0.
  int AddMemory(const unsigned char* data, int len, const char* title);
  int AddMemory(const unsigned char* data, int len, const char* title, uint8_t seed);

  // Writes every member in the order added, replacing any file at path. -1 when
  // there is no member, the members do not fit the format's 32-bit offsets, or
  // the file cannot be created or written (a partly written file is removed).
  // The list is kept: saving again writes the same blocks.
  int SaveArchive(const char* path);
  // Deletes every member.
  void ClearArchive() { members_.clear(); }

  int GetCount() const { return members_.GetSize(); }

private:
  int Append(CTamBinary* record, uint8_t seed);

  pvector<CTamBinary> members_;
};
