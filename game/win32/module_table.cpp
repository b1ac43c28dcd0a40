// Loading and binding the engine modules by name.
#include "game/win32/module_table.h"

#include <array>
#include <cstddef>
#include <initializer_list>
#include <utility>

namespace torv {

namespace {

const char* const kModuleFiles[kModuleCount] = {"tamDraw.dll", "tamSound.dll", "tamArc.dll", "tamDIJoy.dll"};

struct EntryName {
  Module module;
  const char* name;
};

// In Entry order, read from the EntryPoint table (an entry without one does not compile).
template <std::size_t... E>
constexpr std::array<EntryName, kEntryCount> entry_names(std::index_sequence<E...>) {
  return {{{EntryPoint<static_cast<Entry>(E)>::module, EntryPoint<static_cast<Entry>(E)>::name}...}};
}
constexpr std::array<EntryName, kEntryCount> kEntryNames = entry_names(std::make_index_sequence<kEntryCount>());

}  // namespace

const char* ModuleTable::module_file(Module module) { return kModuleFiles[module]; }
const char* ModuleTable::entry_name(Entry entry) { return kEntryNames[entry].name; }
Module ModuleTable::entry_module(Entry entry) { return kEntryNames[entry].module; }

BindResult ModuleTable::bind() {
  bool all_loaded = true;
  for (int m = 0; m < kModuleCount; ++m) {
    modules_[m] = LoadLibraryA(kModuleFiles[m]);
    if (modules_[m] == nullptr) all_loaded = false;
  }
  if (!all_loaded) return BindResult::kModuleMissing;
  bool all_bound = true;
  for (int e = 0; e < kEntryCount; ++e) {
    entries_[e] = GetProcAddress(modules_[kEntryNames[e].module], kEntryNames[e].name);
    if (entries_[e] == nullptr) all_bound = false;
  }
  return all_bound ? BindResult::kBound : BindResult::kEntryMissing;
}

void ModuleTable::unload() {
  if (modules_[kModuleDraw] != nullptr && entries_[kDrawTerminate] != nullptr) get<kDrawTerminate>()();
  if (modules_[kModuleJoy] != nullptr && entries_[kJoyTerminateDI] != nullptr) get<kJoyTerminateDI>()();
  if (modules_[kModuleSound] != nullptr && entries_[kSoundTerminateDS] != nullptr)
    get<kSoundTerminateDS>()();
  for (Module m : {kModuleJoy, kModuleArc, kModuleDraw, kModuleSound}) {
    if (modules_[m] != nullptr) FreeLibrary(modules_[m]);
    modules_[m] = nullptr;
  }
  for (FARPROC& entry : entries_) entry = nullptr;
}

}  // namespace torv
