// Parsing of palette and sprite files, and their rendering to images.
#include "tools/sprite/sprite_source.h"

#include <algorithm>
#include <sstream>

#include "tools/contentkit/text_source.h"

namespace sprite {

namespace {

using contentkit::is_blank;
using contentkit::split_lines;
using contentkit::split_words;
using contentkit::where;
using contentkit::Word;

const Sprite* find(const std::vector<Sprite>& sprites, const std::string& name) {
  for (const Sprite& s : sprites)
    if (s.name == name) return &s;
  return nullptr;
}

std::vector<std::string> mirrored(const std::vector<std::string>& rows) {
  std::vector<std::string> out = rows;
  for (std::string& r : out) std::reverse(r.begin(), r.end());
  return out;
}

std::vector<std::string> rotated(const std::vector<std::string>& rows, int turns) {
  const int h = static_cast<int>(rows.size()), w = h ? static_cast<int>(rows[0].size()) : 0;
  turns = ((turns % 4) + 4) % 4;
  if (turns == 0) return rows;
  if (turns == 2) {
    std::vector<std::string> out(rows.rbegin(), rows.rend());
    return mirrored(out);
  }
  std::vector<std::string> out(static_cast<size_t>(w), std::string(static_cast<size_t>(h), ' '));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (turns == 1)
        out[x][h - 1 - y] = rows[y][x];  // clockwise
      else
        out[w - 1 - x][y] = rows[y][x];  // counter-clockwise
    }
  return out;
}

}  // namespace

std::string parse_palette(const std::string& text, const std::string& file, Palette& out) {
  const std::vector<std::string> lines = split_lines(text);
  for (size_t i = 0; i < lines.size(); ++i) {
    const int line_no = static_cast<int>(i) + 1;
    const std::vector<Word> words = split_words(lines[i]);
    if (words.empty() || words[0].text[0] == '#') continue;
    if (words[0].text.size() != 1)
      return where(file, line_no, words[0].column) + "a palette key is one character, not \"" + words[0].text + "\"";
    if (words.size() < 2) return where(file, line_no, words[0].column) + "missing colour";
    const char key = words[0].text[0];
    if (out.count(key)) return where(file, line_no, words[0].column) + "'" + std::string(1, key) + "' is defined twice";
    contentkit::Rgba colour;
    if (words[1].text == "transparent")
      colour = contentkit::Rgba{0, 0, 0, 0};
    else if (!contentkit::parse_hex_colour(words[1].text, colour))
      return where(file, line_no, words[1].column) + "bad colour \"" + words[1].text + "\" (want #rrggbb, #rrggbbaa or transparent)";
    out[key] = colour;
  }
  if (out.empty()) return file + ": the palette is empty";
  return "";
}

std::string parse_sprites(const std::string& text, const std::string& file, const Palette& palette,
                          std::vector<Sprite>& sprites) {
  const std::vector<std::string> lines = split_lines(text);
  size_t i = 0;
  auto source_of = [&](const Word& w, int line_no, const Sprite*& src) -> std::string {
    src = find(sprites, w.text);
    if (!src) return where(file, line_no, w.column) + "unknown sprite \"" + w.text + "\" (define it first)";
    return "";
  };
  auto check_new_name = [&](const Word& w, int line_no) -> std::string {
    if (find(sprites, w.text)) return where(file, line_no, w.column) + "sprite \"" + w.text + "\" is defined twice";
    return "";
  };
  while (i < lines.size()) {
    const int line_no = static_cast<int>(i) + 1;
    const std::vector<Word> words = split_words(lines[i]);
    ++i;
    if (words.empty() || words[0].text[0] == '#') continue;
    const std::string& op = words[0].text;
    if (op == "sprite") {
      if (words.size() < 2 || words.size() > 3) return where(file, line_no, 1) + "usage: sprite NAME [WxH]";
      if (std::string e = check_new_name(words[1], line_no); !e.empty()) return e;
      int want_w = -1, want_h = -1;
      if (words.size() == 3) {
        char x = 0;
        std::istringstream size(words[2].text);
        if (!(size >> want_w >> x >> want_h) || x != 'x' || want_w <= 0 || want_h <= 0 || !size.eof())
          return where(file, line_no, words[2].column) + "bad size \"" + words[2].text + "\" (want WxH)";
      }
      Sprite s{words[1].text, {}};
      while (i < lines.size() && !is_blank(lines[i])) {
        const std::string& row = lines[i];
        const int row_no = static_cast<int>(i) + 1;
        for (size_t c = 0; c < row.size(); ++c)
          if (!palette.count(row[c]))
            return where(file, row_no, static_cast<int>(c) + 1) + "'" + std::string(1, row[c]) + "' is not in the palette";
        if (!s.rows.empty() && row.size() != s.rows[0].size())
          return where(file, row_no, 1) + "row is " + std::to_string(row.size()) + " wide, the first row " +
                 std::to_string(s.rows[0].size());
        s.rows.push_back(row);
        ++i;
      }
      if (s.rows.empty()) return where(file, line_no, 1) + "sprite \"" + s.name + "\" has no rows";
      const int w = static_cast<int>(s.rows[0].size()), h = static_cast<int>(s.rows.size());
      if (want_w > 0 && (w != want_w || h != want_h))
        return where(file, line_no, words[2].column) + "sprite \"" + s.name + "\" is " + std::to_string(w) + "x" +
               std::to_string(h) + ", declared " + words[2].text;
      sprites.push_back(std::move(s));
    } else if (op == "mirror" || op == "rotate" || op == "recolor") {
      if (words.size() < 3) return where(file, line_no, 1) + "usage: " + op + " NAME SOURCE ...";
      if (std::string e = check_new_name(words[1], line_no); !e.empty()) return e;
      const Sprite* src = nullptr;
      if (std::string e = source_of(words[2], line_no, src); !e.empty()) return e;
      Sprite s{words[1].text, src->rows};
      if (op == "mirror") {
        if (words.size() != 3) return where(file, line_no, words[3].column) + "mirror takes NAME SOURCE only";
        s.rows = mirrored(s.rows);
      } else if (op == "rotate") {
        if (words.size() != 4) return where(file, line_no, 1) + "usage: rotate NAME SOURCE cw|ccw|180";
        const std::string& how = words[3].text;
        const int turns = how == "cw" ? 1 : how == "ccw" ? -1 : how == "180" ? 2 : 0;
        if (turns == 0) return where(file, line_no, words[3].column) + "rotation \"" + how + "\" is not cw, ccw or 180";
        s.rows = rotated(s.rows, turns);
      } else {
        if (words.size() < 4) return where(file, line_no, 1) + "usage: recolor NAME SOURCE ab [cd ...]";
        std::map<char, char> swap;
        for (size_t k = 3; k < words.size(); ++k) {
          const Word& pair = words[k];
          if (pair.text.size() != 2) return where(file, line_no, pair.column) + "a recolor pair is two characters";
          for (int c = 0; c < 2; ++c)
            if (!palette.count(pair.text[c]))
              return where(file, line_no, pair.column + c) + "'" + std::string(1, pair.text[c]) + "' is not in the palette";
          swap[pair.text[0]] = pair.text[1];
        }
        for (std::string& row : s.rows)
          for (char& c : row)
            if (auto it = swap.find(c); it != swap.end()) c = it->second;
      }
      sprites.push_back(std::move(s));
    } else {
      return where(file, line_no, words[0].column) + "unknown statement \"" + op + "\"";
    }
  }
  return "";
}

contentkit::Image render_sprite(const Sprite& sprite, const Palette& palette) {
  const int h = static_cast<int>(sprite.rows.size()), w = h ? static_cast<int>(sprite.rows[0].size()) : 0;
  contentkit::Image img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.at(x, y) = palette.at(sprite.rows[y][x]);
  return img;
}

contentkit::Image contact_sheet(const std::vector<Sprite>& sprites, const Palette& palette, int scale) {
  constexpr int kColumns = 8;
  const int gap = 4 * scale;
  int cell_w = 0, cell_h = 0;
  for (const Sprite& s : sprites) {
    cell_w = std::max(cell_w, static_cast<int>(s.rows[0].size()) * scale);
    cell_h = std::max(cell_h, static_cast<int>(s.rows.size()) * scale);
  }
  const int count = static_cast<int>(sprites.size());
  const int cols = std::min(count, kColumns), rows = (count + kColumns - 1) / kColumns;
  // A mid-grey backdrop shows dark outlines and light highlights alike.
  contentkit::Image sheet(gap + cols * (cell_w + gap), gap + rows * (cell_h + gap), contentkit::Rgba{112, 120, 128, 255});
  for (int i = 0; i < count; ++i) {
    const contentkit::Image big = contentkit::scale_up(render_sprite(sprites[i], palette), scale);
    contentkit::draw_image(sheet, big, gap + (i % kColumns) * (cell_w + gap), gap + (i / kColumns) * (cell_h + gap));
  }
  return sheet;
}

}  // namespace sprite
