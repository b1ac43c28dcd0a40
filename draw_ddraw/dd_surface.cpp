#include "draw_ddraw/dd_surface.h"

#include <cstring>

bool DdSurface::Create(IDirectDraw7* dd, int width, int height) {
  Release();
  if (!dd || width <= 0 || height <= 0) return false;
  DDSURFACEDESC2 desc;
  std::memset(&desc, 0, sizeof desc);
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
  desc.dwWidth = static_cast<DWORD>(width);
  desc.dwHeight = static_cast<DWORD>(height);
  desc.ddpfPixelFormat.dwSize = sizeof desc.ddpfPixelFormat;
  desc.ddpfPixelFormat.dwFlags = DDPF_RGB | DDPF_ALPHAPIXELS;
  desc.ddpfPixelFormat.dwRGBBitCount = 32;
  desc.ddpfPixelFormat.dwRBitMask = 0x00FF0000;
  desc.ddpfPixelFormat.dwGBitMask = 0x0000FF00;
  desc.ddpfPixelFormat.dwBBitMask = 0x000000FF;
  desc.ddpfPixelFormat.dwRGBAlphaBitMask = 0xFF000000;
  IDirectDrawSurface7* surface = nullptr;
  if (FAILED(dd->CreateSurface(&desc, &surface, nullptr)) || !surface) return false;
  surface_ = surface;
  width_ = width;
  height_ = height;
  return true;
}

void DdSurface::Release() {
  Unlock();
  if (surface_) surface_->Release();
  surface_ = nullptr;
  width_ = height_ = 0;
}

torv::FrameView DdSurface::Lock() {
  if (view_.bits || !surface_) return view_;
  DDSURFACEDESC2 desc;
  std::memset(&desc, 0, sizeof desc);
  desc.dwSize = sizeof desc;
  if (FAILED(surface_->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr)) || !desc.lpSurface) return view_;
  if (desc.lPitch < width_ * 4) {  // not rows of this format: leave the memory alone
    surface_->Unlock(nullptr);
    return view_;
  }
  view_.bits = static_cast<uint8_t*>(desc.lpSurface);
  view_.width = width_;
  view_.height = height_;
  view_.pitch_bytes = static_cast<int>(desc.lPitch);
  return view_;
}

void DdSurface::Unlock() {
  if (!view_.bits) return;
  surface_->Unlock(nullptr);
  view_ = torv::FrameView();
}

bool DdSurface::SetSourceKey(uint32_t key) {
  if (!surface_) return false;
  DDCOLORKEY colour_key;
  colour_key.dwColorSpaceLowValue = key & 0x00FFFFFF;
  colour_key.dwColorSpaceHighValue = key & 0x00FFFFFF;
  return SUCCEEDED(surface_->SetColorKey(DDCKEY_SRCBLT, &colour_key));
}
