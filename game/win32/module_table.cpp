// Loading and binding the engine modules by name.
#include "game/win32/module_table.h"

#include <initializer_list>

namespace torv {

namespace {

const char* const kModuleFiles[kModuleCount] = {"tamDraw.dll", "tamSound.dll", "tamArc.dll", "tamDIJoy.dll"};

struct EntryName {
  Module module;
  const char* name;
};

// In Entry order; the table is the one place that names them.
const EntryName kEntryNames[kEntryCount] = {
    {kModuleDraw, "dllInit"},
    {kModuleDraw, "dllTerminate"},
    {kModuleDraw, "dllCreateImageLoadFromFile"},
    {kModuleDraw, "dllCreateImageLoadFromMemory"},
    {kModuleDraw, "dllCreateImageLoadFromExpTfaFile"},
    {kModuleDraw, "dllReCreateImageLoadFromFile"},
    {kModuleDraw, "dllReCreateImageLoadFromMemory"},
    {kModuleDraw, "dllReCreateImageLoadFromExpTfaFile"},
    {kModuleDraw, "dllSetFont"},
    {kModuleDraw, "dllGetInitMode"},
    {kModuleDraw, "dllClearStringCache"},
    {kModuleDraw, "dllBeginDraw"},
    {kModuleDraw, "dllEndDraw"},
    {kModuleDraw, "dllStopDraw"},
    {kModuleDraw, "dllDrawImage"},
    {kModuleDraw, "dllDrawImageDetail"},
    {kModuleDraw, "dllDrawImageFast"},
    {kModuleDraw, "dllDrawText"},
    {kModuleDraw, "dllDrawTextSimple"},
    {kModuleDraw, "dllGetTextSize"},
    {kModuleDraw, "dllGetImageRect"},
    {kModuleDraw, "dllGetImageWidth"},
    {kModuleDraw, "dllGetImageHeight"},
    {kModuleDraw, "dllGetRGB"},
    {kModuleDraw, "dllGetARGB"},
    {kModuleDraw, "dllShake"},
    {kModuleDraw, "dllStopShake"},
    {kModuleSound, "dllInit"},
    {kModuleSound, "dllTerminateDS"},
    {kModuleSound, "dllCreateOggVoidSoundBuffer"},
    {kModuleSound, "dllCreateOggSoundBuffer"},
    {kModuleSound, "dllCreateOggSoundBufferFromTfa"},
    {kModuleSound, "dllReCreateOggSoundBuffer"},
    {kModuleSound, "dllReCreateOggSoundBufferFromTfa"},
    {kModuleSound, "dllCreateOggSoundBufferNonStreaming"},
    {kModuleSound, "dllCreateOggSoundBufferNonStreamingFromTfa"},
    {kModuleSound, "dllReCreateOggSoundBufferNonStreaming"},
    {kModuleSound, "dllReCreateOggSoundBufferNonStreamingFromTfa"},
    {kModuleSound, "dllClearAllBuffer"},
    {kModuleSound, "dllPlay"},
    {kModuleSound, "dllPlayLoop"},
    {kModuleSound, "dllStop"},
    {kModuleSound, "dllSetVolume"},
    {kModuleSound, "dllSetReadBufferSize"},
    {kModuleSound, "dllSetSoundBufferSec"},
    {kModuleJoy, "dllInit"},
    {kModuleJoy, "dllGetJoyBtn"},
    {kModuleJoy, "dllGetJoyXY"},
    {kModuleJoy, "dllGetJoy"},
    {kModuleJoy, "dllTerminateDI"},
    {kModuleArc, "dllOpenArchive"},
    {kModuleArc, "dllSaveFileFromFileName"},
};

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
  if (modules_[kModuleDraw] != nullptr && entries_[kDrawTerminate] != nullptr) get<DrawTerminateProc>(kDrawTerminate)();
  if (modules_[kModuleJoy] != nullptr && entries_[kJoyTerminateDI] != nullptr) get<JoyTerminateProc>(kJoyTerminateDI)();
  if (modules_[kModuleSound] != nullptr && entries_[kSoundTerminateDS] != nullptr)
    get<SoundTerminateProc>(kSoundTerminateDS)();
  for (Module m : {kModuleJoy, kModuleArc, kModuleDraw, kModuleSound}) {
    if (modules_[m] != nullptr) FreeLibrary(modules_[m]);
    modules_[m] = nullptr;
  }
  for (FARPROC& entry : entries_) entry = nullptr;
}

}  // namespace torv
