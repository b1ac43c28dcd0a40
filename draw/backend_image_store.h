// The image store of a drawing back-end: slot n is element n of an owning pointer
// vector. A create appends (a failed one uses no number); a re-create replaces a
// slot in place and keeps the old picture when it fails.
#pragma once

#include "common/image_decode.h"
#include "common/pvector.h"
#include "draw/backend_archive.h"

template <class Image>
class BackendImageStore {
public:
  int Count() const { return images_.GetSize(); }
  // The image in slot, or null for a slot outside 0 .. count - 1.
  Image* Get(int slot) const { return slot >= 0 && slot < images_.GetSize() ? images_[slot] : nullptr; }
  void Clear() { images_.clear(); }
  // The size of the image in slot, or -1 for a slot outside 0 .. count - 1.
  int Width(int slot) const { return Get(slot) ? Get(slot)->width() : -1; }
  int Height(int slot) const { return Get(slot) ? Get(slot)->height() : -1; }

  // fresh() makes an empty image (owned by the store from then on); load(image)
  // fills it and answers 0 or a failure code, which is passed on.
  template <class Fresh, class Load>
  int Create(int* slot, Fresh fresh, Load load) {
    if (!slot) return -1;
    Image* image = fresh();
    const int result = load(*image);
    if (result != 0) {
      delete image;
      return result;
    }
    if (!images_.Add(image)) return -1;
    *slot = images_.GetSize() - 1;
    return 0;
  }

  template <class Fresh, class Load>
  int ReCreate(int slot, Fresh fresh, Load load) {
    if (!Get(slot)) return -1;  // checked before anything else is touched
    Image* image = fresh();
    const int result = load(*image);
    if (result != 0) {
      delete image;
      return result;
    }
    images_.SetAt(slot, image);
    return 0;
  }

private:
  pvector<Image> images_;
};

// Loads member of the archive at path into image (its LoadFromMemory): 0, or the
// archive's code (-1, -2, -3) or the load's.
template <class Image>
int LoadArchiveMember(ArchiveLibrary& archive, Image& image, const char* member, const char* path) {
  const unsigned char* data = nullptr;
  int size = 0;
  const int found = archive.Read(member, path, &data, &size);
  return found != 0 ? found : image.LoadFromMemory(data, size);
}

// Decodes the PNG or BMP file at path, or size bytes at data, and hands the picture
// to keep(torv::Image&), whose answer is passed on. -1 when it does not decode.
template <class Keep>
int DecodeImageFile(const char* path, Keep keep) {
  if (!path) return -1;
  torv::Image decoded;
  if (torv::load_image_file(path, &decoded) != 0) return -1;
  return keep(decoded);
}

template <class Keep>
int DecodeImageMemory(const void* data, int size, Keep keep) {
  if (!data || size < 0) return -1;
  torv::Image decoded;
  if (torv::decode_image(data, static_cast<size_t>(size), &decoded) != 0) return -1;
  return keep(decoded);
}
