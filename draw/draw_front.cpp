// CDraw: back-end loading, forwarding, text, colours and the shake worker (Windows).
#include "draw/draw_front.h"

#include <cstring>
#include <exception>
#include <new>
#include <string>
#include <type_traits>

#include "common/format_text.h"
#include "draw/draw_colour.h"

namespace {

class WinModuleLoader : public torv::ModuleLoader {
public:
  void* Load(const char* file_name) override { return LoadLibraryA(file_name); }
  torv::DrawProc Find(void* module, const char* name) override {
    return draw_find_entry<torv::DrawProc>(static_cast<HMODULE>(module), name);
  }
  void Free(void* module) override { FreeLibrary(static_cast<HMODULE>(module)); }
};

WinModuleLoader g_loader;

struct ShakeJob {
  torv::ShakeState* state;
  unsigned ticket;
  HMODULE self;  // a reference on this library, held while the worker runs
};

DWORD WINAPI ShakeThread(LPVOID param) {
  ShakeJob job = *static_cast<ShakeJob*>(param);
  delete static_cast<ShakeJob*>(param);
  try {
    job.state->Run(job.ticket, [](int ms) { Sleep(static_cast<DWORD>(ms)); });
  } catch (...) {
    job.state->Abandon(job.ticket);
  }
  // Drops the worker's reference last, so the library cannot be unloaded under it.
  FreeLibraryAndExitThread(job.self, 0);
}

}  // namespace

CDraw::~CDraw() { Terminate(); }

int CDraw::Init(HWND window, int width, int height, DRAW_INIT_MODE mode, int use16Bit) {
  window_ = window;
  width_ = width;
  height_ = height;
  Terminate();
  const bool use16 = use16Bit != 0;
  if (torv::draw_bind_backend(g_loader, mode, use16, binding_) != 0) return -1;
  // dllInit and dllInit16b share one contract type; draw_init_entry picks the one to call.
  static_assert(std::is_same<torv::BackendEntryType<torv::kEntryInit>::Type,
                             torv::BackendEntryType<torv::kEntryInit16b>::Type>::value,
                "both init entries are called alike");
  auto init = reinterpret_cast<DrawBackendInitFn>(binding_.entry[torv::draw_init_entry(use16)]);
  // A back-end whose own start fails is unloaded too, so the caller can fall back
  // to another mode instead of drawing into a dead one.
  if (init(window, width, height) != 0) {
    Terminate();
    return -1;
  }
  return 0;
}

void CDraw::Terminate() { torv::draw_unbind_backend(g_loader, binding_); }

int CDraw::CreateImageLoadFromFile(int* slot, const char* path) {
  if (!binding_.loaded()) return -1;
  return Entry<torv::kEntryCreateImageLoadFromFile>()(slot, path);
}

int CDraw::CreateImageLoadFromMemory(int* slot, char* data, int size) {
  if (!binding_.loaded()) return -1;
  return Entry<torv::kEntryCreateImageLoadFromMemory>()(slot, data, size);
}

int CDraw::CreateImageLoadFromExpTfaFile(int* slot, const char* member, const char* archive) {
  if (!binding_.loaded()) return -1;
  return Entry<torv::kEntryCreateImageLoadFromExpTfaFile>()(slot, member, archive);
}

int CDraw::ReCreateImageLoadFromFile(int slot, const char* path) {
  if (!binding_.loaded()) return -1;
  return Entry<torv::kEntryReCreateImageLoadFromFile>()(slot, path);
}

int CDraw::ReCreateImageLoadFromMemory(int slot, char* data, int size) {
  if (!binding_.loaded()) return -1;
  return Entry<torv::kEntryReCreateImageLoadFromMemory>()(slot, data, size);
}

int CDraw::ReCreateImageLoadFromExpTfaFile(int slot, const char* member, const char* archive) {
  if (!binding_.loaded()) return -1;
  return Entry<torv::kEntryReCreateImageLoadFromExpTfaFile>()(slot, member, archive);
}

int CDraw::SetFont(const char* face, int height) {
  if (!binding_.loaded()) return -1;
  return Entry<torv::kEntrySetFont>()(face, height);
}

void CDraw::ClearStringCache() {
  if (binding_.loaded()) Entry<torv::kEntryClearStringCache>()();
}

int CDraw::BeginDraw() {
  if (!Drawing()) return -1;
  // One read of each offset per frame: the shake worker may change them at any time.
  return Entry<torv::kEntryBeginDraw>()(shake_.offset_x(), shake_.offset_y());
}

int CDraw::EndDraw() {
  if (!Drawing()) return -1;
  return Entry<torv::kEntryEndDraw>()();
}

int CDraw::DrawImage(int slot, int x, int y, int width, int height, double alpha) {
  if (!Drawing()) return -1;
  return Entry<torv::kEntryDrawImage>()(slot, x, y, width, height, alpha);
}

int CDraw::DrawImageDetail(int slot, int srcX, int srcY, int x, int y, int width, int height, double alpha) {
  if (!Drawing()) return -1;
  return Entry<torv::kEntryDrawImageDetail>()(slot, srcX, srcY, x, y, width, height, alpha);
}

int CDraw::DrawImageFast(int slot, int x, int y, int srcX, int srcY, int width, int height, int transparent) {
  if (!Drawing()) return -1;
  return Entry<torv::kEntryDrawImageFast>()(slot, x, y, srcX, srcY, width, height, transparent);
}

int CDraw::DrawFinishedText(RECT rect, int count, DWORD colour, int noClip, int centre, int cached,
                            const char* text, int length) {
  // The plain path draws with GDI, which reads the top byte as flags; Direct3D's
  // text colour keeps its alpha.
  if (!cached && binding_.mode != DRAW_INIT_D3D) colour = torv::draw_gdi_colour(colour);
  if (!binding_.loaded()) return -1;
  // "%s" so the back-end draws the text as it stands: a '%' in it is not a format.
  Entry<torv::kEntryDrawText>()(rect, count, colour, noClip, centre, cached, "%s", text);
  return length;
}

int CDraw::DrawTextV(RECT rect, int count, DWORD colour, int noClip, int centre, int cached, const char* format,
                     va_list args) {
  if (stopped_) return -1;
  const std::string text = torv::format_text_v(format, args);
  return DrawFinishedText(rect, count, colour, noClip, centre, cached, text.c_str(),
                          static_cast<int>(text.size()));
}

int CDraw::DrawTextSimpleV(int x, int y, DWORD colour, int cached, const char* format, va_list args) {
  if (stopped_) return -1;
  const std::string text = torv::format_text_v(format, args);
  const RECT rect = {x, y, width_, height_};  // to the frame's right and bottom edges
  return DrawFinishedText(rect, -1, colour, 1, 0, cached, text.c_str(), static_cast<int>(text.size()));
}

int CDraw::GetTextSize(const char* text, SIZE* size) {
  if (!binding_.loaded() || !text || !size) return -1;
  HFONT* font = Entry<torv::kEntryGetFont>()();
  if (!font || !*font) return -1;
  HDC dc = GetDC(window_);
  if (!dc) return -1;
  int result = -1;
  HGDIOBJ old = SelectObject(dc, *font);
  if (old && old != HGDI_ERROR) {
    if (GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), size)) result = 0;
    SelectObject(dc, old);
  }
  ReleaseDC(window_, dc);
  return result;
}

RECT CDraw::GetImageRect(int slot) {
  const RECT rect = {0, 0, GetImageWidth(slot), GetImageHeight(slot)};
  return rect;
}

int CDraw::GetImageWidth(int slot) {
  if (!binding_.loaded()) return -1;
  return Entry<torv::kEntryGetImageWidth>()(slot);
}

int CDraw::GetImageHeight(int slot) {
  if (!binding_.loaded()) return -1;
  return Entry<torv::kEntryGetImageHeight>()(slot);
}

DWORD CDraw::GetARGB(BYTE red, BYTE green, BYTE blue, BYTE alpha) const {
  return torv::draw_pack_colour(binding_.mode, red, green, blue, alpha);
}

void CDraw::Shake(int count) {
  unsigned ticket = 0;
  if (!shake_.Begin(count, &ticket)) return;  // one shake at a time
  HMODULE self = nullptr;
  ShakeJob* job = nullptr;
  if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&ShakeThread), &self)) {
    job = new (std::nothrow) ShakeJob{&shake_, ticket, self};
  }
  HANDLE thread = job ? CreateThread(nullptr, 0, ShakeThread, job, 0, nullptr) : nullptr;
  if (!thread) {
    delete job;
    if (self) FreeLibrary(self);
    shake_.Abandon(ticket);
    return;
  }
  CloseHandle(thread);  // detached: it ends by itself
}
