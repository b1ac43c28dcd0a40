// Text-source helpers shared by the content tools.
#include "tools/contentkit/text_source.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace contentkit {

bool read_text_file(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) return false;
  out = buffer.str();
  return true;
}

std::string write_binary_file(const std::string& path, const std::string& bytes) {
  const std::string temp = path + ".part";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return path + ": cannot create the file";
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::remove(temp.c_str());
      return path + ": write failed";
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    return path + ": cannot replace the file";
  }
  return "";
}

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  std::istringstream in(text);
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<Word> split_words(const std::string& line) {
  std::vector<Word> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= line.size()) break;
    const size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    words.push_back({line.substr(start, i - start), static_cast<int>(start) + 1});
  }
  return words;
}

bool is_blank(const std::string& line) { return line.find_first_not_of(" \t") == std::string::npos; }

std::string where(const std::string& file, int line, int column) {
  std::string s = file + ":" + std::to_string(line) + ":";
  if (column > 0) s += std::to_string(column) + ":";
  return s + " ";
}

bool parse_int(const std::string& text, int& out) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < -2147483647L - 1 || v > 2147483647L) return false;
  if (text[0] == ' ' || text[0] == '\t') return false;
  out = static_cast<int>(v);
  return true;
}

bool parse_double(const std::string& text, double& out) {
  if (text.empty() || text[0] == ' ' || text[0] == '\t') return false;
  errno = 0;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (errno != 0 || *end != '\0' || !std::isfinite(v)) return false;
  out = v;
  return true;
}

}  // namespace contentkit
