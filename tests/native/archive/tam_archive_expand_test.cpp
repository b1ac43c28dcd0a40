#include "archive/tam_archive_expand.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <string>

#include "archive_test_util.h"

namespace {

using namespace archive_test;

Bytes member_bytes(CTamArchiveExpand& r, int index) {
  unsigned char* p = nullptr;
  const int n = r.GetMemory(index, &p);
  if (n < 0) return {};
  return Bytes(p, p + n);
}

class ArchiveReader : public ::testing::Test {
protected:
  std::string archive(const std::vector<Member>& members, const std::string& name = "a.tfa") {
    const std::string path = dir / name;
    write_file(path, build_archive(members));
    return path;
  }
  ScratchDir dir;
  CTamArchiveExpand reader;
};

TEST_F(ArchiveReader, ReadsMembersByIndexAndTitle) {
  const Bytes big = random_bytes(3u << 20, 11);
  const std::string path = archive({{"Alpha.PNG", text_bytes("alpha"), 0}, {"big.bin", big, 0xFF}, {"c", {0}, 0x80}});
  ASSERT_EQ(reader.OpenArchive(path.c_str()), 0);
  ASSERT_EQ(reader.GetDataCount(), 3);
  EXPECT_STREQ(reader.GetFileTitle(0), "Alpha.PNG");
  EXPECT_EQ(reader.GetDataSize(1), static_cast<int>(big.size()));
  EXPECT_EQ(member_bytes(reader, 1), big);
  EXPECT_EQ(member_bytes(reader, 2), Bytes{0});

  unsigned char* p = nullptr;
  ASSERT_EQ(reader.GetMemory("alpha.png", &p), 5);
  EXPECT_EQ(std::memcmp(p, "alpha", 5), 0);
  p = reinterpret_cast<unsigned char*>(&p);
  EXPECT_EQ(reader.GetMemory("missing", &p), -1);
  EXPECT_EQ(p, nullptr);  // by title, *out is cleared even on failure
}

TEST_F(ArchiveReader, ArchiveWithoutMembersOpensAndFindsNothing) {
  ASSERT_EQ(reader.OpenArchive(archive({}).c_str()), 0);
  EXPECT_EQ(reader.GetDataCount(), 0);
  unsigned char* p = nullptr;
  EXPECT_EQ(reader.GetMemory(0, &p), -1);
  EXPECT_EQ(reader.GetMemory("anything", &p), -1);
  EXPECT_STREQ(reader.GetFileTitle(0), "");
}

TEST_F(ArchiveReader, EmptyPayloadHasOnlyItsSeedByte) {
  const std::string path = archive({{"empty.txt", {}, 0x42}, {"next", text_bytes("n"), 1}});
  ASSERT_EQ(read_file(path).size(), 8u + 2 * 264 + 1 + 2);
  ASSERT_EQ(reader.OpenArchive(path.c_str()), 0);
  unsigned char* p = nullptr;
  EXPECT_EQ(reader.GetMemory(0, &p), 0);
  EXPECT_NE(p, nullptr);
  EXPECT_EQ(member_bytes(reader, 1), text_bytes("n"));

  write_file(dir / "out", text_bytes("old content"));
  ASSERT_EQ(reader.SaveFile("EMPTY.TXT", (dir / "out").c_str()), 0);
  EXPECT_EQ(read_file(dir / "out"), Bytes{});
}

TEST_F(ArchiveReader, LookupIgnoresCaseAndTakesTheFirstOfEqualTitles) {
  const std::string path = archive({{"Stage.afb", text_bytes("first"), 3},
                                    {"other", text_bytes("x"), 4},
                                    {"STAGE.AFB", text_bytes("second"), 5}});
  ASSERT_EQ(reader.OpenArchive(path.c_str()), 0);
  for (const char* title : {"stage.afb", "Stage.afb", "STAGE.AFB", "sTaGe.AfB"}) {
    EXPECT_EQ(reader.FindTitle(title), 0) << title;
    unsigned char* p = nullptr;
    ASSERT_EQ(reader.GetMemory(title, &p), 5);
    EXPECT_EQ(std::memcmp(p, "first", 5), 0);
  }
  EXPECT_EQ(reader.FindTitle("stage.af"), -1);
  EXPECT_EQ(reader.FindTitle("stage.afb "), -1);
  EXPECT_EQ(reader.FindTitle(nullptr), -1);
}

TEST_F(ArchiveReader, IndexesOutsideTheDirectoryAnswerEmptyAndFail) {
  ASSERT_EQ(reader.OpenArchive(archive({{"a", text_bytes("1"), 0}, {"b", text_bytes("2"), 0}}).c_str()), 0);
  unsigned char sentinel = 0;
  for (int index : {-1, 2, INT_MIN, INT_MAX}) {
    EXPECT_STREQ(reader.GetFileTitle(index), "") << index;
    EXPECT_EQ(reader.GetDataSize(index), -1);
    unsigned char* p = &sentinel;
    EXPECT_EQ(reader.GetMemory(index, &p), -1);
    EXPECT_EQ(p, &sentinel);  // by index, *out is untouched on failure
    EXPECT_EQ(reader.SaveFile(index, (dir / "x").c_str()), -1);
  }
  EXPECT_FALSE(file_exists(dir / "x"));
  EXPECT_EQ(reader.GetMemory(0, nullptr), -1);
}

TEST_F(ArchiveReader, TitleOfMaximumLengthKeepsItsTerminator) {
  const std::string title(255, 'T');
  ASSERT_EQ(reader.OpenArchive(archive({{title, text_bytes("z"), 0}}).c_str()), 0);
  EXPECT_EQ(std::string(reader.GetFileTitle(0)), title);
  EXPECT_EQ(reader.FindTitle(std::string(255, 't').c_str()), 0);
}

TEST_F(ArchiveReader, TitleWithoutTerminatorIsCutAtTheField) {
  Bytes raw = build_archive({{"x", text_bytes("v"), 0}});
  for (size_t k = 0; k < 256; ++k) raw[entry_at(0) + 8 + k] = static_cast<uint8_t>(~'q');
  write_file(dir / "t.tfa", raw);
  ASSERT_EQ(reader.OpenArchive((dir / "t.tfa").c_str()), 0);
  EXPECT_EQ(std::string(reader.GetFileTitle(0)), std::string(255, 'q'));
}

TEST_F(ArchiveReader, HeaderSizeWordIsNotChecked) {
  Bytes raw = build_archive({{"x", text_bytes("v"), 9}});
  put32(raw, 0, 12345);
  write_file(dir / "h.tfa", raw);
  ASSERT_EQ(reader.OpenArchive((dir / "h.tfa").c_str()), 0);
  EXPECT_EQ(member_bytes(reader, 0), text_bytes("v"));
}

// A damaged file must never make the reader allocate or read past its end: the
// open fails for a bad header or count, and the read fails for a bad entry.
TEST_F(ArchiveReader, DamagedArchivesFailWithoutReadingPastTheFile) {
  const Bytes first = text_bytes("0123456789");
  const Bytes second = random_bytes(20, 5);
  const Bytes good = build_archive({{"first", first, 17}, {"second", second, 201}});
  const int32_t length = static_cast<int32_t>(good.size());
  struct Case {
    const char* name;
    std::function<void(Bytes&)> damage;
    int open;         // OpenArchive's answer
    bool first_ok;    // member 0 still readable
    bool second_ok;   // member 1 still readable
  };
  const Case cases[] = {
      {"intact", [](Bytes&) {}, 0, true, true},
      {"offset at end", [&](Bytes& b) { put32(b, entry_at(1) + 4, length); }, 0, true, false},
      {"offset far past end", [](Bytes& b) { put32(b, entry_at(1) + 4, INT32_MAX); }, 0, true, false},
      {"negative offset", [](Bytes& b) { put32(b, entry_at(0) + 4, -1); }, 0, false, true},
      {"size one past end", [](Bytes& b) { put32(b, entry_at(1), 22); }, 0, true, false},
      {"huge size", [](Bytes& b) { put32(b, entry_at(0), INT32_MAX); }, 0, false, true},
      {"negative size", [](Bytes& b) { put32(b, entry_at(0), -5); }, 0, false, true},
      {"zero size", [](Bytes& b) { put32(b, entry_at(1), 0); }, 0, true, false},
      {"last block cut", [](Bytes& b) { b.pop_back(); }, 0, true, false},
      {"negative count", [](Bytes& b) { put32(b, 4, -1); }, -1, false, false},
      {"count one too large", [](Bytes& b) { put32(b, 4, 3); }, -1, false, false},
      {"count huge", [](Bytes& b) { put32(b, 4, INT32_MAX); }, -1, false, false},
      {"directory cut", [](Bytes& b) { b.resize(entry_at(1) + 100); }, -1, false, false},
      {"header cut", [](Bytes& b) { b.resize(5); }, -1, false, false},
      {"empty file", [](Bytes& b) { b.clear(); }, -1, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes raw = good;
    c.damage(raw);
    write_file(dir / "d.tfa", raw);
    ASSERT_EQ(reader.OpenArchive((dir / "d.tfa").c_str()), c.open);
    if (c.open != 0) {
      EXPECT_EQ(reader.GetDataCount(), 0);
      continue;
    }
    EXPECT_EQ(member_bytes(reader, 0), c.first_ok ? first : Bytes{});
    EXPECT_EQ(reader.GetDataSize(0) >= 0, c.first_ok);
    unsigned char* p = nullptr;
    EXPECT_EQ(reader.GetMemory(1, &p), c.second_ok ? 20 : -1);
    EXPECT_EQ(reader.GetDataSize(1) >= 0, c.second_ok);
    EXPECT_EQ(reader.SaveFile(1, (dir / "out").c_str()), c.second_ok ? 0 : -1);
  }
}

TEST_F(ArchiveReader, FileCutAfterOpeningIsNotReadPastItsEnd) {
  const Bytes payload = random_bytes(1000, 8);
  const std::string path = archive({{"m", payload, 3}});
  ASSERT_EQ(reader.OpenArchive(path.c_str()), 0);
  Bytes raw = read_file(path);
  raw.resize(raw.size() - 10);
  write_file(path, raw);
  unsigned char* p = nullptr;
  EXPECT_EQ(reader.GetMemory(0, &p), -1);
}

TEST_F(ArchiveReader, FailedOpenLeavesNoArchiveButKeepsTheHandedOutBuffer) {
  const Bytes payload = random_bytes(300, 4);
  ASSERT_EQ(reader.OpenArchive(archive({{"m", payload, 3}}).c_str()), 0);
  unsigned char* p = nullptr;
  ASSERT_EQ(reader.GetMemory(0, &p), 300);

  write_file(dir / "bad.tfa", {8, 0, 0, 0, 9, 0, 0, 0});
  const std::string failing[] = {dir / "missing.tfa", dir / "bad.tfa", dir.path()};
  for (const std::string& path : failing) {
    ASSERT_EQ(reader.OpenArchive(archive({{"m", payload, 3}}, "ok.tfa").c_str()), 0);
    EXPECT_EQ(reader.OpenArchive(path.c_str()), -1) << path;
    EXPECT_EQ(reader.GetDataCount(), 0);
    EXPECT_STREQ(reader.GetFileTitle(0), "");
    unsigned char* q = nullptr;
    EXPECT_EQ(reader.GetMemory("m", &q), -1);
  }
  EXPECT_EQ(reader.OpenArchive(nullptr), -1);
  EXPECT_EQ(Bytes(p, p + 300), payload);  // still valid: no GetMemory or CloseArchive since
}

TEST_F(ArchiveReader, CloseForgetsTheArchive) {
  ASSERT_EQ(reader.OpenArchive(archive({{"m", text_bytes("abc"), 3}}).c_str()), 0);
  ASSERT_EQ(member_bytes(reader, 0), text_bytes("abc"));
  reader.CloseArchive();
  reader.CloseArchive();
  EXPECT_EQ(reader.GetDataCount(), 0);
  unsigned char* p = nullptr;
  EXPECT_EQ(reader.GetMemory(0, &p), -1);
}

TEST_F(ArchiveReader, OpeningAnotherArchiveReplacesTheFirst) {
  ASSERT_EQ(reader.OpenArchive(archive({{"one", text_bytes("1"), 0}}, "1.tfa").c_str()), 0);
  ASSERT_EQ(reader.OpenArchive(archive({{"two", text_bytes("22"), 0}, {"x", {}, 0}}, "2.tfa").c_str()), 0);
  EXPECT_EQ(reader.GetDataCount(), 2);
  EXPECT_EQ(reader.FindTitle("one"), -1);
  EXPECT_EQ(member_bytes(reader, 0), text_bytes("22"));
}

TEST_F(ArchiveReader, ArchivePathsLongerThanTheFieldAreRefusedNotCut) {
  const Bytes raw = build_archive({{"m", text_bytes("deep"), 3}});
  const std::string fits = file_at_path_length(dir.path(), 1023, raw);
  const std::string too_long = file_at_path_length(dir.path(), 1024, raw);
  ASSERT_EQ(reader.OpenArchive(fits.c_str()), 0);
  EXPECT_EQ(member_bytes(reader, 0), text_bytes("deep"));
  EXPECT_EQ(reader.OpenArchive(too_long.c_str()), -1);
  EXPECT_EQ(reader.GetDataCount(), 0);
}

TEST_F(ArchiveReader, SaveFileWritesThePayload) {
  const Bytes payload = random_bytes(4096, 21);
  ASSERT_EQ(reader.OpenArchive(archive({{"a", text_bytes("A"), 0}, {"Data.bin", payload, 77}}).c_str()), 0);
  ASSERT_EQ(reader.SaveFile(1, (dir / "by_index").c_str()), 0);
  ASSERT_EQ(reader.SaveFile("data.BIN", (dir / "by_title").c_str()), 0);
  EXPECT_EQ(read_file(dir / "by_index"), payload);
  EXPECT_EQ(read_file(dir / "by_title"), payload);
  EXPECT_EQ(reader.SaveFile("nope", (dir / "x").c_str()), -1);
  EXPECT_EQ(reader.SaveFile(1, (dir / "no/dir").c_str()), -1);
  EXPECT_EQ(reader.SaveFile(1, nullptr), -1);
  EXPECT_FALSE(file_exists(dir / "x"));
}

}  // namespace
