// "Setting.ini" read and written by the profile-file rules.
#include "game/host/ini_settings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace torv {
namespace {

TEST(IniRead, FindsKeysOfTheSectionRegardlessOfCaseAndBlanks) {
  struct Case {
    const char* content;
    const char* expected;
  };
  const Case cases[] = {
      {"[Init]\nFullScreen=1\nDraw=2\n", "1"},
      {"[init]\r\n  fullscreen =  1  \r\n", "1"},
      {"[Other]\nFullScreen=1\n[Init]\nDraw=2\n", "fallback"},  // another section's key
      {"FullScreen=1\n[Init]\n", "fallback"},                   // before any section
      {"[Init]\nFullScreen\n", "fallback"},                     // no "="
      {"[Init]\nFullScreen=\n", ""},                            // present but empty
      {"", "fallback"},
      {"\x01\xff[garbage\n=\n[Init]\nFullScreen=0\n", "0"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ini_read(c.content, "Init", "FullScreen", "fallback"), c.expected) << c.content;
  }
}

TEST(IniWrite, ReplacesInPlaceOrAddsAndKeepsEveryOtherLine) {
  struct Case {
    const char* before;
    const char* after;
  };
  const Case cases[] = {
      {"", "[Init]\nFullScreen=1\n"},
      {"[Init]\nDraw=2\n", "[Init]\nDraw=2\nFullScreen=1\n"},
      {"[Init]\nfullscreen=0\nDraw=2\n", "[Init]\nFullScreen=1\nDraw=2\n"},
      {"; note\n[Init]\nDraw=2\n\n[Other]\nx=y\n", "; note\n[Init]\nDraw=2\nFullScreen=1\n\n[Other]\nx=y\n"},
      {"[Other]\nFullScreen=0\n", "[Other]\nFullScreen=0\n[Init]\nFullScreen=1\n"},
  };
  for (const Case& c : cases) {
    const std::string written = ini_write(c.before, "Init", "FullScreen", "1");
    EXPECT_EQ(written, c.after) << c.before;
    EXPECT_EQ(ini_read(written, "Init", "FullScreen", "?"), "1");
  }
}

TEST(IniFileSettings, KeepsValuesAcrossInstancesAndGivesDefaultsWithoutAFile) {
  const std::string path = testing::TempDir() + "ini_settings_test_Setting.ini";
  std::remove(path.c_str());
  IniFileSettings first(path);
  EXPECT_EQ(read_setting_number(first, kKeyFullScreen, kDefaultFullScreen), 0);
  first.write(kKeyFullScreen, "1");
  EXPECT_TRUE(first.last_write_ok());
  IniFileSettings second(path);
  EXPECT_EQ(read_setting_number(second, kKeyFullScreen, kDefaultFullScreen), 1);
  std::ifstream in(path);
  std::stringstream content;
  content << in.rdbuf();
  EXPECT_EQ(content.str(), "[Init]\nFullScreen=1\n");

  IniFileSettings unwritable("/nonexistent-folder/Setting.ini");
  unwritable.write(kKeyFullScreen, "1");
  EXPECT_FALSE(unwritable.last_write_ok());
  EXPECT_EQ(unwritable.read(kKeyFullScreen, "0"), "0");
  std::remove(path.c_str());
}

}  // namespace
}  // namespace torv
