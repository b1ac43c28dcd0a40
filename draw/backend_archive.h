// The archive library as a drawing back-end uses it: "tamArc.dll" loaded by name at
// Init (shared with the game: one open archive, one member buffer per process).
#pragma once

#include "archive/tamArc.h"
#include "draw/draw_contract.h"

class ArchiveLibrary {
public:
  ArchiveLibrary() = default;
  ~ArchiveLibrary();
  ArchiveLibrary(const ArchiveLibrary&) = delete;
  ArchiveLibrary& operator=(const ArchiveLibrary&) = delete;

  // Loads the library and its two reading entries; a missing library is no error.
  void Load();
  // Unloads it. Not for process exit (the loader unloads everything then).
  void Unload();
  // Keeps the library loaded at process exit instead of freeing it from DllMain.
  void Forget() { module_ = nullptr; }
  // Whether the library and its reading entries are there.
  bool Loaded() const { return module_ != nullptr; }

  // Points *data at the payload of member in archive (the library's buffer, valid
  // until its next read) and *size at its length. 0; -1 archive not opened or
  // member unreadable; -2 no such member; -3 no archive library.
  int Read(const char* member, const char* archive, const unsigned char** data, int* size);

private:
  HMODULE module_ = nullptr;
  TamArcOpenArchiveFn open_ = nullptr;
  TamArcGetMemoryFromFileNameFn get_member_ = nullptr;
};
