#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/bggen/scene.h"
#include "tools/contentkit/image.h"

namespace {

using contentkit::Rgba;

std::vector<bggen::Picture> render(const std::string& text, std::string* error = nullptr) {
  std::vector<bggen::Picture> out;
  const std::string e = bggen::render_scene(text, "scene.txt", ::testing::TempDir(), out);
  if (error) *error = e;
  else EXPECT_EQ(e, "");
  return out;
}

TEST(SceneRender, LayersPaintBackToFrontWithExactColours) {
  const auto pics = render(
      "image a.png 40x30\n"
      "gradient #000000 #ff0000 bands=2\n"
      "rect x=5 y=5 w=10 h=6 colour=#00ff00 edge=#0000ff\n"
      "image b.png 8x8 alpha\n"
      "rect x=0 y=0 w=4 h=8 colour=#ffffff\n");
  ASSERT_EQ(pics.size(), 2u);
  const contentkit::Image& a = pics[0].image;
  EXPECT_FALSE(pics[0].alpha);
  EXPECT_EQ(a.at(0, 0), (Rgba{0, 0, 0, 255}));        // first band: the first colour
  EXPECT_EQ(a.at(0, 29), (Rgba{255, 0, 0, 255}));     // last band: the last colour
  EXPECT_EQ(a.at(5, 5), (Rgba{0, 0, 255, 255}));      // edge
  EXPECT_EQ(a.at(14, 10), (Rgba{0, 0, 255, 255}));
  EXPECT_EQ(a.at(6, 6), (Rgba{0, 255, 0, 255}));      // inside
  EXPECT_EQ(a.at(15, 6), (Rgba{0, 0, 0, 255}));       // right of the rectangle
  const contentkit::Image& b = pics[1].image;
  EXPECT_TRUE(pics[1].alpha);
  EXPECT_EQ(b.at(3, 7), (Rgba{255, 255, 255, 255}));
  EXPECT_EQ(b.at(4, 7).a, 0);  // untouched pixels stay transparent
}

TEST(SceneRender, SeedsMakeThePictureReproducible) {
  const std::string scene =
      "image a.png 300x200\nfill colour=#102030\n"
      "ridge base=150 amp=60 wave=90 seed=%d colour=#405060 edge=#708090\n"
      "clouds count=5 seed=%d colour=#ffffff shade=#cccccc from=10 to=80\n"
      "stars count=50 seed=%d colour=#ffff00 to=100\n";
  auto with_seed = [&](int seed) {
    char text[512];
    std::snprintf(text, sizeof text, scene.c_str(), seed, seed, seed);
    return render(text)[0].image.pixels();
  };
  EXPECT_EQ(with_seed(4), with_seed(4));
  EXPECT_NE(with_seed(4), with_seed(5));
}

TEST(SceneRender, BlockFontTextLandsAtItsPosition) {
  // "I" is three pixels wide at its top: columns 1..3 of the 5-pixel cell.
  const auto pics = render("image t.png 20x20\nfill colour=#000000\ntext x=2 y=3 scale=2 colour=#ffffff I\n");
  const contentkit::Image& t = pics[0].image;
  EXPECT_EQ(t.at(2 + 2, 3), (Rgba{255, 255, 255, 255}));
  EXPECT_EQ(t.at(2 + 7, 4), (Rgba{255, 255, 255, 255}));
  EXPECT_EQ(t.at(2 + 1, 3), (Rgba{0, 0, 0, 255}));
  EXPECT_EQ(t.at(2 + 8, 3), (Rgba{0, 0, 0, 255}));
  EXPECT_EQ(t.at(2 + 4, 3 + 13), (Rgba{255, 255, 255, 255}));  // bottom bar, row 6
}

TEST(SceneRender, SpritesAreEnlargedFromTheImagesFolder) {
  contentkit::Image dot(2, 1, Rgba{0, 0, 0, 0});
  dot.at(1, 0) = Rgba{9, 8, 7, 255};
  ASSERT_EQ(contentkit::write_png(::testing::TempDir() + "/bggen_dot.png", dot, true), "");
  const auto pics = render("image s.png 12x6\nfill colour=#ffffff\nsprite name=bggen_dot.png x=2 y=1 scale=3\n");
  const contentkit::Image& img = pics[0].image;
  EXPECT_EQ(img.at(2, 1), (Rgba{255, 255, 255, 255}));  // the transparent pixel leaves the fill
  EXPECT_EQ(img.at(5, 1), (Rgba{9, 8, 7, 255}));
  EXPECT_EQ(img.at(7, 3), (Rgba{9, 8, 7, 255}));
  EXPECT_EQ(img.at(8, 1), (Rgba{255, 255, 255, 255}));
  std::string e;
  render("image s.png 4x4\nsprite name=nowhere.png x=0 y=0\n", &e);
  EXPECT_NE(e.find("scene.txt:2:1: "), std::string::npos) << e;
  EXPECT_NE(e.find("nowhere.png"), std::string::npos) << e;
}

TEST(SceneRender, ErrorsNameTheLineAndColumn) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"fill colour=#000000\n", "scene.txt:1:1: a layer before any \"image\" line"},
      {"image a.png 10x10\nsplash colour=#000000\n", "scene.txt:2:1: unknown layer \"splash\""},
      {"image a.png 10x10\nfill color=#000000\n", "scene.txt:2:6: unknown setting \"color\""},
      {"image a.png 10x10\nrect x=1 y=1 w=2 colour=#000000\n", "scene.txt:2: missing h="},
      {"image a.png 10x10\nfill colour=red\n", "scene.txt:2:6: colour wants #rrggbb"},
      {"image a.png 10x10\nrect x=one y=1 w=2 h=2 colour=#000000\n", "scene.txt:2:6: x wants a whole number"},
      {"image a.png 10x10\ngradient #000000\n", "scene.txt:2:1: a gradient needs two colours"},
      {"image a.png 10x10\ntext x=0 y=0 colour=#ffffff a\n", "scene.txt:2:1: the block font has no 'a'"},
      {"image a.png ten\n", "scene.txt:1:1: usage: image NAME WxH"},
      {"image a.png 10x10px\n", "scene.txt:1:1: usage: image NAME WxH"},
      {"image a.png 4x4\nimage a.png 4x4\n", "scene.txt:2:7: picture \"a.png\" is defined twice"},
      {"# nothing\n", "scene.txt: no \"image\" line"},
  };
  for (const Case& c : cases) {
    std::string e;
    render(c.text, &e);
    EXPECT_NE(e.find(c.expected), std::string::npos) << c.text << " gave " << e;
  }
}

}  // namespace
