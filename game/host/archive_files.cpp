// Archive members read whole into memory, for the game front-ends and the tools.
#include "game/host/archive_files.h"

#include "archive/tam_archive_expand.h"
#include "game/stage_extract.h"

namespace torv {

ArchiveReader::ArchiveReader(std::string data_dir)
    : data_dir_(std::move(data_dir)), expand_(std::make_unique<CTamArchiveExpand>()) {}

ArchiveReader::~ArchiveReader() = default;

bool ArchiveReader::open(const std::string& archive) {
  if (archive == open_archive_) return true;
  open_archive_.clear();
  const std::string path = data_dir_.empty() ? archive : data_dir_ + "/" + archive;
  if (expand_->OpenArchive(path.c_str()) != 0) return false;
  open_archive_ = archive;
  return true;
}

int ArchiveReader::read(const std::string& archive, const std::string& member, std::vector<uint8_t>& bytes) {
  if (!open(archive)) return -1;
  unsigned char* data = nullptr;
  const int size = expand_->GetMemory(member.c_str(), &data);
  if (size < 0 || (size > 0 && !data)) return -2;
  bytes.assign(data, data + size);
  return 0;
}

std::vector<std::string> ArchiveReader::members(const std::string& archive) {
  std::vector<std::string> titles;
  if (!open(archive)) return titles;
  for (int i = 0; i < expand_->GetDataCount(); ++i) titles.emplace_back(expand_->GetFileTitle(i));
  return titles;
}

bool ArchiveReader::intact(const std::string& archive) {
  if (!open(archive) || expand_->GetDataCount() == 0) return false;
  for (int i = 0; i < expand_->GetDataCount(); ++i) {
    if (expand_->GetDataSize(i) < 0) return false;
  }
  return true;
}

int ReaderStageSource::fetch(const std::string& file, const std::string& archive, std::vector<uint8_t>& bytes) {
  if (archive.empty()) return read_whole_file(file, bytes) ? 0 : -1;
  return reader_.read(archive, file, bytes);
}

}  // namespace torv
