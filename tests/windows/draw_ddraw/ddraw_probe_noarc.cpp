// Run by DDrawWithoutArchiveLibrary from a directory that has "tamDDDraw.dll" but
// no "tamArc.dll": binds the back-end's own exports by name, starts it, draws a
// frame and writes what the loads answer to the file named by its argument. It ends
// with the back-end still loaded, as a program may: the process must still end.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "draw/draw_contract.h"
#include "tools/drawcheck/check_images.h"
#include "tools/drawcheck/check_window.h"
#include "tools/drawcheck/image_encode.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  torv::CheckWindow window("TORV probe", 64, 64);
  HMODULE dll = LoadLibraryA("tamDDDraw.dll");
  if (!dll) return 3;
  auto init = draw_find_entry<DrawBackendInitFn>(dll, "dllInit");
  auto memory = draw_find_entry<DrawCreateImageLoadFromMemoryFn>(dll, "dllCreateImageLoadFromMemory");
  auto create = draw_find_entry<DrawCreateImageLoadFromExpTfaFileFn>(dll, "dllCreateImageLoadFromExpTfaFile");
  auto recreate = draw_find_entry<DrawReCreateImageLoadFromExpTfaFileFn>(dll, "dllReCreateImageLoadFromExpTfaFile");
  auto begin = draw_find_entry<DrawBackendBeginDrawFn>(dll, "dllBeginDraw");
  auto fast = draw_find_entry<DrawImageFastFn>(dll, "dllDrawImageFast");
  auto end = draw_find_entry<DrawEndDrawFn>(dll, "dllEndDraw");
  if (!init || !memory || !create || !recreate || !begin || !fast || !end) return 4;
  const int started = init(window.hwnd(), 64, 64);
  std::vector<uint8_t> bmp = torv::encode_bmp24(torv::make_tile().pixels());
  int slot = -1;
  const int loaded = memory(&slot, reinterpret_cast<char*>(bmp.data()), static_cast<int>(bmp.size()));
  int unused = -1;
  const int created = create(&unused, "tile.bmp", "dat.tfa");
  const int recreated = recreate(slot, "tile.bmp", "dat.tfa");
  const int bad_slot = recreate(slot + 1, "tile.bmp", "dat.tfa");
  begin(0, 0);
  fast(slot, 8, 8, 0, 0, 24, 24, 1);
  end();
  std::FILE* f = std::fopen(argv[1], "wb");
  if (!f) return 5;
  std::fprintf(f, "init %d, archive library loaded %d, memory %d slot %d, create %d, re-create %d, bad slot %d",
               started, GetModuleHandleA("tamArc.dll") != nullptr, loaded, slot, created, recreated, bad_slot);
  std::fclose(f);
  return 0;
}
