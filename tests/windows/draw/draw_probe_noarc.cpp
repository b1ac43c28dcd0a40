// Helper of the DibWithoutArchiveLibrary test: run from a directory without
// "tamArc.dll", starts the DIB renderer and writes what the archive and memory loads
// answer to the file named by its argument.
#include <windows.h>

#include <cstdio>

#include "tools/drawcheck/check_images.h"
#include "tools/drawcheck/check_window.h"
#include "tools/drawcheck/draw_frontend.h"
#include "tools/drawcheck/image_encode.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  torv::CheckWindow window("TORV probe", 64, 64);
  torv::DrawFrontEnd fe;
  std::string missing;
  if (!fe.Load(&missing)) return 3;
  const int init = fe.Init(window.hwnd(), 64, 64, DRAW_INIT_DIB, 0);
  std::vector<uint8_t> bmp = torv::encode_bmp24(torv::make_tile().pixels());
  int slot = -1;
  const int memory = fe.CreateImageLoadFromMemory(&slot, reinterpret_cast<char*>(bmp.data()), static_cast<int>(bmp.size()));
  int unused = -1;
  const int create = fe.CreateImageLoadFromExpTfaFile(&unused, "tile.bmp", "dat.tfa");
  const int recreate = fe.ReCreateImageLoadFromExpTfaFile(slot, "tile.bmp", "dat.tfa");
  std::FILE* f = std::fopen(argv[1], "wb");
  if (!f) return 4;
  std::fprintf(f, "init %d, archive library loaded %d, memory %d slot %d, create %d, re-create %d", init,
               GetModuleHandleA("tamArc.dll") != nullptr, memory, slot, create, recreate);
  std::fclose(f);
  fe.Terminate();
  return 0;
}
