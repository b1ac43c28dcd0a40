// FreeType glyphs for the string cache.
#include "tools/torvsim/freetype_glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <iconv.h>

namespace torv {

struct FreeTypeGlyphs::Impl {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  iconv_t to_utf32 = reinterpret_cast<iconv_t>(-1);
  int height = 14;

  ~Impl() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
    if (to_utf32 != reinterpret_cast<iconv_t>(-1)) iconv_close(to_utf32);
  }

  // The Unicode code point of a Shift-JIS character (one or two bytes).
  unsigned unicode(unsigned code) {
    char in[2];
    size_t in_left = 0;
    if (code > 0xFF) {
      in[0] = static_cast<char>(code >> 8);
      in[1] = static_cast<char>(code & 0xFF);
      in_left = 2;
    } else {
      in[0] = static_cast<char>(code);
      in_left = 1;
    }
    uint32_t out = 0;
    char* src = in;
    char* dst = reinterpret_cast<char*>(&out);
    size_t out_left = sizeof out;
    iconv(to_utf32, nullptr, nullptr, nullptr, nullptr);
    if (iconv(to_utf32, &src, &in_left, &dst, &out_left) == static_cast<size_t>(-1)) return 0;
    return out;
  }
};

FreeTypeGlyphs::FreeTypeGlyphs() : impl_(std::make_unique<Impl>()) {}
FreeTypeGlyphs::~FreeTypeGlyphs() = default;

bool FreeTypeGlyphs::open(const std::string& font_path) {
  if (FT_Init_FreeType(&impl_->library) != 0) return false;
  if (FT_New_Face(impl_->library, font_path.c_str(), 0, &impl_->face) != 0) {
    impl_->face = nullptr;
    return false;
  }
  impl_->to_utf32 = iconv_open("UTF-32LE", "CP932");
  if (impl_->to_utf32 == reinterpret_cast<iconv_t>(-1)) return false;
  set_height(impl_->height);
  return true;
}

void FreeTypeGlyphs::set_height(int pixels) {
  impl_->height = pixels > 0 ? pixels : 14;
  if (impl_->face) FT_Set_Pixel_Sizes(impl_->face, 0, static_cast<FT_UInt>(impl_->height));
}

std::string FreeTypeGlyphs::font_description() { return "freetype " + std::to_string(impl_->height); }

bool FreeTypeGlyphs::font_metrics(FontMetrics* out) {
  if (!impl_->face) return false;
  const FT_Face face = impl_->face;
  out->height = impl_->height;
  out->ascent = static_cast<int>(face->size->metrics.ascender >> 6);
  if (out->ascent <= 0 || out->ascent > out->height) out->ascent = impl_->height * 4 / 5;
  out->max_char_width = impl_->height;
  return true;
}

bool FreeTypeGlyphs::glyph(unsigned code, GlyphBitmap* out) {
  if (!impl_->face) return false;
  const unsigned cp = impl_->unicode(code);
  if (cp == 0 || FT_Load_Char(impl_->face, cp, FT_LOAD_RENDER) != 0) return false;
  const FT_GlyphSlot slot = impl_->face->glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.width == 0 || bitmap.rows == 0 || bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return false;
  out->width = static_cast<int>(bitmap.width);
  out->height = static_cast<int>(bitmap.rows);
  out->origin_x = slot->bitmap_left;
  out->origin_y = slot->bitmap_top;
  out->pitch = out->width;
  out->levels.assign(static_cast<size_t>(out->width * out->height), 0);
  // FreeType's 0..255 coverage to the 0..64 levels of the Windows glyph bitmaps.
  for (int y = 0; y < out->height; ++y) {
    const unsigned char* row = bitmap.buffer + y * bitmap.pitch;
    for (int x = 0; x < out->width; ++x) out->levels[static_cast<size_t>(y * out->width + x)] = (row[x] * 64 + 127) / 255;
  }
  return true;
}

bool FreeTypeGlyphs::is_lead_byte(uint8_t byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

int FreeTypeGlyphs::text_width(const std::string& text) {
  // The same fixed pitch as the cache's layout: half an em per byte.
  return static_cast<int>(text.size()) * (impl_->height / 2);
}

}  // namespace torv
