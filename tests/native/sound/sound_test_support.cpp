#include "sound_test_support.h"

#include <ogg/ogg.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace sound_test {

std::string fixture_path(const std::string& name) { return std::string(TORV_OGG_FIXTURES) + "/" + name; }

torv::OggBytes read_fixture(const std::string& name) {
  std::ifstream in(fixture_path(name), std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.empty()) std::fprintf(stderr, "missing fixture %s\n", name.c_str());
  return bytes_of(std::move(bytes));
}

torv::OggBytes bytes_of(std::vector<uint8_t> v) {
  return std::make_shared<const std::vector<uint8_t>>(std::move(v));
}

std::vector<int16_t> channel_samples(const std::vector<uint8_t>& pcm, int channels, int channel) {
  std::vector<int16_t> out;
  const size_t frame = static_cast<size_t>(channels) * 2;
  for (size_t at = static_cast<size_t>(channel) * 2; at + 1 < pcm.size(); at += frame) {
    out.push_back(static_cast<int16_t>(pcm[at] | pcm[at + 1] << 8));
  }
  return out;
}

int count_crossings(const std::vector<int16_t>& samples) {
  constexpr int kHysteresis = 1000;  // the sines are at half scale (~16000)
  int state = 0;
  int crossings = 0;
  for (int16_t s : samples) {
    const int now = s > kHysteresis ? 1 : s < -kHysteresis ? -1 : 0;
    if (now != 0 && state != 0 && now != state) ++crossings;
    if (now != 0) state = now;
  }
  return crossings;
}

namespace {

// Walks the pages of a whole Ogg file; f(header, header_len, body, body_len) may
// change the bytes in place, after which the page's checksum is set again.
template <class F>
std::vector<uint8_t> rewrite_pages(const std::vector<uint8_t>& ogg, F f) {
  std::vector<uint8_t> out;
  ogg_sync_state sync;
  ogg_sync_init(&sync);
  char* buffer = ogg_sync_buffer(&sync, static_cast<long>(ogg.size()));
  std::memcpy(buffer, ogg.data(), ogg.size());
  ogg_sync_wrote(&sync, static_cast<long>(ogg.size()));
  ogg_page page;
  while (ogg_sync_pageout(&sync, &page) == 1) {
    std::vector<unsigned char> header(page.header, page.header + page.header_len);
    std::vector<unsigned char> body(page.body, page.body + page.body_len);
    f(header, body);
    ogg_page copy = page;
    copy.header = header.data();
    copy.body = body.data();
    ogg_page_checksum_set(&copy);
    out.insert(out.end(), header.begin(), header.end());
    out.insert(out.end(), body.begin(), body.end());
  }
  ogg_sync_clear(&sync);
  return out;
}

// Vorbis packs its fields from the least significant bit of each byte on.
struct BitCursor {
  std::vector<unsigned char>& bytes;
  size_t bit;
  uint32_t Read(int n) {
    uint32_t v = 0;
    for (int i = 0; i < n; ++i, ++bit) v |= static_cast<uint32_t>(bytes[bit / 8] >> (bit % 8) & 1) << i;
    return v;
  }
  void Zero(int n) {
    for (int i = 0; i < n; ++i, ++bit) bytes[bit / 8] &= static_cast<unsigned char>(~(1u << (bit % 8)));
  }
};

}  // namespace

std::vector<uint8_t> with_serial(const std::vector<uint8_t>& ogg, uint32_t serial) {
  return rewrite_pages(ogg, [serial](std::vector<unsigned char>& header, std::vector<unsigned char>&) {
    for (int i = 0; i < 4; ++i) header[14 + i] = static_cast<unsigned char>(serial >> (8 * i));
  });
}

std::vector<uint8_t> with_claimed_frames(const std::vector<uint8_t>& ogg, int64_t frames) {
  constexpr unsigned char kLastPage = 4;  // header type flag: end of stream
  return rewrite_pages(ogg, [frames](std::vector<unsigned char>& header, std::vector<unsigned char>&) {
    if ((header[5] & kLastPage) == 0) return;
    for (int i = 0; i < 8; ++i) header[6 + i] = static_cast<unsigned char>(static_cast<uint64_t>(frames) >> (8 * i));
  });
}

std::vector<uint8_t> with_broken_first_codebook(const std::vector<uint8_t>& ogg) {
  bool done = false;
  auto out = rewrite_pages(ogg, [&done](std::vector<unsigned char>&, std::vector<unsigned char>& body) {
    static const unsigned char kSetup[] = {5, 'v', 'o', 'r', 'b', 'i', 's'};
    auto at = std::search(body.begin(), body.end(), std::begin(kSetup), std::end(kSetup));
    if (done || at == body.end()) return;
    BitCursor bits{body, static_cast<size_t>(at - body.begin() + sizeof kSetup) * 8};
    bits.Read(8);  // book count - 1
    const bool sync = bits.Read(24) == 0x564342;
    bits.Read(16);  // dimensions
    const uint32_t entries = bits.Read(24);
    const bool ordered = bits.Read(1) != 0;
    const bool sparse = bits.Read(1) != 0;
    if (!sync || ordered || sparse || entries < 3 || (bits.bit + 5 * entries + 7) / 8 > body.size()) return;
    bits.Zero(static_cast<int>(5 * entries));  // each length stored less one: all codes 1 bit
    done = true;
  });
  return done ? out : std::vector<uint8_t>();
}

std::vector<uint8_t> make_plain_ogg_stream() {
  ogg_stream_state os;
  ogg_stream_init(&os, 1234);
  std::vector<uint8_t> out;
  const char* texts[] = {"first packet, not a Vorbis header", "second", "last"};
  for (int i = 0; i < 3; ++i) {
    ogg_packet p = {};
    p.packet = reinterpret_cast<unsigned char*>(const_cast<char*>(texts[i]));
    p.bytes = static_cast<long>(std::strlen(texts[i]));
    p.b_o_s = i == 0;
    p.e_o_s = i == 2;
    p.granulepos = i;
    p.packetno = i;
    ogg_stream_packetin(&os, &p);
    ogg_page page;
    while (ogg_stream_flush(&os, &page)) {
      out.insert(out.end(), page.header, page.header + page.header_len);
      out.insert(out.end(), page.body, page.body + page.body_len);
    }
  }
  ogg_stream_clear(&os);
  return out;
}

bool FakeVoice::Write(uint32_t offset, const uint8_t* data, uint32_t len) {
  if (static_cast<size_t>(offset) + len > memory.size()) {
    write_past_end = true;
    return false;
  }
  std::memcpy(memory.data() + offset, data, len);
  return true;
}

std::vector<uint8_t> FakeVoice::Advance(uint32_t bytes) {
  std::vector<uint8_t> heard;
  for (uint32_t i = 0; i < bytes && playing; ++i) {
    heard.push_back(memory[cursor]);
    if (++cursor == memory.size()) {
      cursor = 0;
      if (!loop) playing = false;
    }
  }
  return heard;
}

std::unique_ptr<torv::ISoundVoice> FakeDevice::CreateVoice(const torv::PcmFormat& format, uint32_t size) {
  if (refuse) return nullptr;
  auto voice = std::make_unique<FakeVoice>(size);
  voices.push_back(voice.get());
  formats.push_back(format);
  return voice;
}

}  // namespace sound_test
