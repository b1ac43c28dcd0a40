// PlayCanvas on the portable software renderer: the play screens drawn into a
// 640 x 480 frame in memory with the drawing core's blending and string cache.
// Without decoded images it only answers sizes.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/blend.h"
#include "common/string_cache.h"
#include "game/play_canvas.h"
#include "game/host/freetype_glyphs.h"
#include "game/host/image_store.h"

namespace torv {

class SoftwareCanvas : public PlayCanvas {
public:
  // glyphs may be null: texts are then left out.
  SoftwareCanvas(const ImageStore& images, FreeTypeGlyphs* glyphs);

  // Called at each end_draw with the finished frame.
  void on_frame(std::function<void(const FrameView&)> callback) { on_frame_ = std::move(callback); }
  const FrameView& frame() const { return frame_; }

  void set_font(const char* face, int height) override;
  void begin_draw() override;
  void end_draw() override;
  uint32_t rgb(uint8_t red, uint8_t green, uint8_t blue) override;
  void draw_image(int image, int x, int y, int w, int h, double alpha_percent) override;
  void draw_image_fast(int image, int x, int y, int src_x, int src_y, int w, int h, bool keyed) override;
  void draw_text_simple(int x, int y, uint32_t colour, bool cached, const std::string& text) override;
  void draw_text(const TextArea& area, int count, uint32_t colour, bool no_clip, bool centre, bool cached,
                 const std::string& text) override;
  int text_width(const std::string& text) override;
  int image_width(int image) override { return images_.width(image); }
  int image_height(int image) override { return images_.height(image); }

private:
  const ImageStore& images_;
  FreeTypeGlyphs* glyphs_;
  Blender blender_;
  StringCache strings_;
  std::vector<uint8_t> pixels_;
  FrameView frame_;
  std::function<void(const FrameView&)> on_frame_;
};

// A canvas that draws nothing and answers image sizes: the simulation at full speed.
class SizeOnlyCanvas : public PlayCanvas {
public:
  explicit SizeOnlyCanvas(const ImageStore& images) : images_(images) {}
  void set_font(const char*, int) override {}
  void begin_draw() override {}
  void end_draw() override {}
  uint32_t rgb(uint8_t red, uint8_t green, uint8_t blue) override {
    return 0xFF000000u | static_cast<uint32_t>(blue) << 16 | static_cast<uint32_t>(green) << 8 | red;
  }
  void draw_image(int, int, int, int, int, double) override {}
  void draw_image_fast(int, int, int, int, int, int, int, bool) override {}
  void draw_text_simple(int, int, uint32_t, bool, const std::string&) override {}
  void draw_text(const TextArea&, int, uint32_t, bool, bool, bool, const std::string&) override {}
  int text_width(const std::string& text) override { return static_cast<int>(text.size()) * 7; }
  int image_width(int image) override { return images_.width(image); }
  int image_height(int image) override { return images_.height(image); }

private:
  const ImageStore& images_;
};

}  // namespace torv
