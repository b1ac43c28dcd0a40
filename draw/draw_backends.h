// The back-ends the front-end can load, in one ordered table, and the binding of
// their entry points by name. Portable: the loader (LoadLibraryA, GetProcAddress,
// FreeLibrary on Windows) is passed in, so binding and its failure paths are tested
// natively with a fake.
#pragma once

#include "draw/draw_mode.h"

namespace torv {

// The entry points the front-end binds, in its field order. kEntryInit16b is bound
// only where the table says the back-end offers it; every other one is required.
enum DrawBackendEntry {
  kEntryInit,
  kEntryInit16b,
  kEntryCreateImageLoadFromFile,
  kEntryCreateImageLoadFromMemory,
  kEntryCreateImageLoadFromExpTfaFile,
  kEntryReCreateImageLoadFromFile,
  kEntryReCreateImageLoadFromMemory,
  kEntryReCreateImageLoadFromExpTfaFile,
  kEntrySetFont,
  kEntryGetFont,
  kEntryClearStringCache,
  kEntryBeginDraw,
  kEntryEndDraw,
  kEntryDrawImage,
  kEntryDrawImageDetail,
  kEntryDrawImageFast,
  kEntryDrawText,
  kEntryGetImageWidth,
  kEntryGetImageHeight,
  kDrawBackendEntryCount
};

// The exported name of entry e ("dllInit", ...).
const char* draw_backend_entry_name(DrawBackendEntry e);

struct DrawBackendInfo {
  DRAW_INIT_MODE mode;
  const char* library;  // file name, loaded the usual way (the exe's directory first)
  bool offers_init16b;  // has "dllInit16b", the init with 16-bit textures forced
};

// The row of mode, or null for a mode that names no back-end.
const DrawBackendInfo* draw_find_backend(DRAW_INIT_MODE mode);
// The whole table, in mode order, for tools that try every back-end.
const DrawBackendInfo* draw_backends(int* count);

// A function address as the loader hands it out; cast to the contract's type to call.
using DrawProc = void (*)();

class ModuleLoader {
public:
  virtual ~ModuleLoader() = default;
  virtual void* Load(const char* file_name) = 0;  // null when it does not load
  virtual DrawProc Find(void* module, const char* name) = 0;  // null when absent
  virtual void Free(void* module) = 0;
};

// A loaded and bound back-end. Empty (module null, mode none, every entry null) or
// complete: there is no half-bound state.
struct DrawBackendBinding {
  void* module = nullptr;
  DRAW_INIT_MODE mode = DRAW_INIT_NONE;
  DrawProc entry[kDrawBackendEntryCount] = {};

  bool loaded() const { return module != nullptr; }
  void clear();
};

// Loads the back-end of mode and binds its entry points. use16 asks for the init
// with 16-bit textures, which only a back-end offering it can give. On success the
// binding is complete and 0 is returned; the caller then calls the init entry that
// draw_init_entry names. On any failure (unknown mode, library missing, one name
// missing, use16 not offered) the library is unloaded again, the binding is left
// empty and -1 is returned. The binding must be empty on entry.
int draw_bind_backend(ModuleLoader& loader, DRAW_INIT_MODE mode, bool use16, DrawBackendBinding& out);

// Which init entry to call for use16.
inline DrawBackendEntry draw_init_entry(bool use16) { return use16 ? kEntryInit16b : kEntryInit; }

// Unloads a bound back-end (if any) and empties the binding.
void draw_unbind_backend(ModuleLoader& loader, DrawBackendBinding& binding);

}  // namespace torv
