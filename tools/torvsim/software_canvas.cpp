// The play screens on the software renderer.
#include "tools/torvsim/software_canvas.h"

#include <png.h>

#include <cstdio>

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

bool write_frame_png(const std::string& path, const FrameView& frame) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  std::vector<uint8_t> row(static_cast<size_t>(frame.width) * 3);
  bool ok = false;
  if (png && info && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(frame.width), static_cast<png_uint_32>(frame.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < frame.height; ++y) {
      const uint8_t* src = frame.bits + static_cast<ptrdiff_t>(y) * frame.pitch_bytes;
      for (int x = 0; x < frame.width; ++x) {  // B, G, R, A to R, G, B
        row[static_cast<size_t>(x) * 3] = src[x * 4 + 2];
        row[static_cast<size_t>(x) * 3 + 1] = src[x * 4 + 1];
        row[static_cast<size_t>(x) * 3 + 2] = src[x * 4];
      }
      png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    ok = true;
  }
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0 && ok;
}

}  // namespace torv
