// CTamBinary: one archive member or loose file held in memory, and the scrambling
// that turns a payload into an archive block and back.
//
// Block layout: byte 0 is the seed k; byte i+1 is rotl3((payload[i] + k) mod 256).
#pragma once

#include <cstdint>

#include "archive/tam_archive_format.h"

class CTamBinary {
public:
  CTamBinary();
  // Copies carry title, path and a fresh heap copy of the data. If that copy cannot
  // be allocated the result holds no data (GetSize() 0).
  CTamBinary(const CTamBinary& other);
  explicit CTamBinary(const CTamBinary* other);
  CTamBinary& operator=(const CTamBinary& other);
  ~CTamBinary();

  // Reads a loose file whole. Title = the part of path after its last backslash
  // (the whole path when it has none). -1 when the file is missing, unreadable or
  // not a regular file, when path is longer than 2047 bytes or the title longer
  // than 255, or when the file is too large for an int size.
  int OpenData(const char* path);
  // Copies len bytes from src and sets the title (null means empty). -1 when src is
  // null, len <= 0 or title is longer than 255 bytes; the record is then unchanged.
  int OpenDataFromMemory(const unsigned char* src, int len, const char* title);
  // Writes the data to path. -1 when there is no data, or the file cannot be
  // created or written.
  int SaveData(const char* path) const;

  // Scrambles the data in place into a block one byte longer, seeded with the low
  // byte of the millisecond tick count. No data: nothing happens, 0.
  // -1 (data unchanged) when the larger block cannot be allocated.
  int Encrypt();
  int Encrypt(uint8_t seed);
  // Turns a block back into its payload, one byte shorter. No data: nothing
  // happens, 0. -1 (data unchanged) on allocation failure.
  int Decrypt();

  const char* GetTitle() const { return title_; }
  const char* GetPath() const { return path_; }
  int GetSize() const { return size_; }
  const unsigned char* GetData() const { return data_; }

private:
  void CopyFrom(const CTamBinary& other);
  void ReplaceData(unsigned char* data, int size);

  char title_[torv::kArchiveTitleSize];
  char path_[torv::kBinaryPathSize];
  int size_;
  unsigned char* data_;  // malloc'ed, owned; null when size_ is 0
};
