#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/complemented_text.h"
#include "game/save_file.h"

namespace torv {
namespace {

namespace fs = std::filesystem;

class SaveFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("torv_save_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    path_ = (dir_ / "save.dat").string();
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::vector<uint8_t> file_bytes() {
    std::ifstream in(path_, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }
  void put_bytes(const std::vector<uint8_t>& bytes) {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }

  fs::path dir_;
  std::string path_;
};

SaveSlots sample_slots() {
  SaveSlots slots;
  slots[4].stage_file = "0003.afb";
  slots[4].archive_name = "sdat.tfa";
  slots[4].stage_title = "\x93\xB4\x8C\x41\x82\xCC\x89\x9C";  // Shift-JIS, trail byte 0x5C-free sample
  slots[4].next_stage_file = "0004.afb";
  slots[4].fire_ammo = 15;
  slots[4].ice_ammo = -1;
  slots[4].score = 123456789;
  slots[4].lives = 3;
  slots[4].holy_water = 99;
  slots[4].stage_number = 3;
  slots[8].stage_file = "\x95\x5C.afb";  // 表: trail byte 0x5C, a backslash in ASCII
  slots[8].stage_title = std::string("x\xFFy", 3);
  slots[8].stage_number = INT32_MIN;
  return slots;
}

TEST_F(SaveFileTest, EmptySlotsWithDefaultKeysMake386Bytes) {
  ASSERT_TRUE(write_save_file(path_, KeyConfig{}, SaveSlots{}));
  const std::vector<uint8_t> bytes = file_bytes();
  ASSERT_EQ(bytes.size(), 386u);
  // Tag length 12, then "TORVSaveData" complemented, then the keys as they are.
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 4), (std::vector<uint8_t>{12, 0, 0, 0}));
  const std::string tag = "TORVSaveData";
  for (size_t i = 0; i < tag.size(); ++i) EXPECT_EQ(bytes[4 + i], static_cast<uint8_t>(~tag[i])) << i;
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 16, bytes.begin() + 26),
            (std::vector<uint8_t>{16, 90, 88, 67, 27, 0, 1, 2, 3, 4}));
  for (size_t i = 26; i < bytes.size(); ++i) EXPECT_EQ(bytes[i], 0) << i;
}

TEST_F(SaveFileTest, RoundTripKeepsKeysAndEveryByteOfTheTexts) {
  KeyConfig keys;
  keys.keys[1] = 'A';
  keys.pad_buttons[4] = 255;
  const SaveSlots slots = sample_slots();
  ASSERT_TRUE(write_save_file(path_, keys, slots));
  EXPECT_EQ(file_bytes().size(), 386u + 8 + 8 + 8 + 8 + 6 + 3);
  KeyConfig read_keys;
  SaveSlots read_slots;
  ASSERT_EQ(read_save_file(path_, read_keys, read_slots), SaveReadResult::kLoaded);
  EXPECT_TRUE(read_keys == keys);
  for (int i = 0; i < kSaveSlots; ++i) EXPECT_EQ(read_slots[i], slots[i]) << "slot " << i;
}

TEST_F(SaveFileTest, SavingReplacesTheOldFileAndLeavesNoTemporaryFile) {
  ASSERT_TRUE(write_save_file(path_, KeyConfig{}, sample_slots()));
  ASSERT_TRUE(write_save_file(path_, KeyConfig{}, SaveSlots{}));
  EXPECT_EQ(file_bytes().size(), 386u);
  EXPECT_FALSE(fs::exists(path_ + ".tmp"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(SaveFileTest, AFailedSaveLeavesTheOldFileWhole) {
  ASSERT_TRUE(write_save_file(path_, KeyConfig{}, sample_slots()));
  const std::vector<uint8_t> before = file_bytes();
  // The temporary file's name is taken by a folder: the new file cannot be written.
  fs::create_directories(path_ + ".tmp");
  EXPECT_FALSE(write_save_file(path_, KeyConfig{}, SaveSlots{}));
  EXPECT_EQ(file_bytes(), before);
  EXPECT_FALSE(write_save_file((dir_ / "missing" / "save.dat").string(), KeyConfig{}, SaveSlots{}));
}

TEST_F(SaveFileTest, MissingOrForeignFilesKeepTheDefaults) {
  KeyConfig keys;
  keys.keys[0] = 'Q';
  SaveSlots slots = sample_slots();
  const KeyConfig keys_before = keys;
  const SaveSlots slots_before = slots;
  EXPECT_EQ(read_save_file(path_, keys, slots), SaveReadResult::kNoFile);

  std::vector<uint8_t> other_tag;
  write_complemented_text(other_tag, "TORVSaveDatb");
  std::vector<uint8_t> short_tag;
  write_complemented_text(short_tag, "TORVSave");
  for (const auto& bytes : {std::vector<uint8_t>{}, other_tag, short_tag}) {
    put_bytes(bytes);
    EXPECT_EQ(read_save_file(path_, keys, slots), SaveReadResult::kForeign);
  }
  EXPECT_TRUE(keys == keys_before);
  EXPECT_EQ(slots, slots_before);
}

TEST_F(SaveFileTest, EveryTruncationIsAReadErrorThatKeepsTheDefaults) {
  KeyConfig keys;
  keys.keys[1] = 'A';
  const std::vector<uint8_t> whole = encode_save(keys, sample_slots());
  // From the 16-byte file holding only a correct tag to one byte short of whole.
  for (size_t size = 16; size < whole.size(); ++size) {
    KeyConfig read_keys;
    SaveSlots read_slots;
    ASSERT_EQ(decode_save(whole.data(), size, read_keys, read_slots), SaveReadResult::kReadError) << size;
    ASSERT_TRUE(read_keys == KeyConfig{}) << size;
    ASSERT_EQ(read_slots, SaveSlots{}) << size;
  }
  // Cut inside the tag.
  KeyConfig k;
  SaveSlots s;
  EXPECT_EQ(decode_save(whole.data(), 10, k, s), SaveReadResult::kReadError);
}

TEST_F(SaveFileTest, DamagedLengthsAreReadErrors) {
  const std::vector<uint8_t> whole = encode_save(KeyConfig{}, sample_slots());
  // Offset 26 is the first slot's first text length.
  for (int32_t length : {-1, INT32_MIN, 100000, INT32_MAX}) {
    SCOPED_TRACE(length);
    std::vector<uint8_t> bytes = whole;
    for (int i = 0; i < 4; ++i) bytes[26 + i] = static_cast<uint8_t>(static_cast<uint32_t>(length) >> (8 * i));
    put_bytes(bytes);
    KeyConfig keys;
    SaveSlots slots;
    EXPECT_EQ(read_save_file(path_, keys, slots), SaveReadResult::kReadError);
    EXPECT_EQ(slots, SaveSlots{});
  }
}

// Every text at its longest: the largest file that is still a save file.
SaveSlots longest_slots() {
  SaveSlots slots;
  for (GameProgress& slot : slots) {
    for (std::string* text : {&slot.stage_file, &slot.archive_name, &slot.stage_title, &slot.next_stage_file})
      text->assign(kMaxSaveTextBytes, '\x82');
    slot.stage_number = 7;
  }
  return slots;
}

TEST_F(SaveFileTest, AFileLongerThanTheLargestSaveFileIsAReadErrorThatKeepsTheDefaults) {
  const std::vector<uint8_t> longest = encode_save(KeyConfig{}, longest_slots());
  ASSERT_EQ(longest.size(), kMaxSaveFileBytes);
  std::vector<uint8_t> long_text = encode_save(KeyConfig{}, SaveSlots{});
  {
    // Slot 0's stage title (after two empty texts) one byte over the limit.
    std::vector<uint8_t> text;
    write_complemented_text(text, std::string(kMaxSaveTextBytes + 1, 'a'));
    long_text.erase(long_text.begin() + 34, long_text.begin() + 38);
    long_text.insert(long_text.begin() + 34, text.begin(), text.end());
  }
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    uintmax_t grown_to;  // 0: as written; else the file is made this long (sparse)
    SaveReadResult result;
  };
  std::vector<uint8_t> one_over = longest;
  one_over.push_back(0);
  const Case cases[] = {
      {"the largest save file", longest, 0, SaveReadResult::kLoaded},
      {"one byte more", one_over, 0, SaveReadResult::kReadError},
      {"a save file grown to 5 GiB", encode_save(KeyConfig{}, sample_slots()), uintmax_t{5} << 30,
       SaveReadResult::kReadError},
      {"a text one byte over its limit", long_text, 0, SaveReadResult::kReadError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    put_bytes(c.bytes);
    if (c.grown_to != 0) {
      fs::resize_file(path_, c.grown_to);
      ASSERT_EQ(fs::file_size(path_), c.grown_to);
    }
    KeyConfig keys;
    SaveSlots slots;
    EXPECT_EQ(read_save_file(path_, keys, slots), c.result);
    if (c.result == SaveReadResult::kLoaded) {
      EXPECT_EQ(slots, longest_slots());
    } else {
      EXPECT_TRUE(keys == KeyConfig{});
      EXPECT_EQ(slots, SaveSlots{});
    }
    fs::remove(path_);
  }
}

TEST_F(SaveFileTest, TextsEndAtTheirFirstZeroByte) {
  std::vector<uint8_t> bytes = encode_save(KeyConfig{}, SaveSlots{});
  // Replace slot 0's stage file by the complemented "ab\0c".
  std::vector<uint8_t> text;
  write_complemented_text(text, std::string("ab\0c", 4));
  bytes.erase(bytes.begin() + 26, bytes.begin() + 30);
  bytes.insert(bytes.begin() + 26, text.begin(), text.end());
  KeyConfig keys;
  SaveSlots slots;
  ASSERT_EQ(decode_save(bytes.data(), bytes.size(), keys, slots), SaveReadResult::kLoaded);
  EXPECT_EQ(slots[0].stage_file, "ab");
}

}  // namespace
}  // namespace torv
