#include "draw/backend_archive.h"

ArchiveLibrary::~ArchiveLibrary() { Unload(); }

void ArchiveLibrary::Load() {
  Unload();
  module_ = LoadLibraryA("tamArc.dll");
  if (!module_) return;
  open_ = draw_find_entry<TamArcOpenArchiveFn>(module_, "dllOpenArchive");
  get_member_ = draw_find_entry<TamArcGetMemoryFromFileNameFn>(module_, "dllGetMemoryFromFileName");
  if (!open_ || !get_member_) Unload();  // a library without them is as good as none
}

void ArchiveLibrary::Unload() {
  if (module_) FreeLibrary(module_);
  module_ = nullptr;
  open_ = nullptr;
  get_member_ = nullptr;
}

int ArchiveLibrary::Read(const char* member, const char* archive, const unsigned char** data, int* size) {
  if (!module_) return -3;
  if (!member || !archive) return -1;
  // Opened for every read: the game shares the library and may have opened another.
  if (open_(archive) != 0) return -1;
  unsigned char* block = nullptr;
  const int length = get_member_(member, &block);
  if (!block) return -2;
  if (length < 0) return -1;
  *data = block;
  *size = length;
  return 0;
}
