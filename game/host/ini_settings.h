// "Setting.ini" as a plain profile file, read and written the way the Windows profile
// functions treat it: "[Section]" lines, "key=value" lines; section and key names
// match without regard to case; blanks around names and values do not count;
// writing a key replaces its value in place (or adds it, and the section, at the
// end) and keeps every other line. A file that cannot be read gives the defaults.
#pragma once

#include <string>

#include "game/settings.h"

namespace torv {

class IniFileSettings : public SettingsStore {
public:
  explicit IniFileSettings(std::string path) : path_(std::move(path)) {}
  // Keys of section "Init".
  std::string read(const char* key, const char* fallback) override;
  void write(const char* key, const char* value) override;
  // Whether the last write reached the file (a failed one is not reported further).
  bool last_write_ok() const { return last_write_ok_; }

private:
  std::string path_;
  bool last_write_ok_ = true;
};

// The text rules, on a file's content (exposed for the tests).
std::string ini_read(const std::string& content, const std::string& section, const std::string& key,
                     const std::string& fallback);
std::string ini_write(const std::string& content, const std::string& section, const std::string& key,
                      const std::string& value);

}  // namespace torv
