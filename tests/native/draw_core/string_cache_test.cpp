#include "common/string_cache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "draw_test_util.h"

namespace {

using drawtest::Surface;
using torv::StringCache;
using torv::TextRect;

// A font whose glyphs tell which character landed where: each character is a
// solid block filling its cell with one grey level of its own, so a frame pixel
// drawn in white over black reads back as that level's coverage.
// Three characters have shapes of their own: '!' a small patterned glyph, '$'
// one that reaches 2 pixels into the cell before it, and those in `missing`
// have no bitmap.
class FakeFont : public torv::GlyphSource {
public:
  torv::FontMetrics metrics{14, 11, 14};
  std::string description = "font A";
  std::set<unsigned> missing;
  bool has_metrics = true;
  int glyph_calls = 0;

  static int level(unsigned code) { return int(code % 50) + 10; }

  std::string font_description() override { return description; }
  bool font_metrics(torv::FontMetrics* out) override {
    *out = metrics;
    return has_metrics;
  }
  bool is_lead_byte(uint8_t b) override { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
  bool glyph(unsigned code, torv::GlyphBitmap* g) override {
    ++glyph_calls;
    if (missing.count(code)) return false;
    const int half = metrics.max_char_width / 2;
    if (code == '!') {
      *g = torv::GlyphBitmap{2, 3, 1, 2, 4, {64, 32, 0, 0, 1, 0, 0, 0, 16, 63, 0, 0}};
      return true;
    }
    g->width = code > 0xFF ? 2 * half : half;
    g->height = metrics.height;
    g->origin_x = code == '$' ? -2 : 0;
    g->origin_y = metrics.ascent;
    g->pitch = (g->width + 3) & ~3;
    g->levels.assign(size_t(g->pitch) * size_t(g->height), 0);
    const int lv = code == '#' ? 32 : code == '$' ? 16 : level(code);
    for (int r = 0; r < g->height; ++r)
      for (int c = 0; c < g->width; ++c) g->levels[size_t(r) * size_t(g->pitch) + size_t(c)] = uint8_t(lv);
    return true;
  }
};

constexpr uint32_t kWhite = 0xFFFFFFu;
int coverage(int level) { return level * 255 / 64; }
// The frame value a character's cell shows when drawn in white over black.
int cell_value(unsigned code) { return coverage(FakeFont::level(code)); }

class StringCacheTest : public ::testing::Test {
protected:
  torv::Blender blender;
  StringCache cache;
  FakeFont font;
  Surface frame{200, 80};

  int draw(const char* text, TextRect rect, int count = -1, bool no_clip = false, bool centre = false,
           uint32_t colour = kWhite) {
    return cache.draw_text(blender, frame.frame(), font, rect, text, count, no_clip, centre, colour);
  }
  int blue(int x, int y) const { return frame.at(x, y)[0]; }
  const torv::RenderedString* find(const std::string& text) const {
    for (int i = 0; i < StringCache::kEntryCount; ++i)
      if (!cache.entry(i).empty() && cache.entry(i).text() == text) return &cache.entry(i);
    return nullptr;
  }
};

TEST_F(StringCacheTest, BitmapIsHalfWidthPerByteAndPositionsMarkCellStarts) {
  // "A", space, a double-byte character, "\r", "\n", "B": 7 bytes.
  ASSERT_EQ(draw("A \x88\x9f\r\nB", {0, 0, 200, 80}), 0);
  const torv::RenderedString* e = find("A \x88\x9f\r\nB");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->bitmap_width(), 7 * 7);
  EXPECT_EQ(e->bitmap_height(), 14);
  EXPECT_EQ(e->positions(), (std::vector<int>{0, 7, 14, -1, -1, -1, 42, -1}));
  // The space has a cell but nothing in it.
  for (int y = 0; y < 14; ++y) EXPECT_EQ(e->bitmap()[(size_t(y) * 49 + 7) * 4 + 3], 0) << y;

  // Ten bytes in a font 14 wide: 70 pixels.
  ASSERT_EQ(draw("0123456789", {0, 0, 200, 80}), 0);
  EXPECT_EQ(find("0123456789")->bitmap_width(), 70);
}

TEST_F(StringCacheTest, GlyphPixelsTakeTheColourAndCoverageAtTheirOrigin) {
  const uint32_t colour = 0x00326496;  // red 0x96, green 0x64, blue 0x32
  ASSERT_EQ(draw("a!", {0, 0, 200, 80}, -1, false, false, colour), 0);
  const torv::RenderedString* e = find("a!");
  ASSERT_NE(e, nullptr);
  auto px = [&](int x, int y) {
    const uint8_t* p = &e->bitmap()[(size_t(y) * size_t(e->bitmap_width()) + size_t(x)) * 4];
    return std::vector<int>{p[0], p[1], p[2], p[3]};
  };
  // '!' starts at byte 1: cell x 7, black box at x 7 + 1, y = ascent 11 - 2.
  struct Case {
    int x, y, alpha;
  };
  const Case cases[] = {{8, 9, 255}, {9, 9, 127}, {8, 10, 3}, {9, 10, 0}, {8, 11, 63}, {9, 11, 251}};
  for (const Case& c : cases) {
    const std::vector<int> want =
        c.alpha == 0 ? std::vector<int>{0, 0, 0, 0} : std::vector<int>{0x32, 0x64, 0x96, c.alpha};
    EXPECT_EQ(px(c.x, c.y), want) << c.x << "," << c.y;
  }
}

TEST_F(StringCacheTest, OverlappingGlyphsMixColourAndKeepTheFirstCoverage) {
  const uint32_t colour = 0x003264C8;  // blue 0x32, green 0x64, red 0xC8
  ASSERT_EQ(draw("#$", {0, 0, 200, 80}, -1, false, false, colour), 0);
  const torv::RenderedString* e = find("#$");
  ASSERT_NE(e, nullptr);
  const torv::ProductTable& t = blender.table();
  auto at = [&](int x, int c) { return int(e->bitmap()[(size_t(5) * 14 + size_t(x)) * 4 + size_t(c)]); };
  // Columns 5 and 6 of '#' (coverage 127) are covered again by '$' (coverage 63).
  for (int x : {5, 6}) {
    EXPECT_EQ(at(x, 0), t(0x32, 63) + t(0x32, 192)) << x;
    EXPECT_EQ(at(x, 1), t(0x64, 63) + t(0x64, 192)) << x;
    EXPECT_EQ(at(x, 2), t(0xC8, 63) + t(0xC8, 192)) << x;
    EXPECT_EQ(at(x, 3), 127) << x;
  }
  EXPECT_EQ(at(4, 3), 127);  // '#' alone
  EXPECT_EQ(at(7, 3), 63);   // '$' alone
}

// Layout: where the characters land in the frame.
struct LayoutCase {
  const char* what;
  const char* text;
  TextRect rect;
  int count;
  bool no_clip, centre;
  int max_char_width;
  struct Probe {
    int x, y;
    unsigned code;  // 0: nothing drawn there
  };
  std::vector<Probe> probes;
};

TEST_F(StringCacheTest, LayoutPlacesCellsBreaksLinesAndStops) {
  const std::vector<LayoutCase> cases = {
      {"single-byte cells are half wide", "ABC", {10, 5, 200, 80}, -1, false, false, 14,
       {{10, 5, 'A'}, {17, 5, 'B'}, {24, 18, 'C'}, {31, 5, 0}}},
      {"double-byte cells are full wide", "A\x88\x9f" "B", {0, 0, 200, 80}, -1, false, false, 14,
       {{0, 0, 'A'}, {7, 0, 0x889F}, {20, 0, 0x889F}, {21, 0, 'B'}}},
      {"a space advances and draws nothing", "A B", {0, 0, 200, 80}, -1, false, false, 14,
       {{7, 0, 0}, {14, 0, 'B'}}},
      {"\\r is ignored", "A\rB", {0, 0, 200, 80}, -1, false, false, 14, {{7, 0, 'B'}}},
      {"\\n starts a line", "A\nB", {0, 0, 200, 80}, -1, false, false, 14, {{0, 14, 'B'}, {7, 0, 0}}},
      {"breaks at the right edge", "ABCDEFG", {0, 0, 35, 80}, -1, false, false, 14,
       {{28, 0, 'E'}, {35, 0, 0}, {0, 14, 'F'}, {7, 14, 'G'}}},
      {"a double-byte character that would pass the edge breaks", "ABC\x88\x9f", {0, 0, 30, 80}, -1, false,
       false, 14, {{14, 0, 'C'}, {21, 0, 0}, {0, 14, 0x889F}}},
      {"no-clip keeps one line past the edge", "ABCDEFG", {0, 0, 35, 14}, -1, true, false, 14,
       {{42, 0, 'G'}, {0, 14, 0}}},
      {"a line passing the bottom ends the text", "ABCDEFGHIJ", {0, 0, 21, 30}, -1, false, false, 14,
       {{14, 0, 'C'}, {14, 14, 'F'}, {0, 28, 0}, {0, 42, 0}}},
      {"\\n onto a line passing the bottom ends the text", "AB\nCD", {0, 0, 100, 20}, -1, false, false, 14,
       {{0, 0, 'A'}, {0, 14, 0}}},
      {"a rectangle lower than a line draws nothing", "AB", {0, 0, 100, 13}, -1, false, false, 14,
       {{0, 0, 0}}},
      {"no-clip ignores the bottom", "A\nB\nC", {0, 0, 100, 10}, -1, true, false, 14, {{0, 28, 'C'}}},
      {"count 3 draws three bytes", "ABCDE", {0, 0, 200, 80}, 3, false, false, 14, {{14, 0, 'C'}, {21, 0, 0}}},
      {"count inside a double-byte character draws it whole", "AB\x88\x9f" "C", {0, 0, 200, 80}, 3, false,
       false, 14, {{14, 0, 0x889F}, {27, 0, 0x889F}, {28, 0, 0}}},
      {"centred on the rectangle's middle", "AB", {0, 0, 100, 40}, -1, false, true, 14,
       {{43, 13, 'A'}, {50, 13, 'B'}, {42, 13, 0}, {57, 13, 0}, {43, 12, 0}}},
      {"centred text ignores \\n", "A\nB", {0, 0, 100, 40}, -1, false, true, 14, {{43, 13, 'A'}, {50, 13, 'B'}}},
      {"an empty line takes a character wider than the rectangle", "\x88\x9f\x88\x9f", {0, 0, 10, 80}, -1,
       false, false, 14, {{0, 0, 0x889F}, {0, 14, 0x889F}}},
      {"odd maximum width: double-byte cells are 2 * half", "\x88\x9f" "A", {0, 0, 200, 80}, -1, false, false,
       19, {{17, 0, 0x889F}, {18, 0, 'A'}, {26, 0, 'A'}, {27, 0, 0}}},
      {"odd maximum width, double-byte character last", "A\x88\x9f", {0, 0, 200, 80}, -1, false, false, 19,
       {{9, 0, 0x889F}, {26, 0, 0x889F}, {27, 0, 0}}},
      {"a lead byte at the very end is a single byte", "A\x88", {0, 0, 200, 80}, -1, false, false, 14,
       {{7, 0, 0x88}, {13, 0, 0x88}, {14, 0, 0}}},
  };
  for (const LayoutCase& c : cases) {
    StringCache fresh;
    font.metrics.max_char_width = c.max_char_width;
    Surface f(120, 60);
    ASSERT_EQ(fresh.draw_text(blender, f.frame(), font, c.rect, c.text, c.count, c.no_clip, c.centre, kWhite), 0)
        << c.what;
    for (const LayoutCase::Probe& p : c.probes)
      EXPECT_EQ(int(f.at(p.x, p.y)[0]), p.code ? cell_value(p.code) : 0) << c.what << " at " << p.x << "," << p.y;
  }
}

TEST_F(StringCacheTest, CharacterWithoutBitmapStaysBlankAndTheRestIsRendered) {
  font.missing = {'X', 0x8140};
  ASSERT_EQ(draw("AX\x81\x40" "B", {0, 0, 200, 80}), 0);
  EXPECT_EQ(blue(0, 0), cell_value('A'));
  EXPECT_EQ(blue(7, 0), 0);
  EXPECT_EQ(blue(14, 0), 0);
  EXPECT_EQ(blue(28, 0), cell_value('B'));
  EXPECT_EQ(find("AX\x81\x40" "B")->positions(), (std::vector<int>{0, 7, 14, -1, 28, -1}));
}

TEST_F(StringCacheTest, DrawsOverTheFrameWithTheBlendRuleAndClipsAtItsEdges) {
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 200; ++x) frame.set(x, y, drawtest::bgra(100, 100, 100, 0x77));
  ASSERT_EQ(draw("AB", {-3, -2, 400, 80}), 0);
  const int f = cell_value('A');
  // Partial coverage mixes with the frame; the frame's alpha stays.
  EXPECT_EQ(blue(0, 0), drawtest::floor_product(255, f) + drawtest::floor_product(100, 255 - f));
  EXPECT_EQ(frame.at(0, 0)[3], 0x77);
  EXPECT_EQ(blue(3, 11), blue(0, 0));  // A's last column, last row after the shift
  EXPECT_EQ(blue(3, 12), 100);         // below the line
  ASSERT_EQ(draw("Q", {195, 75, 400, 400}, -1, true), 0);  // runs off right and bottom
  EXPECT_EQ(blue(199, 79), drawtest::floor_product(255, cell_value('Q')) +
                               drawtest::floor_product(100, 255 - cell_value('Q')));
}

TEST_F(StringCacheTest, SameStringRendersOnceAndOtherColoursOrFontsTakeNewEntries) {
  ASSERT_EQ(draw("HELLO", {0, 0, 200, 80}), 0);
  const int calls = font.glyph_calls;
  EXPECT_EQ(calls, 5);
  ASSERT_EQ(draw("HELLO", {0, 20, 200, 80}), 0);
  EXPECT_EQ(font.glyph_calls, calls);
  EXPECT_EQ(blue(0, 20), cell_value('H'));  // drawn again from the cache
  ASSERT_EQ(draw("HELLO", {0, 0, 200, 80}, -1, false, false, 0x0000FF), 0);
  EXPECT_EQ(font.glyph_calls, 2 * calls);
  font.description = "font B";
  ASSERT_EQ(draw("HELLO", {0, 0, 200, 80}), 0);
  EXPECT_EQ(font.glyph_calls, 3 * calls);
  ASSERT_EQ(draw("hello", {0, 0, 200, 80}), 0);  // case matters
  EXPECT_EQ(font.glyph_calls, 4 * calls);
  int used = 0;
  for (int i = 0; i < StringCache::kEntryCount; ++i) used += cache.entry(i).empty() ? 0 : 1;
  EXPECT_EQ(used, 4);
  EXPECT_EQ(cache.entry(0).text(), "HELLO");
  EXPECT_EQ(cache.entry(0).font_description(), "font A");
  EXPECT_EQ(cache.entry(2).font_description(), "font B");
}

std::vector<int> ranks(const StringCache& c) {
  std::vector<int> r;
  for (int i = 0; i < StringCache::kEntryCount; ++i) r.push_back(c.entry(i).rank());
  return r;
}

TEST_F(StringCacheTest, RanksFollowUseAndThe51stStringReplacesTheLeastRecentlyUsed) {
  std::vector<int> initial;
  for (int i = 0; i < StringCache::kEntryCount; ++i) initial.push_back(i);
  EXPECT_EQ(ranks(cache), initial);

  for (int i = 0; i < StringCache::kEntryCount; ++i)
    ASSERT_EQ(draw(("s" + std::to_string(i)).c_str(), {0, 0, 200, 80}), 0);
  // Entry i holds "s<i>"; the last drawn is the most recent.
  for (int i = 0; i < StringCache::kEntryCount; ++i) {
    EXPECT_EQ(cache.entry(i).text(), "s" + std::to_string(i));
    EXPECT_EQ(cache.entry(i).rank(), StringCache::kEntryCount - 1 - i);
  }

  // Using "s0" again: it becomes rank 0, the 49 more recent ones move down one.
  ASSERT_EQ(draw("s0", {0, 0, 200, 80}), 0);
  EXPECT_EQ(cache.entry(0).rank(), 0);
  EXPECT_EQ(cache.entry(49).rank(), 1);
  EXPECT_EQ(cache.entry(1).rank(), 49);

  // The 51st distinct string takes entry 1, now the least recently used.
  ASSERT_EQ(draw("new", {0, 0, 200, 80}), 0);
  EXPECT_EQ(cache.entry(1).text(), "new");
  EXPECT_EQ(cache.entry(1).rank(), 0);
  EXPECT_EQ(cache.entry(0).rank(), 1);
  EXPECT_EQ(cache.entry(2).rank(), 49);
  EXPECT_EQ(find("s1"), nullptr);
  std::vector<int> sorted = ranks(cache);
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, initial);  // still a permutation of 0..49

  // Emptying keeps the ranks.
  const std::vector<int> before = ranks(cache);
  cache.clear();
  EXPECT_EQ(ranks(cache), before);
  for (int i = 0; i < StringCache::kEntryCount; ++i) EXPECT_TRUE(cache.entry(i).empty());
}

TEST_F(StringCacheTest, FailuresDrawNothingAndKeepTheRanks) {
  ASSERT_EQ(draw("keep", {0, 0, 200, 80}), 0);
  const std::vector<int> before = ranks(cache);
  const TextRect elsewhere{100, 40, 200, 80};
  font.has_metrics = false;
  EXPECT_EQ(draw("other", elsewhere), -1);
  EXPECT_EQ(ranks(cache), before);
  EXPECT_EQ(find("other"), nullptr);
  EXPECT_EQ(cache.draw_text(blender, frame.frame(), font, elsewhere, nullptr, -1, false, false, kWhite), -1);
  torv::FrameView none = frame.frame();
  none.bits = nullptr;
  EXPECT_EQ(cache.draw_text(blender, none, font, elsewhere, "keep", -1, false, false, kWhite), -1);
  EXPECT_EQ(ranks(cache), before);
  for (int y = 40; y < 80; ++y)
    for (int x = 100; x < 200; ++x) ASSERT_EQ(frame.pixel(x, y), 0u) << x << "," << y;
}

TEST_F(StringCacheTest, EmptyTextIsCachedAndDrawsNothing) {
  ASSERT_EQ(draw("", {0, 0, 200, 80}), 0);
  ASSERT_NE(find(""), nullptr);
  EXPECT_EQ(find("")->bitmap_width(), 0);
  for (int x = 0; x < 200; ++x) EXPECT_EQ(blue(x, 0), 0);
}

}  // namespace
