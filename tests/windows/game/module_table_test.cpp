// The game's module binding against the real modules in bin/: every one of the 52
// names is found, and unloading is safe to repeat.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "game/win32/module_table.h"

namespace torv {
namespace {

TEST(ModuleTable, BindsEveryNameOfTheRealModules) {
  ModuleTable modules;
  ASSERT_EQ(modules.bind(), BindResult::kBound);
  for (int m = 0; m < kModuleCount; ++m) EXPECT_TRUE(modules.loaded(static_cast<Module>(m))) << m;
  for (int e = 0; e < kEntryCount; ++e)
    EXPECT_TRUE(modules.bound(static_cast<Entry>(e))) << ModuleTable::entry_name(static_cast<Entry>(e));
  modules.unload();
}

TEST(ModuleTable, NamesAreUniqueWithinEachModule) {
  std::set<std::string> seen;
  for (int e = 0; e < kEntryCount; ++e) {
    const Entry entry = static_cast<Entry>(e);
    const std::string key = std::string(ModuleTable::module_file(ModuleTable::entry_module(entry))) + ":" +
                            ModuleTable::entry_name(entry);
    EXPECT_TRUE(seen.insert(key).second) << key;
  }
}

TEST(ModuleTable, UnloadClearsEverythingAndIsSafeToRepeat) {
  ModuleTable modules;
  modules.unload();  // nothing loaded yet
  ASSERT_EQ(modules.bind(), BindResult::kBound);
  modules.unload();
  for (int m = 0; m < kModuleCount; ++m) EXPECT_FALSE(modules.loaded(static_cast<Module>(m)));
  for (int e = 0; e < kEntryCount; ++e) EXPECT_FALSE(modules.bound(static_cast<Entry>(e)));
  modules.unload();
  // Binding again after an unload works as the first time.
  EXPECT_EQ(modules.bind(), BindResult::kBound);
  modules.unload();
}

}  // namespace
}  // namespace torv
