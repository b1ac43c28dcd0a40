#include "draw/draw_backends.h"

namespace torv {

namespace {

const char* const kEntryNames[kDrawBackendEntryCount] = {
    "dllInit",
    "dllInit16b",
    "dllCreateImageLoadFromFile",
    "dllCreateImageLoadFromMemory",
    "dllCreateImageLoadFromExpTfaFile",
    "dllReCreateImageLoadFromFile",
    "dllReCreateImageLoadFromMemory",
    "dllReCreateImageLoadFromExpTfaFile",
    "dllSetFont",
    "dllGetFont",
    "dllClearStringCache",
    "dllBeginDraw",
    "dllEndDraw",
    "dllDrawImage",
    "dllDrawImageDetail",
    "dllDrawImageFast",
    "dllDrawText",
    "dllGetImageWidth",
    "dllGetImageHeight",
};

// Adding a back-end is one row here.
const DrawBackendInfo kBackends[] = {
    {DRAW_INIT_D3D, "tamDx3DDraw.dll", true},
    {DRAW_INIT_DDRAW, "tamDDDraw.dll", false},
    {DRAW_INIT_DIB, "tamDIBDraw.dll", false},
};

}  // namespace

const char* draw_backend_entry_name(DrawBackendEntry e) {
  return e >= 0 && e < kDrawBackendEntryCount ? kEntryNames[e] : "";
}

const DrawBackendInfo* draw_find_backend(DRAW_INIT_MODE mode) {
  for (const DrawBackendInfo& b : kBackends) {
    if (b.mode == mode) return &b;
  }
  return nullptr;
}

const DrawBackendInfo* draw_backends(int* count) {
  *count = static_cast<int>(sizeof kBackends / sizeof kBackends[0]);
  return kBackends;
}

void DrawBackendBinding::clear() {
  module = nullptr;
  mode = DRAW_INIT_NONE;
  for (DrawProc& p : entry) p = nullptr;
}

int draw_bind_backend(ModuleLoader& loader, DRAW_INIT_MODE mode, bool use16, DrawBackendBinding& out) {
  out.clear();
  const DrawBackendInfo* info = draw_find_backend(mode);
  if (!info || (use16 && !info->offers_init16b)) return -1;
  void* module = loader.Load(info->library);
  if (!module) return -1;
  DrawBackendBinding bound;
  bound.module = module;
  bound.mode = mode;
  for (int e = 0; e < kDrawBackendEntryCount; ++e) {
    const bool optional = e == kEntryInit16b;
    if (optional && !info->offers_init16b) continue;
    bound.entry[e] = loader.Find(module, kEntryNames[e]);
    // dllInit16b is looked up where offered but needed only when asked for.
    const bool needed = !optional || use16;
    if (needed && !bound.entry[e]) {
      loader.Free(module);
      return -1;
    }
  }
  out = bound;
  return 0;
}

void draw_unbind_backend(ModuleLoader& loader, DrawBackendBinding& binding) {
  if (binding.module) loader.Free(binding.module);
  binding.clear();
}

}  // namespace torv
