// COggMemoryDecoder: vorbisfile over a memory block, and the page check before it.
#include "sound/ogg_memory_decoder.h"

// The stdio callbacks vorbisfile.h defines would be unused here.
#define OV_EXCLUDE_STATIC_CALLBACKS
#include <ogg/ogg.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>

namespace torv {

namespace {

constexpr int kMinChannels = 1;
constexpr int kMaxChannels = 2;
constexpr int kMinRate = 8000;
constexpr int kMaxRate = 192000;
constexpr long kSyncChunk = 65536;  // bytes handed to the page scanner at a time
constexpr int kMaxHoles = 16;       // holes skipped in one Read before the data counts as damaged

}  // namespace

bool ogg_pages_intact(const uint8_t* data, size_t size) {
  if (!data || size == 0) return false;
  ogg_sync_state sync;
  ogg_sync_init(&sync);
  std::set<long> open_streams;
  std::set<long> seen_streams;  // links are told apart by serial: a reused one confuses them
  bool ok = true;
  bool any_page = false;
  size_t fed = 0;
  size_t consumed = 0;
  while (ok) {
    ogg_page page;
    const long got = ogg_sync_pageseek(&sync, &page);
    if (got < 0) {  // bytes skipped: garbage or a page whose checksum is wrong
      ok = false;
      break;
    }
    if (got > 0) {
      consumed += static_cast<size_t>(got);
      any_page = true;
      const long serial = ogg_page_serialno(&page);
      const bool known = open_streams.count(serial) != 0;
      if (ogg_page_bos(&page)) {
        if (!seen_streams.insert(serial).second) ok = false;
        open_streams.insert(serial);
      } else if (!known) {
        ok = false;  // a page of a stream whose first page is missing
      }
      if (ok && ogg_page_eos(&page)) open_streams.erase(serial);
      continue;
    }
    if (fed == size) break;  // everything scanned
    const long chunk = static_cast<long>(std::min<size_t>(kSyncChunk, size - fed));
    char* buffer = ogg_sync_buffer(&sync, chunk);
    if (!buffer) {
      ok = false;
      break;
    }
    std::memcpy(buffer, data + fed, static_cast<size_t>(chunk));
    ogg_sync_wrote(&sync, chunk);
    fed += static_cast<size_t>(chunk);
  }
  ogg_sync_clear(&sync);
  // Left-over bytes are a page cut short; a stream still open lost its end.
  return ok && any_page && consumed == size && open_streams.empty();
}

namespace {

struct MemorySource {
  const std::vector<uint8_t>* bytes;
  size_t* pos;
};

size_t source_read(void* out, size_t size, size_t count, void* user) {
  auto* src = static_cast<MemorySource*>(user);
  if (size == 0) return 0;
  const size_t left = src->bytes->size() - *src->pos;
  const size_t items = std::min(count, left / size);
  std::memcpy(out, src->bytes->data() + *src->pos, items * size);
  *src->pos += items * size;
  return items;
}

int source_seek(void* user, ogg_int64_t offset, int whence) {
  auto* src = static_cast<MemorySource*>(user);
  const int64_t size = static_cast<int64_t>(src->bytes->size());
  int64_t base = 0;
  switch (whence) {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = static_cast<int64_t>(*src->pos); break;
    case SEEK_END: base = size; break;
    default: return -1;
  }
  if (offset < -base || offset > size - base) return -1;
  *src->pos = static_cast<size_t>(base + offset);
  return 0;
}

long source_tell(void* user) {
  return static_cast<long>(*static_cast<MemorySource*>(user)->pos);
}

}  // namespace

// vorbisfile keeps the datasource pointer, so it lives beside the file.
struct COggMemoryDecoder::State {
  OggVorbis_File file;
  MemorySource src;
};

COggMemoryDecoder::COggMemoryDecoder() = default;

COggMemoryDecoder::~COggMemoryDecoder() { Close(); }

void COggMemoryDecoder::Close() {
  if (state_) {
    ov_clear(&state_->file);
    state_.reset();
  }
  broken_ = false;
  format_ = PcmFormat();
  total_frames_ = 0;
}

bool COggMemoryDecoder::Open(OggBytes bytes) {
  Close();
  if (!bytes || !ogg_pages_intact(bytes->data(), bytes->size())) return false;
  source_.bytes = std::move(bytes);
  source_.pos = 0;

  auto state = std::make_unique<State>();
  state->src = MemorySource{source_.bytes.get(), &source_.pos};
  const ov_callbacks callbacks = {source_read, source_seek, nullptr, source_tell};
  // On failure vorbisfile has already released what it took.
  if (ov_open_callbacks(&state->src, &state->file, nullptr, 0, callbacks) != 0) return false;
  state_ = std::move(state);

  const vorbis_info* first = ov_info(&state_->file, 0);
  const long links = ov_streams(&state_->file);
  bool ok = first && links >= 1 && first->channels >= kMinChannels && first->channels <= kMaxChannels &&
            first->rate >= kMinRate && first->rate <= kMaxRate;
  for (long i = 1; ok && i < links; ++i) {
    const vorbis_info* link = ov_info(&state_->file, static_cast<int>(i));
    ok = link && link->channels == first->channels && link->rate == first->rate;
  }
  const ogg_int64_t total = ok ? ov_pcm_total(&state_->file, -1) : -1;
  if (!ok || total < 0) {
    Close();
    return false;
  }
  format_.channels = first->channels;
  format_.rate = static_cast<int>(first->rate);
  total_frames_ = total;
  // Decode the first samples now, so a setup header whose codebooks cannot be built
  // fails here. Then back to the start: after measuring several links vorbisfile is
  // left past the first one (seen with 1.3.7: decoding began at the second of two).
  uint8_t probe[4096];
  if (Read(probe, sizeof probe) < 0 || !Rewind()) {
    Close();
    return false;
  }
  return true;
}

long COggMemoryDecoder::Read(uint8_t* out, long max_bytes) {
  if (!state_ || broken_) return -1;
  const int align = format_.BlockAlign();
  // ov_read takes an int length; a megabyte per call is far more than one packet.
  const long want = std::min<long>(max_bytes, 1 << 20) / align * align;
  if (want <= 0) return 0;
  int link = 0;
  // A hole is a gap in the granule positions that decoding skips over; the page
  // check already refused lost pages. Anything else negative is bad packet data.
  for (int holes = 0; holes < kMaxHoles; ++holes) {
    const long got = ov_read(&state_->file, reinterpret_cast<char*>(out), static_cast<int>(want), 0, 2, 1, &link);
    if (got >= 0) return got;
    if (got != OV_HOLE) break;
  }
  broken_ = true;
  return -1;
}

bool COggMemoryDecoder::Rewind() {
  if (!state_ || broken_) return false;
  if (ov_pcm_seek(&state_->file, 0) != 0) broken_ = true;
  return !broken_;
}

bool COggMemoryDecoder::ReadAll(std::vector<uint8_t>& pcm, size_t max_bytes) {
  pcm.clear();
  if (!state_) return false;
  uint8_t chunk[16384];
  for (;;) {
    const long got = Read(chunk, sizeof chunk);
    if (got < 0) return false;
    if (got == 0) return true;
    if (pcm.size() + static_cast<size_t>(got) > max_bytes) return false;
    pcm.insert(pcm.end(), chunk, chunk + got);
  }
}

}  // namespace torv
