// The four engine modules the game loads by name and the 52 entry points it binds,
// in lookup order. Every name is required, also those the game never calls, so a
// module that does not match the contract is refused at start-up.
#pragma once

#include <windows.h>

#include "archive/tamArc.h"
#include "draw/draw_contract.h"
#include "joystick/tamDIJoy.h"
#include "sound/tamSound.h"

namespace torv {

enum Module : int { kModuleDraw, kModuleSound, kModuleArc, kModuleJoy, kModuleCount };

// Index of each entry point in the bound table, in lookup order: tamDraw (27),
// tamSound (18), tamDIJoy (5), tamArc (2).
enum Entry : int {
  kDrawInit, kDrawTerminate, kDrawCreateImageLoadFromFile, kDrawCreateImageLoadFromMemory,
  kDrawCreateImageLoadFromExpTfaFile, kDrawReCreateImageLoadFromFile, kDrawReCreateImageLoadFromMemory,
  kDrawReCreateImageLoadFromExpTfaFile, kDrawSetFont, kDrawGetInitMode, kDrawClearStringCache, kDrawBeginDraw,
  kDrawEndDraw, kDrawStopDraw, kDrawDrawImage, kDrawDrawImageDetail, kDrawDrawImageFast, kDrawDrawText,
  kDrawDrawTextSimple, kDrawGetTextSize, kDrawGetImageRect, kDrawGetImageWidth, kDrawGetImageHeight,
  kDrawGetRGB, kDrawGetARGB, kDrawShake, kDrawStopShake,
  kSoundInit, kSoundTerminateDS, kSoundCreateOggVoidSoundBuffer, kSoundCreateOggSoundBuffer,
  kSoundCreateOggSoundBufferFromTfa, kSoundReCreateOggSoundBuffer, kSoundReCreateOggSoundBufferFromTfa,
  kSoundCreateOggSoundBufferNonStreaming, kSoundCreateOggSoundBufferNonStreamingFromTfa,
  kSoundReCreateOggSoundBufferNonStreaming, kSoundReCreateOggSoundBufferNonStreamingFromTfa,
  kSoundClearAllBuffer, kSoundPlay, kSoundPlayLoop, kSoundStop, kSoundSetVolume, kSoundSetReadBufferSize,
  kSoundSetSoundBufferSec,
  kJoyInit, kJoyGetJoyBtn, kJoyGetJoyXY, kJoyGetJoy, kJoyTerminateDI,
  kArcOpenArchive, kArcSaveFileFromFileName,
  kEntryCount
};
static_assert(kEntryCount == 52, "the game binds 52 entry points");

// What the game binds at each entry: its module, its exported name and its
// function-pointer type from that module's contract header, the one place where a
// signature (calling convention included) is written. get<E>() hands an entry out
// as exactly that type, so the game cannot call one with a signature of its own.
template <Entry E>
struct EntryPoint;

#define TORV_ENTRY_POINT(entry, in_module, exported, Fn) \
  template <>                                            \
  struct EntryPoint<entry> {                             \
    static constexpr Module module = in_module;          \
    static constexpr const char* name = exported;        \
    using Type = Fn;                                     \
  }
TORV_ENTRY_POINT(kDrawInit, kModuleDraw, "dllInit", DrawInitFn);
TORV_ENTRY_POINT(kDrawTerminate, kModuleDraw, "dllTerminate", DrawTerminateFn);
TORV_ENTRY_POINT(kDrawCreateImageLoadFromFile, kModuleDraw, "dllCreateImageLoadFromFile",
                 DrawCreateImageLoadFromFileFn);
TORV_ENTRY_POINT(kDrawCreateImageLoadFromMemory, kModuleDraw, "dllCreateImageLoadFromMemory",
                 DrawCreateImageLoadFromMemoryFn);
TORV_ENTRY_POINT(kDrawCreateImageLoadFromExpTfaFile, kModuleDraw, "dllCreateImageLoadFromExpTfaFile",
                 DrawCreateImageLoadFromExpTfaFileFn);
TORV_ENTRY_POINT(kDrawReCreateImageLoadFromFile, kModuleDraw, "dllReCreateImageLoadFromFile",
                 DrawReCreateImageLoadFromFileFn);
TORV_ENTRY_POINT(kDrawReCreateImageLoadFromMemory, kModuleDraw, "dllReCreateImageLoadFromMemory",
                 DrawReCreateImageLoadFromMemoryFn);
TORV_ENTRY_POINT(kDrawReCreateImageLoadFromExpTfaFile, kModuleDraw, "dllReCreateImageLoadFromExpTfaFile",
                 DrawReCreateImageLoadFromExpTfaFileFn);
TORV_ENTRY_POINT(kDrawSetFont, kModuleDraw, "dllSetFont", DrawSetFontFn);
TORV_ENTRY_POINT(kDrawGetInitMode, kModuleDraw, "dllGetInitMode", DrawGetInitModeFn);
TORV_ENTRY_POINT(kDrawClearStringCache, kModuleDraw, "dllClearStringCache", DrawClearStringCacheFn);
TORV_ENTRY_POINT(kDrawBeginDraw, kModuleDraw, "dllBeginDraw", DrawBeginDrawFn);
TORV_ENTRY_POINT(kDrawEndDraw, kModuleDraw, "dllEndDraw", DrawEndDrawFn);
TORV_ENTRY_POINT(kDrawStopDraw, kModuleDraw, "dllStopDraw", DrawStopDrawFn);
TORV_ENTRY_POINT(kDrawDrawImage, kModuleDraw, "dllDrawImage", DrawImageFn);
TORV_ENTRY_POINT(kDrawDrawImageDetail, kModuleDraw, "dllDrawImageDetail", DrawImageDetailFn);
TORV_ENTRY_POINT(kDrawDrawImageFast, kModuleDraw, "dllDrawImageFast", DrawImageFastFn);
TORV_ENTRY_POINT(kDrawDrawText, kModuleDraw, "dllDrawText", DrawTextFn);
TORV_ENTRY_POINT(kDrawDrawTextSimple, kModuleDraw, "dllDrawTextSimple", DrawTextSimpleFn);
TORV_ENTRY_POINT(kDrawGetTextSize, kModuleDraw, "dllGetTextSize", DrawGetTextSizeFn);
TORV_ENTRY_POINT(kDrawGetImageRect, kModuleDraw, "dllGetImageRect", DrawGetImageRectFn);
TORV_ENTRY_POINT(kDrawGetImageWidth, kModuleDraw, "dllGetImageWidth", DrawGetImageSizeFn);
TORV_ENTRY_POINT(kDrawGetImageHeight, kModuleDraw, "dllGetImageHeight", DrawGetImageSizeFn);
TORV_ENTRY_POINT(kDrawGetRGB, kModuleDraw, "dllGetRGB", DrawGetRGBFn);
TORV_ENTRY_POINT(kDrawGetARGB, kModuleDraw, "dllGetARGB", DrawGetARGBFn);
TORV_ENTRY_POINT(kDrawShake, kModuleDraw, "dllShake", DrawShakeFn);
TORV_ENTRY_POINT(kDrawStopShake, kModuleDraw, "dllStopShake", DrawStopShakeFn);
TORV_ENTRY_POINT(kSoundInit, kModuleSound, "dllInit", TamSoundInitProc);
TORV_ENTRY_POINT(kSoundTerminateDS, kModuleSound, "dllTerminateDS", TamSoundTerminateProc);
TORV_ENTRY_POINT(kSoundCreateOggVoidSoundBuffer, kModuleSound, "dllCreateOggVoidSoundBuffer",
                 TamSoundCreateVoidProc);
TORV_ENTRY_POINT(kSoundCreateOggSoundBuffer, kModuleSound, "dllCreateOggSoundBuffer", TamSoundCreateFileProc);
TORV_ENTRY_POINT(kSoundCreateOggSoundBufferFromTfa, kModuleSound, "dllCreateOggSoundBufferFromTfa",
                 TamSoundCreateTfaProc);
TORV_ENTRY_POINT(kSoundReCreateOggSoundBuffer, kModuleSound, "dllReCreateOggSoundBuffer",
                 TamSoundReCreateFileProc);
TORV_ENTRY_POINT(kSoundReCreateOggSoundBufferFromTfa, kModuleSound, "dllReCreateOggSoundBufferFromTfa",
                 TamSoundReCreateTfaProc);
TORV_ENTRY_POINT(kSoundCreateOggSoundBufferNonStreaming, kModuleSound, "dllCreateOggSoundBufferNonStreaming",
                 TamSoundCreateFileProc);
TORV_ENTRY_POINT(kSoundCreateOggSoundBufferNonStreamingFromTfa, kModuleSound,
                 "dllCreateOggSoundBufferNonStreamingFromTfa", TamSoundCreateTfaProc);
TORV_ENTRY_POINT(kSoundReCreateOggSoundBufferNonStreaming, kModuleSound, "dllReCreateOggSoundBufferNonStreaming",
                 TamSoundReCreateFileProc);
TORV_ENTRY_POINT(kSoundReCreateOggSoundBufferNonStreamingFromTfa, kModuleSound,
                 "dllReCreateOggSoundBufferNonStreamingFromTfa", TamSoundReCreateTfaProc);
TORV_ENTRY_POINT(kSoundClearAllBuffer, kModuleSound, "dllClearAllBuffer", TamSoundClearAllProc);
TORV_ENTRY_POINT(kSoundPlay, kModuleSound, "dllPlay", TamSoundHandleProc);
TORV_ENTRY_POINT(kSoundPlayLoop, kModuleSound, "dllPlayLoop", TamSoundHandleProc);
TORV_ENTRY_POINT(kSoundStop, kModuleSound, "dllStop", TamSoundHandleProc);
TORV_ENTRY_POINT(kSoundSetVolume, kModuleSound, "dllSetVolume", TamSoundSetVolumeProc);
TORV_ENTRY_POINT(kSoundSetReadBufferSize, kModuleSound, "dllSetReadBufferSize", TamSoundSetReadBufferSizeProc);
TORV_ENTRY_POINT(kSoundSetSoundBufferSec, kModuleSound, "dllSetSoundBufferSec", TamSoundSetSoundBufferSecProc);
TORV_ENTRY_POINT(kJoyInit, kModuleJoy, "dllInit", TamJoyInitProc);
TORV_ENTRY_POINT(kJoyGetJoyBtn, kModuleJoy, "dllGetJoyBtn", TamJoyGetBtnProc);
TORV_ENTRY_POINT(kJoyGetJoyXY, kModuleJoy, "dllGetJoyXY", TamJoyGetXYProc);
TORV_ENTRY_POINT(kJoyGetJoy, kModuleJoy, "dllGetJoy", TamJoyGetProc);
TORV_ENTRY_POINT(kJoyTerminateDI, kModuleJoy, "dllTerminateDI", TamJoyTerminateProc);
TORV_ENTRY_POINT(kArcOpenArchive, kModuleArc, "dllOpenArchive", TamArcOpenArchiveFn);
TORV_ENTRY_POINT(kArcSaveFileFromFileName, kModuleArc, "dllSaveFileFromFileName", TamArcSaveFileFromFileNameFn);
#undef TORV_ENTRY_POINT

enum class BindResult { kBound, kModuleMissing, kEntryMissing };

class ModuleTable {
public:
  ModuleTable() = default;
  ModuleTable(const ModuleTable&) = delete;
  ModuleTable& operator=(const ModuleTable&) = delete;
  ~ModuleTable() = default;  // unloading is the game thread's last act, not the destructor's

  // Loads "tamDraw.dll", "tamSound.dll", "tamArc.dll", "tamDIJoy.dll" (always all
  // four, in that order), then looks up the 52 names.
  BindResult bind();
  // Terminates drawing, joystick and sound (each only when bound), frees the
  // modules in the order tamDIJoy, tamArc, tamDraw, tamSound and clears every handle
  // and entry. Safe after a partial bind and when called again.
  void unload();

  bool loaded(Module module) const { return modules_[module] != nullptr; }

  // Entry E as its contract type; null when not bound.
  template <Entry E>
  typename EntryPoint<E>::Type get() const {
    // Through the one function type that converts to every other without a warning.
    return reinterpret_cast<typename EntryPoint<E>::Type>(reinterpret_cast<void (*)()>(entries_[E]));
  }
  bool bound(Entry entry) const { return entries_[entry] != nullptr; }

  // The module file name and entry point name of each entry, in lookup order.
  static const char* module_file(Module module);
  static const char* entry_name(Entry entry);
  static Module entry_module(Entry entry);

private:
  HMODULE modules_[kModuleCount] = {};
  FARPROC entries_[kEntryCount] = {};
};

}  // namespace torv
