// Profile-file reading and writing.
#include "game/host/ini_settings.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

namespace torv {

namespace {

std::string trim(const std::string& s) {
  const size_t first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  const size_t last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

bool same_name(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] + 32) : a[i];
    const char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] + 32) : b[i];
    if (x != y) return false;
  }
  return true;
}

std::vector<std::string> lines_of(const std::string& content) {
  std::vector<std::string> lines;
  std::istringstream in(content);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

// "[name]" gives name; anything else is not a section line.
bool section_name(const std::string& line, std::string* name) {
  const std::string t = trim(line);
  if (t.size() < 2 || t.front() != '[') return false;
  const size_t close = t.find(']');
  if (close == std::string::npos) return false;
  *name = trim(t.substr(1, close - 1));
  return true;
}

bool key_line(const std::string& line, std::string* key, std::string* value) {
  const size_t equals = line.find('=');
  if (equals == std::string::npos) return false;
  *key = trim(line.substr(0, equals));
  *value = trim(line.substr(equals + 1));
  return !key->empty();
}

}  // namespace

std::string ini_read(const std::string& content, const std::string& section, const std::string& key,
                     const std::string& fallback) {
  bool inside = false;
  for (const std::string& line : lines_of(content)) {
    std::string name, k, v;
    if (section_name(line, &name)) {
      inside = same_name(name, section);
    } else if (inside && key_line(line, &k, &v) && same_name(k, key)) {
      return v;
    }
  }
  return fallback;
}

std::string ini_write(const std::string& content, const std::string& section, const std::string& key,
                      const std::string& value) {
  std::vector<std::string> lines = lines_of(content);
  const std::string entry = key + "=" + value;
  bool inside = false;
  int section_end = -1;  // the line after the section's last key line
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string name, k, v;
    if (section_name(lines[i], &name)) {
      inside = same_name(name, section);
      if (inside) section_end = static_cast<int>(i) + 1;
    } else if (inside && key_line(lines[i], &k, &v)) {
      if (same_name(k, key)) {
        lines[i] = entry;
        section_end = -2;  // replaced
        break;
      }
      section_end = static_cast<int>(i) + 1;
    }
  }
  if (section_end >= 0) {
    lines.insert(lines.begin() + section_end, entry);
  } else if (section_end == -1) {
    lines.push_back("[" + section + "]");
    lines.push_back(entry);
  }
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

std::string IniFileSettings::read(const char* key, const char* fallback) {
  std::ifstream file(path_, std::ios::binary);
  if (!file) return fallback;
  std::ostringstream content;
  content << file.rdbuf();
  return ini_read(content.str(), kSettingsSection, key, fallback);
}

void IniFileSettings::write(const char* key, const char* value) {
  std::string content;
  {
    std::ifstream file(path_, std::ios::binary);
    if (file) {
      std::ostringstream read;
      read << file.rdbuf();
      content = read.str();
    }
  }
  const std::string updated = ini_write(content, kSettingsSection, key, value);
  // The new content goes to a temporary file that then replaces the old one.
  const std::string temporary = path_ + ".tmp";
  std::FILE* out = std::fopen(temporary.c_str(), "wb");
  last_write_ok_ = out && std::fwrite(updated.data(), 1, updated.size(), out) == updated.size();
  if (out && std::fclose(out) != 0) last_write_ok_ = false;
  last_write_ok_ = last_write_ok_ && std::rename(temporary.c_str(), path_.c_str()) == 0;
  if (!last_write_ok_) std::remove(temporary.c_str());
}

}  // namespace torv
