// The game's archives for the front-ends and the tools: members read whole into memory with
// the archive library, from archives kept in one data folder.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/stage_loader.h"

class CTamArchiveExpand;

namespace torv {

class ArchiveReader {
public:
  // data_dir: the folder that holds "dat.tfa" and "sdat.tfa".
  explicit ArchiveReader(std::string data_dir);
  ~ArchiveReader();
  ArchiveReader(const ArchiveReader&) = delete;
  ArchiveReader& operator=(const ArchiveReader&) = delete;

  // Reads member of archive (both names as the game uses them, the member
  // case-insensitively). 0; -1 the archive cannot be opened; -2 no such member.
  int read(const std::string& archive, const std::string& member, std::vector<uint8_t>& bytes);

  // Titles of the archive's members, in archive order (empty when it cannot be opened).
  std::vector<std::string> members(const std::string& archive);

  // True when the archive opens and every member lies within the file (a file cut
  // short fails here at once, not only when the member past its end is read).
  bool intact(const std::string& archive);

  const std::string& data_dir() const { return data_dir_; }

private:
  bool open(const std::string& archive);

  std::string data_dir_;
  std::string open_archive_;
  std::unique_ptr<CTamArchiveExpand> expand_;
};

// Stage files for load_stage: members of the named archive, or, with an empty
// archive name, files on disk.
class ReaderStageSource : public StageSource {
public:
  explicit ReaderStageSource(ArchiveReader& reader) : reader_(reader) {}
  int fetch(const std::string& file, const std::string& archive, std::vector<uint8_t>& bytes) override;

private:
  ArchiveReader& reader_;
};

}  // namespace torv
