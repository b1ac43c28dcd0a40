// CDDDraw: device, frames, the image store and both text paths of the DirectDraw
// renderer.
#include "draw_ddraw/dd_draw.h"

#include <string>

#include "common/format_text.h"
#include "draw/backend_text.h"
#include "draw_ddraw/fast_copy_clip.h"

CDDDraw::~CDDDraw() {
  if (font_) DeleteObject(font_);
  images_.Clear();  // image surfaces go before the object that made them
  ReleaseDevice();
}

void CDDDraw::ReleaseDevice() {
  blank_.Release();
  frame_.Release();
  if (dd_) dd_->Release();
  dd_ = nullptr;
}

void CDDDraw::ForgetArchiveLibrary() {
  archive_.Forget();
  for (int slot = 0; slot < images_.Count(); ++slot) images_.Get(slot)->surface().Abandon();
  frame_.Abandon();
  blank_.Abandon();
  dd_ = nullptr;
}

int CDDDraw::Init(int width, int height, HWND window) {
  images_.Clear();
  ReleaseDevice();
  // DDCREATE_EMULATIONONLY stands where a driver's GUID would: software only.
  GUID* const emulation_only = reinterpret_cast<GUID*>(static_cast<uintptr_t>(DDCREATE_EMULATIONONLY));
  void* object = nullptr;
  if (FAILED(DirectDrawCreateEx(emulation_only, &object, IID_IDirectDraw7, nullptr)) || !object) return -1;
  dd_ = static_cast<IDirectDraw7*>(object);
  if (FAILED(dd_->SetCooperativeLevel(window, DDSCL_NORMAL)) || !frame_.Create(dd_, width, height) ||
      !blank_.Create(dd_, width, height)) {
    ReleaseDevice();
    return -1;
  }
  for (DdSurface* surface : {&frame_, &blank_}) {
    DdScopedLock lock(*surface);
    if (!lock.view().bits) {
      ReleaseDevice();
      return -1;
    }
    torv::clear_frame(lock.view());
  }
  width_ = width;
  height_ = height;
  window_ = window;
  SetFont(kBackendDefaultFace, kBackendDefaultFontHeight);
  archive_.Load();  // without it only the archive loads fail (-3)
  return 0;
}

int64_t CDDDraw::GetImageColourKey(int slot) const {
  const CDDSMaintain* image = Image(slot);
  return image ? static_cast<int64_t>(image->colour_key()) : -1;
}

int CDDDraw::CreateImageLoadFromFile(int* slot, const char* path) {
  return images_.Create(slot, [this] { return Fresh(); }, [&](CDDSMaintain& image) { return image.LoadFromFile(path); });
}

int CDDDraw::CreateImageLoadFromMemory(int* slot, char* data, int size) {
  return images_.Create(slot, [this] { return Fresh(); },
                        [&](CDDSMaintain& image) { return image.LoadFromMemory(data, size); });
}

int CDDDraw::CreateImageLoadFromExpTfaFile(int* slot, const char* member, const char* archive) {
  return images_.Create(slot, [this] { return Fresh(); },
                        [&](CDDSMaintain& image) { return LoadArchiveMember(archive_, image, member, archive); });
}

int CDDDraw::ReCreateImageLoadFromFile(int slot, const char* path) {
  return images_.ReCreate(slot, [this] { return Fresh(); },
                          [&](CDDSMaintain& image) { return image.LoadFromFile(path); });
}

int CDDDraw::ReCreateImageLoadFromMemory(int slot, char* data, int size) {
  return images_.ReCreate(slot, [this] { return Fresh(); },
                          [&](CDDSMaintain& image) { return image.LoadFromMemory(data, size); });
}

int CDDDraw::ReCreateImageLoadFromExpTfaFile(int slot, const char* member, const char* archive) {
  return images_.ReCreate(slot, [this] { return Fresh(); },
                          [&](CDDSMaintain& image) { return LoadArchiveMember(archive_, image, member, archive); });
}

torv::FrameView CDDDraw::Frame() { return frame_.Lock(); }

torv::ImageView CDDDraw::Source(CDDSMaintain& image) {
  const torv::FrameView v = image.surface().Lock();
  return torv::ImageView{v.bits, v.width, v.height, v.pitch_bytes};
}

int CDDDraw::BeginDraw(int originX, int originY) {
  if (!frame_.get()) return -1;
  Settle();
  frame_.get()->BltFast(0, 0, blank_.get(), nullptr, DDBLTFAST_NOCOLORKEY | DDBLTFAST_WAIT);
  origin_x_ = originX;
  origin_y_ = originY;
  return 0;
}

int CDDDraw::DrawResult() {
  if (!frame_.get()) return -1;
  Settle();
  HDC window_dc = GetDC(window_);
  if (!window_dc) return -1;
  HDC surface_dc = nullptr;
  if (SUCCEEDED(frame_.get()->GetDC(&surface_dc))) {
    // Where the origin uncovers the window nothing is painted.
    BitBlt(window_dc, origin_x_, origin_y_, width_, height_, surface_dc, 0, 0, SRCCOPY);
    frame_.get()->ReleaseDC(surface_dc);
  }
  ReleaseDC(window_, window_dc);
  return 0;
}

int CDDDraw::DrawImage(int slot, int x, int y, int width, int height, double alpha) {
  CDDSMaintain* image = Image(slot);
  if (!image || !frame_.get()) return -1;
  const torv::ImageView source = Source(*image);
  const torv::FrameView frame = Frame();
  if (!source.bits || !frame.bits) return -1;
  blender_.draw_image_scaled(frame, source, x, y, width, height, torv::alpha_byte_from_percent(alpha));
  return 0;
}

int CDDDraw::DrawImageDetail(int slot, int srcX, int srcY, int x, int y, int width, int height, double alpha) {
  CDDSMaintain* image = Image(slot);
  if (!image || !frame_.get()) return -1;
  const torv::ImageView source = Source(*image);
  const torv::FrameView frame = Frame();
  if (!source.bits || !frame.bits) return -1;
  blender_.draw_image_detail(frame, source, srcX, srcY, x, y, width, height,
                             torv::alpha_byte_from_percent(alpha));
  return 0;
}

int CDDDraw::DrawImageFast(int slot, int x, int y, int srcX, int srcY, int width, int height, int transparent) {
  CDDSMaintain* image = Image(slot);
  if (!image || !frame_.get()) return -1;
  torv::FastCopy copy;
  if (!torv::clip_fast_copy(x, y, srcX, srcY, width, height, width_, height_, image->width(), image->height(),
                            &copy)) {
    return 0;  // nothing of it lies inside both
  }
  Settle();
  image->surface().Unlock();  // a locked surface cannot be a blit's source
  RECT source = {copy.left, copy.top, copy.right, copy.bottom};
  const DWORD key = transparent ? DDBLTFAST_SRCCOLORKEY : DDBLTFAST_NOCOLORKEY;
  frame_.get()->BltFast(static_cast<DWORD>(copy.x), static_cast<DWORD>(copy.y), image->surface().get(), &source,
                        key | DDBLTFAST_WAIT);
  return 0;
}

int CDDDraw::DrawTextV(RECT rect, int count, DWORD colour, int noClip, int centre, int cached, const char* format,
                       va_list args) {
  if (!frame_.get()) return -1;
  const std::string text = torv::format_text_v(format, args);
  if (!cached) {
    Settle();
    HDC dc = nullptr;
    if (FAILED(frame_.get()->GetDC(&dc))) return -1;
    DrawBackendPlainText(dc, font_, rect, text.c_str(), count, colour, noClip, centre);
    frame_.get()->ReleaseDC(dc);
    return 0;
  }
  const torv::FrameView frame = Frame();
  if (!frame.bits) return -1;
  return DrawBackendCachedText(cache_, blender_, frame, window_, font_, rect, text.c_str(), count, noClip, centre,
                               colour);
}
