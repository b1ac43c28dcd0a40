// COggMemoryDecoder: Ogg Vorbis decoding from a block of memory with libvorbisfile,
// to 16-bit signed little-endian interleaved PCM.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace torv {

using OggBytes = std::shared_ptr<const std::vector<uint8_t>>;

struct PcmFormat {
  int channels = 0;
  int rate = 0;
  int BlockAlign() const { return channels * 2; }  // bytes per sample frame
  bool operator==(const PcmFormat& o) const { return channels == o.channels && rate == o.rate; }
  bool operator!=(const PcmFormat& o) const { return !(*this == o); }
};

// Walks every Ogg page: each must be whole with a valid checksum, with no bytes
// between pages, every logical stream begun by a first page and closed by a last
// page, and no serial number begun twice. That is what tells a truncated file from a
// short one, which vorbisfile alone would decode without complaint.
bool ogg_pages_intact(const uint8_t* data, size_t size);

class COggMemoryDecoder {
public:
  COggMemoryDecoder();
  ~COggMemoryDecoder();
  COggMemoryDecoder(const COggMemoryDecoder&) = delete;
  COggMemoryDecoder& operator=(const COggMemoryDecoder&) = delete;

  // Opens bytes (kept alive by the decoder). False when the pages are not intact,
  // the stream is not Vorbis, its first samples do not decode, its links differ in
  // format, or the format is outside 1..2 channels and 8000..192000 samples per
  // second.
  bool Open(OggBytes bytes);

  const PcmFormat& Format() const { return format_; }
  // Sample frames in the whole stream, as its last granule position says.
  int64_t TotalFrames() const { return total_frames_; }

  // Decodes up to max_bytes (rounded down to whole frames) into out. Answers the
  // bytes written, 0 at the end of the stream, or -1 when the data is damaged.
  // After a -1 the decoder is spent: Read and Rewind fail from then on, because
  // libvorbis, asked again after a failed start, decodes with codebooks it never
  // built (and divides by zero).
  long Read(uint8_t* out, long max_bytes);
  // Back to the first sample. False when the stream cannot seek or is spent.
  bool Rewind();

  // Decodes everything from the current position, at most max_bytes. False when the
  // data is damaged or longer than max_bytes. pcm grows as samples decode: the
  // length the stream claims (TotalFrames) sizes nothing.
  bool ReadAll(std::vector<uint8_t>& pcm, size_t max_bytes);

private:
  struct Source {
    OggBytes bytes;
    size_t pos = 0;
  };
  void Close();

  Source source_;
  struct State;
  std::unique_ptr<State> state_;  // the OggVorbis_File; null while closed
  PcmFormat format_;
  int64_t total_frames_ = 0;
  bool broken_ = false;
};

}  // namespace torv
