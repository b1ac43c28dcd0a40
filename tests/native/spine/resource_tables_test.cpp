#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "game/resource_tables.h"

namespace torv {
namespace {

// The picture each index must show, written from the tile, object and player
// tables rather than from the load list.
std::map<int, std::string> expected_pictures() {
  std::map<int, std::string> m = {
      {1, "br0124.png"},     {2, "br0224.png"},      {3, "br0324.png"},    {4, "brfire.png"},
      {5, "brhari.png"},     {8, "seisui.png"},      {9, "1UP.png"},       {24, "fireitem.png"},
      {25, "fireitem15.png"}, {26, "iceitem.png"},   {27, "iceitem15.png"}, {34, "goal.png"},
      {37, "redbr.png"},     {85, "StsBar.png"},     {86, "menu.PNG"},     {103, "---a.png"},
      {104, "0.PNG"},        {105, "0.png"},         {106, "white.png"},
  };
  for (int code = 28; code <= 33; ++code) m[code] = "item.png";
  const char* dirs = "rlud";
  for (int d = 0; d < 4; ++d) {
    m[77 + d] = std::string("honou_") + dirs[d] + ".png";
    m[81 + d] = std::string("freezer_") + dirs[d] + ".png";
    m[95 + d] = std::string("at_") + dirs[d] + ".png";
    m[99 + d] = std::string("at_") + dirs[d] + ".png";
  }
  for (int i = 0; i < 8; ++i) m[87 + i] = "---" + std::to_string(i) + ".png";
  // Moving objects by type: frame A at 38 + type, frame B at 58 + type.
  const char* frame_a[19] = {"slim01.png", "rslim01.png", "yslim01.png"};
  const char* frame_b[19] = {"slim02.png", "rslim02.png", "yslim02.png"};
  for (int type : {3, 4, 5, 16, 17, 18}) frame_a[type] = frame_b[type] = "brhari2.png";
  for (int type = 6; type <= 13; ++type) frame_a[type] = frame_b[type] = "bar.png";
  frame_a[14] = frame_b[14] = "fireitem.png";
  frame_a[15] = frame_b[15] = "iceitem.png";
  for (int type = 0; type < 19; ++type) {
    m[38 + type] = frame_a[type];
    m[58 + type] = frame_b[type];
  }
  return m;
}

// A drawing module stand-in: hands out slots 0, 1, 2 ... and remembers each slot's file.
struct FakeLoader {
  std::vector<std::string> files;  // by slot
  std::set<std::string> failing;
  int operator()(const char* file, int* slot) {
    if (failing.count(file)) return -2;
    *slot = static_cast<int>(files.size());
    files.push_back(file);
    return 0;
  }
};

TEST(ImageTable, EveryIndexShowsItsPictureAndSharedPicturesLoadOnce) {
  FakeLoader loader;
  std::array<int32_t, kImageSlotCount> slots;
  slots.fill(12345);
  ASSERT_EQ(load_image_table(slots, std::ref(loader)), 0);

  const auto expected = expected_pictures();
  for (int index = 0; index < kImageSlotCount; ++index) {
    auto it = expected.find(index);
    if (it == expected.end()) {
      EXPECT_EQ(slots[index], kNoImage) << "index " << index;
      continue;
    }
    ASSERT_GE(slots[index], 0) << "index " << index;
    ASSERT_LT(slots[index], static_cast<int>(loader.files.size()));
    EXPECT_EQ(loader.files[slots[index]], it->second) << "index " << index;
  }
  // Shared pictures are loaded once and copied; the attack poses and the object
  // items are separate loads of the same members.
  EXPECT_EQ(loader.files.size(), 54u);
  EXPECT_EQ(slots[29], slots[28]);
  EXPECT_EQ(slots[76], slots[41]);
  EXPECT_EQ(slots[71], slots[44]);
  EXPECT_NE(slots[99], slots[95]);
  EXPECT_NE(slots[52], slots[24]);
  // Tile codes without an image are "no image".
  for (int index : {0, 6, 7, 10, 15, 23, 35, 36}) EXPECT_EQ(slots[index], kNoImage);
}

TEST(ImageTable, AFailedLoadIsCountedAndLeavesItsIndicesWithoutImage) {
  FakeLoader loader;
  loader.failing = {"brhari2.png", "white.png"};
  std::array<int32_t, kImageSlotCount> slots;
  EXPECT_EQ(load_image_table(slots, std::ref(loader)), -4);
  for (int index : {41, 42, 43, 54, 55, 56, 61, 62, 63, 74, 75, 76, 106}) EXPECT_EQ(slots[index], kNoImage) << index;
  // The loads after a failure still happen.
  EXPECT_EQ(loader.files.back(), "---a.png");
}

TEST(SoundTable, EffectsInOrderThenTheMusicWithFailuresSummed) {
  const std::vector<std::string> effect_order = {"Break.ogg", "ded.ogg",    "uded.ogg",  "jump.ogg",
                                                 "menu.ogg",  "item.ogg",   "damage.ogg", "lifeup.ogg",
                                                 "fire.ogg",  "freeze.ogg", "clear.ogg", "timep.ogg"};
  struct Case {
    std::string missing;
    int sum;
  } cases[] = {{"", 0}, {"timep.ogg", -1}, {"BGM1.ogg", -1}, {"Break.ogg", -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.missing);
    std::vector<std::string> calls;
    int next = 100;
    auto create = [&](const char* kind) {
      return [&, kind](int* handle, const char* file) {
        calls.push_back(std::string(kind) + file);
        if (c.missing == file) return -1;
        *handle = next++;
        return 0;
      };
    };
    int32_t music = 0;
    std::array<int32_t, kEffectCount> effects{};
    EXPECT_EQ(load_sound_table(music, effects, create("effect:"), create("music:")), c.sum);
    ASSERT_EQ(calls.size(), 13u);
    for (int i = 0; i < kEffectCount; ++i) EXPECT_EQ(calls[i], "effect:" + effect_order[i]);
    EXPECT_EQ(calls[12], "music:BGM1.ogg");
    if (c.missing.empty()) {
      EXPECT_EQ(effects[kEffectTimeBonus], 111);
      EXPECT_EQ(music, 112);
    }
  }
}

}  // namespace
}  // namespace torv
