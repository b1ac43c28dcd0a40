// Text on the Direct3D renderer: the cached strings (glyph grids held in textures,
// drawn one quad per character) and the plain path (GDI text rendered into a
// texture and drawn as one quad).
#pragma once

#include <d3d9.h>

#include <string>
#include <vector>

#include "draw/draw_contract.h"
#include "draw_d3d/d3d_glyph_grid.h"

// One entry of the string cache: a rendered string's grid and its textures.
class CDx3dStringCacheInfo {
public:
  CDx3dStringCacheInfo() = default;
  ~CDx3dStringCacheInfo() { FreeMember(); }
  CDx3dStringCacheInfo(const CDx3dStringCacheInfo&) = delete;
  CDx3dStringCacheInfo& operator=(const CDx3dStringCacheInfo&) = delete;

  // 1 when the entry holds no string.
  int NoUse() const { return textures_.empty() ? 1 : 0; }
  // 1 when the entry holds text in colour rendered with the font described.
  int CachedString(const std::string& font_description, const char* text, DWORD colour) const;
  // Renders text into the entry (what it held is dropped first): the grid in
  // format, in textures the device's limits allow. 0, or -1 with the entry empty
  // (no font, or a texture the device would not make).
  int String2Texture(IDirect3DDevice9* device, torv::GlyphSource& font, const std::string& font_description,
                     const char* text, DWORD colour, torv::TextureFormat format, const torv::TextureLimits& limits);
  // Releases the textures and forgets the string; the rank stays.
  void FreeMember();
  // The same without releasing the textures (their device is gone with the process).
  void Forget() {
    textures_.clear();
    grid_.clear();
  }

  int Rank() const { return rank_; }
  void SetRank(int rank) { rank_ = rank; }
  const torv::GlyphGrid& Grid() const { return grid_; }
  IDirect3DTexture9* Texture(int i) const { return textures_[static_cast<size_t>(i)]; }
  int TextureCount() const { return static_cast<int>(textures_.size()); }

private:
  torv::GlyphGrid grid_;
  std::vector<IDirect3DTexture9*> textures_;
  int rank_ = 0;
};

// The plain text path's picture: count bytes of text (all for count < 0) laid out
// by GDI's DrawTextA in font within rect (frame coordinates; flags as the other
// renderers' plain path), cut to the frame, whose pixel (0, 0) belongs at frame
// pixel (*left, *top). Pixels carry the colour (0xAARRGGBB) with GDI's coverage
// times the colour's alpha as alpha. False when nothing would show.
bool RenderPlainText(HFONT font, const char* text, int count, RECT rect, int noClip, int centre, DWORD colour,
                     int frame_width, int frame_height, torv::Image* out, int* left, int* top);
