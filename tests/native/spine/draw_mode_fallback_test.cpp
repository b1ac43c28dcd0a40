#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "game/draw_mode_fallback.h"
#include "memory_settings.h"

namespace torv {
namespace {

using test::MemorySettings;

using Attempt = std::pair<DRAW_INIT_MODE, int>;

struct FallbackCase {
  const char* draw;                  // the "Draw" value in the file (nullptr: absent)
  std::vector<Attempt> working;      // the attempts that would start
  std::vector<Attempt> expected;     // the attempts made, in order
  const char* written;               // "Draw" afterwards
  bool started;
  const char* mode_text;             // the text shown for the value read back
};

TEST(DrawModeFallback, EveryDrawValueTriesItsRowInOrderAndWritesTheModeThatStarted) {
  const Attempt d3d{DRAW_INIT_D3D, 0}, d3d16{DRAW_INIT_D3D, 1}, ddraw{DRAW_INIT_DDRAW, 0}, dib{DRAW_INIT_DIB, 0};
  const FallbackCase cases[] = {
      {nullptr, {d3d, ddraw, dib}, {d3d}, "2", true, "DrawMode:Direct3D..."},
      {nullptr, {ddraw, dib}, {d3d, ddraw}, "1", true, "DrawMode:DirectDraw & DirectMemoryAccess..."},
      {nullptr, {dib}, {d3d, ddraw, dib}, "0", true, "DrawMode:DIBSection & GDI..."},
      {nullptr, {}, {d3d, ddraw, dib}, nullptr, false, "DrawMode:Direct3D..."},
      {"2", {dib}, {d3d, ddraw, dib}, "0", true, "DrawMode:DIBSection & GDI..."},
      // Direct3D forced to 16 bits: kept as it is, or straight to the DIB section.
      {"3", {d3d16, ddraw, dib}, {d3d16}, "3", true, "DrawMode:Direct3D...(Force16Bit)"},
      {"3", {ddraw, dib}, {d3d16, dib}, "0", true, "DrawMode:DIBSection & GDI..."},
      {"1", {ddraw, dib}, {ddraw}, "1", true, "DrawMode:DirectDraw & DirectMemoryAccess..."},
      {"1", {dib}, {ddraw, dib}, "0", true, "DrawMode:DIBSection & GDI..."},
      {"1", {}, {ddraw, dib}, "1", false, "DrawMode:DirectDraw & DirectMemoryAccess..."},
      {"0", {d3d, ddraw, dib}, {dib}, "0", true, "DrawMode:DIBSection & GDI..."},
      {"abc", {d3d, ddraw, dib}, {dib}, "0", true, "DrawMode:DIBSection & GDI..."},
      {"7", {d3d, ddraw, dib}, {dib}, "0", true, "DrawMode:DIBSection & GDI..."},
      {"-2", {d3d, ddraw, dib}, {dib}, "0", true, "DrawMode:DIBSection & GDI..."},
      {"0", {}, {dib}, "0", false, "DrawMode:DIBSection & GDI..."},
  };
  for (const FallbackCase& c : cases) {
    SCOPED_TRACE(std::string("Draw=") + (c.draw ? c.draw : "(absent)"));
    MemorySettings settings;
    if (c.draw) settings.values[kKeyDraw] = c.draw;
    std::vector<Attempt> made;
    const int d = read_setting_number(settings, kKeyDraw, kDefaultDraw);
    const DrawAttempt* started = start_drawing(
        d,
        [&](DRAW_INIT_MODE mode, int use16) {
          made.push_back({mode, use16});
          for (const Attempt& w : c.working)
            if (w == Attempt{mode, use16}) return 0;
          return -1;
        },
        settings);
    EXPECT_EQ(made, c.expected);
    EXPECT_EQ(started != nullptr, c.started);
    if (c.written == nullptr) {
      EXPECT_EQ(settings.values.count(kKeyDraw), 0u);
    } else {
      EXPECT_EQ(settings.values[kKeyDraw], c.written);
    }
    if (!c.started) {
      EXPECT_EQ(settings.writes, 0);
    }
    EXPECT_STREQ(draw_mode_text(read_setting_number(settings, kKeyDraw, kDefaultDraw)), c.mode_text);
  }
}

}  // namespace
}  // namespace torv
