// Drawing of the scene layers of the background generator.
#include "tools/bggen/scene.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>

#include "tools/contentkit/text_source.h"

namespace bggen {

namespace {

using contentkit::Image;
using contentkit::Rgba;
using contentkit::Word;

constexpr double kPi = 3.14159265358979323846;

// splitmix64: tiny, fully specified, so a seed gives the same picture everywhere.
class Random {
public:
  explicit Random(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double unit() { return static_cast<double>(next() >> 11) / 9007199254740992.0; }  // [0, 1)
  int range(int lo, int hi) { return lo + static_cast<int>(unit() * (hi - lo + 1)); }  // [lo, hi]

private:
  uint64_t state_;
};

// The key=value arguments of one layer line, with typed getters that record the
// first error.
class Args {
public:
  Args(const std::vector<Word>& words, size_t first, const std::string& file, int line)
      : file_(file), line_(line) {
    for (size_t i = first; i < words.size(); ++i) {
      const size_t eq = words[i].text.find('=');
      if (eq == std::string::npos || eq == 0) {
        free_.push_back(words[i]);
        continue;
      }
      values_[words[i].text.substr(0, eq)] = {words[i].text.substr(eq + 1), words[i].column};
    }
  }
  const std::vector<Word>& free_words() const { return free_; }

  int integer(const std::string& key, int fallback, bool required = false) {
    auto it = values_.find(key);
    if (it == values_.end()) return missing(key, required) ? 0 : fallback;
    used_[key] = true;
    int v = 0;
    if (!contentkit::parse_int(it->second.first, v)) fail(it->second.second, key + " wants a whole number");
    return v;
  }
  Rgba colour(const std::string& key, Rgba fallback, bool required = false) {
    auto it = values_.find(key);
    if (it == values_.end()) return missing(key, required) ? Rgba{} : fallback;
    used_[key] = true;
    Rgba c;
    if (!contentkit::parse_hex_colour(it->second.first, c)) fail(it->second.second, key + " wants #rrggbb or #rrggbbaa");
    return c;
  }
  bool has(const std::string& key) const { return values_.count(key) != 0; }
  // "MIN..MAX".
  void span(const std::string& key, int& lo, int& hi) {
    auto it = values_.find(key);
    if (it == values_.end()) return;
    used_[key] = true;
    const std::string& t = it->second.first;
    const size_t dots = t.find("..");
    if (dots == std::string::npos || !contentkit::parse_int(t.substr(0, dots), lo) ||
        !contentkit::parse_int(t.substr(dots + 2), hi) || lo > hi)
      fail(it->second.second, key + " wants MIN..MAX");
  }
  std::string word(const std::string& key, const std::string& fallback) {
    auto it = values_.find(key);
    if (it == values_.end()) return fallback;
    used_[key] = true;
    return it->second.first;
  }
  // The first error, or an unknown key.
  // A misspelt key also leaves its setting missing: name the misspelling first.
  std::string error() const {
    for (const auto& [key, value] : values_)
      if (!used_.count(key)) return contentkit::where(file_, line_, value.second) + "unknown setting \"" + key + "\"";
    return error_;
  }

private:
  bool missing(const std::string& key, bool required) {
    if (required) fail(0, "missing " + key + "=");
    return required;
  }
  void fail(int column, const std::string& message) {
    if (error_.empty()) error_ = contentkit::where(file_, line_, column) + message;
  }
  std::string file_;
  int line_;
  std::map<std::string, std::pair<std::string, int>> values_;
  std::map<std::string, bool> used_;
  std::vector<Word> free_;
  std::string error_;
};

Rgba lerp(Rgba a, Rgba b, double t) {
  auto m = [t](uint8_t x, uint8_t y) { return static_cast<uint8_t>(std::lround(x + (y - x) * t)); };
  return Rgba{m(a.r, b.r), m(a.g, b.g), m(a.b, b.b), m(a.a, b.a)};
}

void plot(Image& img, int x, int y, Rgba c) {
  if (c.a == 255)
    img.put(x, y, c);
  else
    contentkit::blend(img, x, y, c);
}

void fill_rect(Image& img, int x0, int y0, int w, int h, Rgba c) {
  for (int y = std::max(0, y0); y < std::min(img.height(), y0 + h); ++y)
    for (int x = std::max(0, x0); x < std::min(img.width(), x0 + w); ++x) plot(img, x, y, c);
}

void fill_ellipse(Image& img, double cx, double cy, double rx, double ry, Rgba c) {
  for (int y = static_cast<int>(cy - ry); y <= static_cast<int>(cy + ry) + 1; ++y)
    for (int x = static_cast<int>(cx - rx); x <= static_cast<int>(cx + rx) + 1; ++x) {
      const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
      if (dx * dx + dy * dy <= 1.0) plot(img, x, y, c);
    }
}

// Solid triangle between a horizontal base and an apex.
void fill_spike(Image& img, double base_x, double half_width, double base_y, double apex_y, Rgba c) {
  const double len = apex_y - base_y;
  const int y0 = static_cast<int>(std::floor(std::min(base_y, apex_y)));
  const int y1 = static_cast<int>(std::ceil(std::max(base_y, apex_y)));
  for (int y = y0; y <= y1; ++y) {
    const double t = (y + 0.5 - base_y) / len;  // 0 at the base, 1 at the apex
    if (t < 0 || t > 1) continue;
    const double hw = half_width * (1.0 - t);
    for (int x = static_cast<int>(std::floor(base_x - hw)); x <= static_cast<int>(std::ceil(base_x + hw)); ++x)
      if (std::abs(x + 0.5 - base_x) <= hw) plot(img, x, y, c);
  }
}

// A 5x7 block font: each glyph seven rows of five bits, top row first.
const std::map<char, std::array<uint8_t, 7>>& font() {
  static const std::map<char, std::array<uint8_t, 7>> glyphs = {
      {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}}, {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
      {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}}, {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
      {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}}, {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
      {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}}, {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
      {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}}, {'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
      {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}}, {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
      {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}}, {'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
      {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
      {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}}, {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
      {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}}, {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
      {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'V', {0x11, 0x11, 0x11, 0x11, 0x0A, 0x0A, 0x04}},
      {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}}, {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
      {'Y', {0x11, 0x11, 0x0A, 0x04, 0x04, 0x04, 0x04}}, {'Z', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
      {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
      {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
      {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
      {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
      {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
      {' ', {0, 0, 0, 0, 0, 0, 0}}, {'-', {0, 0, 0, 0x1F, 0, 0, 0}}, {'!', {0x04, 0x04, 0x04, 0x04, 0x04, 0, 0x04}},
      {'.', {0, 0, 0, 0, 0, 0x0C, 0x0C}},
  };
  return glyphs;
}

void draw_text(Image& img, int x, int y, int scale, const std::string& text, Rgba c) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto& g = font().at(text[i]);
    for (int row = 0; row < 7; ++row)
      for (int col = 0; col < 5; ++col)
        if (g[row] & (0x10 >> col)) fill_rect(img, x + static_cast<int>(i) * 6 * scale + col * scale, y + row * scale, scale, scale, c);
  }
}

// Height of a ridge at x: a few sine octaves with seeded phases, 0..1. Sharp ridges
// fold each octave into a peak.
struct Ridge {
  double phase[4];
  double wave;
  bool sharp;
  double at(double x) const {
    double sum = 0, weight = 0, amp = 1.0, freq = 1.0;
    for (int o = 0; o < 4; ++o) {
      double s = std::sin(2 * kPi * x * freq / wave + phase[o]);
      if (sharp) s = 1.0 - 2.0 * std::abs(s);
      sum += (s * 0.5 + 0.5) * amp;
      weight += amp;
      amp *= 0.45;
      freq *= 2.13;
    }
    return sum / weight;
  }
};

std::string draw_layer(Image& img, const std::string& op, Args& a, const std::string& images_dir) {
  const int W = img.width(), H = img.height();
  if (op == "fill") {
    const Rgba c = a.colour("colour", Rgba{}, true);
    if (a.error().empty()) fill_rect(img, 0, 0, W, H, c);
  } else if (op == "gradient") {
    std::vector<Rgba> stops;
    for (const Word& w : a.free_words()) {
      Rgba c;
      if (!contentkit::parse_hex_colour(w.text, c)) return "bad colour \"" + w.text + "\"";
      stops.push_back(c);
    }
    if (stops.size() < 2) return "a gradient needs two colours or more";
    const int bands = a.integer("bands", 0), from = a.integer("from", 0), to = a.integer("to", H);
    if (to <= from) return "gradient from= must be above to=";
    for (int y = std::max(0, from); y < std::min(H, to); ++y) {
      double t = (y - from) / static_cast<double>(to - from);
      if (bands > 1) t = std::floor(t * bands) / (bands - 1);
      t = std::min(t, 1.0) * (stops.size() - 1);
      const size_t k = std::min(static_cast<size_t>(t), stops.size() - 2);
      fill_rect(img, 0, y, W, 1, lerp(stops[k], stops[k + 1], t - k));
    }
  } else if (op == "stars") {
    Random rng(static_cast<uint64_t>(a.integer("seed", 0, true)));
    const int count = a.integer("count", 0, true), from = a.integer("from", 0), to = a.integer("to", H);
    const Rgba c = a.colour("colour", Rgba{}, true);
    for (int i = 0; i < count; ++i) {
      const int x = rng.range(0, W - 1), y = rng.range(from, to - 1);
      Rgba s = c;
      s.a = static_cast<uint8_t>(c.a * (0.35 + 0.65 * rng.unit()));
      plot(img, x, y, s);
      if (rng.unit() < 0.12) {  // a few bright ones get a small cross
        plot(img, x - 1, y, s);
        plot(img, x + 1, y, s);
        plot(img, x, y - 1, s);
        plot(img, x, y + 1, s);
      }
    }
  } else if (op == "disc") {
    const int x = a.integer("x", 0, true), y = a.integer("y", 0, true), r = a.integer("r", 0, true);
    const Rgba c = a.colour("colour", Rgba{}, true);
    if (a.has("halo")) {
      const Rgba halo = a.colour("halo", Rgba{});
      const int hr = a.integer("halo_r", r * 2);
      // Concentric rings of falling strength: a soft glow without a smooth gradient.
      for (int ring = 4; ring >= 1; --ring) {
        Rgba h = halo;
        h.a = static_cast<uint8_t>(halo.a * 0.22);
        fill_ellipse(img, x, y, r + (hr - r) * ring / 4.0, r + (hr - r) * ring / 4.0, h);
      }
    }
    fill_ellipse(img, x, y, r, r, c);
  } else if (op == "clouds") {
    Random rng(static_cast<uint64_t>(a.integer("seed", 0, true)));
    const int count = a.integer("count", 0, true), from = a.integer("from", 0, true), to = a.integer("to", H, true);
    const Rgba c = a.colour("colour", Rgba{}, true), shade = a.colour("shade", Rgba{}, true);
    int lo = 80, hi = 200;
    a.span("size", lo, hi);
    for (int i = 0; i < count; ++i) {
      const double cx = rng.range(0, W - 1), cy = rng.range(from, to), size = rng.range(lo, hi);
      const int puffs = rng.range(4, 7);
      // Shade first, shifted down: the puffs above leave a darker underside.
      for (int pass = 0; pass < 2; ++pass) {
        Random puff_rng(static_cast<uint64_t>(i) * 7919u + 17u);
        for (int p = 0; p < puffs; ++p) {
          const double px = cx + (puff_rng.unit() - 0.5) * size;
          const double pr = size * (0.22 + 0.18 * puff_rng.unit());
          const double py = cy - pr * 0.45 * puff_rng.unit();
          fill_ellipse(img, px, py + (pass == 0 ? pr * 0.18 : 0), pr, pr * 0.62, pass == 0 ? shade : c);
        }
      }
    }
  } else if (op == "ridge") {
    Random rng(static_cast<uint64_t>(a.integer("seed", 0, true)));
    const int base = a.integer("base", 0, true), amp = a.integer("amp", 0, true), wave = a.integer("wave", 400, true);
    const Rgba c = a.colour("colour", Rgba{}, true);
    const bool edge = a.has("edge"), cap = a.has("cap");
    const Rgba edge_c = a.colour("edge", Rgba{}), cap_c = a.colour("cap", Rgba{});
    const int cap_depth = a.integer("cap_depth", 30);
    Ridge ridge{{rng.unit() * 2 * kPi, rng.unit() * 2 * kPi, rng.unit() * 2 * kPi, rng.unit() * 2 * kPi},
                std::max(wave, 8) * 1.0, a.integer("sharp", 0) != 0};
    for (int x = 0; x < W; ++x) {
      const double h = ridge.at(x);
      const int top = static_cast<int>(std::lround(base - amp * h));
      fill_rect(img, x, top, 1, H - top, c);
      if (cap && h > 0.62) {
        const int depth = static_cast<int>(cap_depth * (h - 0.62) / 0.38) + 2;
        fill_rect(img, x, top, 1, depth, cap_c);
      }
      if (edge) fill_rect(img, x, top, 1, 3, edge_c);
    }
  } else if (op == "trees") {
    Random rng(static_cast<uint64_t>(a.integer("seed", 0, true)));
    const int base = a.integer("base", 0, true), spacing = std::max(4, a.integer("spacing", 60));
    const Rgba c = a.colour("colour", Rgba{}, true);
    int lo = 60, hi = 140;
    a.span("height", lo, hi);
    const std::string kind = a.word("kind", "pine");
    if (kind != "pine" && kind != "round") return "kind= is pine or round";
    for (int x = -spacing; x < W + spacing; x += spacing) {
      const double tx = x + (rng.unit() - 0.5) * spacing * 0.8;
      const double th = rng.range(lo, hi);
      if (kind == "pine") {
        fill_rect(img, static_cast<int>(tx) - 2, base - static_cast<int>(th * 0.2), 5, static_cast<int>(th * 0.2) + 2, c);
        for (int tier = 0; tier < 3; ++tier) {
          const double ty = base - th * (0.15 + 0.28 * tier);
          fill_spike(img, tx, th * (0.34 - 0.07 * tier), ty, ty - th * 0.45, c);
        }
      } else {
        fill_rect(img, static_cast<int>(tx) - 3, base - static_cast<int>(th * 0.5), 7, static_cast<int>(th * 0.5) + 2, c);
        fill_ellipse(img, tx, base - th * 0.62, th * 0.36, th * 0.34, c);
        fill_ellipse(img, tx - th * 0.2, base - th * 0.5, th * 0.24, th * 0.2, c);
        fill_ellipse(img, tx + th * 0.22, base - th * 0.52, th * 0.22, th * 0.2, c);
      }
    }
  } else if (op == "drips") {
    Random rng(static_cast<uint64_t>(a.integer("seed", 0, true)));
    const Rgba c = a.colour("colour", Rgba{}, true);
    const int count = a.integer("count", 40), from = a.integer("from", 0);
    const bool up = a.word("dir", "down") == "up";
    int lo = 40, hi = 200;
    a.span("length", lo, hi);
    for (int i = 0; i < count; ++i) {
      const double x = rng.range(0, W - 1), len = rng.range(lo, hi), hw = len * (0.12 + 0.1 * rng.unit());
      fill_spike(img, x, hw, from, up ? from - len : from + len, c);
    }
  } else if (op == "columns") {
    Random rng(static_cast<uint64_t>(a.integer("seed", 0, true)));
    const Rgba c = a.colour("colour", Rgba{}, true);
    const bool edged = a.has("edge");
    const Rgba edge = a.colour("edge", Rgba{});
    const int spacing = std::max(8, a.integer("spacing", 320)), width = a.integer("width", 60);
    const int top = a.integer("top", 0), bottom = a.integer("bottom", H);
    for (int x = static_cast<int>(rng.unit() * spacing) - spacing; x < W; x += spacing) {
      fill_rect(img, x, top, width, bottom - top, c);
      if (edged) {
        fill_rect(img, x, top, 3, bottom - top, edge);
        fill_rect(img, x - 8, top, width + 16, 14, edge);            // capital
        fill_rect(img, x - 8, bottom - 14, width + 16, 14, edge);    // base
      }
    }
  } else if (op == "rect") {
    const int x = a.integer("x", 0, true), y = a.integer("y", 0, true), w = a.integer("w", 0, true), h = a.integer("h", 0, true);
    const Rgba c = a.colour("colour", Rgba{}, true);
    fill_rect(img, x, y, w, h, c);
    if (a.has("edge")) {
      const Rgba e = a.colour("edge", Rgba{});
      const int ew = a.integer("edge_width", 1);
      fill_rect(img, x, y, w, ew, e);
      fill_rect(img, x, y + h - ew, w, ew, e);
      fill_rect(img, x, y, ew, h, e);
      fill_rect(img, x + w - ew, y, ew, h, e);
    }
  } else if (op == "text") {
    const int x = a.integer("x", 0, true), y = a.integer("y", 0, true), scale = a.integer("scale", 1);
    const Rgba c = a.colour("colour", Rgba{}, true);
    std::string text;
    for (const Word& w : a.free_words()) text += (text.empty() ? "" : " ") + w.text;
    for (char ch : text)
      if (!font().count(ch)) return std::string("the block font has no '") + ch + "'";
    if (a.has("outline")) {
      const Rgba o = a.colour("outline", Rgba{});
      const int ow = std::max(1, scale / 2);
      for (int dy = -ow; dy <= ow; ++dy)
        for (int dx = -ow; dx <= ow; ++dx) draw_text(img, x + dx, y + dy, scale, text, o);
    }
    if (a.has("shadow")) draw_text(img, x + scale, y + scale, scale, text, a.colour("shadow", Rgba{}));
    draw_text(img, x, y, scale, text, c);
  } else if (op == "sprite") {
    const std::string name = a.word("name", "");
    const int x = a.integer("x", 0, true), y = a.integer("y", 0, true), scale = a.integer("scale", 1);
    if (name.empty()) return "missing name=";
    if (scale < 1 || scale > 32) return "scale wants 1 to 32";
    Image sprite;
    if (std::string e = contentkit::read_png(images_dir + "/" + name, sprite); !e.empty()) return e;
    contentkit::draw_image(img, contentkit::scale_up(sprite, scale), x, y);
  } else {
    return "unknown layer \"" + op + "\"";
  }
  return "";
}

}  // namespace

std::string render_scene(const std::string& text, const std::string& file, const std::string& images_dir,
                         std::vector<Picture>& out) {
  const std::vector<std::string> lines = contentkit::split_lines(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    const int line_no = static_cast<int>(i) + 1;
    const std::vector<Word> words = contentkit::split_words(lines[i]);
    if (words.empty() || words[0].text[0] == '#') continue;
    const std::string& op = words[0].text;
    if (op == "image") {
      int w = 0, h = 0;
      char x = 0;
      if (words.size() < 3 || words.size() > 4 || std::sscanf(words[2].text.c_str(), "%d%c%d", &w, &x, &h) != 3 ||
          x != 'x' || w <= 0 || h <= 0 || w > 16384 || h > 16384 ||
          words[2].text != std::to_string(w) + "x" + std::to_string(h))
        return contentkit::where(file, line_no, 1) + "usage: image NAME WxH [alpha]";
      if (words.size() == 4 && words[3].text != "alpha")
        return contentkit::where(file, line_no, words[3].column) + "expected \"alpha\"";
      for (const Picture& p : out)
        if (p.name == words[1].text)
          return contentkit::where(file, line_no, words[1].column) + "picture \"" + p.name + "\" is defined twice";
      out.push_back(Picture{words[1].text, words.size() == 4, Image(w, h)});
      continue;
    }
    if (out.empty()) return contentkit::where(file, line_no, 1) + "a layer before any \"image\" line";
    Args args(words, 1, file, line_no);
    const std::string e = draw_layer(out.back().image, op, args, images_dir);
    if (!e.empty()) return contentkit::where(file, line_no, words[0].column) + e;
    if (std::string ae = args.error(); !ae.empty()) return ae;
  }
  if (out.empty()) return file + ": no \"image\" line";
  return "";
}

}  // namespace bggen
