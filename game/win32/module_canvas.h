// The play screens' drawing calls routed to the bound drawing front-end, with image
// table indices turned into the drawing module's slot numbers.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/play_canvas.h"
#include "game/resource_tables.h"
#include "game/stage_loader.h"
#include "game/win32/module_table.h"

namespace torv {

class ModuleCanvas : public PlayCanvas {
public:
  ModuleCanvas(const ModuleTable& modules, const std::array<int32_t, kImageSlotCount>& images)
      : modules_(modules), images_(images) {}

  void set_font(const char* face, int height) override;
  void begin_draw() override;
  void end_draw() override;
  uint32_t rgb(uint8_t red, uint8_t green, uint8_t blue) override;
  void draw_image(int image, int x, int y, int w, int h, double alpha_percent) override;
  void draw_image_fast(int image, int x, int y, int src_x, int src_y, int w, int h, bool keyed) override;
  void draw_text_simple(int x, int y, uint32_t colour, bool cached, const std::string& text) override;
  void draw_text(const TextArea& rect, int count, uint32_t colour, bool no_clip, bool centre, bool cached,
                 const std::string& text) override;
  int text_width(const std::string& text) override;
  int image_width(int image) override;
  int image_height(int image) override;

  // The drawing module's slot of an image table index; -1 when it has no image.
  int slot(int image) const;

private:
  const ModuleTable& modules_;
  const std::array<int32_t, kImageSlotCount>& images_;
};

// Stage files out of the archives through "tamArc.dll" (extracted to a temporary
// file, read whole, the file removed again).
class ArchiveStageSource : public StageSource {
public:
  explicit ArchiveStageSource(const ModuleTable& modules) : modules_(modules) {}
  int fetch(const std::string& file, const std::string& archive, std::vector<uint8_t>& bytes) override;

private:
  const ModuleTable& modules_;
};

}  // namespace torv
