// Rendering, layout and replacement of the cached strings.
#include "common/string_cache.h"

#include <cstring>
#include <new>

namespace torv {

namespace {

// A rendered bitmap larger than this (in bytes) is refused like a failed
// allocation: no text of a 640x480 game comes near it.
constexpr int64_t kMaxBitmapBytes = int64_t{1} << 28;

// Grey levels of a glyph bitmap run 0..64.
constexpr int kFullLevel = 64;

}  // namespace

bool RenderedString::matches(const std::string& font_description, const char* text,
                             uint32_t colour) const {
  return in_use_ && colour == colour_ && font_description == font_description_ && text &&
         text_ == text;
}

void RenderedString::free_member() {
  in_use_ = false;
  std::vector<uint8_t>().swap(bitmap_);
  std::vector<int>().swap(positions_);
  text_.clear();
  font_description_.clear();
  bitmap_width_ = bitmap_height_ = half_width_ = line_height_ = 0;
  colour_ = 0;
}

int RenderedString::render(GlyphSource& font, const std::string& font_description,
                           const char* text, uint32_t colour, const ProductTable& table) {
  free_member();
  FontMetrics metrics;
  if (!font.font_metrics(&metrics) || metrics.height <= 0 || metrics.max_char_width < 0) return -1;

  const size_t length = std::strlen(text);
  const int half = metrics.max_char_width / 2;
  const int64_t width = int64_t(length) * half;
  if (width * metrics.height * 4 > kMaxBitmapBytes) return -1;
  try {
    bitmap_.assign(size_t(width) * size_t(metrics.height) * 4, 0);
    positions_.assign(length + 1, -1);
    text_ = text;
    font_description_ = font_description;
  } catch (const std::bad_alloc&) {
    free_member();
    return -1;
  }
  bitmap_width_ = static_cast<int>(width);
  bitmap_height_ = line_height_ = metrics.height;
  half_width_ = half;
  colour_ = colour;

  const uint8_t blue = static_cast<uint8_t>(colour >> 16), green = static_cast<uint8_t>(colour >> 8),
                red = static_cast<uint8_t>(colour);
  GlyphBitmap glyph;
  for (size_t p = 0; p < length;) {
    const uint8_t c = static_cast<uint8_t>(text_[p]);
    if (c == '\r' || c == '\n') {
      ++p;
      continue;
    }
    const int cell_x = static_cast<int>(p) * half;
    if (c == ' ') {
      positions_[p++] = cell_x;
      continue;
    }
    const bool lead = p + 1 < length && font.is_lead_byte(c);
    const unsigned code = lead ? c * 256u + static_cast<uint8_t>(text_[p + 1]) : c;
    // A character without a bitmap keeps its cell, blank, and rendering goes on.
    if (font.glyph(code, &glyph) && glyph.width > 0 && glyph.height > 0 &&
        glyph.pitch >= glyph.width && glyph.levels.size() >= size_t(glyph.pitch) * size_t(glyph.height)) {
      for (int r = 0; r < glyph.height; ++r) {
        const int ty = metrics.ascent - glyph.origin_y + r;
        if (ty < 0 || ty >= bitmap_height_) continue;
        for (int col = 0; col < glyph.width; ++col) {
          const int g = glyph.levels[size_t(r) * size_t(glyph.pitch) + size_t(col)];
          if (g == 0) continue;
          const int tx = cell_x + glyph.origin_x + col;
          if (tx < 0 || tx >= bitmap_width_) continue;
          const int f = (g >= kFullLevel ? kFullLevel : g) * 255 / kFullLevel;
          uint8_t* px = &bitmap_[(size_t(ty) * size_t(bitmap_width_) + size_t(tx)) * 4];
          if (f == 255 || px[3] == 0) {
            px[0] = blue;
            px[1] = green;
            px[2] = red;
            px[3] = static_cast<uint8_t>(f);
          } else {
            // Where glyphs overlap the new coverage mixes the colour in; the
            // pixel keeps the coverage it had.
            px[0] = static_cast<uint8_t>(table(blue, f) + table(px[0], 255 - f));
            px[1] = static_cast<uint8_t>(table(green, f) + table(px[1], 255 - f));
            px[2] = static_cast<uint8_t>(table(red, f) + table(px[2], 255 - f));
          }
        }
      }
    }
    positions_[p] = cell_x;
    p += lead ? 2 : 1;
  }
  in_use_ = true;
  return 0;
}

void RenderedString::draw_line(const Blender& blender, const FrameView& frame, int x, int y,
                               int from, int to, GlyphSource& font) const {
  ImageView bitmap;
  bitmap.bits = bitmap_.empty() ? nullptr : bitmap_.data();
  bitmap.width = bitmap_width_;
  bitmap.height = bitmap_height_;
  bitmap.pitch_bytes = bitmap_width_ * 4;
  const int length = static_cast<int>(text_.size());

  // Cells that follow each other in the bitmap and on the line are blended as one
  // run (a "\r" inside the line breaks the run: it has a cell in neither).
  int run_src = 0, run_dst = 0, run_w = 0;
  int k = 0;  // cursor on the line, in half widths
  for (int q = from; q < to; ++q) {
    if (positions_[size_t(q)] < 0) continue;
    const bool lead = q + 1 < length && font.is_lead_byte(static_cast<uint8_t>(text_[size_t(q)]));
    const int cell_w = lead ? 2 * half_width_ : half_width_;
    const int src = positions_[size_t(q)];
    const int dst = x + k * half_width_;
    if (run_w > 0 && src == run_src + run_w && dst == run_dst + run_w) {
      run_w += cell_w;
    } else {
      if (run_w > 0) blender.draw_image_detail(frame, bitmap, run_src, 0, run_dst, y, run_w, line_height_, 255);
      run_src = src;
      run_dst = dst;
      run_w = cell_w;
    }
    k += lead ? 2 : 1;
  }
  if (run_w > 0) blender.draw_image_detail(frame, bitmap, run_src, 0, run_dst, y, run_w, line_height_, 255);
}

std::vector<TextLine> lay_out_text(const std::string& text, int half_width, int line_height,
                                   const TextRect& rect, int count, bool no_clip, bool centre,
                                   GlyphSource& font) {
  std::vector<TextLine> lines;
  const int length = static_cast<int>(text.size());
  const int half = half_width;
  const int full = 2 * half_width;
  const int lh = line_height;
  int x = rect.left, y = rect.top;
  int w = 0, s = 0, p = 0;
  auto line = [&](int at_x, int at_y, int from, int to) { lines.push_back(TextLine{at_x, at_y, from, to}); };
  while (p < length && (count == -1 || p < count)) {
    const uint8_t c = static_cast<uint8_t>(text[size_t(p)]);
    if (c == '\r' || (c == '\n' && centre)) {
      ++p;
      continue;
    }
    if (c == '\n') {
      line(x, y, s, p);
      y += lh;
      w = 0;
      s = p;
      if (!no_clip && y + lh > rect.bottom) return lines;
      ++p;
      continue;
    }
    const bool lead = p + 1 < length && font.is_lead_byte(c);
    const int cell_w = lead ? full : half;
    // An empty line takes its first character whatever its width, so a
    // rectangle narrower than one character does not start with a blank line.
    if (!no_clip && w > 0 && x + w + cell_w > rect.right) {
      line(x, y, s, p);
      y += lh;
      if (y + lh > rect.bottom) return lines;
      s = p;
      w = 0;
    }
    w += cell_w;
    p += lead ? 2 : 1;
  }
  if (!no_clip && y + lh > rect.bottom) return lines;
  if (centre) {
    y = rect.top + (rect.bottom - rect.top) / 2 - lh / 2;
    x = rect.left + (rect.right - rect.left) / 2 - w / 2;
  }
  line(x, y, s, p);
  return lines;
}

void RenderedString::draw(const Blender& blender, const FrameView& frame, const TextRect& rect,
                          int count, bool no_clip, bool centre, GlyphSource& font) const {
  for (const TextLine& l : lay_out_text(text_, half_width_, line_height_, rect, count, no_clip, centre, font))
    draw_line(blender, frame, l.x, l.y, l.from, l.to, font);
}

StringCache::StringCache() {
  for (int i = 0; i < kEntryCount; ++i) entries_[i].rank_ = i;
}

void StringCache::clear() {
  for (RenderedString& e : entries_) e.free_member();
}

int StringCache::draw_text(const Blender& blender, const FrameView& frame, GlyphSource& font,
                           const TextRect& rect, const char* text, int count, bool no_clip,
                           bool centre, uint32_t colour) {
  if (!frame.bits || !text) return -1;
  const std::string description = font.font_description();

  int chosen = -1;
  for (int i = 0; i < kEntryCount && chosen < 0; ++i)
    if (entries_[i].matches(description, text, colour)) chosen = i;
  if (chosen < 0) {
    for (int i = 0; i < kEntryCount && chosen < 0; ++i)
      if (entries_[i].empty()) chosen = i;
    if (chosen < 0) {
      chosen = 0;
      for (int i = 1; i < kEntryCount; ++i)
        if (entries_[i].rank_ > entries_[chosen].rank_) chosen = i;
    }
    if (entries_[chosen].render(font, description, text, colour, blender.table()) != 0) return -1;
  }

  RenderedString& entry = entries_[chosen];
  entry.draw(blender, frame, rect, count, no_clip, centre, font);
  const int r = entry.rank_;
  for (RenderedString& e : entries_)
    if (e.rank_ < r) ++e.rank_;
  entry.rank_ = 0;
  return 0;
}

}  // namespace torv
