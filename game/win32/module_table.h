// The four engine modules the game loads by name and the 52 entry points it binds,
// in lookup order. Every name is required, also those the game never calls, so a
// module that does not match the contract is refused at start-up.
#pragma once

#include <windows.h>

#include <cstdint>

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

// The signatures the game calls them with (cdecl, as every module exports them).
extern "C" {
typedef int (*DrawInitProc)(HWND window, int width, int height, int mode, int use16Bit);
typedef void (*DrawTerminateProc)(void);
typedef int (*DrawCreateImageTfaProc)(int* slot, const char* member, const char* archive);
typedef int (*DrawReCreateImageTfaProc)(int slot, const char* member, const char* archive);
typedef int (*DrawSetFontProc)(const char* face, int height);
typedef int (*DrawBeginDrawProc)(void);
typedef int (*DrawEndDrawProc)(void);
typedef int (*DrawImageProc)(int slot, int x, int y, int width, int height, double alpha);
typedef int (*DrawImageFastProc)(int slot, int x, int y, int srcX, int srcY, int width, int height, int transparent);
typedef int (*DrawTextProc)(RECT rect, int count, DWORD colour, int noClip, int centre, int cached,
                            const char* format, ...);
typedef int (*DrawTextSimpleProc)(int x, int y, DWORD colour, int cached, const char* format, ...);
typedef int (*DrawGetTextSizeProc)(const char* text, SIZE* size);
typedef int (*DrawGetImageSizeProc)(int slot);
typedef DWORD (*DrawGetRGBProc)(BYTE red, BYTE green, BYTE blue);

typedef int (*SoundInitProc)(HWND window);
typedef int (*SoundTerminateProc)(void);
typedef int (*SoundCreateTfaProc)(int* handle, const char* name, const char* archive);
typedef int (*SoundReCreateTfaProc)(int handle, const char* name, const char* archive);
typedef int (*SoundHandleProc)(int handle);
typedef int (*SoundSetReadBufferSizeProc)(int bytes);
typedef int (*SoundSetSoundBufferSecProc)(float seconds);

typedef int (*JoyInitProc)(HWND window);
typedef int (*JoyGetJoyBtnProc)(int button);
// x in the low 32 bits, y in the high 32 bits.
typedef int64_t (*JoyGetJoyXYProc)(void);
typedef int (*JoyGetJoyProc)(void);
typedef void (*JoyTerminateProc)(void);

typedef int (*ArcOpenArchiveProc)(const char* path);
typedef int (*ArcSaveFileFromFileNameProc)(const char* title, const char* destination);
}

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

  template <typename Proc>
  Proc get(Entry entry) const {
    // Through the one function type that converts to every other without a warning.
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(entries_[entry]));
  }

  // The module file name and entry point name of each entry, in lookup order.
  static const char* module_file(Module module);
  static const char* entry_name(Entry entry);
  static Module entry_module(Entry entry);

private:
  HMODULE modules_[kModuleCount] = {};
  FARPROC entries_[kEntryCount] = {};
};

}  // namespace torv
