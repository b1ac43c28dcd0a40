// The play screens on the software renderer.
#include "game/host/software_canvas.h"

#include "game/camera.h"

namespace torv {

SoftwareCanvas::SoftwareCanvas(const ImageStore& images, FreeTypeGlyphs* glyphs)
    : images_(images), glyphs_(glyphs), pixels_(static_cast<size_t>(kScreenWidth * kScreenHeight * 4)) {
  frame_.bits = pixels_.data();
  frame_.width = kScreenWidth;
  frame_.height = kScreenHeight;
  frame_.pitch_bytes = kScreenWidth * 4;
}

void SoftwareCanvas::set_font(const char*, int height) {
  if (glyphs_) glyphs_->set_height(height);
}

void SoftwareCanvas::begin_draw() { clear_frame(frame_); }

void SoftwareCanvas::end_draw() {
  if (on_frame_) on_frame_(frame_);
}

uint32_t SoftwareCanvas::rgb(uint8_t red, uint8_t green, uint8_t blue) {
  // The software renderers' colour layout: red in the low byte, alpha on top.
  return 0xFF000000u | static_cast<uint32_t>(blue) << 16 | static_cast<uint32_t>(green) << 8 | red;
}

void SoftwareCanvas::draw_image(int image, int x, int y, int w, int h, double alpha_percent) {
  if (const Image* picture = images_.image(image)) {
    blender_.draw_image_scaled(frame_, view_of(*picture), x, y, w, h, alpha_byte_from_percent(alpha_percent));
  }
}

void SoftwareCanvas::draw_image_fast(int image, int x, int y, int src_x, int src_y, int w, int h, bool keyed) {
  const Image* picture = images_.image(image);
  if (!picture) return;
  if (keyed) {
    blender_.copy_image_keyed(frame_, view_of(*picture), x, y, src_x, src_y, w, h);
  } else {
    blender_.copy_image_opaque(frame_, view_of(*picture), x, y, src_x, src_y, w, h);
  }
}

void SoftwareCanvas::draw_text_simple(int x, int y, uint32_t colour, bool cached, const std::string& text) {
  // The front-end's simple text: from (x, y) to the frame's right and bottom edges.
  draw_text({x, y, kScreenWidth, kScreenHeight}, -1, colour, true, false, cached, text);
}

void SoftwareCanvas::draw_text(const TextArea& area, int count, uint32_t colour, bool no_clip, bool centre, bool,
                               const std::string& text) {
  // Every text goes through the anti-aliased cache here; the Windows renderer's
  // uncached path uses the system's text output instead.
  if (!glyphs_) return;
  const TextRect rect = {area.left, area.top, area.right, area.bottom};
  strings_.draw_text(blender_, frame_, *glyphs_, rect, text.c_str(), count, no_clip, centre, colour);
}

int SoftwareCanvas::text_width(const std::string& text) {
  return glyphs_ ? glyphs_->text_width(text) : static_cast<int>(text.size()) * 7;
}

}  // namespace torv
