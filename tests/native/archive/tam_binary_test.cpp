#include "archive/tam_binary.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "archive_test_util.h"

namespace {

using namespace archive_test;

Bytes data_of(const CTamBinary& b) { return Bytes(b.GetData(), b.GetData() + b.GetSize()); }

TEST(TamBinaryScrambling, MatchesKnownBlocks) {
  struct Case {
    uint8_t payload, seed, block;
  };
  const Case cases[] = {
      {0x00, 0x00, 0x00}, {0x01, 0x00, 0x08}, {0x20, 0x00, 0x01},  // the top bits wrap round
      {0xE0, 0x00, 0x07}, {0xFF, 0x01, 0x00},                      // the sum wraps mod 256
      {0x01, 0x02, 0x18}, {0x10, 0xF0, 0x00},
  };
  for (const Case& c : cases) {
    CTamBinary b;
    ASSERT_EQ(b.OpenDataFromMemory(&c.payload, 1, "x"), 0);
    ASSERT_EQ(b.Encrypt(c.seed), 0);
    EXPECT_EQ(data_of(b), (Bytes{c.seed, c.block})) << int(c.payload) << " seed " << int(c.seed);
  }
}

TEST(TamBinaryScrambling, EveryPayloadSurvivesEverySeed) {
  std::mt19937 sizes(1234);
  for (int seed = 0; seed < 256; ++seed) {
    // Sizes from 1 byte to 2 MB; a few are much larger than any cache line pattern.
    const size_t size = seed == 0 ? 1 : (seed % 64 == 1 ? 3u << 20 : sizes() % (2u << 20) + 1);
    const Bytes payload = random_bytes(size, static_cast<uint32_t>(seed));
    CTamBinary b;
    ASSERT_EQ(b.OpenDataFromMemory(payload.data(), static_cast<int>(size), "t"), 0);
    ASSERT_EQ(b.Encrypt(static_cast<uint8_t>(seed)), 0);
    ASSERT_EQ(b.GetSize(), static_cast<int>(size) + 1);
    ASSERT_EQ(b.GetData()[0], seed);
    ASSERT_EQ(b.Decrypt(), 0);
    ASSERT_EQ(data_of(b), payload) << "seed " << seed << " size " << size;
  }
}

TEST(TamBinaryScrambling, EmptyDataIsLeftAlone) {
  CTamBinary b;
  EXPECT_EQ(b.Encrypt(), 0);
  EXPECT_EQ(b.Decrypt(), 0);
  EXPECT_EQ(b.GetSize(), 0);
  EXPECT_EQ(b.GetData(), nullptr);

  const uint8_t seed_only = 0x5A;  // the block of an empty payload
  ASSERT_EQ(b.OpenDataFromMemory(&seed_only, 1, "e"), 0);
  ASSERT_EQ(b.Decrypt(), 0);
  EXPECT_EQ(b.GetSize(), 0);
  EXPECT_EQ(b.GetData(), nullptr);
}

TEST(TamBinaryCopy, CopiesAreIndependent) {
  const Bytes payload = text_bytes("copy me");
  CTamBinary original;
  ASSERT_EQ(original.OpenDataFromMemory(payload.data(), static_cast<int>(payload.size()), "orig.txt"), 0);

  CTamBinary copied(original);
  CTamBinary from_pointer(&original);
  CTamBinary assigned;
  assigned = original;
  const CTamBinary& same = assigned;  // through a reference, which compilers do not flag
  assigned = same;  // self-assignment keeps the data
  ASSERT_EQ(original.Encrypt(9), 0);  // changing the original must not reach the copies

  for (const CTamBinary* c : {&copied, &from_pointer, &assigned}) {
    EXPECT_STREQ(c->GetTitle(), "orig.txt");
    EXPECT_EQ(data_of(*c), payload);
    EXPECT_NE(c->GetData(), original.GetData());
  }
  CTamBinary from_null(static_cast<const CTamBinary*>(nullptr));
  EXPECT_EQ(from_null.GetSize(), 0);
}

TEST(TamBinaryMemory, RejectsBadArgumentsAndKeepsItsData) {
  const Bytes payload = text_bytes("keep");
  CTamBinary b;
  ASSERT_EQ(b.OpenDataFromMemory(payload.data(), 4, "keep.txt"), 0);
  const std::string title255(255, 't');
  const std::string title256(256, 't');
  EXPECT_EQ(b.OpenDataFromMemory(nullptr, 4, "x"), -1);
  EXPECT_EQ(b.OpenDataFromMemory(payload.data(), 0, "x"), -1);
  EXPECT_EQ(b.OpenDataFromMemory(payload.data(), -3, "x"), -1);
  EXPECT_EQ(b.OpenDataFromMemory(payload.data(), 4, title256.c_str()), -1);
  EXPECT_STREQ(b.GetTitle(), "keep.txt");
  EXPECT_EQ(data_of(b), payload);

  ASSERT_EQ(b.OpenDataFromMemory(payload.data(), 2, title255.c_str()), 0);
  EXPECT_EQ(std::string(b.GetTitle()), title255);
  EXPECT_STREQ(b.GetPath(), "");
  EXPECT_EQ(data_of(b), text_bytes("ke"));
}

TEST(TamBinaryFiles, OpenDataReadsWholeFileAndTakesTitleAfterLastBackslash) {
  ScratchDir dir;
  const Bytes content = random_bytes(5000, 7);
  struct Case {
    std::string name, title;
  };
  // On this system the backslash is an ordinary file-name byte, which lets the
  // title rule be seen: only a backslash separates, never a slash.
  const Case cases[] = {{"plain.bin", ""}, {"dir\\sub\\name.bin", "name.bin"}};
  for (const Case& c : cases) {
    const std::string path = dir / c.name;
    write_file(path, content);
    CTamBinary b;
    ASSERT_EQ(b.OpenData(path.c_str()), 0) << path;
    EXPECT_EQ(data_of(b), content);
    EXPECT_EQ(b.GetPath(), path);
    EXPECT_EQ(b.GetTitle(), c.title.empty() ? path : c.title);
  }
}

TEST(TamBinaryFiles, OpenDataRefusesWhatItCannotReadWhole) {
  ScratchDir dir;
  write_file(dir / "empty", {});
  CTamBinary b;
  EXPECT_EQ(b.OpenData(nullptr), -1);
  EXPECT_EQ(b.OpenData((dir / "missing").c_str()), -1);
  EXPECT_EQ(b.OpenData(dir.path().c_str()), -1);  // a directory opens with fopen here
  // A title that would not fit the 256-byte field.
  const std::string long_dir = dir / ("a\\" + std::string(200, 'b'));
  std::filesystem::create_directory(long_dir);
  write_file(long_dir + "/" + std::string(60, 'c'), {1});
  EXPECT_EQ(b.OpenData((long_dir + "/" + std::string(60, 'c')).c_str()), -1);

  ASSERT_EQ(b.OpenData((dir / "empty").c_str()), 0);  // an empty file is read as no data
  EXPECT_EQ(b.GetSize(), 0);
  EXPECT_EQ(b.GetData(), nullptr);
}

TEST(TamBinaryFiles, PathsLongerThanTheFieldAreRefusedNotCut) {
  ScratchDir dir;
  const std::string fits = file_at_path_length(dir.path(), 2047, {1, 2, 3});
  const std::string too_long = file_at_path_length(dir.path(), 2048, {4});
  CTamBinary b;
  ASSERT_EQ(b.OpenData(fits.c_str()), 0);
  EXPECT_EQ(b.GetPath(), fits);
  EXPECT_EQ(b.OpenData(too_long.c_str()), -1);
  EXPECT_EQ(b.GetPath(), fits);
}

TEST(TamBinaryFiles, SaveDataWritesTheBytesAndNeedsData) {
  ScratchDir dir;
  CTamBinary b;
  EXPECT_EQ(b.SaveData((dir / "none").c_str()), -1);
  EXPECT_FALSE(file_exists(dir / "none"));

  const Bytes content = random_bytes(777, 3);
  ASSERT_EQ(b.OpenDataFromMemory(content.data(), 777, "x"), 0);
  write_file(dir / "out", Bytes(5000, 1));  // an existing longer file is replaced
  ASSERT_EQ(b.SaveData((dir / "out").c_str()), 0);
  EXPECT_EQ(read_file(dir / "out"), content);
  EXPECT_EQ(b.SaveData((dir / "no/such/dir").c_str()), -1);
  EXPECT_EQ(b.SaveData(nullptr), -1);
}

}  // namespace
