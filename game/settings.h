// "Setting.ini": section "Init" with the display and drawing-mode choices. The
// store is an interface so the start-up rules can be tested without the Windows
// profile functions.
#pragma once

#include <string>

namespace torv {

inline constexpr char kSettingsFile[] = "Setting.ini";
inline constexpr char kSettingsSection[] = "Init";
inline constexpr char kKeyFullScreen[] = "FullScreen";
inline constexpr char kKeyDraw[] = "Draw";
inline constexpr char kDefaultFullScreen[] = "0";
inline constexpr char kDefaultDraw[] = "2";

// Values are read into an 8-byte buffer: at most this many characters count.
inline constexpr int kSettingValueChars = 7;

class SettingsStore {
public:
  virtual ~SettingsStore() = default;
  // The value of key in section "Init", or fallback when the key is absent.
  virtual std::string read(const char* key, const char* fallback) = 0;
  virtual void write(const char* key, const char* value) = 0;
};

// The number of a settings value: the first kSettingValueChars characters read as
// a decimal integer from their leading digits (optional blanks and sign first);
// text that does not start with a number is 0. Never overflows.
int parse_setting_number(const std::string& value);

// Reads key as a number with its default.
int read_setting_number(SettingsStore& store, const char* key, const char* fallback);

}  // namespace torv
