// One DirectDraw 7 surface of the format every surface of this back-end has: 32
// bits a pixel, alpha, red, green, blue masks 0xFF000000, 0x00FF0000, 0x0000FF00,
// 0x000000FF (in memory: blue, green, red, alpha), off-screen in system memory.
//
// The pixels are reached only through a lock, and the lock's pitch is what rows
// are apart: a surface may pad its rows, and its memory may move while it is not
// locked (a GetDC may give it another home), so no address is kept past Unlock.
#pragma once

#include "common/blend.h"
#include "draw/draw_contract.h"

#include <ddraw.h>

class DdSurface {
public:
  DdSurface() = default;
  ~DdSurface() { Release(); }
  DdSurface(const DdSurface&) = delete;
  DdSurface& operator=(const DdSurface&) = delete;

  // width x height pixels on dd. False (and nothing held) when it cannot be made.
  bool Create(IDirectDraw7* dd, int width, int height);
  void Release();
  // Forgets the surface without releasing it (process exit: the system reclaims it).
  void Abandon() {
    surface_ = nullptr;
    view_ = torv::FrameView();
    width_ = height_ = 0;
  }

  IDirectDrawSurface7* get() const { return surface_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // Locks the whole surface (once; a second call gives the same view) and answers
  // its pixels with the lock's pitch; a view with null bits when the lock fails.
  // Nothing else (BltFast, GetDC) may use the surface until Unlock.
  torv::FrameView Lock();
  void Unlock();
  bool locked() const { return view_.bits != nullptr; }

  // The colour-keyed copy's key: colour 0x00RRGGBB, source key, no alpha bits
  // (a key with alpha bits matches no pixel). False when DirectDraw refuses it.
  bool SetSourceKey(uint32_t key);

private:
  IDirectDrawSurface7* surface_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  torv::FrameView view_;
};

// A lock held for one scope, released by the destructor (unless the surface was
// locked before, in which case it stays locked).
class DdScopedLock {
public:
  explicit DdScopedLock(DdSurface& surface) : surface_(surface), was_locked_(surface.locked()) {
    view_ = surface.Lock();
  }
  ~DdScopedLock() {
    if (!was_locked_) surface_.Unlock();
  }
  DdScopedLock(const DdScopedLock&) = delete;
  DdScopedLock& operator=(const DdScopedLock&) = delete;

  const torv::FrameView& view() const { return view_; }
  torv::ImageView image() const { return torv::ImageView{view_.bits, view_.width, view_.height, view_.pitch_bytes}; }

private:
  DdSurface& surface_;
  bool was_locked_;
  torv::FrameView view_;
};
