// CTamArchiveExpand: the archive reader. It reads an archive's directory once per
// OpenArchive and reopens the file by its stored path for every member it hands out.
#pragma once

#include <cstdint>

#include "archive/tam_archive_format.h"

class CTamArchiveExpand {
public:
  CTamArchiveExpand();
  ~CTamArchiveExpand();
  CTamArchiveExpand(const CTamArchiveExpand&) = delete;
  CTamArchiveExpand& operator=(const CTamArchiveExpand&) = delete;

  // Reads the header and directory of the archive at path, replacing any open
  // archive. -1 when the file cannot be read, the path is longer than 1023 bytes,
  // the header or directory is cut short, or the member count is negative or more
  // than the file could hold; a failed open leaves no archive open. The member
  // buffer handed out before stays valid until the next GetMemory or CloseArchive.
  int OpenArchive(const char* path);
  void CloseArchive();

  int GetDataCount() const { return count_; }
  // The plain title of entry index; "" for an index outside 0 .. count-1.
  const char* GetFileTitle(int index) const;
  // Payload length recorded in the directory for entry index, or -1 when index is
  // out of range or the entry's block does not lie inside the archive file.
  int GetDataSize(int index) const;
  // Index of the first entry whose title matches case-insensitively, or -1.
  int FindTitle(const char* title) const;

  // Decodes member index into the member buffer, sets *out to it and answers the
  // payload length (0 for an empty member). -1 for a bad index, an entry whose
  // block lies outside the file, or a failed read; *out is then left alone.
  // The buffer stays owned here and valid until the next GetMemory or CloseArchive.
  int GetMemory(int index, unsigned char** out);
  // As above for the first entry whose title matches case-insensitively; *out is
  // set to null first.
  int GetMemory(const char* title, unsigned char** out);

  // Writes the member's payload to destPath (an empty member gives an empty file).
  // 0 or -1. Replaces the member buffer like GetMemory.
  int SaveFile(int index, const char* destPath);
  int SaveFile(const char* title, const char* destPath);

private:
  void ForgetArchive();

  char archive_path_[torv::kArchivePathSize];
  int header_size_;
  int count_;
  torv::ArchiveEntry* directory_;  // count_ entries, titles plain; owned
  unsigned char* member_buffer_;   // the last member handed out; owned
  int64_t archive_length_;         // file length seen by OpenArchive
};
