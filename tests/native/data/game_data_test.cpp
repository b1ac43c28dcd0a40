// Checks of the built archives "dat.tfa" and "sdat.tfa": every member the game
// loads is there with a size that fits how the game draws it, the sounds do not
// clip and the music loops, and the stages form a playable chain.
#include <gtest/gtest.h>
#include <png.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "archive/tam_archive_expand.h"
#include "tests/native/data/stage_reader.h"

namespace {

const std::string kDataDir = TORV_DATA_DIR;

// Loads members of one archive by name (the lookup ignores case, as the game's does).
class Archive {
public:
  explicit Archive(const std::string& name) { ok_ = reader_.OpenArchive((kDataDir + "/" + name).c_str()) == 0; }
  bool ok() const { return ok_; }
  bool get(const std::string& title, std::vector<uint8_t>& out) {
    unsigned char* data = nullptr;
    const int n = reader_.GetMemory(title.c_str(), &data);
    if (n < 0 || !data) return false;
    out.assign(data, data + n);
    return true;
  }
  std::vector<std::string> titles() const {
    std::vector<std::string> t;
    for (int i = 0; i < reader_.GetDataCount(); ++i) t.push_back(reader_.GetFileTitle(i));
    return t;
  }

private:
  CTamArchiveExpand reader_;
  bool ok_ = false;
};

struct Png {
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;
};

std::string decode_png(const std::vector<uint8_t>& bytes, Png& out) {
  png_image img;
  std::memset(&img, 0, sizeof img);
  img.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&img, bytes.data(), bytes.size())) return img.message;
  img.format = PNG_FORMAT_RGBA;
  out.rgba.resize(PNG_IMAGE_SIZE(img));
  if (!png_image_finish_read(&img, nullptr, out.rgba.data(), 0, nullptr)) return img.message;
  out.width = static_cast<int>(img.width);
  out.height = static_cast<int>(img.height);
  // The drawing back-ends expect 8-bit colour with or without alpha.
  const int bit_depth = bytes[24], colour_type = bytes[25];
  if (bit_depth != 8 || (colour_type != 2 && colour_type != 6))
    return "bit depth " + std::to_string(bit_depth) + ", colour type " + std::to_string(colour_type);
  return "";
}

class DatArchive : public ::testing::Test {
protected:
  static void SetUpTestSuite() { archive_ = new Archive("dat.tfa"); }
  static void TearDownTestSuite() {
    delete archive_;
    archive_ = nullptr;
  }
  static Archive* archive_;
};
Archive* DatArchive::archive_ = nullptr;

struct ImageSize {
  const char* name;
  int width, height;
};

// Every image the game's resource table loads, at the size the game draws it.
const ImageSize kImages[] = {
    {"br0124.png", 24, 24},     {"br0224.png", 24, 24},     {"br0324.png", 24, 24},   {"brfire.png", 24, 24},
    {"brhari.png", 24, 24},     {"seisui.png", 24, 24},     {"1UP.png", 24, 24},      {"fireitem.png", 24, 24},
    {"fireitem15.png", 24, 24}, {"iceitem.png", 24, 24},    {"iceitem15.png", 24, 24}, {"item.png", 24, 24},
    {"goal.png", 24, 24},       {"redbr.png", 24, 24},      {"brhari2.png", 24, 24},  {"slim01.png", 24, 11},
    {"slim02.png", 24, 11},     {"rslim01.png", 24, 11},    {"rslim02.png", 24, 11},  {"yslim01.png", 24, 11},
    {"yslim02.png", 24, 11},    {"bar.png", 48, 4},         {"StsBar.png", 640, 48},  {"menu.PNG", 640, 480},
    {"---0.png", 16, 16},       {"---1.png", 16, 16},       {"---2.png", 16, 16},     {"---3.png", 16, 16},
    {"---4.png", 16, 16},       {"---5.png", 16, 16},       {"---6.png", 16, 16},     {"---7.png", 16, 16},
    {"---a.png", 16, 16},       {"at_r.png", 16, 16},       {"at_l.png", 16, 16},     {"at_u.png", 16, 16},
    {"at_d.png", 16, 16},       {"0.PNG", 640, 480},        {"0.png", 640, 480},      {"white.png", 640, 480},
};

TEST_F(DatArchive, HoldsEveryImageOfTheGameAtItsDrawnSize) {
  ASSERT_TRUE(archive_->ok()) << kDataDir << "/dat.tfa";
  for (const ImageSize& want : kImages) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(archive_->get(want.name, bytes)) << want.name;
    Png png;
    ASSERT_EQ(decode_png(bytes, png), "") << want.name;
    EXPECT_EQ(png.width, want.width) << want.name;
    EXPECT_EQ(png.height, want.height) << want.name;
  }
}

TEST_F(DatArchive, ShotImagesShareTheSizesTheGameTakesFromTheFireShots) {
  ASSERT_TRUE(archive_->ok());
  std::map<std::string, std::pair<int, int>> size;
  for (const char* name : {"honou_r.png", "honou_l.png", "honou_u.png", "honou_d.png", "freezer_r.png", "freezer_l.png",
                           "freezer_u.png", "freezer_d.png"}) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(archive_->get(name, bytes)) << name;
    Png png;
    ASSERT_EQ(decode_png(bytes, png), "") << name;
    size[name] = {png.width, png.height};
  }
  EXPECT_EQ(size["honou_l.png"], size["honou_r.png"]);
  EXPECT_EQ(size["honou_d.png"], size["honou_u.png"]);
  for (const char* dir : {"r", "l", "u", "d"})
    EXPECT_EQ(size[std::string("freezer_") + dir + ".png"], size[std::string("honou_") + dir + ".png"]) << dir;
  // A shot no larger than a cell, so it can fly along a one-cell corridor.
  EXPECT_LE(size["honou_r.png"].first, 24);
  EXPECT_LE(size["honou_r.png"].second, 24);
}

TEST_F(DatArchive, FadeImagesArePlainBlackAndWhite) {
  ASSERT_TRUE(archive_->ok());
  for (const auto& [name, value] : std::vector<std::pair<const char*, int>>{{"0.png", 0}, {"white.png", 255}}) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(archive_->get(name, bytes)) << name;
    Png png;
    ASSERT_EQ(decode_png(bytes, png), "") << name;
    for (size_t i = 0; i < png.rgba.size(); i += 4)
      ASSERT_TRUE(png.rgba[i] == value && png.rgba[i + 1] == value && png.rgba[i + 2] == value && png.rgba[i + 3] == 255)
          << name << " pixel " << i / 4;
  }
}

TEST_F(DatArchive, MemberNamesAreUniqueIgnoringCase) {
  ASSERT_TRUE(archive_->ok());
  std::set<std::string> seen;
  for (std::string t : archive_->titles()) {
    std::transform(t.begin(), t.end(), t.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    EXPECT_TRUE(seen.insert(t).second) << t;
  }
}

// Decoded sound.
struct Pcm {
  int rate = 0, channels = 0;
  std::vector<float> samples;  // interleaved
  size_t frames() const { return channels ? samples.size() / channels : 0; }
};

struct MemoryFile {
  const std::vector<uint8_t>* bytes;
  size_t pos = 0;
};

std::string decode_ogg(const std::vector<uint8_t>& bytes, Pcm& out) {
  MemoryFile file{&bytes};
  ov_callbacks cb;
  cb.read_func = [](void* ptr, size_t size, size_t n, void* src) -> size_t {
    MemoryFile* f = static_cast<MemoryFile*>(src);
    const size_t want = size * n, left = f->bytes->size() - f->pos, take = std::min(want, left);
    std::memcpy(ptr, f->bytes->data() + f->pos, take);
    f->pos += take;
    return size ? take / size : 0;
  };
  cb.seek_func = nullptr;  // read straight through
  cb.close_func = nullptr;
  cb.tell_func = nullptr;
  OggVorbis_File vf;
  if (ov_open_callbacks(&file, &vf, nullptr, 0, cb) != 0) return "not an Ogg Vorbis stream";
  out.rate = static_cast<int>(ov_info(&vf, -1)->rate);
  out.channels = ov_info(&vf, -1)->channels;
  float** pcm = nullptr;
  int section = 0;
  long got = 0;
  while ((got = ov_read_float(&vf, &pcm, 4096, &section)) > 0)
    for (long i = 0; i < got; ++i)
      for (int c = 0; c < out.channels; ++c) out.samples.push_back(pcm[c][i]);
  ov_clear(&vf);
  return got < 0 ? "decode error" : "";
}

double peak_of(const Pcm& p) {
  double peak = 0;
  for (float s : p.samples) peak = std::max(peak, static_cast<double>(std::abs(s)));
  return peak;
}

// A loop has no click when the step from its last frame back to its first is no
// larger than the steps the piece takes anyway (99.9th percentile). Answers the
// worst excess over that, 0 when every channel is seamless.
double seam_excess(const Pcm& p) {
  const size_t n = p.frames();
  double worst = 0;
  for (int c = 0; c < p.channels && n > 2; ++c) {
    std::vector<double> steps;
    steps.reserve(n);
    for (size_t i = 1; i < n; ++i)
      steps.push_back(std::abs(static_cast<double>(p.samples[i * p.channels + c]) - p.samples[(i - 1) * p.channels + c]));
    std::nth_element(steps.begin(), steps.begin() + static_cast<long>(steps.size() * 999 / 1000), steps.end());
    const double typical = std::max(steps[steps.size() * 999 / 1000], 0.01);
    const double seam = std::abs(static_cast<double>(p.samples[c]) - p.samples[(n - 1) * p.channels + c]);
    worst = std::max(worst, seam - typical);
  }
  return worst;
}

// What the tests need of one decoded sound; each sound is decoded once.
struct SoundStats {
  std::string error;  // "" when it was found and decoded
  double seconds = 0, peak = 0, seam_excess = 0;
};

const SoundStats& sound_stats(Archive& archive, const std::string& name) {
  static std::map<std::string, SoundStats> cache;
  auto it = cache.find(name);
  if (it != cache.end()) return it->second;
  SoundStats st;
  std::vector<uint8_t> bytes;
  Pcm pcm;
  if (!archive.get(name, bytes)) {
    st.error = "missing";
  } else if (std::string e = decode_ogg(bytes, pcm); !e.empty()) {
    st.error = e;
  } else {
    st.seconds = static_cast<double>(pcm.frames()) / pcm.rate;
    st.peak = peak_of(pcm);
    st.seam_excess = seam_excess(pcm);
  }
  return cache.emplace(name, st).first->second;
}

const char* const kEffects[] = {"Break.ogg", "ded.ogg",    "uded.ogg", "jump.ogg",   "menu.ogg",  "item.ogg",
                                "damage.ogg", "lifeup.ogg", "fire.ogg", "freeze.ogg", "clear.ogg", "timep.ogg"};
const char* const kMusic[] = {"BGM1.ogg", "BGM2.ogg", "BGM3.ogg", "BGM4.ogg", "BGM5.ogg"};

TEST_F(DatArchive, EffectsAreShortAndAudible) {
  ASSERT_TRUE(archive_->ok());
  for (const char* name : kEffects) {
    const SoundStats& st = sound_stats(*archive_, name);
    ASSERT_EQ(st.error, "") << name;
    EXPECT_GT(st.seconds, 0.05) << name;
    EXPECT_LT(st.seconds, 3.0) << name;
    EXPECT_GT(st.peak, 0.1) << name << " is nearly silent";
  }
  // "timep.ogg" plays looped through the time bonus.
  EXPECT_LE(sound_stats(*archive_, "timep.ogg").seam_excess, 0.0);
}

TEST_F(DatArchive, MusicPiecesLastAMinuteAndLoopWithoutAClick) {
  ASSERT_TRUE(archive_->ok());
  for (const char* name : kMusic) {
    const SoundStats& st = sound_stats(*archive_, name);
    ASSERT_EQ(st.error, "") << name;
    EXPECT_GE(st.seconds, 60.0) << name;
    EXPECT_LE(st.seam_excess, 0.0) << name;
  }
}

// The sound module mixes one effect over the music: the loudest effect on the
// loudest music must still stay below full scale.
TEST_F(DatArchive, AnEffectOverTheMusicDoesNotClip) {
  ASSERT_TRUE(archive_->ok());
  double effects = 0, music = 0;
  for (const char* name : kEffects) effects = std::max(effects, sound_stats(*archive_, name).peak);
  for (const char* name : kMusic) music = std::max(music, sound_stats(*archive_, name).peak);
  EXPECT_LT(effects + music, 1.0) << "effects peak " << effects << ", music peak " << music;
}

class SdatArchive : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    stages_ = new Archive("sdat.tfa");
    images_ = new Archive("dat.tfa");
  }
  static void TearDownTestSuite() {
    delete stages_;
    delete images_;
  }
  // The chain of stages from "0001.afb", as the game follows it.
  static std::vector<std::pair<std::string, stage_test::StageFile>> chain(std::string* error) {
    std::vector<std::pair<std::string, stage_test::StageFile>> out;
    std::set<std::string> seen;
    std::string name = "0001.afb";
    std::vector<uint8_t> bytes;
    while (stages_->get(name, bytes)) {
      if (!seen.insert(name).second) {
        *error = "the chain comes back to " + name;
        return out;
      }
      stage_test::StageFile s;
      if (std::string e = stage_test::read_stage(bytes.data(), bytes.size(), s); !e.empty()) {
        *error = name + ": " + e;
        return out;
      }
      out.emplace_back(name, s);
      name = s.next + ".afb";
    }
    return out;
  }
  static Archive* stages_;
  static Archive* images_;
};
Archive* SdatArchive::stages_ = nullptr;
Archive* SdatArchive::images_ = nullptr;

TEST_F(SdatArchive, StagesChainFromTheFirstToOneThatIsNotThere) {
  ASSERT_TRUE(stages_->ok()) << kDataDir << "/sdat.tfa";
  std::string error;
  const auto stages = chain(&error);
  ASSERT_EQ(error, "");
  ASSERT_FALSE(stages.empty()) << "no 0001.afb";
  EXPECT_GE(stages.size(), 8u);
  // Every member is reached: no stage is left out of the chain.
  std::set<std::string> reached;
  for (const auto& [name, s] : stages) reached.insert(name);
  for (const std::string& t : stages_->titles()) EXPECT_TRUE(reached.count(t)) << t << " is not in the chain";
}

TEST_F(SdatArchive, EveryStageCanBeStartedAndFinished) {
  ASSERT_TRUE(stages_->ok() && images_->ok());
  std::string error;
  const auto stages = chain(&error);
  ASSERT_EQ(error, "");
  for (const auto& [name, s] : stages) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(s.title.empty());
    EXPECT_TRUE(stage_test::valid_sjis(s.title));
    EXPECT_TRUE(std::any_of(s.title.begin(), s.title.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x81; }))
        << "a Japanese title";
    EXPECT_GE(s.time_seconds, 1);
    EXPECT_LE(s.time_seconds, 999);
    // The background exists and is large enough for the half-speed scroll:
    // (4800 - 640) / 2 + 640 wide, (2880 - 432 - 1) / 2 + 432 + 1 high.
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(images_->get(std::to_string(s.background) + ".png", bytes)) << "background " << s.background;
    Png bg;
    ASSERT_EQ(decode_png(bytes, bg), "");
    EXPECT_GE(bg.width, 2720);
    EXPECT_GE(bg.height, 1656);
    // Start: an open cell, not a hazard, with floor right below it.
    ASSERT_GE(s.start_column, 0);
    ASSERT_LT(s.start_column, stage_test::kColumns);
    ASSERT_GE(s.start_row, 0);
    ASSERT_LT(s.start_row + 1, stage_test::kRows);
    EXPECT_EQ(s.tile(s.start_column, s.start_row), 0);
    EXPECT_TRUE(stage_test::solid_code(s.tile(s.start_column, s.start_row + 1)));
    EXPECT_NE(s.tile(s.start_column, s.start_row + 1), 4) << "start on a fire block";
    int goals = 0;
    for (int c = 0; c < stage_test::kColumns; ++c)
      for (int r = 0; r < stage_test::kRows; ++r) {
        const int code = s.tile(c, r);
        EXPECT_LE(code, 40) << "column " << c << " row " << r;
        if (code == 34) ++goals;
        // Hidden and item blocks are hit from below: the cell under them must be
        // open, and the cell above must take the item or extra life they give.
        if (code == 6 || code == 7 || (code >= 28 && code <= 33)) {
          EXPECT_LT(r + 1, stage_test::kRows);
          if (r + 1 < stage_test::kRows) {
            EXPECT_FALSE(stage_test::solid_code(s.tile(c, r + 1))) << "block at column " << c << " row " << r << " cannot be hit";
          }
          if (code != 6 && r > 0) {
            EXPECT_FALSE(stage_test::solid_code(s.tile(c, r - 1))) << "item at column " << c << " row " << r << " has no room";
          }
        }
      }
    EXPECT_GE(goals, 1) << "no goal";
  }
}

TEST_F(SdatArchive, TheStagesUseEveryTileCodeAndObjectMarker) {
  ASSERT_TRUE(stages_->ok());
  std::string error;
  const auto stages = chain(&error);
  ASSERT_EQ(error, "");
  std::set<int> used;
  for (const auto& [name, s] : stages)
    for (uint8_t code : s.tiles) used.insert(code);
  for (int code = 0; code <= 40; ++code) EXPECT_TRUE(used.count(code)) << "tile code " << code << " is used nowhere";
}

}  // namespace
