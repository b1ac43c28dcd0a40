// Rendering a string into the cell grid, and the character quads that draw it.
#include "draw_d3d/d3d_glyph_grid.h"

#include <cstring>

namespace torv {

namespace {

constexpr int kFullLevel = 64;  // grey levels of a glyph bitmap run 0..64
constexpr int kA4Threshold = 4;  // levels up to this are too faint for 4 bits of alpha

// The smallest power of two >= n, 2 for products below 3, at most limit.
int rest_side(int n, int limit) {
  int side = 2;
  while (side < n && side < limit) side <<= 1;
  return side < limit ? side : limit;
}

}  // namespace

bool plan_glyph_grid(int length, int max_char_width, int line_height, const TextureLimits& limits,
                     GlyphGridPlan* out) {
  GlyphGridPlan plan;
  plan.half_width = max_char_width / 2;
  plan.line_height = line_height;
  int max_width = 0, max_height = 0;
  if (length < 0 || plan.half_width < 1 || line_height < 1 || !largest_texture(limits, &max_width, &max_height)) {
    return false;
  }
  plan.cells_per_row = max_width / plan.half_width - 1;
  plan.rows_per_texture = max_height / line_height;
  if (plan.cells_per_row < 1 || plan.rows_per_texture < 1) return false;
  plan.text_rows = length / plan.cells_per_row + 1;
  const int per_texture = plan.cells_per_texture();
  const int full = length / per_texture;
  const int rest = length % per_texture;
  plan.widths.assign(static_cast<size_t>(full), max_width);
  plan.heights.assign(static_cast<size_t>(full), max_height);
  if (rest > 0 || full == 0) {
    const int width = rest_side(rest * plan.half_width, max_width);
    int height = 2;
    while ((height / line_height) * plan.cells_per_row < rest && height < max_height) height <<= 1;
    // Within the largest texture, so one the device takes (grown where it must be) holds it.
    int fitted_width = 0, fitted_height = 0;
    if (!fit_texture(width, height < max_height ? height : max_height, limits, &fitted_width, &fitted_height)) {
      return false;
    }
    plan.widths.push_back(fitted_width);
    plan.heights.push_back(fitted_height);
  }
  *out = plan;
  return true;
}

void GlyphGrid::clear() {
  in_use_ = false;
  text_.clear();
  font_description_.clear();
  plan_ = GlyphGridPlan();
  std::vector<TexturePixels>().swap(textures_);
  std::vector<int>().swap(positions_);
  std::vector<int>().swap(texture_of_byte_);
}

void GlyphGrid::release_pixels() {
  for (TexturePixels& t : textures_) std::vector<uint8_t>().swap(t.bytes);
}

bool GlyphGrid::matches(const std::string& font_description, const char* text, uint32_t colour) const {
  return in_use_ && colour == colour_ && font_description == font_description_ && text && text_ == text;
}

void GlyphGrid::put_glyph(const GlyphBitmap& glyph, int texture, int cell_x, int cell_y, int ascent) {
  TexturePixels& tex = textures_[static_cast<size_t>(texture)];
  const int bpp = texture_bytes_per_pixel(tex.format);
  const uint8_t red = static_cast<uint8_t>(colour_ >> 16), green = static_cast<uint8_t>(colour_ >> 8),
                blue = static_cast<uint8_t>(colour_);
  const uint16_t colour4 = static_cast<uint16_t>((red >> 4) << 8 | (green >> 4) << 4 | blue >> 4);
  for (int r = 0; r < glyph.height; ++r) {
    const int ty = cell_y + ascent - glyph.origin_y + r;
    if (ty < 0 || ty >= tex.height) continue;
    for (int c = 0; c < glyph.width; ++c) {
      const int tx = cell_x + glyph.origin_x + c;
      if (tx < 0 || tx >= tex.width) continue;
      int g = glyph.levels[static_cast<size_t>(r) * static_cast<size_t>(glyph.pitch) + static_cast<size_t>(c)];
      if (g > kFullLevel) g = kFullLevel;
      uint8_t* px = &tex.bytes[static_cast<size_t>(ty) * tex.pitch() + static_cast<size_t>(tx) * bpp];
      if (tex.format == TextureFormat::kA4R4G4B4) {
        if (g <= kA4Threshold) continue;
        const uint16_t texel = static_cast<uint16_t>((g * 255 / 1024) << 12 | colour4);
        std::memcpy(px, &texel, 2);
        continue;
      }
      const int b = (g * 255) >> 6;
      if (b == 0) continue;
      if (b == 255 || px[3] == 0) {
        px[0] = blue;
        px[1] = green;
        px[2] = red;
        px[3] = static_cast<uint8_t>(b);
      } else {
        // An earlier glyph covers this texel: mix the colour in by the new coverage.
        px[0] = static_cast<uint8_t>((px[0] * (255 - b) + blue * b) >> 8);
        px[1] = static_cast<uint8_t>((px[1] * (255 - b) + green * b) >> 8);
        px[2] = static_cast<uint8_t>((px[2] * (255 - b) + red * b) >> 8);
      }
    }
  }
}

int GlyphGrid::render(GlyphSource& font, const std::string& font_description, const char* text, uint32_t colour,
                      TextureFormat format, const TextureLimits& limits) {
  clear();
  FontMetrics metrics;
  if (!text || !font.font_metrics(&metrics)) return -1;
  const int length = static_cast<int>(std::strlen(text));
  if (!plan_glyph_grid(length, metrics.max_char_width, metrics.height, limits, &plan_)) {
    clear();
    return -1;
  }
  text_ = text;
  font_description_ = font_description;
  colour_ = colour;
  format_ = format;
  textures_.resize(plan_.widths.size());
  for (size_t t = 0; t < textures_.size(); ++t) textures_[t].reset(plan_.widths[t], plan_.heights[t], format);
  positions_.assign(static_cast<size_t>(length) + 1, -1);
  texture_of_byte_.assign(static_cast<size_t>(length) + 1, -1);

  const int half = plan_.half_width;
  const int per_texture = plan_.cells_per_texture();
  GlyphBitmap glyph;
  for (int p = 0; p < length;) {
    const uint8_t c = static_cast<uint8_t>(text_[static_cast<size_t>(p)]);
    if (c == '\r' || c == '\n') {
      ++p;
      continue;
    }
    const int t = p / per_texture;
    const int cell = p - t * per_texture;
    const bool lead = c != ' ' && p + 1 < length && font.is_lead_byte(c);
    if (c != ' ') {
      const unsigned code = lead ? c * 256u + static_cast<uint8_t>(text_[static_cast<size_t>(p) + 1]) : c;
      if (font.glyph(code, &glyph) && glyph.width > 0 && glyph.height > 0 && glyph.pitch >= glyph.width &&
          glyph.levels.size() >= static_cast<size_t>(glyph.pitch) * static_cast<size_t>(glyph.height)) {
        put_glyph(glyph, t, (cell % plan_.cells_per_row) * half, (cell / plan_.cells_per_row) * plan_.line_height,
                  metrics.ascent);
      }
    }
    positions_[static_cast<size_t>(p)] = p * half;
    texture_of_byte_[static_cast<size_t>(p)] = t;
    p += lead ? 2 : 1;
  }
  in_use_ = true;
  return 0;
}

CharQuad GlyphGrid::char_quad(int q, int x, int y, bool double_byte) const {
  CharQuad quad;
  const int t = texture_of_byte_[static_cast<size_t>(q)];
  const TexturePixels& tex = textures_[static_cast<size_t>(t)];
  const int half = plan_.half_width, lh = plan_.line_height;
  const int column = q % plan_.cells_per_row;
  const int row = q / plan_.cells_per_row - t * plan_.rows_per_texture;
  const int cells = double_byte ? 2 : 1;
  quad.texture = t;
  quad.x = x;
  quad.y = y;
  quad.width = cells * half;
  quad.height = lh;
  quad.u0 = static_cast<float>(column * half) / static_cast<float>(tex.width);
  quad.u1 = static_cast<float>((column + cells) * half) / static_cast<float>(tex.width);
  quad.v0 = static_cast<float>(row * lh) / static_cast<float>(tex.height);
  quad.v1 = static_cast<float>((row + 1) * lh) / static_cast<float>(tex.height);
  return quad;
}

std::vector<CharQuad> GlyphGrid::lay_out(const TextRect& rect, int count, bool no_clip, bool centre,
                                         GlyphSource& font) const {
  std::vector<CharQuad> quads;
  if (!in_use_) return quads;
  const int length = static_cast<int>(text_.size());
  for (const TextLine& line :
       lay_out_text(text_, plan_.half_width, plan_.line_height, rect, count, no_clip, centre, font)) {
    int k = 0;  // cursor on the line, in half widths
    for (int q = line.from; q < line.to; ++q) {
      if (positions_[static_cast<size_t>(q)] < 0 || texture_of_byte_[static_cast<size_t>(q)] < 0) continue;
      const uint8_t c = static_cast<uint8_t>(text_[static_cast<size_t>(q)]);
      const bool lead = c != ' ' && q + 1 < length && font.is_lead_byte(c);
      // A space holds a cell but is never drawn.
      if (c != ' ') quads.push_back(char_quad(q, line.x + k * plan_.half_width, line.y, lead));
      k += lead ? 2 : 1;
    }
  }
  return quads;
}

}  // namespace torv
