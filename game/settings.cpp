// Number rule of the settings values.
#include "game/settings.h"

namespace torv {

int parse_setting_number(const std::string& full) {
  const std::string value = full.substr(0, kSettingValueChars);
  size_t i = 0;
  while (i < value.size() && (value[i] == ' ' || value[i] == '\t')) ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
    negative = value[i] == '-';
    ++i;
  }
  // Seven characters hold at most six digits after a sign: no overflow possible.
  int number = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) number = number * 10 + (value[i] - '0');
  return negative ? -number : number;
}

int read_setting_number(SettingsStore& store, const char* key, const char* fallback) {
  return parse_setting_number(store.read(key, fallback));
}

}  // namespace torv
