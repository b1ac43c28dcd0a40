// Which texture sizes a Direct3D device takes, as its caps report them, and the
// sizes this renderer asks for within them. Every texture it makes has sides that
// are powers of two, so a device that wants only those is served as any other.
#pragma once

#include <string>

namespace torv {

struct TextureLimits {
  TextureLimits() = default;
  TextureLimits(int max_width, int max_height, bool square_only = false, int max_aspect = 0, bool pow2 = false)
      : max_width(max_width), max_height(max_height), square_only(square_only), max_aspect(max_aspect), pow2(pow2) {}

  int max_width = 0;         // largest side in texels (MaxTextureWidth, MaxTextureHeight)
  int max_height = 0;
  bool square_only = false;  // width must equal height (D3DPTEXTURECAPS_SQUAREONLY)
  int max_aspect = 0;        // largest longer side / shorter side (MaxTextureAspectRatio); 0: any
  bool pow2 = false;         // sides must be powers of two (D3DPTEXTURECAPS_POW2)
};

// Whether the device takes a texture of width x height.
bool texture_size_allowed(int width, int height, const TextureLimits& limits);

// The largest power-of-two texture the device takes (square where it must be,
// within its aspect ratio). False when it takes none of at least 2 x 2.
bool largest_texture(const TextureLimits& limits, int* width, int* height);

// The smallest power-of-two texture (sides at least 2) that holds width x height
// and that the device takes: the sides are the powers of two above the size, the
// shorter one grown as far as square-only or the aspect ratio need. False when
// none does (the size exceeds the largest texture).
bool fit_texture(int width, int height, const TextureLimits& limits, int* fitted_width, int* fitted_height);

// The device's limits lowered to a cap: the smaller sizes and aspect ratio (a 0 in
// the cap lowers nothing), square-only or power-of-two when either says so.
TextureLimits cap_texture_limits(const TextureLimits& device, const TextureLimits& cap);

// A cap written as comma-separated items: "256" or "256x128" (largest sides),
// "square", "aspect=N", "pow2"; e.g. "256,square,aspect=1". False, with *cap
// untouched, on anything else.
bool parse_texture_limits(const std::string& text, TextureLimits* cap);

}  // namespace torv
