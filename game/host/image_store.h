// The game's images for the software renderer: the 107-entry image table filled from
// "dat.tfa" in the game's own load order (the same index-to-image mapping as the
// game), each image's size, and, when asked for, its pixels.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/image_decode.h"
#include "game/image_indices.h"
#include "game/host/archive_files.h"

namespace torv {

class ImageStore {
public:
  ImageStore() { slots_.fill(-1); }

  // Loads every image of the table. decode_pixels false reads only the sizes (fast);
  // true decodes the pictures for drawing. False when a member is missing or does
  // not decode; *error then names it.
  bool load(ArchiveReader& reader, bool decode_pixels, std::string* error);

  // -1 for an index without an image.
  int width(int index) const;
  int height(int index) const;
  // Null without an image or without decoded pixels.
  const Image* image(int index) const;

  // Re-creates the stage background (index 104) from a member of "dat.tfa"; a
  // member that cannot be read leaves the old picture, as the game does.
  void reload_background(const std::string& member);

private:
  int add(const std::string& member);
  // The image an index names; null without one (also before anything is loaded).
  const Image* at(int index) const;

  ArchiveReader* reader_ = nullptr;
  bool decode_pixels_ = false;
  std::array<int32_t, kImageTableSize> slots_{};
  std::vector<Image> images_;  // by slot; without pixels when only sizes were read
};

// Width and height from a PNG or BMP header, without decoding. False when the
// bytes are neither.
bool read_image_size(const std::vector<uint8_t>& bytes, int* width, int* height);

}  // namespace torv
