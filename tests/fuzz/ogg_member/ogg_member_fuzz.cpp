// Feeds arbitrary bytes to the sound module as an Ogg member: the page check, the
// decoder (whole, in small reads, after a rewind) and a streamed sound's ring over
// it. Nothing may crash, leak, hang or write past a buffer.
#include <ogg/ogg.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "sound/ogg_memory_decoder.h"
#include "sound/sound_buffers.h"

namespace {

// A voice whose cursor moves a fixed step at every look, as a device's would.
class StepVoice : public torv::ISoundVoice {
public:
  explicit StepVoice(uint32_t size) : memory_(size) {}
  bool Write(uint32_t offset, const uint8_t* data, uint32_t len) override {
    if (static_cast<size_t>(offset) + len > memory_.size()) std::abort();
    std::memcpy(memory_.data() + offset, data, len);
    return true;
  }
  void Play(bool) override {}
  void Stop() override {}
  void SetPosition(uint32_t offset) override { cursor_ = offset; }
  uint32_t PlayCursor() override { return cursor_ = (cursor_ + 1234) % static_cast<uint32_t>(memory_.size()); }
  bool IsPlaying() override { return true; }
  void SetAttenuation(int32_t) override {}
  bool Restore() override { return false; }

private:
  std::vector<uint8_t> memory_;
  uint32_t cursor_ = 0;
};

constexpr size_t kMaxPcm = size_t{16} << 20;

// Mutations almost never keep a page's checksum right, so most inputs would stop at
// the page check. Recomputing every checksum lets them reach the decoder.
void repair_checksums(std::vector<uint8_t>& v) {
  size_t at = 0;
  while (at + 27 <= v.size()) {
    if (std::memcmp(&v[at], "OggS", 4) != 0) {
      ++at;
      continue;
    }
    const size_t segments = v[at + 26];
    if (at + 27 + segments > v.size()) break;
    size_t body = 0;
    for (size_t i = 0; i < segments; ++i) body += v[at + 27 + i];
    const size_t header = 27 + segments;
    if (at + header + body > v.size()) break;
    ogg_page page;
    page.header = &v[at];
    page.header_len = static_cast<long>(header);
    page.body = &v[at + header];
    page.body_len = static_cast<long>(body);
    ogg_page_checksum_set(&page);
    at += header + body;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  torv::ogg_pages_intact(data, size);
  // An input whose checksums were right is unchanged by the repair.
  std::vector<uint8_t> input(data, data + size);
  repair_checksums(input);
  auto bytes = std::make_shared<const std::vector<uint8_t>>(std::move(input));

  torv::COggMemoryDecoder whole;
  if (!whole.Open(bytes)) return 0;
  std::vector<uint8_t> pcm;
  whole.ReadAll(pcm, kMaxPcm);
  if (whole.Rewind()) {
    uint8_t chunk[333];
    for (int i = 0; i < 64 && whole.Read(chunk, sizeof chunk) > 0; ++i) {
    }
  }

  auto decoder = std::make_unique<torv::COggMemoryDecoder>();
  if (!decoder->Open(bytes)) std::abort();  // it opened once: it must open again
  const uint32_t ring = static_cast<uint32_t>(decoder->Format().BlockAlign()) * 1000;
  torv::CStreamSoundBuffer stream(std::move(decoder), std::make_unique<StepVoice>(ring), ring, 500);
  stream.Play(true);
  for (int i = 0; i < 40; ++i) stream.Refill(500);
  stream.Play(false);
  for (int i = 0; i < 40; ++i) stream.Refill(700);
  return 0;
}
