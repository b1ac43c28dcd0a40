#include "tools/drawcheck/drawcheck_scene.h"

#include <vector>

#include "tools/drawcheck/check_images.h"

namespace torv {

namespace {

// Shift-JIS bytes: 月 (0x8C8E), 表 (0x955C, its trail byte is a backslash), あいう.
const char kJapanese[] = "\x8C\x8E\x95\x5C \x82\xA0\x82\xA2\x82\xA4";

bool load(DrawFrontEnd& draw, std::vector<uint8_t> encoded, int* slot, const char* name, std::string* error) {
  if (!encoded.empty() &&
      draw.CreateImageLoadFromMemory(slot, reinterpret_cast<char*>(encoded.data()), static_cast<int>(encoded.size())) == 0) {
    return true;
  }
  *error = std::string("image ") + name + " did not load";
  return false;
}

}  // namespace

bool load_scene(DrawFrontEnd& draw, SceneSlots* slots, std::string* error) {
  return load(draw, encode_png(make_backdrop().pixels(), false), &slots->backdrop, "backdrop", error) &&
         load(draw, encode_bmp24(make_tile().pixels()), &slots->tile, "tile", error) &&
         load(draw, encode_png(make_sprite().pixels(), true), &slots->sprite, "sprite", error) &&
         load(draw, encode_png(make_glass().pixels(), true), &slots->glass, "glass", error) &&
         load(draw, encode_png(make_plate().pixels(), false), &slots->plate, "plate", error);
}

void draw_scene(DrawFrontEnd& draw, const SceneSlots& s) {
  draw.BeginDraw();
  // Background: the 64 x 48 backdrop stretched ten times over the frame.
  draw.DrawImage(s.backdrop, 0, 0, 640, 480, 100);

  // Opaque tiles (plain copy) along the top, one cut by the right edge.
  for (int x = 40; x < 640; x += 120) draw.DrawImageFast(s.tile, x, 30, 0, 0, 24, 24, 0);
  draw.DrawImageFast(s.tile, 628, 60, 0, 0, 24, 24, 0);
  // Part of a tile: its lower-right 12 x 12 quarter.
  draw.DrawImageFast(s.tile, 80, 60, 12, 12, 12, 12, 0);

  // The sprite: colour-keyed, then copied plainly (its transparent ground shows black),
  // then blended at 100 % and 50 %, then scaled up, down and unevenly.
  draw.DrawImageFast(s.sprite, 40, 90, 0, 0, 32, 32, 1);
  draw.DrawImageFast(s.sprite, 90, 90, 0, 0, 32, 32, 0);
  draw.DrawImage(s.sprite, 140, 90, 32, 32, 100);
  draw.DrawImage(s.sprite, 190, 90, 32, 32, 50);
  draw.DrawImage(s.sprite, 240, 74, 64, 64, 100);
  draw.DrawImage(s.sprite, 320, 98, 16, 16, 100);
  draw.DrawImage(s.sprite, 350, 90, 64, 24, 100);

  // Half-transparent glass over the tiles' row and over the backdrop, 100 %, 50 %, 0 %.
  draw.DrawImage(s.glass, 440, 20, 64, 64, 100);
  draw.DrawImage(s.glass, 510, 20, 64, 64, 50);
  draw.DrawImage(s.glass, 580, 20, 64, 64, 0);
  draw.DrawImageDetail(s.glass, 16, 16, 440, 90, 48, 32, 100);

  // The plate clipped at every edge and corner.
  draw.DrawImage(s.plate, -30, 150, 100, 50, 100);   // left
  draw.DrawImage(s.plate, 600, 150, 100, 50, 100);   // right: its columns 0..39, not squeezed
  draw.DrawImage(s.plate, 200, -20, 100, 50, 100);   // top
  draw.DrawImage(s.plate, 320, 460, 100, 50, 100);   // bottom
  draw.DrawImage(s.plate, -40, -30, 100, 50, 100);   // top-left corner
  draw.DrawImage(s.plate, 590, 450, 100, 50, 100);   // bottom-right corner
  draw.DrawImage(s.plate, 100, 220, 200, 50, 100);   // stretched sideways
  draw.DrawImage(s.plate, 320, 220, 50, 100, 50);    // squeezed and stretched, half strength
  draw.DrawImageDetail(s.plate, 10, 20, -5, 280, 30, 30, 100);   // detail cut by the left edge
  draw.DrawImageDetail(s.plate, 0, 0, 620, 280, 40, 30, 100);    // detail cut by the right edge
  draw.DrawImageFast(s.plate, -10, 330, 0, 0, 100, 50, 0);       // fast draws cut by both sides
  draw.DrawImageFast(s.plate, 570, 330, 0, 0, 100, 50, 1);

  // Text: cached (anti-aliased glyphs) and plain (GDI), Japanese and ASCII.
  const DWORD white = draw.GetRGB(255, 255, 255);
  const DWORD yellow = draw.GetRGB(255, 230, 80);
  draw.DrawTextSimple(120, 300, white, 1, "%s cached ASCII 0123 %d%%", kJapanese, 50);
  draw.DrawTextSimple(120, 320, yellow, 0, "%s plain ASCII 0123 %d%%", kJapanese, 50);
  RECT wrap = {420, 380, 560, 440};
  draw.DrawTextRect(wrap, -1, white, 0, 0, 1, "%s wraps at the right edge and stops at the bottom", kJapanese);
  RECT centre = {120, 400, 400, 440};
  draw.DrawTextRect(centre, -1, yellow, 0, 1, 1, "centred %s", kJapanese);
  RECT count = {120, 440, 400, 460};
  draw.DrawTextRect(count, 3, white, 0, 0, 1, "ABCDEF");  // only "ABC"
  draw.EndDraw();
}

}  // namespace torv
