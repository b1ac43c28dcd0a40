// CTamArchiveExpand: reading archive directories and members.
#include "archive/tam_archive_expand.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "archive/file_io.h"
#include "archive/tam_binary.h"
#include "common/portable.h"
#include "common/trace.h"

namespace {

// A block must hold at least its seed byte and lie wholly inside the file; nothing
// else protects the reader from a damaged directory.
bool entry_inside(const torv::ArchiveEntry& e, int64_t file_length) {
  return e.size >= 1 && e.offset >= 0 && static_cast<int64_t>(e.offset) + e.size <= file_length;
}

}  // namespace

CTamArchiveExpand::CTamArchiveExpand()
    : header_size_(0), count_(0), directory_(nullptr), member_buffer_(nullptr), archive_length_(0) {
  archive_path_[0] = '\0';
}

CTamArchiveExpand::~CTamArchiveExpand() { CloseArchive(); }

void CTamArchiveExpand::ForgetArchive() {
  std::free(directory_);
  directory_ = nullptr;
  archive_path_[0] = '\0';
  header_size_ = 0;
  count_ = 0;
  archive_length_ = 0;
}

void CTamArchiveExpand::CloseArchive() {
  ForgetArchive();
  std::free(member_buffer_);
  member_buffer_ = nullptr;
}

int CTamArchiveExpand::OpenArchive(const char* path) {
  torv_trace("OpenArchive > %s\n", path ? path : "");
  ForgetArchive();
  if (!path || std::strlen(path) >= sizeof archive_path_ || !torv::regular_file_readable(path)) {
    torv_trace("File Open Error\n");
    return -1;
  }
  std::FILE* f = std::fopen(path, "rb");
  if (!f) {
    torv_trace("File Open Error\n");
    return -1;
  }
  const int64_t length = torv::file_length(f);
  unsigned char header[torv::kArchiveHeaderSize];
  if (length < torv::kArchiveHeaderSize || std::fread(header, 1, sizeof header, f) != sizeof header) {
    torv_trace("Load Header Error\n");
    std::fclose(f);
    return -1;
  }
  const int32_t header_size = torv::read_le32(header);
  const int32_t count = torv::read_le32(header + 4);
  // A count the file cannot hold would make us allocate and read past its end.
  if (count < 0 || count > (length - torv::kArchiveHeaderSize) / torv::kArchiveEntrySize) {
    torv_trace("Load Header Error\n");
    std::fclose(f);
    return -1;
  }

  torv::ArchiveEntry* directory = nullptr;
  if (count > 0) {
    directory = static_cast<torv::ArchiveEntry*>(std::calloc(static_cast<size_t>(count), sizeof(torv::ArchiveEntry)));
    if (!directory) {
      std::fclose(f);
      return -1;
    }
    if (std::fread(directory, sizeof(torv::ArchiveEntry), static_cast<size_t>(count), f) != static_cast<size_t>(count)) {
      torv_trace("Load SubHeader Error\n");
      std::free(directory);
      std::fclose(f);
      return -1;
    }
  }
  std::fclose(f);

  for (int i = 0; i < count; ++i) {
    torv::ArchiveEntry& e = directory[i];
    const unsigned char* raw = reinterpret_cast<const unsigned char*>(&e);
    const int32_t size = torv::read_le32(raw);
    const int32_t offset = torv::read_le32(raw + 4);
    e.size = size;
    e.offset = offset;
    for (char& c : e.title) c = static_cast<char>(~static_cast<unsigned char>(c));
    // A damaged entry may lack the terminator; titles are handed out as C strings.
    e.title[torv::kArchiveTitleSize - 1] = '\0';
  }

  std::memcpy(archive_path_, path, std::strlen(path) + 1);
  header_size_ = header_size;
  count_ = count;
  directory_ = directory;
  archive_length_ = length;
  torv_trace("OK\n");
  return 0;
}

const char* CTamArchiveExpand::GetFileTitle(int index) const {
  if (index < 0 || index >= count_) return "";
  return directory_[index].title;
}

int CTamArchiveExpand::GetDataSize(int index) const {
  if (index < 0 || index >= count_ || !entry_inside(directory_[index], archive_length_)) return -1;
  return directory_[index].size - 1;
}

int CTamArchiveExpand::FindTitle(const char* title) const {
  if (!title) return -1;
  for (int i = 0; i < count_; ++i) {
    if (torv::ascii_stricmp(directory_[i].title, title) == 0) return i;
  }
  return -1;
}

int CTamArchiveExpand::GetMemory(int index, unsigned char** out) {
  torv_trace("GetMemory(Index:%d)\n", index);
  if (!out || index < 0 || index >= count_) return -1;
  const torv::ArchiveEntry& e = directory_[index];

  std::FILE* f = std::fopen(archive_path_, "rb");
  if (!f) return -1;
  // Measured again: the file may have changed since OpenArchive.
  if (!entry_inside(e, torv::file_length(f)) || std::fseek(f, e.offset, SEEK_SET) != 0) {
    std::fclose(f);
    return -1;
  }
  std::free(member_buffer_);
  member_buffer_ = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(e.size)));
  if (!member_buffer_) {
    std::fclose(f);
    return -1;
  }
  const bool read = std::fread(member_buffer_, 1, static_cast<size_t>(e.size), f) == static_cast<size_t>(e.size);
  std::fclose(f);
  if (!read) return -1;

  CTamBinary block;
  if (block.OpenDataFromMemory(member_buffer_, e.size, e.title) != 0 || block.Decrypt() != 0) return -1;
  const int payload_size = e.size - 1;
  if (payload_size > 0) std::memcpy(member_buffer_, block.GetData(), static_cast<size_t>(payload_size));
  torv_trace("MemoryLoad... OK\n");
  *out = member_buffer_;
  return payload_size;
}

int CTamArchiveExpand::GetMemory(const char* title, unsigned char** out) {
  if (!out) return -1;
  *out = nullptr;
  const int index = FindTitle(title);
  return index < 0 ? -1 : GetMemory(index, out);
}

int CTamArchiveExpand::SaveFile(int index, const char* destPath) {
  torv_trace("SaveFile > %s(FileName:%s)\n", destPath ? destPath : "", GetFileTitle(index));
  if (!destPath) return -1;
  unsigned char* payload = nullptr;
  const int length = GetMemory(index, &payload);
  if (length < 0) return -1;
  // An empty member is an empty file, which CTamBinary (no data) cannot write.
  if (length == 0) return torv::write_whole_file(destPath, nullptr, 0);
  CTamBinary member;
  if (member.OpenDataFromMemory(payload, length, directory_[index].title) != 0) return -1;
  return member.SaveData(destPath);
}

int CTamArchiveExpand::SaveFile(const char* title, const char* destPath) {
  const int index = FindTitle(title);
  return index < 0 ? -1 : SaveFile(index, destPath);
}
