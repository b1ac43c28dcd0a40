// PlayCanvas and StageSource over the bound modules.
#include "game/win32/module_canvas.h"

#include "game/stage_extract.h"

namespace torv {

int ModuleCanvas::slot(int image) const {
  if (image < 0 || image >= kImageSlotCount) return kNoImage;
  return images_[image];
}

void ModuleCanvas::set_font(const char* face, int height) { modules_.get<kDrawSetFont>()(face, height); }

void ModuleCanvas::begin_draw() { modules_.get<kDrawBeginDraw>()(); }

void ModuleCanvas::end_draw() { modules_.get<kDrawEndDraw>()(); }

uint32_t ModuleCanvas::rgb(uint8_t red, uint8_t green, uint8_t blue) {
  return modules_.get<kDrawGetRGB>()(red, green, blue);
}

void ModuleCanvas::draw_image(int image, int x, int y, int w, int h, double alpha_percent) {
  const int s = slot(image);
  if (s >= 0) modules_.get<kDrawDrawImage>()(s, x, y, w, h, alpha_percent);
}

void ModuleCanvas::draw_image_fast(int image, int x, int y, int src_x, int src_y, int w, int h, bool keyed) {
  const int s = slot(image);
  if (s >= 0) modules_.get<kDrawDrawImageFast>()(s, x, y, src_x, src_y, w, h, keyed ? 1 : 0);
}

void ModuleCanvas::draw_text_simple(int x, int y, uint32_t colour, bool cached, const std::string& text) {
  // Through "%s", so a '%' in the text is shown as it stands.
  modules_.get<kDrawDrawTextSimple>()(x, y, colour, cached ? 1 : 0, "%s", text.c_str());
}

void ModuleCanvas::draw_text(const TextArea& rect, int count, uint32_t colour, bool no_clip, bool centre,
                             bool cached, const std::string& text) {
  const RECT r{rect.left, rect.top, rect.right, rect.bottom};
  modules_.get<kDrawDrawText>()(r, count, colour, no_clip ? 1 : 0, centre ? 1 : 0, cached ? 1 : 0, "%s",
                                text.c_str());
}

int ModuleCanvas::text_width(const std::string& text) {
  SIZE size{};
  if (modules_.get<kDrawGetTextSize>()(text.c_str(), &size) != 0) return 0;
  return size.cx;
}

int ModuleCanvas::image_width(int image) {
  const int s = slot(image);
  return s < 0 ? -1 : modules_.get<kDrawGetImageWidth>()(s);
}

int ModuleCanvas::image_height(int image) {
  const int s = slot(image);
  return s < 0 ? -1 : modules_.get<kDrawGetImageHeight>()(s);
}

int ArchiveStageSource::fetch(const std::string& file, const std::string& archive, std::vector<uint8_t>& bytes) {
  const auto open = modules_.get<kArcOpenArchive>();
  const auto save = modules_.get<kArcSaveFileFromFileName>();
  return fetch_stage_file(
      file, archive, [&](const char* path) { return open(path); },
      [&](const char* member, const char* destination) { return save(member, destination); }, bytes);
}

}  // namespace torv
