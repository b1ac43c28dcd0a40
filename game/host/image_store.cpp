// Loading the image table from "dat.tfa".
#include "game/host/image_store.h"

#include <climits>

#include "common/blend.h"
#include "game/resource_tables.h"

namespace torv {

namespace {

uint32_t big_endian32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 | p[3];
}

int32_t little_endian32(const uint8_t* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                              static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

bool read_image_size(const std::vector<uint8_t>& bytes, int* width, int* height) {
  // PNG: signature, then the IHDR chunk with width and height at offsets 16 and 20.
  if (bytes.size() >= 24 && has_png_signature(bytes.data(), bytes.size())) {
    const uint32_t w = big_endian32(&bytes[16]);
    const uint32_t h = big_endian32(&bytes[20]);
    if (w == 0 || h == 0 || w > kMaxImageSide || h > kMaxImageSide) return false;
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
  }
  // BMP: "BM", then width and height at offsets 18 and 22 (height negative for top-down).
  if (bytes.size() >= 26 && bytes[0] == 'B' && bytes[1] == 'M') {
    const int32_t w = little_endian32(&bytes[18]);
    int32_t h = little_endian32(&bytes[22]);
    if (h < 0 && h != INT32_MIN) h = -h;
    if (w <= 0 || h <= 0 || w > kMaxImageSide || h > kMaxImageSide) return false;
    *width = w;
    *height = h;
    return true;
  }
  return false;
}

int ImageStore::add(const std::string& member) {
  std::vector<uint8_t> bytes;
  if (reader_->read(kDataArchive, member, bytes) != 0) return -2;
  Image image;
  if (decode_pixels_) {
    if (decode_image(bytes.data(), bytes.size(), &image) != 0) return -1;
    clear_transparent_pixels(&image);  // as the software renderer stores its images
  } else if (!read_image_size(bytes, &image.width, &image.height)) {
    return -1;
  }
  images_.push_back(std::move(image));
  return static_cast<int>(images_.size()) - 1;
}

bool ImageStore::load(ArchiveReader& reader, bool decode_pixels, std::string* error) {
  reader_ = &reader;
  decode_pixels_ = decode_pixels;
  images_.clear();
  std::string missing;
  const int sum = load_image_table(slots_, [&](const char* file, int* slot) {
    const int result = add(file);
    if (result < 0) {
      missing += missing.empty() ? file : std::string(", ") + file;
      return result;
    }
    *slot = result;
    return 0;
  });
  if (sum != 0) {
    *error = "\"" + reader.data_dir() + "/" + kDataArchive + "\" lacks or cannot decode: " + missing;
    return false;
  }
  return true;
}

const Image* ImageStore::at(int index) const {
  if (index < 0 || index >= kImageTableSize) return nullptr;
  const int32_t slot = slots_[index];
  if (slot < 0 || static_cast<size_t>(slot) >= images_.size()) return nullptr;
  return &images_[static_cast<size_t>(slot)];
}

int ImageStore::width(int index) const {
  const Image* image = at(index);
  return image ? image->width : -1;
}

int ImageStore::height(int index) const {
  const Image* image = at(index);
  return image ? image->height : -1;
}

const Image* ImageStore::image(int index) const {
  const Image* image = at(index);
  return image && !image->pixels.empty() ? image : nullptr;
}

void ImageStore::reload_background(const std::string& member) {
  if (!reader_ || slots_[kImageBackground] < 0) return;
  std::vector<uint8_t> bytes;
  if (reader_->read(kDataArchive, member, bytes) != 0) return;
  Image image;
  if (decode_pixels_ ? decode_image(bytes.data(), bytes.size(), &image) != 0
                     : !read_image_size(bytes, &image.width, &image.height)) {
    return;
  }
  if (decode_pixels_) clear_transparent_pixels(&image);
  images_[static_cast<size_t>(slots_[kImageBackground])] = std::move(image);
}

}  // namespace torv
