#include "archive/tam_archive_create.h"

#include <gtest/gtest.h>

#include <string>

#include "archive/tam_archive_expand.h"
#include "archive_test_util.h"

namespace {

using namespace archive_test;

class ArchiveWriter : public ::testing::Test {
protected:
  std::string loose(const std::string& name, const Bytes& content) {
    const std::string path = dir / name;
    write_file(path, content);
    return path;
  }
  ScratchDir dir;
  CTamArchiveCreate writer;
};

TEST_F(ArchiveWriter, TwoFilesOf10And20BytesLayOutAsTheFormatSays) {
  const Bytes ten = text_bytes("0123456789");
  const Bytes twenty = random_bytes(20, 99);
  const std::string a = loose("a.bin", ten);
  const std::string b = loose("b.bin", twenty);
  ASSERT_EQ(writer.AddFile(a.c_str()), 0);
  ASSERT_EQ(writer.AddFile(b.c_str()), 0);
  const std::string out = dir / "two.tfa";
  ASSERT_EQ(writer.SaveArchive(out.c_str()), 0);

  const Bytes raw = read_file(out);
  ASSERT_EQ(raw.size(), 568u);
  EXPECT_EQ(get32(raw, 0), 8);
  EXPECT_EQ(get32(raw, 4), 2);
  EXPECT_EQ(get32(raw, entry_at(0)), 11);
  EXPECT_EQ(get32(raw, entry_at(0) + 4), 536);
  EXPECT_EQ(get32(raw, entry_at(1)), 21);
  EXPECT_EQ(get32(raw, entry_at(1) + 4), 547);
  // The rest is fixed once the clock's seeds are known: compare with the model.
  const Bytes expected = build_archive({{a, ten, raw[536]}, {b, twenty, raw[547]}});
  EXPECT_EQ(raw, expected);
}

TEST_F(ArchiveWriter, MembersComeBackWhateverTheSeed) {
  // One member per seed, of sizes from 0 to a few MB, written and read back.
  std::vector<Member> members;
  std::mt19937 sizes(77);
  for (int seed = 0; seed < 256; ++seed) {
    const size_t size = seed == 128 ? 3u << 20 : (seed == 5 ? 0 : sizes() % 20000);
    members.push_back({"m" + std::to_string(seed) + ".dat", random_bytes(size, static_cast<uint32_t>(seed)),
                       static_cast<uint8_t>(seed)});
  }
  for (const Member& m : members)
    ASSERT_EQ(writer.AddMemory(m.payload.data(), static_cast<int>(m.payload.size()), m.title.c_str(), m.seed), 0);
  const std::string out = dir / "seeds.tfa";
  ASSERT_EQ(writer.SaveArchive(out.c_str()), 0);
  EXPECT_EQ(read_file(out), build_archive(members));

  CTamArchiveExpand reader;
  ASSERT_EQ(reader.OpenArchive(out.c_str()), 0);
  ASSERT_EQ(reader.GetDataCount(), 256);
  for (int i = 0; i < 256; ++i) {
    const Member& m = members[static_cast<size_t>(i)];
    unsigned char* p = nullptr;
    const int n = reader.GetMemory(m.title.c_str(), &p);
    ASSERT_EQ(n, static_cast<int>(m.payload.size())) << m.title;
    EXPECT_EQ(Bytes(p, p + n), m.payload) << m.title;
  }

  // The list is kept after saving, and saving again gives the same bytes.
  ASSERT_EQ(writer.SaveArchive((dir / "again.tfa").c_str()), 0);
  EXPECT_EQ(read_file(dir / "again.tfa"), read_file(out));
}

TEST_F(ArchiveWriter, FilesAddedFromTheClockReadBack) {
  const Bytes big = random_bytes(2u << 20, 1);
  const Bytes small = text_bytes("small");
  ASSERT_EQ(writer.AddFile(loose("big", big).c_str()), 0);
  ASSERT_EQ(writer.AddFile(loose("dir\\Small.txt", small).c_str()), 0);
  ASSERT_EQ(writer.AddFile(loose("big", small).c_str()), 0);  // same title twice: two members
  ASSERT_EQ(writer.SaveArchive((dir / "c.tfa").c_str()), 0);

  CTamArchiveExpand reader;
  ASSERT_EQ(reader.OpenArchive((dir / "c.tfa").c_str()), 0);
  ASSERT_EQ(reader.GetDataCount(), 3);
  EXPECT_STREQ(reader.GetFileTitle(1), "Small.txt");  // only the part after the backslash
  EXPECT_EQ(reader.GetFileTitle(0), dir / "big");
  unsigned char* p = nullptr;
  ASSERT_EQ(reader.GetMemory((dir / "big").c_str(), &p), static_cast<int>(big.size()));
  EXPECT_EQ(Bytes(p, p + big.size()), big);  // the first of the two
  ASSERT_EQ(reader.GetMemory("SMALL.TXT", &p), 5);
  EXPECT_EQ(Bytes(p, p + 5), small);
}

TEST_F(ArchiveWriter, AddFileSkipsEmptyFilesAndRefusesUnreadableOnes) {
  struct Case {
    const char* what;
    std::string path;
    int result;
  };
  const std::string long_dir = dir / ("x\\" + std::string(200, 'd'));
  std::filesystem::create_directory(long_dir);
  const Case cases[] = {
      {"empty file", loose("empty", {}), 0},
      {"path ending in a backslash", loose("ends\\", {1, 2}), 0},
      {"missing file", dir / "missing", -1},
      {"directory", dir.path(), -1},
      {"title over 255 bytes", loose("x\\" + std::string(200, 'd') + "/" + std::string(60, 'f'), {1}), -1},
      {"null path", std::string(), -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(writer.AddFile(c.path.empty() ? nullptr : c.path.c_str()), c.result) << c.what;
    EXPECT_EQ(writer.GetCount(), 0) << c.what;
  }
  EXPECT_EQ(writer.SaveArchive((dir / "none.tfa").c_str()), -1);
  EXPECT_FALSE(file_exists(dir / "none.tfa"));
}

TEST_F(ArchiveWriter, TitlesAreAtMost255Bytes) {
  const std::string title255(255, 'L');
  const std::string title256(256, 'L');
  const Bytes data = text_bytes("d");
  EXPECT_EQ(writer.AddMemory(data.data(), 1, title256.c_str(), 0), -1);
  EXPECT_EQ(writer.AddMemory(data.data(), 1, "", 0), -1);
  EXPECT_EQ(writer.AddMemory(data.data(), 1, nullptr, 0), -1);
  EXPECT_EQ(writer.AddMemory(nullptr, 1, "n", 0), -1);
  EXPECT_EQ(writer.AddMemory(data.data(), -1, "n", 0), -1);
  EXPECT_EQ(writer.GetCount(), 0);
  ASSERT_EQ(writer.AddMemory(data.data(), 1, title255.c_str(), 0), 0);
  ASSERT_EQ(writer.SaveArchive((dir / "t.tfa").c_str()), 0);

  const Bytes raw = read_file(dir / "t.tfa");
  EXPECT_EQ(raw[entry_at(0) + 8 + 254], static_cast<uint8_t>(~'L'));
  EXPECT_EQ(raw[entry_at(0) + 8 + 255], 0xFF);  // the stored terminator
  CTamArchiveExpand reader;
  ASSERT_EQ(reader.OpenArchive((dir / "t.tfa").c_str()), 0);
  EXPECT_EQ(std::string(reader.GetFileTitle(0)), title255);
}

TEST_F(ArchiveWriter, SavingNeedsMembersAndAWritablePath) {
  EXPECT_EQ(writer.SaveArchive((dir / "empty.tfa").c_str()), -1);
  EXPECT_FALSE(file_exists(dir / "empty.tfa"));

  const Bytes data = text_bytes("x");
  ASSERT_EQ(writer.AddMemory(data.data(), 1, "x"), 0);
  EXPECT_EQ(writer.SaveArchive((dir / "no/such/dir.tfa").c_str()), -1);
  EXPECT_EQ(writer.SaveArchive(nullptr), -1);
  EXPECT_EQ(writer.SaveArchive(dir.path().c_str()), -1);  // a directory is not replaced

  write_file(dir / "old.tfa", Bytes(10000, 7));  // an existing file is replaced whole
  ASSERT_EQ(writer.SaveArchive((dir / "old.tfa").c_str()), 0);
  EXPECT_EQ(read_file(dir / "old.tfa").size(), 8u + 264 + 2);

  writer.ClearArchive();
  EXPECT_EQ(writer.GetCount(), 0);
  EXPECT_EQ(writer.SaveArchive((dir / "cleared.tfa").c_str()), -1);
  EXPECT_FALSE(file_exists(dir / "cleared.tfa"));
}

}  // namespace
