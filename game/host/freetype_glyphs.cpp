// FreeType glyphs for the string cache.
#include "game/host/freetype_glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H
#include <iconv.h>

#include "game/host/outline_rasteriser.h"
#include "game/host/text_encoding.h"

namespace torv {

struct FreeTypeGlyphs::Impl {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  iconv_t to_utf32 = reinterpret_cast<iconv_t>(-1);
  int height = kDefaultHeight;
  int em = kDefaultHeight;
  // GDI's text metrics of the font at the current height.
  FontMetrics metrics;

  static constexpr int kDefaultHeight = 14;

  // FreeType's 26.6 fixed-point pixels rounded to whole pixels.
  static int round_26_6(FT_Pos value) { return static_cast<int>((value + 32) >> 6); }

  void apply_height() {
    if (!face) return;
    const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const TT_HoriHeader* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    long ascent_units = face->ascender;
    long descent_units = -face->descender;
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
      ascent_units = os2->usWinAscent;
      descent_units = os2->usWinDescent;
    } else if (hhea && hhea->Ascender - hhea->Descender > 0) {
      ascent_units = hhea->Ascender;
      descent_units = -hhea->Descender;
    }
    const long cell_units = ascent_units + descent_units > 0 ? ascent_units + descent_units : face->units_per_EM;
    // The cell height asked for is ascent + descent: the em is that share of it.
    em = static_cast<int>((static_cast<long>(face->units_per_EM) * height * 2 + cell_units) / (cell_units * 2));
    if (em < 1) em = 1;
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em));
    const FT_Size_Metrics& scale = face->size->metrics;
    metrics.ascent = round_26_6(FT_MulFix(ascent_units, scale.y_scale));
    metrics.height = metrics.ascent + round_26_6(FT_MulFix(descent_units, scale.y_scale));
    metrics.max_char_width = round_26_6(FT_MulFix(face->bbox.xMax - face->bbox.xMin, scale.x_scale));
    if (metrics.max_char_width < 1) metrics.max_char_width = em;
  }

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
  if (!FT_IS_SCALABLE(impl_->face)) {
    FT_Done_Face(impl_->face);
    impl_->face = nullptr;
    return false;
  }
  impl_->to_utf32 = open_from_cp932("UTF-32LE");
  if (impl_->to_utf32 == reinterpret_cast<iconv_t>(-1)) return false;
  impl_->apply_height();
  return true;
}

void FreeTypeGlyphs::set_height(int pixels) {
  impl_->height = pixels > 0 ? pixels : Impl::kDefaultHeight;
  impl_->apply_height();
}

int FreeTypeGlyphs::em_pixels() const { return impl_->em; }

std::string FreeTypeGlyphs::font_description() { return "freetype " + std::to_string(impl_->height); }

bool FreeTypeGlyphs::font_metrics(FontMetrics* out) {
  if (!impl_->face) return false;
  *out = impl_->metrics;
  return true;
}

namespace {

OutlinePoint outline_point(const FT_Vector* v) {
  return OutlinePoint{static_cast<int32_t>(v->x), static_cast<int32_t>(v->y)};
}

// FreeType hands the outline's pieces, contour by contour, to our rasteriser.
const FT_Outline_Funcs kToRasteriser = {
    [](const FT_Vector* to, void* user) {
      static_cast<OutlineRasteriser*>(user)->move_to(outline_point(to));
      return 0;
    },
    [](const FT_Vector* to, void* user) {
      static_cast<OutlineRasteriser*>(user)->line_to(outline_point(to));
      return 0;
    },
    [](const FT_Vector* control, const FT_Vector* to, void* user) {
      static_cast<OutlineRasteriser*>(user)->conic_to(outline_point(control), outline_point(to));
      return 0;
    },
    [](const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to, void* user) {
      static_cast<OutlineRasteriser*>(user)->cubic_to(outline_point(control1), outline_point(control2),
                                                      outline_point(to));
      return 0;
    },
    0,
    0,
};

}  // namespace

bool FreeTypeGlyphs::glyph(unsigned code, GlyphBitmap* out) {
  if (!impl_->face) return false;
  const unsigned cp = impl_->unicode(code);
  // The hinted outline only: FreeType's own rasteriser rounds differently where
  // `long` is 32 bits (the browser build), so ours draws it the same everywhere.
  // Loading presets the bitmap's box FreeType would render into.
  if (cp == 0 || FT_Load_Char(impl_->face, cp, FT_LOAD_DEFAULT) != 0) return false;
  const FT_GlyphSlot slot = impl_->face->glyph;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;
  const FT_Bitmap& box = slot->bitmap;
  if (box.width == 0 || box.rows == 0) return false;
  OutlineRasteriser rasteriser(slot->bitmap_left, slot->bitmap_top, static_cast<int>(box.width),
                               static_cast<int>(box.rows));
  if (!rasteriser.usable() || FT_Outline_Decompose(&slot->outline, &kToRasteriser, &rasteriser) != 0) return false;
  const std::vector<uint8_t> coverage = rasteriser.coverage();
  if (coverage.empty()) return false;
  out->width = rasteriser.width();
  out->height = rasteriser.height();
  out->origin_x = slot->bitmap_left;
  out->origin_y = slot->bitmap_top;
  out->pitch = out->width;
  out->levels.resize(coverage.size());
  // 0..255 coverage to the 0..64 levels of the Windows glyph bitmaps.
  for (size_t i = 0; i < coverage.size(); ++i) out->levels[i] = static_cast<uint8_t>((coverage[i] * 64 + 127) / 255);
  return true;
}

bool FreeTypeGlyphs::is_lead_byte(uint8_t byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

int FreeTypeGlyphs::text_width(const std::string& text) {
  if (!impl_->face) return 0;
  int width = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const uint8_t byte = static_cast<uint8_t>(text[i]);
    unsigned code = byte;
    if (is_lead_byte(byte) && i + 1 < text.size()) code = code << 8 | static_cast<uint8_t>(text[++i]);
    const unsigned cp = impl_->unicode(code);
    if (cp != 0 && FT_Load_Char(impl_->face, cp, FT_LOAD_DEFAULT) == 0) {
      width += Impl::round_26_6(impl_->face->glyph->advance.x);
    }
  }
  return width;
}

}  // namespace torv
