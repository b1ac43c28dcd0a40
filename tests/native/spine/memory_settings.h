// A settings store in memory: the "Init" values by key, and a count of writes.
#pragma once

#include <map>
#include <string>

#include "game/settings.h"

namespace torv::test {

class MemorySettings : public SettingsStore {
public:
  std::string read(const char* key, const char* fallback) override {
    auto it = values.find(key);
    return it == values.end() ? fallback : it->second;
  }
  void write(const char* key, const char* value) override {
    values[key] = value;
    ++writes;
  }
  std::map<std::string, std::string> values;
  int writes = 0;
};

}  // namespace torv::test
