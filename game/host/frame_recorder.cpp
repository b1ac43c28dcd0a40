// Frames to PNG files and checksum lines.
#include "game/host/frame_recorder.h"

#include <sys/stat.h>

#include "common/format_text.h"
#include "game/host/png_file.h"

namespace torv {

uint64_t frame_checksum(const FrameView& frame) {
  uint64_t hash = 14695981039346656037ull;
  for (int y = 0; y < frame.height; ++y) {
    const uint8_t* row = frame.bits + static_cast<ptrdiff_t>(y) * frame.pitch_bytes;
    for (int x = 0; x < frame.width; ++x) {
      for (int byte : {2, 1, 0}) {  // B, G, R in memory; hashed as R, G, B
        hash ^= row[x * 4 + byte];
        hash *= 1099511628211ull;
      }
    }
  }
  return hash;
}

FrameRecorder::~FrameRecorder() {
  if (sums_) std::fclose(sums_);
}

void FrameRecorder::keep_pictures(const std::string& png_dir, int every) {
  png_dir_ = png_dir;
  every_ = every > 0 ? every : 1;
  if (!png_dir_.empty()) mkdir(png_dir_.c_str(), 0777);
}

bool FrameRecorder::keep_checksums(const std::string& path) {
  if (sums_) std::fclose(sums_);
  sums_ = std::fopen(path.c_str(), "w");
  return sums_ != nullptr;
}

void FrameRecorder::record(const FrameView& frame) {
  const int index = count_++;
  if (sums_) {
    std::fprintf(sums_, "%06d %016llx\n", index, static_cast<unsigned long long>(frame_checksum(frame)));
    std::fflush(sums_);
  }
  if (!png_dir_.empty() && index % every_ == 0) {
    const std::string path = format_text("%s/frame_%06d.png", png_dir_.c_str(), index);
    if (!write_frame_png(path, frame)) std::fprintf(stderr, "cannot write %s\n", path.c_str());
  }
}

}  // namespace torv
