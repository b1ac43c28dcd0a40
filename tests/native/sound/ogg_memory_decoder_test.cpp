#include "sound/ogg_memory_decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "sound_test_support.h"

namespace {

using sound_test::channel_samples;
using sound_test::count_crossings;
using sound_test::read_fixture;

std::vector<uint8_t> decode_whole(const torv::OggBytes& bytes, torv::PcmFormat* format = nullptr) {
  torv::COggMemoryDecoder d;
  EXPECT_TRUE(d.Open(bytes));
  std::vector<uint8_t> pcm;
  EXPECT_TRUE(d.ReadAll(pcm, size_t{1} << 30));
  if (format) *format = d.Format();
  return pcm;
}

struct ToneCase {
  const char* file;
  int rate;
  int channels;
  int64_t frames;           // the length sox made: rate × seconds
  std::vector<int> hertz;   // per channel
};

// The sines come back as long as they went in, in the right channels, at the
// right pitch: a sine of f Hz over t seconds changes sign 2·f·t times.
TEST(OggMemoryDecoder, DecodesBuildTimeSinesToTheirLengthAndPitch) {
  const ToneCase cases[] = {
      {"tone440_m22_500ms.ogg", 22050, 1, 11025, {440}},
      {"tone1000-500_s44_1000ms.ogg", 44100, 2, 44100, {1000, 500}},
      {"tone300_m8_250ms.ogg", 8000, 1, 2000, {300}},
      {"tone220-330_s44_3000ms.ogg", 44100, 2, 132300, {220, 330}},
  };
  for (const ToneCase& c : cases) {
    SCOPED_TRACE(c.file);
    torv::COggMemoryDecoder d;
    ASSERT_TRUE(d.Open(read_fixture(c.file)));
    EXPECT_EQ(d.Format().rate, c.rate);
    EXPECT_EQ(d.Format().channels, c.channels);
    EXPECT_EQ(d.TotalFrames(), c.frames);
    std::vector<uint8_t> pcm;
    ASSERT_TRUE(d.ReadAll(pcm, size_t{1} << 30));
    EXPECT_EQ(static_cast<int64_t>(pcm.size()), c.frames * c.channels * 2);
    for (int ch = 0; ch < c.channels; ++ch) {
      const double seconds = static_cast<double>(c.frames) / c.rate;
      const int expected = static_cast<int>(2 * c.hertz[ch] * seconds + 0.5);
      const int got = count_crossings(channel_samples(pcm, c.channels, ch));
      EXPECT_LE(std::abs(got - expected), 2) << "channel " << ch << " crossings " << got << " want " << expected;
    }
  }
}

TEST(OggMemoryDecoder, SmallReadsAndReadsAfterRewindGiveTheSameSamples) {
  const auto bytes = read_fixture("tone1000-500_s44_1000ms.ogg");
  const std::vector<uint8_t> whole = decode_whole(bytes);
  torv::COggMemoryDecoder d;
  ASSERT_TRUE(d.Open(bytes));
  for (int pass = 0; pass < 2; ++pass) {
    SCOPED_TRACE(pass);
    std::vector<uint8_t> pieces;
    uint8_t chunk[501];  // not a multiple of the 4-byte frame: reads stop at whole frames
    for (;;) {
      const long got = d.Read(chunk, sizeof chunk);
      ASSERT_GE(got, 0);
      ASSERT_EQ(got % 4, 0);
      if (got == 0) break;
      pieces.insert(pieces.end(), chunk, chunk + got);
    }
    EXPECT_EQ(pieces, whole);
    ASSERT_TRUE(d.Rewind());
  }
}

TEST(OggMemoryDecoder, ReadAllRefusesMoreThanItsLimit) {
  torv::COggMemoryDecoder d;
  ASSERT_TRUE(d.Open(read_fixture("tone440_m22_500ms.ogg")));
  std::vector<uint8_t> pcm;
  EXPECT_FALSE(d.ReadAll(pcm, 11025 * 2 - 2));
  ASSERT_TRUE(d.Rewind());
  EXPECT_TRUE(d.ReadAll(pcm, 11025 * 2));
}

// A damaged last page can claim any length: the samples that really decode decide
// how much is held, and the claim never sizes the buffer.
TEST(OggMemoryDecoder, ReadAllGrowsWithTheDecodedSamplesNotTheClaimedLength) {
  // 132300 frames, 529200 bytes, on three pages of audio (the claim of a stream
  // whose audio is one page is measured from its own start and comes out true).
  const auto good = *read_fixture("tone220-330_s44_3000ms.ogg");
  for (int64_t claimed : {int64_t{1000000}, int64_t{1} << 40}) {
    SCOPED_TRACE(claimed);
    torv::COggMemoryDecoder d;
    ASSERT_TRUE(d.Open(sound_test::bytes_of(sound_test::with_claimed_frames(good, claimed))));
    EXPECT_EQ(d.TotalFrames(), claimed);
    std::vector<uint8_t> pcm;
    ASSERT_TRUE(d.ReadAll(pcm, size_t{4} << 20));
    // 132672 frames: without its true end the last block is no longer trimmed.
    EXPECT_EQ(pcm.size(), 530688u);
    EXPECT_LT(pcm.capacity(), size_t{1100000}) << "the claim of 4000000 bytes or more sized the buffer";
  }
}

std::vector<uint8_t> cut(const std::vector<uint8_t>& v, size_t n) { return {v.begin(), v.begin() + n}; }

TEST(OggMemoryDecoder, RefusesWhatIsNotWholeOggVorbis) {
  const auto good = *read_fixture("tone440_m22_500ms.ogg");
  ASSERT_GT(good.size(), 1000u);
  std::vector<uint8_t> flipped = good;
  flipped[good.size() / 2] ^= 0x40;  // page checksum no longer matches
  std::vector<uint8_t> trailing = good;
  trailing.push_back(0);  // a byte after the last page
  std::vector<uint8_t> leading = {'x'};
  leading.insert(leading.end(), good.begin(), good.end());
  const std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13};

  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"empty", {}},
      {"a PNG header", png},
      {"text", {'O', 'g', 'g', 'S', ' ', 'b', 'u', 't', ' ', 'n', 'o'}},
      {"cut after the first page", cut(good, 58)},
      {"cut in the middle", cut(good, good.size() / 2)},
      {"cut one byte short", cut(good, good.size() - 1)},
      {"a damaged byte", flipped},
      {"garbage after the end", trailing},
      {"garbage before the start", leading},
      {"an Ogg stream that is not Vorbis", sound_test::make_plain_ogg_stream()},
  };
  for (const Case& c : cases) {
    torv::COggMemoryDecoder d;
    EXPECT_FALSE(d.Open(sound_test::bytes_of(c.bytes))) << c.what;
    std::vector<uint8_t> pcm;
    EXPECT_FALSE(d.ReadAll(pcm, 1 << 20)) << c.what << ": a failed open leaves nothing to decode";
  }
  torv::COggMemoryDecoder d;
  EXPECT_FALSE(d.Open(nullptr));
}

TEST(OggMemoryDecoder, RefusesAStreamWhoseCodebooksCannotBeBuilt) {
  // Every page is intact and the headers parse; only building the decoder fails.
  // libvorbis, asked to start again after that, decodes with empty codebooks and
  // divides by zero: the decoder must fail at once and never ask twice.
  const auto broken = sound_test::with_broken_first_codebook(*read_fixture("tone220-330_s44_3000ms.ogg"));
  ASSERT_FALSE(broken.empty()) << "the fixture's first codebook is not stored as this test expects";
  ASSERT_TRUE(torv::ogg_pages_intact(broken.data(), broken.size()));
  torv::COggMemoryDecoder d;
  EXPECT_FALSE(d.Open(sound_test::bytes_of(broken)));
  EXPECT_FALSE(d.Rewind());
  uint8_t out[64];
  EXPECT_EQ(d.Read(out, sizeof out), -1);
}

TEST(OggPagesIntact, TellsWholeStreamsFromCutOnes) {
  const auto good = *read_fixture("tone300_m8_250ms.ogg");
  EXPECT_TRUE(torv::ogg_pages_intact(good.data(), good.size()));
  EXPECT_TRUE(torv::ogg_pages_intact(sound_test::make_plain_ogg_stream().data(),
                                     sound_test::make_plain_ogg_stream().size()));
  // Every cut of the file is refused: either a page is incomplete or the last page
  // (which carries the end flag) is missing.
  for (size_t n = 1; n < good.size(); n += 97) {
    EXPECT_FALSE(torv::ogg_pages_intact(good.data(), n)) << "cut at " << n;
  }
  EXPECT_FALSE(torv::ogg_pages_intact(nullptr, 10));
}

TEST(OggPagesIntact, RefusesALinkThatReusesASerialNumber) {
  // Links are told apart by their serial numbers; vorbisfile miscounts a chain whose
  // links share one (it decodes more than it reports).
  const auto a = *read_fixture("tone440_m22_500ms.ogg");
  std::vector<uint8_t> chained = a;
  chained.insert(chained.end(), a.begin(), a.end());
  EXPECT_FALSE(torv::ogg_pages_intact(chained.data(), chained.size()));
  torv::COggMemoryDecoder d;
  EXPECT_FALSE(d.Open(sound_test::bytes_of(chained)));
}

TEST(OggPagesIntact, AcceptsChainedStreamsAndRefusesAStreamWithoutItsFirstPage) {
  const auto a = *read_fixture("tone440_m22_500ms.ogg");
  std::vector<uint8_t> chained = a;
  const auto b = sound_test::make_plain_ogg_stream();
  chained.insert(chained.end(), b.begin(), b.end());
  EXPECT_TRUE(torv::ogg_pages_intact(chained.data(), chained.size()));

  // The plain stream's pages are whole but each one holds one packet; dropping the
  // first page leaves pages of a stream that never began.
  const size_t first_page = 27 + 1 + std::string("first packet, not a Vorbis header").size();
  EXPECT_FALSE(torv::ogg_pages_intact(b.data() + first_page, b.size() - first_page));
}

TEST(OggMemoryDecoder, AChainOfTwoPiecesInOneFormatPlaysBoth) {
  const auto a = *read_fixture("tone440_m22_500ms.ogg");
  std::vector<uint8_t> chained = sound_test::with_serial(a, 1);
  const auto b = sound_test::with_serial(a, 2);
  chained.insert(chained.end(), b.begin(), b.end());
  torv::COggMemoryDecoder d;
  ASSERT_TRUE(d.Open(sound_test::bytes_of(chained)));
  EXPECT_EQ(d.TotalFrames(), 2 * 11025);
  std::vector<uint8_t> pcm;
  ASSERT_TRUE(d.ReadAll(pcm, 1 << 20));
  EXPECT_EQ(pcm.size(), 2u * 11025 * 2);
}

TEST(OggMemoryDecoder, RefusesAChainWhoseLinksDifferInFormat) {
  std::vector<uint8_t> chained = *read_fixture("tone440_m22_500ms.ogg");
  const auto stereo = *read_fixture("tone1000-500_s44_1000ms.ogg");
  chained.insert(chained.end(), stereo.begin(), stereo.end());
  torv::COggMemoryDecoder d;
  EXPECT_FALSE(d.Open(sound_test::bytes_of(chained)));
}

}  // namespace
