// CDDDraw: the DirectDraw 7 renderer's one instance. An emulation-only DirectDraw
// object (no graphics hardware needed) with a frame surface in system memory: the
// blends and cached text are the portable core's, written into the locked frame;
// clearing and the unblended fast copy are DirectDraw blits; plain text is GDI on
// the surface's DC; the frame is shown with one GDI blit from that DC.
#pragma once

#include <cstdarg>

#include "common/blend.h"
#include "common/string_cache.h"
#include "draw/backend_archive.h"
#include "draw/backend_image_store.h"
#include "draw/backend_text.h"
#include "draw/draw_contract.h"
#include "draw_ddraw/dd_image.h"
#include "draw_ddraw/dd_surface.h"

using CDxddStringCacheInfo = BackendStringCacheInfo;

class CDDDraw {
public:
  CDDDraw() = default;
  virtual ~CDDDraw();
  CDDDraw(const CDDDraw&) = delete;
  CDDDraw& operator=(const CDDDraw&) = delete;

  // 0; -1 when the DirectDraw object, its cooperative level or a surface cannot
  // be had (nothing is held then).
  int Init(int width, int height, HWND window);

  int CreateImageLoadFromFile(int* slot, const char* path);
  int CreateImageLoadFromMemory(int* slot, char* data, int size);
  int CreateImageLoadFromExpTfaFile(int* slot, const char* member, const char* archive);
  int ReCreateImageLoadFromFile(int slot, const char* path);
  int ReCreateImageLoadFromMemory(int slot, char* data, int size);
  int ReCreateImageLoadFromExpTfaFile(int slot, const char* member, const char* archive);
  int GetImageWidth(int slot) const { return images_.Width(slot); }
  int GetImageHeight(int slot) const { return images_.Height(slot); }
  // The key of the image in slot (what its transparent pixels hold), or -1.
  int64_t GetImageColourKey(int slot) const;
  // For checks: the holder of slot (null outside the store), and the frame surface
  // as composed so far (lock it to read it).
  CDDSMaintain* GetImage(int slot) const { return Image(slot); }
  DdSurface& FrameSurface() { return frame_; }

  int SetFont(const char* face, int height) { return ReplaceBackendFont(&font_, face, height); }
  HFONT* GetFont() { return &font_; }
  void ClearStringCache() { cache_.clear(); }
  CDxddStringCacheInfo StringCacheInfo(int i) const { return CDxddStringCacheInfo(cache_.entry(i)); }
  IDirectDraw7** GetDD7WPointer() { return &dd_; }

  int BeginDraw(int originX, int originY);
  int DrawResult();
  int DrawImage(int slot, int x, int y, int width, int height, double alpha);
  int DrawImageDetail(int slot, int srcX, int srcY, int x, int y, int width, int height, double alpha);
  int DrawImageFast(int slot, int x, int y, int srcX, int srcY, int width, int height, int transparent);
  int DrawTextV(RECT rect, int count, DWORD colour, int noClip, int centre, int cached, const char* format,
                va_list args);

  // For process exit: leave "tamArc.dll" to the loader and the DirectDraw objects to
  // the system instead of releasing them here (the device's worker thread is gone
  // by then, and a release would wait for it forever).
  void ForgetArchiveLibrary();

private:
  CDDSMaintain* Image(int slot) const { return images_.Get(slot); }
  CDDSMaintain* Fresh() { return new CDDSMaintain(&dd_); }
  void ReleaseDevice();
  // The frame's pixels for the core, locking the frame surface on first use; the
  // lock is held across consecutive direct draws and given back by Settle, which
  // runs before every DirectDraw or GDI use of the surface.
  torv::FrameView Frame();
  void Settle() { frame_.Unlock(); }
  // An image's pixels for the blends. Its lock is kept too (every lock waits for the
  // blits queued before it) until a fast copy takes the image as its source.
  torv::ImageView Source(CDDSMaintain& image);

  BackendImageStore<CDDSMaintain> images_;  // index = image slot
  int width_ = 0;
  int height_ = 0;
  HWND window_ = nullptr;
  HFONT font_ = nullptr;
  IDirectDraw7* dd_ = nullptr;
  DdSurface frame_;  // the frame is composed here
  DdSurface blank_;  // all zero: copied over the frame to clear it
  torv::StringCache cache_;
  torv::Blender blender_;
  int origin_x_ = 0;
  int origin_y_ = 0;
  ArchiveLibrary archive_;
};
