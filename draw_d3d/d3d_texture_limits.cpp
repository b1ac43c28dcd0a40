// Texture sizes within a device's limits.
#include "draw_d3d/d3d_texture_limits.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "draw_d3d/d3d_geometry.h"

namespace torv {

namespace {

constexpr int kSmallestSide = 2;  // the smallest texture this renderer makes is 2 x 2

bool is_power_of_two(int n) { return n > 0 && (n & (n - 1)) == 0; }

// Whether the longer of a and b is at most aspect times the shorter (0: any).
bool within_aspect(int a, int b, int aspect) {
  return aspect <= 0 || std::max(a, b) <= static_cast<int64_t>(std::min(a, b)) * aspect;
}

// The smaller of two limits where 0 means none.
int lower(int limit, int cap) { return cap > 0 && (limit <= 0 || cap < limit) ? cap : limit; }

// A whole number of 1 .. 2^30, and only that, from the whole of text.
bool parse_side(const std::string& text, int* out) {
  if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  const long value = std::strtol(text.c_str(), nullptr, 10);
  if (value < 1 || value > (1L << 30)) return false;
  *out = static_cast<int>(value);
  return true;
}

}  // namespace

bool texture_size_allowed(int width, int height, const TextureLimits& limits) {
  if (width < 1 || height < 1 || width > limits.max_width || height > limits.max_height) return false;
  if (limits.square_only && width != height) return false;
  if (limits.pow2 && !(is_power_of_two(width) && is_power_of_two(height))) return false;
  return within_aspect(width, height, limits.max_aspect);
}

bool largest_texture(const TextureLimits& limits, int* width, int* height) {
  int w = power_of_two_floor(limits.max_width), h = power_of_two_floor(limits.max_height);
  if (limits.square_only) w = h = std::min(w, h);
  if (limits.max_aspect > 0) {
    // Shorten the longer side until the ratio holds (powers of two: halving keeps them so).
    while (w > h && !within_aspect(w, h, limits.max_aspect)) w >>= 1;
    while (h > w && !within_aspect(w, h, limits.max_aspect)) h >>= 1;
  }
  if (w < kSmallestSide || h < kSmallestSide) return false;
  *width = w;
  *height = h;
  return true;
}

bool fit_texture(int width, int height, const TextureLimits& limits, int* fitted_width, int* fitted_height) {
  if (width < 1 || height < 1) return false;
  int w = texture_side_for(width), h = texture_side_for(height);
  if (limits.square_only) w = h = std::max(w, h);
  // Grow the shorter side until the ratio holds (at the latest when both are equal);
  // a side past the largest fails below.
  while (!within_aspect(w, h, limits.max_aspect)) (w < h ? w : h) <<= 1;
  if (!texture_size_allowed(w, h, limits)) return false;
  *fitted_width = w;
  *fitted_height = h;
  return true;
}

TextureLimits cap_texture_limits(const TextureLimits& device, const TextureLimits& cap) {
  TextureLimits out = device;
  out.max_width = lower(device.max_width, cap.max_width);
  out.max_height = lower(device.max_height, cap.max_height);
  out.max_aspect = lower(device.max_aspect, cap.max_aspect);
  out.square_only = device.square_only || cap.square_only;
  out.pow2 = device.pow2 || cap.pow2;
  return out;
}

bool parse_texture_limits(const std::string& text, TextureLimits* cap) {
  TextureLimits parsed;
  size_t from = 0;
  while (from <= text.size()) {
    size_t comma = text.find(',', from);
    if (comma == std::string::npos) comma = text.size();
    const std::string item = text.substr(from, comma - from);
    const size_t x = item.find('x');
    if (item == "square") {
      parsed.square_only = true;
    } else if (item == "pow2") {
      parsed.pow2 = true;
    } else if (item.compare(0, 7, "aspect=") == 0) {
      if (!parse_side(item.substr(7), &parsed.max_aspect)) return false;
    } else if (x != std::string::npos) {
      if (!parse_side(item.substr(0, x), &parsed.max_width) || !parse_side(item.substr(x + 1), &parsed.max_height)) {
        return false;
      }
    } else if (parse_side(item, &parsed.max_width)) {
      parsed.max_height = parsed.max_width;
    } else {
      return false;
    }
    from = comma + 1;
  }
  *cap = parsed;
  return true;
}

}  // namespace torv
