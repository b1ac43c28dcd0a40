// The streamed sound's ring, driven by hand: the fake voice plays what lies under
// its cursor, the test moves the cursor and calls Refill as the thread would, and
// what was "heard" is compared with the decoded piece.
#include <gtest/gtest.h>

#include "sound/sound_buffers.h"
#include "sound_test_support.h"

namespace {

using sound_test::FakeVoice;
using sound_test::read_fixture;

constexpr const char* kPiece = "tone440_m22_500ms.ogg";  // 11025 mono frames = 22050 bytes

std::vector<uint8_t> decode_whole(const char* file) {
  torv::COggMemoryDecoder d;
  EXPECT_TRUE(d.Open(read_fixture(file)));
  std::vector<uint8_t> pcm;
  EXPECT_TRUE(d.ReadAll(pcm, size_t{1} << 30));
  return pcm;
}

struct Stream {
  explicit Stream(const char* file, uint32_t ring, uint32_t chunk = 500) {
    auto decoder = std::make_unique<torv::COggMemoryDecoder>();
    EXPECT_TRUE(decoder->Open(read_fixture(file)));
    auto v = std::make_unique<FakeVoice>(ring);
    voice = v.get();
    buffer = std::make_unique<torv::CStreamSoundBuffer>(std::move(decoder), std::move(v), ring, chunk);
  }
  // Plays `total` bytes in steps of `step`, refilling after each step.
  std::vector<uint8_t> Listen(size_t total, uint32_t step, uint32_t chunk = 500) {
    std::vector<uint8_t> heard;
    while (heard.size() < total && voice->playing) {
      const auto got = voice->Advance(step);
      heard.insert(heard.end(), got.begin(), got.end());
      buffer->Refill(chunk);
    }
    return heard;
  }
  FakeVoice* voice;
  std::unique_ptr<torv::CStreamSoundBuffer> buffer;
};

std::vector<uint8_t> repeat(const std::vector<uint8_t>& piece, size_t bytes) {
  std::vector<uint8_t> out;
  while (out.size() < bytes) out.insert(out.end(), piece.begin(), piece.end());
  out.resize(bytes);
  return out;
}

TEST(StreamRing, LoopingPlaysThePieceOverAndOverWithoutAGapAtTheSeam) {
  const auto piece = decode_whole(kPiece);
  ASSERT_EQ(piece.size(), 22050u);
  struct Case {
    uint32_t ring;
    uint32_t step;   // cursor movement between two refills
    uint32_t chunk;  // bytes decoded per step
  };
  const Case cases[] = {
      {4410, 1000, 500},    // a 0.1 s ring, the game's settings
      {4410, 4408, 500},    // the cursor goes almost once round between two refills
      {1002, 333, 64},      // a ring shorter than one decoder packet
      {44100, 12345, 4096}, // a ring longer than the piece: it holds two seams at once
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "ring " << c.ring << " step " << c.step << " chunk " << c.chunk);
    Stream s(kPiece, c.ring, c.chunk);
    s.buffer->Play(true);
    EXPECT_TRUE(s.voice->loop) << "a ring always wraps";
    const auto heard = s.Listen(piece.size() * 3 + 1000, c.step, c.chunk);
    ASSERT_GE(heard.size(), piece.size() * 3 + 1000);
    EXPECT_TRUE(heard == repeat(piece, heard.size())) << "the loop is not sample-exact";
    EXPECT_GE(s.buffer->Seams(), 3u);
    EXPECT_TRUE(s.buffer->IsPlaying());
    EXPECT_FALSE(s.voice->write_past_end);
  }
}

TEST(StreamRing, PlayingOnceEndsWithSilenceAndStopsTheVoice) {
  const auto piece = decode_whole(kPiece);
  Stream s(kPiece, 4410);
  s.buffer->Play(false);
  const auto heard = s.Listen(piece.size() * 2, 1000);
  ASSERT_FALSE(s.buffer->IsPlaying()) << "still playing after twice the piece's length";
  EXPECT_FALSE(s.voice->playing);
  ASSERT_GE(heard.size(), piece.size());
  EXPECT_TRUE(std::equal(piece.begin(), piece.end(), heard.begin()));
  for (size_t i = piece.size(); i < heard.size(); ++i) ASSERT_EQ(heard[i], 0) << "after the end at " << i;
  // It stopped within one refill step past the end, not a whole ring later.
  EXPECT_LE(heard.size(), piece.size() + 1000);
  EXPECT_EQ(s.buffer->Seams(), 0u);
}

TEST(StreamRing, PlayAgainStartsFromTheBeginning) {
  const auto piece = decode_whole(kPiece);
  Stream s(kPiece, 4410);
  s.buffer->Play(true);
  s.Listen(15000, 1000);
  s.buffer->Stop();
  EXPECT_FALSE(s.voice->playing);
  EXPECT_FALSE(s.buffer->IsPlaying());
  s.buffer->Refill(500);  // a stopped sound is left alone
  EXPECT_FALSE(s.voice->playing);

  s.buffer->Play(true);
  EXPECT_EQ(s.voice->cursor, 0u);
  const auto heard = s.Listen(8000, 1000);
  EXPECT_TRUE(std::equal(heard.begin(), heard.end(), piece.begin()));
  EXPECT_EQ(s.buffer->Played(), heard.size()) << "played counts what the cursor passed";
}

TEST(StreamRing, ALostBufferIsWrittenAgainFromTheCursor) {
  const auto piece = decode_whole(kPiece);
  Stream s(kPiece, 4410);
  s.buffer->Play(true);
  s.Listen(8000, 1000);
  std::fill(s.voice->memory.begin(), s.voice->memory.end(), 0xEE);
  s.voice->lost = true;
  const uint64_t played = s.buffer->Played();
  const uint64_t decoded = s.buffer->Written();  // the decoder goes on from here
  s.buffer->Refill(500);
  EXPECT_EQ(s.voice->cursor, played % 4410);
  EXPECT_TRUE(s.voice->playing);
  const auto heard = s.voice->Advance(4410);
  const auto looped = repeat(piece, decoded + 4410);
  EXPECT_TRUE(std::equal(heard.begin(), heard.end(), looped.begin() + static_cast<long>(decoded)))
      << "the ring holds what follows the last decoded byte, none of the lost contents";
}

TEST(StreamRing, WithoutADeviceEverythingAnswersAndNothingIsDecoded) {
  auto decoder = std::make_unique<torv::COggMemoryDecoder>();
  ASSERT_TRUE(decoder->Open(read_fixture(kPiece)));
  torv::CStreamSoundBuffer b(std::move(decoder), nullptr, 4410, 500);
  b.Play(true);
  EXPECT_TRUE(b.IsPlaying());
  EXPECT_TRUE(b.IsLooping());
  b.Refill(500);
  EXPECT_EQ(b.Written(), 0u);
  b.Stop();
  EXPECT_FALSE(b.IsPlaying());
  TamSoundStatus st = {};
  b.Describe(st);
  EXPECT_EQ(st.pcm_held, 0);
  EXPECT_EQ(st.frames, 11025);
}

TEST(StreamRing, ALongPieceHoldsOnlyTheRingInDecodedForm) {
  // Twenty seconds of sound: the effect path would hold 1.7 MB of PCM.
  Stream s("tone660_m44_20000ms.ogg", 8820, 4096);
  s.buffer->Play(true);
  s.Listen(100000, 2000, 4096);
  TamSoundStatus st = {};
  s.buffer->Describe(st);
  EXPECT_EQ(st.frames, 882000);
  EXPECT_EQ(st.pcm_held, 8820 + 4096);
}

}  // namespace
