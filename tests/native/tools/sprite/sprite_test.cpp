#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/sprite/sprite_source.h"

namespace {

const char kPalette[] =
    "# test palette\n"
    ".  transparent\n"
    "k  #102030   outline\n"
    "r  #ff0000\n"
    "g  #00ff0080 half-transparent green\n";

sprite::Palette palette() {
  sprite::Palette p;
  EXPECT_EQ(sprite::parse_palette(kPalette, "p.txt", p), "");
  return p;
}

std::vector<std::string> rows_of(const std::string& text, const std::string& name) {
  std::vector<sprite::Sprite> sprites;
  const std::string e = sprite::parse_sprites(text, "s.txt", palette(), sprites);
  EXPECT_EQ(e, "");
  for (const sprite::Sprite& s : sprites)
    if (s.name == name) return s.rows;
  return {};
}

TEST(SpritePalette, ReadsColoursAndTransparency) {
  const sprite::Palette p = palette();
  ASSERT_EQ(p.size(), 4u);
  EXPECT_EQ(p.at('.').a, 0);
  EXPECT_EQ(p.at('k'), (contentkit::Rgba{0x10, 0x20, 0x30, 255}));
  EXPECT_EQ(p.at('g'), (contentkit::Rgba{0, 255, 0, 0x80}));
}

TEST(SpritePalette, ErrorsNameTheLineAndColumn) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"kk #000000\n", "p.txt:1:1: a palette key is one character"},
      {"k #00000\n", "p.txt:1:3: bad colour \"#00000\""},
      {"k\n", "p.txt:1:1: missing colour"},
      {"k #000000\nk #ffffff\n", "p.txt:2:1: 'k' is defined twice"},
      {"# only a comment\n", "p.txt: the palette is empty"},
  };
  for (const Case& c : cases) {
    sprite::Palette p;
    const std::string e = sprite::parse_palette(c.text, "p.txt", p);
    EXPECT_NE(e.find(c.expected), std::string::npos) << c.text << " gave " << e;
  }
}

const char kArrow[] =
    "sprite arrow.png 3x2\n"
    "kr.\n"
    "k.g\n";

TEST(SpriteSource, DerivedSpritesFlipTurnAndRecolour) {
  const std::string text = std::string(kArrow) +
                           "\nmirror m.png arrow.png\n"
                           "rotate cw.png arrow.png cw\n"
                           "rotate ccw.png arrow.png ccw\n"
                           "rotate half.png arrow.png 180\n"
                           "recolor rc.png arrow.png rg kr\n";
  EXPECT_EQ(rows_of(text, "arrow.png"), (std::vector<std::string>{"kr.", "k.g"}));
  EXPECT_EQ(rows_of(text, "m.png"), (std::vector<std::string>{".rk", "g.k"}));
  EXPECT_EQ(rows_of(text, "cw.png"), (std::vector<std::string>{"kk", ".r", "g."}));
  EXPECT_EQ(rows_of(text, "ccw.png"), (std::vector<std::string>{".g", "r.", "kk"}));
  EXPECT_EQ(rows_of(text, "half.png"), (std::vector<std::string>{"g.k", ".rk"}));
  // Swaps apply to the source characters at once, not one after another.
  EXPECT_EQ(rows_of(text, "rc.png"), (std::vector<std::string>{"rg.", "r.g"}));
}

TEST(SpriteSource, RendersPaletteColoursPixelForPixel) {
  std::vector<sprite::Sprite> sprites;
  ASSERT_EQ(sprite::parse_sprites(kArrow, "s.txt", palette(), sprites), "");
  const contentkit::Image img = sprite::render_sprite(sprites[0], palette());
  ASSERT_EQ(img.width(), 3);
  ASSERT_EQ(img.height(), 2);
  EXPECT_EQ(img.at(0, 0), (contentkit::Rgba{0x10, 0x20, 0x30, 255}));
  EXPECT_EQ(img.at(1, 0), (contentkit::Rgba{255, 0, 0, 255}));
  EXPECT_EQ(img.at(2, 0).a, 0);
  EXPECT_EQ(img.at(2, 1), (contentkit::Rgba{0, 255, 0, 0x80}));
}

TEST(SpriteSource, ErrorsNameTheLineAndColumn) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"sprite a.png\nkrx\n", "s.txt:2:3: 'x' is not in the palette"},
      {"sprite a.png\nkr\nk\n", "s.txt:3:1: row is 1 wide, the first row 2"},
      {"sprite a.png 3x3\nkrk\nkrk\n", "s.txt:1:14: sprite \"a.png\" is 3x2, declared 3x3"},
      {"sprite a.png 3by3\nkrk\n", "s.txt:1:14: bad size \"3by3\""},
      {"sprite a.png\n\n", "s.txt:1:1: sprite \"a.png\" has no rows"},
      {"sprite a.png\nk\n\nsprite a.png\nk\n", "s.txt:4:8: sprite \"a.png\" is defined twice"},
      {"mirror b.png a.png\n", "s.txt:1:14: unknown sprite \"a.png\""},
      {"sprite a.png\nk\n\nrotate b.png a.png sideways\n", "s.txt:4:20: rotation \"sideways\" is not cw, ccw or 180"},
      {"sprite a.png\nk\n\nrecolor b.png a.png kz\n", "s.txt:4:22: 'z' is not in the palette"},
      {"sprite a.png\nk\n\nrecolor b.png a.png krg\n", "s.txt:4:21: a recolor pair is two characters"},
      {"draw a.png\n", "s.txt:1:1: unknown statement \"draw\""},
  };
  for (const Case& c : cases) {
    std::vector<sprite::Sprite> sprites;
    const std::string e = sprite::parse_sprites(c.text, "s.txt", palette(), sprites);
    EXPECT_NE(e.find(c.expected), std::string::npos) << c.text << " gave " << e;
  }
}

}  // namespace
