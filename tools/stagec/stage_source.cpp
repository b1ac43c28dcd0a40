// Parsing of text stages.
#include "tools/stagec/stage_source.h"

#include <iconv.h>

#include <map>

#include "tools/contentkit/text_source.h"

namespace stagec {

namespace {

using contentkit::where;

bool valid_next_name(const std::string& name) {
  if (name.empty() || name.size() > 64) return false;
  for (char c : name)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-'))
      return false;
  return true;
}

std::string trim(const std::string& s) {
  const size_t a = s.find_first_not_of(" \t");
  if (a == std::string::npos) return "";
  const size_t b = s.find_last_not_of(" \t");
  return s.substr(a, b - a + 1);
}

}  // namespace

bool utf8_to_sjis(const std::string& utf8, std::string& sjis) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::string in = utf8;
  std::string out(in.size() * 2 + 4, '\0');
  char* in_p = in.data();
  char* out_p = out.data();
  size_t in_left = in.size(), out_left = out.size();
  const size_t r = iconv(cd, &in_p, &in_left, &out_p, &out_left);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1) || in_left != 0) return false;
  out.resize(out.size() - out_left);
  sjis = out;
  return true;
}

int sjis_columns(const std::string& sjis) {
  int columns = 0;
  for (size_t i = 0; i < sjis.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(sjis[i]);
    const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    if (lead && i + 1 < sjis.size()) {
      ++i;
      columns += 2;
    } else {
      columns += 1;
    }
  }
  return columns;
}

std::string parse_stage(const std::string& text, const std::string& file, Stage& out) {
  const std::vector<std::string> lines = contentkit::split_lines(text);
  Stage stage;
  std::map<std::string, int> seen;  // key -> line
  size_t i = 0;
  bool map_found = false;
  for (; i < lines.size(); ++i) {
    const int line_no = static_cast<int>(i) + 1;
    const std::string& line = lines[i];
    if (contentkit::is_blank(line) || line[0] == ';') continue;
    const size_t colon = line.find(':');
    if (colon == std::string::npos) return where(file, line_no, 1) + "expected \"key: value\" or \"map:\"";
    const std::string key = trim(line.substr(0, colon));
    const std::string value = trim(line.substr(colon + 1));
    const int value_col = static_cast<int>(line.find_first_not_of(" \t", colon + 1) == std::string::npos
                                               ? colon + 2
                                               : line.find_first_not_of(" \t", colon + 1) + 1);
    if (key == "map") {
      if (!value.empty()) return where(file, line_no, value_col) + "nothing may follow \"map:\"";
      map_found = true;
      ++i;
      break;
    }
    if (seen.count(key)) return where(file, line_no, 1) + "\"" + key + "\" given twice (first on line " + std::to_string(seen[key]) + ")";
    seen[key] = line_no;
    if (key == "title") {
      if (value.empty()) return where(file, line_no, value_col) + "the title is empty";
      if (!utf8_to_sjis(value, stage.title_sjis))
        return where(file, line_no, value_col) + "the title has a character that Shift-JIS cannot hold";
      for (char c : stage.title_sjis)
        if (c == '\0') return where(file, line_no, value_col) + "the title holds a NUL character";
      const int columns = sjis_columns(stage.title_sjis);
      if (columns > kMaxTitleColumns)
        return where(file, line_no, value_col) + "the title is " + std::to_string(columns) +
               " columns wide; the status bar fits " + std::to_string(kMaxTitleColumns);
    } else if (key == "background") {
      if (!contentkit::parse_int(value, stage.background) || stage.background < 0 || stage.background > 9999)
        return where(file, line_no, value_col) + "background wants a number 0 to 9999";
    } else if (key == "start") {
      const std::vector<contentkit::Word> words = contentkit::split_words(value);
      if (words.size() != 2 || !contentkit::parse_int(words[0].text, stage.start_column) ||
          !contentkit::parse_int(words[1].text, stage.start_row))
        return where(file, line_no, value_col) + "start wants a column and a row";
      if (stage.start_column < 0 || stage.start_column >= kColumns || stage.start_row < 0 || stage.start_row >= kRows)
        return where(file, line_no, value_col) + "start cell is outside the 200x120 map";
    } else if (key == "time") {
      if (!contentkit::parse_int(value, stage.time_seconds) || stage.time_seconds < 1 || stage.time_seconds > kMaxTimeSeconds)
        return where(file, line_no, value_col) + "time wants seconds from 1 to " + std::to_string(kMaxTimeSeconds);
    } else if (key == "next") {
      if (!valid_next_name(value))
        return where(file, line_no, value_col) + "next wants a base name of letters, digits, '_' or '-' (at most 64)";
      stage.next = value;
    } else {
      return where(file, line_no, 1) + "unknown header field \"" + key + "\"";
    }
  }
  const int header_end = static_cast<int>(i);
  for (const char* key : {"title", "background", "start", "time", "next"})
    if (!seen.count(key)) return where(file, header_end == 0 ? 1 : header_end, 0) + "missing header field \"" + key + "\"";
  if (!map_found) return where(file, header_end == 0 ? 1 : header_end, 0) + "missing \"map:\" line";

  int row = 0;
  for (; i < lines.size(); ++i) {
    const int line_no = static_cast<int>(i) + 1;
    const std::string& line = lines[i];
    if (row == kRows) {
      if (contentkit::is_blank(line)) continue;
      return where(file, line_no, 1) + "the map has more than " + std::to_string(kRows) + " lines";
    }
    if (line.size() != static_cast<size_t>(kColumns))
      return where(file, line_no, line.size() < static_cast<size_t>(kColumns) ? static_cast<int>(line.size()) + 1 : kColumns + 1) +
             "map line is " + std::to_string(line.size()) + " characters long, not " + std::to_string(kColumns);
    for (int c = 0; c < kColumns; ++c) {
      const LegendEntry* e = find_symbol(line[c]);
      if (!e) return where(file, line_no, c + 1) + "unknown map character '" + std::string(1, line[c]) + "'";
      stage.tiles[c][row] = static_cast<uint8_t>(e->code);
    }
    ++row;
  }
  if (row < kRows)
    return where(file, static_cast<int>(lines.size()), 0) + "the map has " + std::to_string(row) + " lines, not " + std::to_string(kRows);
  const int start_code = stage.tiles[stage.start_column][stage.start_row];
  if (code_is_solid(start_code) || code_is_marker(start_code))
    return where(file, seen["start"], 0) + "the start cell holds '" + std::string(1, find_code(start_code)->symbol) +
           "'; the player must start in an open cell";
  out = std::move(stage);
  return "";
}

}  // namespace stagec
