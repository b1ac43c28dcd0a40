// The start-up resource tables and their load order.
#include "game/resource_tables.h"

namespace torv {

const std::array<const char*, kEffectCount> kEffectFiles = {
    "Break.ogg", "ded.ogg",    "uded.ogg",  "jump.ogg",   "menu.ogg",  "item.ogg",
    "damage.ogg", "lifeup.ogg", "fire.ogg", "freeze.ogg", "clear.ogg", "timep.ogg",
};

const std::vector<ImageLoad>& image_loads() {
  // Moving objects: frame A at 38 + type, frame B at 58 + type. Types sharing one
  // picture (spikes 3-5 and 16-18, platforms 6-13) load it once and copy the slot.
  static const std::vector<ImageLoad> loads = {
      {1, "br0124.png", {}},
      {2, "br0224.png", {}},
      {3, "br0324.png", {}},
      {4, "brfire.png", {}},
      {5, "brhari.png", {}},
      {8, "seisui.png", {}},
      {9, "1UP.png", {}},
      {24, "fireitem.png", {}},
      {25, "fireitem15.png", {}},
      {26, "iceitem.png", {}},
      {27, "iceitem15.png", {}},
      {34, "goal.png", {}},
      {37, "redbr.png", {}},
      {28, "item.png", {29, 30, 31, 32, 33}},
      {77, "honou_r.png", {}},
      {78, "honou_l.png", {}},
      {79, "honou_u.png", {}},
      {80, "honou_d.png", {}},
      {81, "freezer_r.png", {}},
      {82, "freezer_l.png", {}},
      {83, "freezer_u.png", {}},
      {84, "freezer_d.png", {}},
      {kImageStatusBar, "StsBar.png", {}},
      {kImageMenuBackground, "menu.PNG", {}},
      {kImageBackground, "0.PNG", {}},
      {kImageBlack, "0.png", {}},
      {kImageWhite, "white.png", {}},
      {38, "slim01.png", {}},
      {58, "slim02.png", {}},
      {39, "rslim01.png", {}},
      {59, "rslim02.png", {}},
      {40, "yslim01.png", {}},
      {60, "yslim02.png", {}},
      {41, "brhari2.png", {42, 43, 54, 55, 56, 61, 62, 63, 74, 75, 76}},
      {52, "fireitem.png", {72}},
      {53, "iceitem.png", {73}},
      {44, "bar.png", {45, 46, 47, 48, 49, 50, 51, 64, 65, 66, 67, 68, 69, 70, 71}},
      {87, "---0.png", {}},
      {88, "---1.png", {}},
      {89, "---2.png", {}},
      {90, "---3.png", {}},
      {91, "---4.png", {}},
      {92, "---5.png", {}},
      {93, "---6.png", {}},
      {94, "---7.png", {}},
      {95, "at_r.png", {}},
      {96, "at_l.png", {}},
      {97, "at_u.png", {}},
      {98, "at_d.png", {}},
      // The attack poses again, as their own images.
      {99, "at_r.png", {}},
      {100, "at_l.png", {}},
      {101, "at_u.png", {}},
      {102, "at_d.png", {}},
      {103, "---a.png", {}},
  };
  return loads;
}

int load_image_table(std::array<int32_t, kImageSlotCount>& slots,
                     const std::function<int(const char* file, int* slot)>& load) {
  // Every index starts as "no image", so an index that is never loaded can never
  // name another image's slot by accident.
  slots.fill(kNoImage);
  int sum = 0;
  for (const ImageLoad& item : image_loads()) {
    int slot = kNoImage;
    const int result = load(item.file, &slot);
    sum += result;
    if (result != 0) slot = kNoImage;
    slots[item.index] = slot;
    for (int copy : item.copies) slots[copy] = slot;
  }
  return sum;
}

int load_sound_table(int32_t& music, std::array<int32_t, kEffectCount>& effects,
                     const std::function<int(int* handle, const char* file)>& create_effect,
                     const std::function<int(int* handle, const char* file)>& create_music) {
  int sum = 0;
  for (int i = 0; i < kEffectCount; ++i) {
    int handle = effects[i];
    sum += create_effect(&handle, kEffectFiles[i]);
    effects[i] = handle;
  }
  int handle = music;
  sum += create_music(&handle, kStartMusic);
  music = handle;
  return sum;
}

}  // namespace torv
