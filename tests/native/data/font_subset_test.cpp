// The page's font, cut down to the game's characters (web/subset_font.py, built by
// make web beside the archives): every character the game can show is in it,
// FreeType hints each to the same outline and advance as from the original font at
// the game's text heights, and none of its names is the original's.
#include <gtest/gtest.h>
#include <iconv.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "archive/tam_archive_expand.h"
#include "game/game_texts.h"
#include "game/host/freetype_glyphs.h"
#include "game/host/text_encoding.h"
#include "game/key_names.h"
#include "game/play_draw.h"
#include "game/play_texts.h"
#include "game/stage_file.h"

namespace torv {
namespace {

const std::string kDataDir = TORV_DATA_DIR;
const std::string kSubsetName = "torv-gothic-subset.ttf";
const std::string kSubset = kDataDir + "/" + kSubsetName;
const std::string kOriginal = kDefaultFontPath;

bool file_exists(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f) std::fclose(f);
  return f != nullptr;
}

// The code points of a Shift-JIS text, by the conversion the game's glyphs use.
std::vector<char32_t> code_points(const std::string& text) {
  iconv_t cd = open_from_cp932("UTF-32LE");
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
  std::string in = text;
  std::vector<char32_t> out(text.size() + 1);
  char* src = in.data();
  char* dst = reinterpret_cast<char*>(out.data());
  size_t src_left = in.size(), dst_left = out.size() * sizeof(char32_t);
  EXPECT_NE(iconv(cd, &src, &src_left, &dst, &dst_left), static_cast<size_t>(-1)) << text;
  iconv_close(cd);
  out.resize(out.size() - dst_left / sizeof(char32_t));
  return out;
}

// Every text the game draws: its fixed texts, the key names of the key
// configuration screen, the stage titles of the status bar; and printable ASCII,
// which the numbers and the player's key names are made of.
std::set<char32_t> shown_characters() {
  const char* const fixed[] = {
      text::kTitleStart, text::kTitleContinueStage, text::kTitleContinueEmpty, text::kTitleKeyConfig,
      text::kTitleExit, text::kRowDash, text::kRowJump, text::kRowAttack, text::kRowAttackSwitch,
      text::kRowPause, text::kColumnKeyboard, text::kColumnPad, text::kStatusLine1, text::kStatusFire,
      text::kStatusIce, text::kStatusClose, text::kPauseResume, text::kPauseSave, text::kPauseToTitle,
      text::kPauseSaved, text::kStatusLine2, text::kPauseTitle, text::kGameOverText, text::kAllClearText,
  };
  std::vector<std::string> texts(std::begin(fixed), std::end(fixed));
  KeyNameTable names;
  build_key_names(names);
  for (const auto& name : names) texts.emplace_back(name.data());
  CTamArchiveExpand stages;
  EXPECT_EQ(stages.OpenArchive((kDataDir + "/sdat.tfa").c_str()), 0);
  for (int i = 0; i < stages.GetDataCount(); ++i) {
    unsigned char* data = nullptr;
    const int size = stages.GetMemory(i, &data);
    StageFile stage;
    EXPECT_EQ(read_stage_file(data, static_cast<size_t>(std::max(size, 0)), &stage), StageFileError::kNone)
        << stages.GetFileTitle(i);
    texts.push_back(stage.title);
  }
  EXPECT_GT(stages.GetDataCount(), 0);
  std::set<char32_t> chars;
  for (char32_t c = 0x20; c < 0x7F; ++c) chars.insert(c);
  for (const std::string& t : texts) {
    for (char32_t c : code_points(t)) chars.insert(c);
  }
  return chars;
}

struct Face {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  explicit Face(const std::string& path) {
    if (FT_Init_FreeType(&library) == 0 && FT_New_Face(library, path.c_str(), 0, &face) != 0) face = nullptr;
  }
  ~Face() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
  }
};

// A glyph as FreeType's hinting leaves it: the outline and the advance.
struct HintedGlyph {
  std::vector<FT_Vector> points;
  std::vector<char> tags;
  std::vector<short> contours;
  FT_Pos advance = 0;
  bool operator==(const HintedGlyph& o) const {
    auto same_point = [](const FT_Vector& a, const FT_Vector& b) { return a.x == b.x && a.y == b.y; };
    return advance == o.advance && tags == o.tags && contours == o.contours &&
           std::equal(points.begin(), points.end(), o.points.begin(), o.points.end(), same_point);
  }
};

bool load_hinted(FT_Face face, char32_t c, HintedGlyph* out) {
  if (FT_Load_Char(face, c, FT_LOAD_DEFAULT) != 0) return false;
  const FT_Outline& outline = face->glyph->outline;
  out->points.assign(outline.points, outline.points + outline.n_points);
  out->tags.assign(outline.tags, outline.tags + outline.n_points);
  out->contours.assign(outline.contours, outline.contours + outline.n_contours);
  out->advance = face->glyph->advance.x;
  return true;
}

class FontSubset : public ::testing::Test {
protected:
  void SetUp() override {
    if (!file_exists(kSubset)) GTEST_SKIP() << kSubset << " is not built (make web builds it)";
  }
};

TEST_F(FontSubset, HintsEveryShownCharacterAsTheOriginalDoes) {
  const std::set<char32_t> chars = shown_characters();
  Face original(kOriginal), subset(kSubset);
  ASSERT_TRUE(original.face && subset.face);
  for (char32_t c : chars) {
    EXPECT_NE(FT_Get_Char_Index(original.face, c), 0u) << "U+" << std::hex << c << " is not in the original";
    EXPECT_NE(FT_Get_Char_Index(subset.face, c), 0u) << "U+" << std::hex << c << " is not in the subset";
  }
  // The em and metrics as the game's glyph source derives them from each font.
  FreeTypeGlyphs original_glyphs, subset_glyphs;
  ASSERT_TRUE(original_glyphs.open(kOriginal) && subset_glyphs.open(kSubset));
  const int heights[] = {kPlayFontSize, kMenuFontSize, kAllClearFontSize};
  for (int height : heights) {
    original_glyphs.set_height(height);
    subset_glyphs.set_height(height);
    ASSERT_EQ(subset_glyphs.em_pixels(), original_glyphs.em_pixels()) << "height " << height;
    FontMetrics want, got;
    ASSERT_TRUE(original_glyphs.font_metrics(&want) && subset_glyphs.font_metrics(&got));
    EXPECT_EQ(got.ascent, want.ascent) << "height " << height;
    EXPECT_EQ(got.height, want.height) << "height " << height;
    EXPECT_EQ(got.max_char_width, want.max_char_width) << "height " << height;

    const auto em = static_cast<FT_UInt>(original_glyphs.em_pixels());
    ASSERT_EQ(FT_Set_Pixel_Sizes(original.face, 0, em), 0);
    ASSERT_EQ(FT_Set_Pixel_Sizes(subset.face, 0, em), 0);
    for (char32_t c : chars) {
      HintedGlyph a, b;
      ASSERT_TRUE(load_hinted(original.face, c, &a));
      ASSERT_TRUE(load_hinted(subset.face, c, &b));
      EXPECT_TRUE(a == b) << "U+" << std::hex << c << std::dec << " at height " << height << ": " << b.points.size()
                          << " points, advance " << b.advance << "; the original " << a.points.size()
                          << " points, advance " << a.advance;
    }
  }
}

// A name as lower-case code points without spaces, hyphens or underscores, so that
// "IPA Gothic" contains "ipagothic". Windows and Unicode names are UTF-16BE; Mac
// names are taken byte by byte (their ASCII is what can be compared).
std::u32string folded_name(const FT_SfntName& name) {
  std::u32string out;
  const bool utf16 = name.platform_id == TT_PLATFORM_MICROSOFT || name.platform_id == TT_PLATFORM_APPLE_UNICODE;
  for (FT_UInt i = 0; i < name.string_len; i += utf16 ? 2 : 1) {
    char32_t c = utf16 && i + 1 < name.string_len ? static_cast<char32_t>(name.string[i] << 8 | name.string[i + 1])
                                                  : name.string[i];
    if (c == ' ' || c == '-' || c == '_') continue;
    if (c < 0x80) c = static_cast<char32_t>(std::tolower(static_cast<int>(c)));
    out += c;
  }
  return out;
}

std::u32string folded(const std::string& ascii) {
  FT_SfntName name{};
  name.platform_id = TT_PLATFORM_MACINTOSH;
  name.string = reinterpret_cast<FT_Byte*>(const_cast<char*>(ascii.data()));
  name.string_len = static_cast<FT_UInt>(ascii.size());
  return folded_name(name);
}

std::string printable(const std::u32string& s) {
  std::string out;
  for (char32_t c : s) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

// The original's licence forbids a derived font its names: its family, full and
// PostScript names in any language, and its file name, in any of the subset's
// names or the subset's file name. The copyright and the licence's description and
// address (which name the original's makers and licence) are not names of the font.
TEST_F(FontSubset, CarriesNoneOfTheOriginalsNames) {
  Face original(kOriginal), subset(kSubset);
  ASSERT_TRUE(original.face && subset.face);
  std::set<std::u32string> forbidden;
  for (FT_UInt i = 0; i < FT_Get_Sfnt_Name_Count(original.face); ++i) {
    FT_SfntName name;
    ASSERT_EQ(FT_Get_Sfnt_Name(original.face, i, &name), 0);
    if (name.name_id == TT_NAME_ID_FONT_FAMILY || name.name_id == TT_NAME_ID_FULL_NAME ||
        name.name_id == TT_NAME_ID_PS_NAME || name.name_id == TT_NAME_ID_TYPOGRAPHIC_FAMILY) {
      forbidden.insert(folded_name(name));
    }
  }
  const std::string original_file = kOriginal.substr(kOriginal.rfind('/') + 1);
  forbidden.insert(folded(original_file.substr(0, original_file.rfind('.'))));
  ASSERT_GE(forbidden.size(), 2u);

  std::vector<std::pair<std::string, std::u32string>> names = {{"file name", folded(kSubsetName)}};
  for (FT_UInt i = 0; i < FT_Get_Sfnt_Name_Count(subset.face); ++i) {
    FT_SfntName name;
    ASSERT_EQ(FT_Get_Sfnt_Name(subset.face, i, &name), 0);
    if (name.name_id == TT_NAME_ID_COPYRIGHT || name.name_id == TT_NAME_ID_LICENSE ||
        name.name_id == TT_NAME_ID_LICENSE_URL) {
      continue;
    }
    names.emplace_back("name ID " + std::to_string(name.name_id) + " of platform " +
                           std::to_string(name.platform_id) + ", language " + std::to_string(name.language_id),
                       folded_name(name));
  }
  for (const auto& [where, name] : names) {
    for (const std::u32string& word : forbidden) {
      EXPECT_EQ(name.find(word), std::u32string::npos) << where << " \"" << printable(name) << "\" contains \""
                                                       << printable(word) << "\"";
    }
  }
  // Renamed, not left without a name.
  ASSERT_NE(subset.face->family_name, nullptr);
  EXPECT_STRNE(subset.face->family_name, "");
}

}  // namespace
}  // namespace torv
