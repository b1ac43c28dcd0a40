#include "game/stage_extract.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace torv {
namespace {

bool exists(const std::string& path) { return std::filesystem::exists(path); }

void write_file(const std::string& path, const std::string& content) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(content.data(), 1, content.size(), f);
  std::fclose(f);
}

TEST(FetchStageFile, ReadsTheMemberThroughATemporaryFileThatIsRemoved) {
  std::vector<std::string> opened, saved_to;
  auto open = [&](const char* archive) {
    opened.push_back(archive);
    return 0;
  };
  auto save = [&](const char* member, const char* dest) {
    saved_to.push_back(dest);
    write_file(dest, std::string("stage:") + member);
    return 0;
  };
  std::vector<uint8_t> bytes;
  ASSERT_EQ(fetch_stage_file("0003.afb", "sdat.tfa", open, save, bytes), 0);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "stage:0003.afb");
  ASSERT_EQ(fetch_stage_file("0004.afb", "sdat.tfa", open, save, bytes), 0);
  EXPECT_EQ(opened, (std::vector<std::string>{"sdat.tfa", "sdat.tfa"}));
  ASSERT_EQ(saved_to.size(), 2u);
  EXPECT_NE(saved_to[0], saved_to[1]);
  EXPECT_NE(saved_to[0], "tmp.dat");
  EXPECT_FALSE(exists(saved_to[0]));
  EXPECT_FALSE(exists(saved_to[1]));
}

TEST(FetchStageFile, FailuresLeaveNoFileAndTheBytesAlone) {
  struct Case {
    int open_result, save_result;
    bool save_writes;
  };
  for (Case c : {Case{-1, 0, true}, Case{0, -2, false}, Case{0, -1, true}}) {
    std::string dest_seen;
    auto open = [&](const char*) { return c.open_result; };
    auto save = [&](const char*, const char* dest) {
      dest_seen = dest;
      if (c.save_writes) write_file(dest, "partial");
      return c.save_result;
    };
    std::vector<uint8_t> bytes = {1, 2, 3};
    EXPECT_EQ(fetch_stage_file("0001.afb", "sdat.tfa", open, save, bytes), -1);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{1, 2, 3}));
    if (c.open_result != 0) {
      EXPECT_TRUE(dest_seen.empty());  // nothing extracted from an archive that did not open
    } else {
      EXPECT_FALSE(exists(dest_seen));
    }
  }
}

TEST(FetchStageFile, WithoutAnArchiveReadsTheFileItselfAndKeepsIt) {
  const std::string path = "fetch_stage_plain.afb";
  write_file(path, "plain");
  auto never = [](const char*) -> int {
    ADD_FAILURE() << "the archive library was called";
    return -1;
  };
  auto never_save = [](const char*, const char*) -> int {
    ADD_FAILURE() << "the archive library was called";
    return -1;
  };
  std::vector<uint8_t> bytes;
  ASSERT_EQ(fetch_stage_file(path, "", never, never_save, bytes), 0);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "plain");
  EXPECT_TRUE(exists(path));
  std::remove(path.c_str());
  EXPECT_EQ(fetch_stage_file(path, "", never, never_save, bytes), -1);
}

TEST(FetchStageFile, TemporaryNamesSkipFilesThatExist) {
  const std::string first = unused_temp_name();
  unsigned number = 0;
  ASSERT_EQ(std::sscanf(first.c_str(), "torv_stage_%08x.tmp", &number), 1) << first;
  // The next two names are taken by files already on disk.
  auto name = [](unsigned n) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "torv_stage_%08x.tmp", n);
    return std::string(buffer);
  };
  write_file(name(number + 1), "taken");
  write_file(name(number + 2), "taken");
  EXPECT_EQ(unused_temp_name(), name(number + 3));
  std::remove(name(number + 1).c_str());
  std::remove(name(number + 2).c_str());
}

}  // namespace
}  // namespace torv
