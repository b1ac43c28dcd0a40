// PlayCanvas: the drawing calls the play screens make, and nothing else. The
// Windows game routes them to the drawing front-end "tamDraw.dll"; the headless
// runner draws with the portable software renderer; tests record them.
//
// Image arguments are indices of the game's image table (image_indices.h), not the
// drawing module's slot numbers: the implementation looks the slot up. Colours are
// the drawing module's colour values, made only with rgb(). Texts are finished
// Shift-JIS byte strings and are drawn as they stand (a "%" is shown, never taken
// for a format).
#pragma once

#include <cstdint>
#include <string>

namespace torv {

struct TextArea {
  int left, top, right, bottom;  // right and bottom are coordinates, not sizes
};

class PlayCanvas {
public:
  virtual ~PlayCanvas() = default;

  virtual void set_font(const char* face, int height) = 0;
  virtual void begin_draw() = 0;  // clears the frame to black
  virtual void end_draw() = 0;    // shows the frame
  virtual uint32_t rgb(uint8_t red, uint8_t green, uint8_t blue) = 0;

  // The whole image scaled to w x h at (x, y), blended at alpha percent (100 = as stored).
  virtual void draw_image(int image, int x, int y, int w, int h, double alpha_percent) = 0;
  // The w x h part at (src_x, src_y) copied to (x, y); keyed: pixels with alpha 0 left out.
  virtual void draw_image_fast(int image, int x, int y, int src_x, int src_y, int w, int h, bool keyed) = 0;
  virtual void draw_text_simple(int x, int y, uint32_t colour, bool cached, const std::string& text) = 0;
  // count: bytes of text to draw, -1 all; no_clip, centre, cached as the drawing module's text call.
  virtual void draw_text(const TextArea& rect, int count, uint32_t colour, bool no_clip, bool centre, bool cached,
                         const std::string& text) = 0;
  // Width in pixels of text in the current font.
  virtual int text_width(const std::string& text) = 0;

  // Size of an image; -1 when the index has no image.
  virtual int image_width(int image) = 0;
  virtual int image_height(int image) = 0;
  bool has_image(int image) { return image_width(image) >= 0; }
};

}  // namespace torv
