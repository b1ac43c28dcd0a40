// CTamSound with a recording device: handles, the archive and file paths, what
// re-creating does to a playing handle, settings, and the silent mode.
#include "sound/tam_sound.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <limits>
#include <thread>

#include "archive/tam_archive_create.h"
#include "sound/sound_volume.h"
#include "sound_test_support.h"

namespace {

using sound_test::FakeDevice;
using sound_test::read_fixture;
using torv::SoundKind;
using torv::SoundSource;

constexpr const char* kEffectFile = "tone440_m22_500ms.ogg";      // 22050 bytes of PCM
constexpr const char* kMusicFile = "tone220-330_s44_3000ms.ogg";  // stereo, 44.1 kHz
constexpr const char* kLongFile = "tone300_m8_61000ms.ogg";       // a second over an effect's limit

// An archive like the game's "dat.tfa": good members, and members that are not Ogg
// Vorbis, cut short or empty.
class SoundArchive : public testing::Test {
protected:
  static void SetUpTestSuite() {
    // ctest runs each test in a process of its own, several at once: one archive per process.
    path_ = new std::string(testing::TempDir() + "tam_sound_test_" + std::to_string(getpid()) + ".tfa");
    CTamArchiveCreate writer;
    auto add = [&writer](const std::vector<uint8_t>& bytes, const char* title) {
      ASSERT_EQ(writer.AddMemory(bytes.data(), static_cast<int>(bytes.size()), title), 0) << title;
    };
    const auto effect = *read_fixture(kEffectFile);
    const auto music = *read_fixture(kMusicFile);
    add(effect, "Break.ogg");
    add(music, "BGM1.ogg");
    add(*read_fixture("tone1000-500_s44_1000ms.ogg"), "BGM2.ogg");
    const std::string text = "this is not a sound";
    add(std::vector<uint8_t>(text.begin(), text.end()), "notogg.ogg");
    add(std::vector<uint8_t>(effect.begin(), effect.begin() + effect.size() / 2), "cut.ogg");
    add({}, "empty.ogg");
    // Lengths claimed by the last page against the 60-second limit of an effect;
    // the piece itself is 132300 frames at 44100 Hz (stereo).
    add(sound_test::with_claimed_frames(music, int64_t{1} << 40), "claims_hours.ogg");
    add(sound_test::with_claimed_frames(music, 60 * 44100), "claims_60s.ogg");
    add(sound_test::with_claimed_frames(music, 60 * 44100 + 1), "claims_60s_and_a_frame.ogg");
    const auto long_tone = *read_fixture(kLongFile);
    add(long_tone, "long.ogg");
    add(sound_test::with_claimed_frames(long_tone, 8000), "long_claims_1s.ogg");
    ASSERT_EQ(writer.SaveArchive(path_->c_str()), 0);
  }
  static void TearDownTestSuite() {
    std::remove(path_->c_str());
    delete path_;
  }

  void SetUp() override {
    auto device = std::make_unique<FakeDevice>();
    device_ = device.get();
    ASSERT_EQ(sound_.Init(std::move(device)), 0);
  }

  int Create(const char* name, SoundKind kind, int* handle) {
    return sound_.CreateSound(handle, SoundSource::Member(name, path_->c_str()), kind);
  }
  int ReCreate(int handle, const char* name, SoundKind kind) {
    return sound_.ReCreateSound(handle, SoundSource::Member(name, path_->c_str()), kind);
  }
  TamSoundStatus Status(int handle) {
    TamSoundStatus st = {};
    EXPECT_EQ(sound_.GetStatus(handle, &st), 0);
    return st;
  }
  sound_test::FakeVoice* LastVoice() { return device_->voices.back(); }

  static std::string* path_;
  torv::CTamSound sound_;
  FakeDevice* device_ = nullptr;  // owned by sound_
};

std::string* SoundArchive::path_ = nullptr;

TEST_F(SoundArchive, CreatesEffectsAndStreamsFromMembersAndNamesEachFailure) {
  struct Case {
    const char* name;
    int result;
  };
  const Case cases[] = {
      {"Break.ogg", TAMSOUND_OK},
      {"bREAK.OGG", TAMSOUND_OK},  // titles match without regard to ASCII case
      {"BGM1.ogg", TAMSOUND_OK},
      {"missing.ogg", TAMSOUND_E_NOT_FOUND},
      {"", TAMSOUND_E_NOT_FOUND},
      {"notogg.ogg", TAMSOUND_E_BAD_DATA},
      {"cut.ogg", TAMSOUND_E_BAD_DATA},
      {"empty.ogg", TAMSOUND_E_BAD_DATA},
  };
  for (SoundKind kind : {SoundKind::kEffect, SoundKind::kStream}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << c.name << " kind " << static_cast<int>(kind));
      int handle = -77;
      EXPECT_EQ(Create(c.name, kind, &handle), c.result);
      if (c.result == TAMSOUND_OK) {
        EXPECT_GT(handle, 0);
        EXPECT_EQ(Status(handle).kind, static_cast<int>(kind));
      } else {
        EXPECT_EQ(handle, -77) << "a failed create leaves *handle alone";
      }
    }
  }
  int handle = -77;
  const std::string no_archive = *path_ + ".missing";
  EXPECT_EQ(sound_.CreateSound(&handle, SoundSource::Member("Break.ogg", no_archive.c_str()), SoundKind::kEffect),
            TAMSOUND_E_NOT_FOUND);
  EXPECT_EQ(sound_.CreateSound(&handle, SoundSource::Member(nullptr, path_->c_str()), SoundKind::kEffect),
            TAMSOUND_E_ARGUMENT);
  EXPECT_EQ(sound_.CreateSound(&handle, SoundSource::Member("Break.ogg", nullptr), SoundKind::kEffect),
            TAMSOUND_E_ARGUMENT);
  EXPECT_EQ(sound_.CreateSound(nullptr, SoundSource::Member("Break.ogg", path_->c_str()), SoundKind::kEffect),
            TAMSOUND_E_ARGUMENT);
  EXPECT_EQ(handle, -77);
}

TEST_F(SoundArchive, LooseFilesLoadLikeMembers) {
  int handle = 0;
  const std::string file = sound_test::fixture_path(kEffectFile);
  EXPECT_EQ(sound_.CreateSound(&handle, SoundSource::File(file.c_str()), SoundKind::kEffect), 0);
  EXPECT_EQ(Status(handle).frames, 11025);
  const std::string missing = file + ".missing";
  EXPECT_EQ(sound_.CreateSound(&handle, SoundSource::File(missing.c_str()), SoundKind::kStream), TAMSOUND_E_NOT_FOUND);
  EXPECT_EQ(sound_.CreateSound(&handle, SoundSource::File(testing::TempDir().c_str()), SoundKind::kStream),
            TAMSOUND_E_NOT_FOUND)
      << "a directory is not a sound file";
  EXPECT_EQ(sound_.CreateSound(&handle, SoundSource::File(path_->c_str()), SoundKind::kStream), TAMSOUND_E_BAD_DATA)
      << "an archive read as a loose file is not Ogg";
  EXPECT_EQ(sound_.CreateSound(&handle, SoundSource::File(nullptr), SoundKind::kStream), TAMSOUND_E_ARGUMENT);
}

TEST_F(SoundArchive, AnEffectIsDecodedWholeIntoItsBuffer) {
  int handle = 0;
  ASSERT_EQ(Create("Break.ogg", SoundKind::kEffect, &handle), 0);
  torv::COggMemoryDecoder d;
  ASSERT_TRUE(d.Open(read_fixture(kEffectFile)));
  std::vector<uint8_t> pcm;
  ASSERT_TRUE(d.ReadAll(pcm, 1 << 20));
  EXPECT_TRUE(LastVoice()->memory == pcm);
  EXPECT_EQ(device_->formats.back(), d.Format());
  const TamSoundStatus st = Status(handle);
  EXPECT_EQ(st.device, 1);
  EXPECT_EQ(st.channels, 1);
  EXPECT_EQ(st.rate, 22050);
  EXPECT_EQ(st.pcm_held, 22050);
}

// An effect is decoded whole, so it may last 60 seconds at most, by the length its
// stream claims and by what really decodes. The buffer holds only what decoded. A
// streamed sound holds only its ring and plays whatever length it has.
TEST_F(SoundArchive, AnEffectLongerThanSixtySecondsIsRefusedWhateverItClaims) {
  struct Case {
    const char* name;
    int effect;
    int64_t pcm_held;  // of the effect made
  };
  const Case cases[] = {
      {"claims_hours.ogg", TAMSOUND_E_BAD_DATA, 0},
      {"claims_60s.ogg", TAMSOUND_OK, 530688},  // every frame that decodes (132672)
      {"claims_60s_and_a_frame.ogg", TAMSOUND_E_BAD_DATA, 0},
      {"long.ogg", TAMSOUND_E_BAD_DATA, 0},
      {"long_claims_1s.ogg", TAMSOUND_E_BAD_DATA, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int handle = -77;
    EXPECT_EQ(Create(c.name, SoundKind::kEffect, &handle), c.effect);
    if (c.effect == TAMSOUND_OK) {
      EXPECT_EQ(Status(handle).pcm_held, c.pcm_held);
      EXPECT_EQ(LastVoice()->memory.size(), static_cast<size_t>(c.pcm_held));
    } else {
      EXPECT_EQ(handle, -77);
    }
    EXPECT_EQ(Create(c.name, SoundKind::kStream, &handle), TAMSOUND_OK);
  }
}

TEST_F(SoundArchive, AStreamGetsARingOfTheConfiguredLength) {
  struct Case {
    float seconds;
    uint32_t bytes;  // 44.1 kHz stereo: 176400 bytes a second
  };
  const Case cases[] = {{0.1f, 17640}, {0.5f, 88200}, {0.05f, 8820}, {2.0f, 352800}};
  for (const Case& c : cases) {
    ASSERT_EQ(sound_.SetSoundBufferSec(c.seconds), 0);
    int handle = 0;
    ASSERT_EQ(Create("BGM1.ogg", SoundKind::kStream, &handle), 0);
    EXPECT_EQ(LastVoice()->memory.size(), c.bytes) << c.seconds;
  }
}

TEST_F(SoundArchive, PlayRestartsAnEffectFromItsBeginningEvenWhilePlaying) {
  int handle = 0;
  ASSERT_EQ(Create("Break.ogg", SoundKind::kEffect, &handle), 0);
  auto* voice = LastVoice();
  ASSERT_EQ(sound_.Play(handle), 0);
  EXPECT_TRUE(voice->playing);
  EXPECT_FALSE(voice->loop);
  voice->Advance(5000);
  ASSERT_EQ(sound_.Play(handle), 0);
  EXPECT_EQ(voice->cursor, 0u);
  EXPECT_TRUE(voice->playing);
  ASSERT_EQ(sound_.PlayLoop(handle), 0);
  EXPECT_TRUE(voice->loop);
  voice->Advance(30000);
  EXPECT_TRUE(voice->playing) << "a looped effect goes on past its end";
  ASSERT_EQ(sound_.Stop(handle), 0);
  EXPECT_FALSE(voice->playing);
  EXPECT_EQ(Status(handle).playing, 0);
}

TEST_F(SoundArchive, HandlesAreDistinctAndUnknownOnesAreRefused) {
  int a = 0, b = 0, c = 0;
  ASSERT_EQ(Create("Break.ogg", SoundKind::kEffect, &a), 0);
  ASSERT_EQ(Create("Break.ogg", SoundKind::kEffect, &b), 0);
  ASSERT_EQ(sound_.CreateOggVoidSoundBuffer(&c), 0);
  EXPECT_NE(a, b);
  EXPECT_NE(b, c);
  EXPECT_NE(a, c);
  for (int unknown : {0, -1, c + 1000, std::numeric_limits<int>::min()}) {
    SCOPED_TRACE(unknown);
    EXPECT_EQ(sound_.Play(unknown), TAMSOUND_E_ARGUMENT);
    EXPECT_EQ(sound_.PlayLoop(unknown), TAMSOUND_E_ARGUMENT);
    EXPECT_EQ(sound_.Stop(unknown), TAMSOUND_E_ARGUMENT);
    EXPECT_EQ(sound_.SetVolume(unknown, 50), TAMSOUND_E_ARGUMENT);
    EXPECT_EQ(ReCreate(unknown, "Break.ogg", SoundKind::kEffect), TAMSOUND_E_ARGUMENT);
    TamSoundStatus st;
    EXPECT_EQ(sound_.GetStatus(unknown, &st), TAMSOUND_E_ARGUMENT);
  }
  EXPECT_EQ(sound_.HandleCount(), 3u);

  ASSERT_EQ(sound_.ClearAllBuffer(), 0);
  EXPECT_EQ(sound_.HandleCount(), 0u);
  EXPECT_EQ(sound_.Play(a), TAMSOUND_E_ARGUMENT);
  int d = 0;
  ASSERT_EQ(Create("Break.ogg", SoundKind::kEffect, &d), 0);
  EXPECT_NE(d, a) << "a released handle is not handed out again";
  EXPECT_NE(d, b);
  EXPECT_NE(d, c);
}

TEST_F(SoundArchive, ReCreatingAPlayingStreamSwapsThePieceAndKeepsLoopingAndVolume) {
  ASSERT_EQ(sound_.SetSoundBufferSec(0.1f), 0);
  int music = 0;
  ASSERT_EQ(Create("BGM1.ogg", SoundKind::kStream, &music), 0);
  ASSERT_EQ(sound_.SetVolume(music, 50), 0);
  ASSERT_EQ(sound_.PlayLoop(music), 0);
  auto* old_voice = LastVoice();
  EXPECT_EQ(old_voice->attenuation, -602);
  old_voice->Advance(5000);
  sound_.Refill();
  const size_t voices_before = device_->voices.size();

  ASSERT_EQ(ReCreate(music, "BGM2.ogg", SoundKind::kStream), 0);
  ASSERT_EQ(device_->voices.size(), voices_before + 1);
  auto* voice = LastVoice();  // old_voice is gone with the old sound
  EXPECT_TRUE(voice->playing);
  EXPECT_TRUE(voice->loop);
  EXPECT_EQ(voice->cursor, 0u);
  EXPECT_EQ(voice->attenuation, -602);
  torv::COggMemoryDecoder d;
  ASSERT_TRUE(d.Open(read_fixture("tone1000-500_s44_1000ms.ogg")));
  std::vector<uint8_t> whole;
  ASSERT_TRUE(d.ReadAll(whole, 1 << 22));
  EXPECT_TRUE(std::equal(voice->memory.begin(), voice->memory.end(), whole.begin()))
      << "the ring starts with the new piece, nothing of the old one";
  const TamSoundStatus st = Status(music);
  EXPECT_EQ(st.playing, 1);
  EXPECT_EQ(st.looping, 1);
  EXPECT_EQ(st.volume, 50);
  EXPECT_EQ(st.frames, 44100);
}

TEST_F(SoundArchive, ReCreatingAStoppedHandleLeavesItStopped) {
  int music = 0;
  ASSERT_EQ(Create("BGM1.ogg", SoundKind::kStream, &music), 0);
  ASSERT_EQ(ReCreate(music, "BGM2.ogg", SoundKind::kStream), 0);
  EXPECT_FALSE(LastVoice()->playing);
  EXPECT_EQ(Status(music).playing, 0);
  // The kind follows the call: the same handle can become an effect.
  ASSERT_EQ(ReCreate(music, "Break.ogg", SoundKind::kEffect), 0);
  EXPECT_EQ(Status(music).kind, static_cast<int>(SoundKind::kEffect));
}

TEST_F(SoundArchive, AFailedReCreateLeavesAValidSilentHandle) {
  struct Case {
    const char* name;
    int result;
  };
  const Case cases[] = {{"missing.ogg", TAMSOUND_E_NOT_FOUND}, {"cut.ogg", TAMSOUND_E_BAD_DATA}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int music = 0;
    ASSERT_EQ(Create("BGM1.ogg", SoundKind::kStream, &music), 0);
    ASSERT_EQ(sound_.PlayLoop(music), 0);
    auto* voice = LastVoice();
    EXPECT_TRUE(voice->playing);
    EXPECT_EQ(ReCreate(music, c.name, SoundKind::kStream), c.result);
    const TamSoundStatus st = Status(music);
    EXPECT_EQ(st.kind, static_cast<int>(SoundKind::kVoid));
    EXPECT_EQ(st.playing, 0) << "the old piece does not go on";
    EXPECT_EQ(sound_.PlayLoop(music), 0);
    EXPECT_EQ(ReCreate(music, "BGM2.ogg", SoundKind::kStream), 0) << "the handle can be filled again";
    EXPECT_TRUE(LastVoice()->playing) << "the loop asked for on the void handle starts with the new piece";
  }
}

TEST_F(SoundArchive, AVoidHandleIsSilentUntilAReCreateFillsIt) {
  int handle = 0;
  ASSERT_EQ(sound_.CreateOggVoidSoundBuffer(&handle), 0);
  const size_t voices = device_->voices.size();
  EXPECT_EQ(sound_.Play(handle), 0);
  EXPECT_EQ(sound_.Stop(handle), 0);
  EXPECT_EQ(sound_.SetVolume(handle, 10), 0);
  EXPECT_EQ(device_->voices.size(), voices) << "no buffer for silence";
  EXPECT_EQ(Status(handle).kind, 0);
  ASSERT_EQ(ReCreate(handle, "Break.ogg", SoundKind::kEffect), 0);
  EXPECT_EQ(LastVoice()->attenuation, -2000) << "the volume set on the void handle stays";
  EXPECT_EQ(sound_.CreateOggVoidSoundBuffer(nullptr), TAMSOUND_E_ARGUMENT);
}

TEST_F(SoundArchive, ADeviceThatRefusesABufferFailsTheCreate) {
  device_->refuse = true;
  int handle = -5;
  EXPECT_EQ(Create("Break.ogg", SoundKind::kEffect, &handle), TAMSOUND_E_DEVICE);
  EXPECT_EQ(Create("BGM1.ogg", SoundKind::kStream, &handle), TAMSOUND_E_DEVICE);
  EXPECT_EQ(handle, -5);
}

TEST_F(SoundArchive, AfterTerminateEveryCallIsRefusedHarmlesslyAndInitStartsAgain) {
  int handle = 0;
  ASSERT_EQ(Create("BGM1.ogg", SoundKind::kStream, &handle), 0);
  ASSERT_EQ(sound_.PlayLoop(handle), 0);
  sound_.Terminate();
  EXPECT_FALSE(sound_.IsStarted());
  int other = -3;
  EXPECT_EQ(Create("Break.ogg", SoundKind::kEffect, &other), TAMSOUND_E_ARGUMENT);
  EXPECT_EQ(sound_.CreateOggVoidSoundBuffer(&other), TAMSOUND_E_ARGUMENT);
  EXPECT_EQ(ReCreate(handle, "Break.ogg", SoundKind::kEffect), TAMSOUND_E_ARGUMENT);
  EXPECT_EQ(sound_.Play(handle), TAMSOUND_E_ARGUMENT);
  EXPECT_EQ(sound_.Stop(handle), TAMSOUND_E_ARGUMENT);
  EXPECT_EQ(sound_.ClearAllBuffer(), 0);
  sound_.Refill();
  sound_.Terminate();
  EXPECT_EQ(other, -3);

  ASSERT_EQ(sound_.Init(nullptr), 0);
  EXPECT_EQ(Create("Break.ogg", SoundKind::kEffect, &other), 0);
}

TEST(TamSoundSilent, WithoutADeviceCallsSucceedAndDataIsStillChecked) {
  torv::CTamSound sound;
  ASSERT_EQ(sound.Init(nullptr), 0);
  EXPECT_FALSE(sound.HasDevice());
  const std::string effect = sound_test::fixture_path(kEffectFile);
  const std::string music = sound_test::fixture_path(kMusicFile);
  int fx = 0, bgm = 0;
  ASSERT_EQ(sound.CreateSound(&fx, SoundSource::File(effect.c_str()), SoundKind::kEffect), 0);
  ASSERT_EQ(sound.CreateSound(&bgm, SoundSource::File(music.c_str()), SoundKind::kStream), 0);
  EXPECT_EQ(sound.Play(fx), 0);
  EXPECT_EQ(sound.PlayLoop(bgm), 0);
  sound.Refill();
  EXPECT_EQ(sound.ReCreateSound(bgm, SoundSource::File(effect.c_str()), SoundKind::kStream), 0);
  EXPECT_EQ(sound.Stop(bgm), 0);
  EXPECT_EQ(sound.SetVolume(fx, 0), 0);
  TamSoundStatus st = {};
  ASSERT_EQ(sound.GetStatus(bgm, &st), 0);
  EXPECT_EQ(st.device, 0);
  EXPECT_EQ(st.frames, 11025) << "the re-created piece";

  const std::string text = testing::TempDir() + "tam_sound_not_ogg.ogg";
  std::FILE* f = std::fopen(text.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("not a sound", f);
  std::fclose(f);
  int bad = -9;
  EXPECT_EQ(sound.CreateSound(&bad, SoundSource::File(text.c_str()), SoundKind::kEffect), TAMSOUND_E_BAD_DATA);
  EXPECT_EQ(sound.CreateSound(&bad, SoundSource::File(text.c_str()), SoundKind::kStream), TAMSOUND_E_BAD_DATA);
  EXPECT_EQ(bad, -9);
  std::remove(text.c_str());
}

TEST(TamSoundSettings, AcceptOnlyTheirDocumentedRanges) {
  torv::CTamSound sound;
  struct IntCase {
    int value;
    int result;
  };
  for (const IntCase& c : std::vector<IntCase>{{500, 0}, {64, 0}, {1 << 20, 0}, {63, -1}, {0, -1}, {-500, -1},
                                               {(1 << 20) + 1, -1}}) {
    EXPECT_EQ(sound.SetReadBufferSize(c.value), c.result) << c.value;
  }
  struct FloatCase {
    float value;
    int result;
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  for (const FloatCase& c : std::vector<FloatCase>{{0.1f, 0}, {0.05f, 0}, {10.0f, 0}, {0.04f, -1}, {0.0f, -1},
                                                   {-1.0f, -1}, {10.5f, -1}, {nan, -1},
                                                   {std::numeric_limits<float>::infinity(), -1}}) {
    EXPECT_EQ(sound.SetSoundBufferSec(c.value), c.result) << c.value;
  }
  // The refill thread wakes often enough for the shortest ring and no more than needed.
  ASSERT_EQ(sound.SetSoundBufferSec(0.1f), 0);
  EXPECT_EQ(sound.RefillPeriodMs(), 20);
  ASSERT_EQ(sound.SetSoundBufferSec(0.05f), 0);
  EXPECT_EQ(sound.RefillPeriodMs(), 10);
  ASSERT_EQ(sound.SetSoundBufferSec(10.0f), 0);
  EXPECT_EQ(sound.RefillPeriodMs(), 50);
}

TEST(SoundVolume, PercentMapsToHundredthsOfADecibel) {
  struct Case {
    int percent;
    int32_t hundredths;
  };
  const Case cases[] = {{100, 0}, {50, -602}, {25, -1204}, {10, -2000}, {1, -4000}, {0, -10000},
                        {-5, -10000}, {250, 0}};
  for (const Case& c : cases) EXPECT_EQ(torv::percent_to_hundredths_db(c.percent), c.hundredths) << c.percent;
  // Never louder as the percentage falls.
  for (int p = 1; p <= 100; ++p) {
    EXPECT_LE(torv::percent_to_hundredths_db(p - 1), torv::percent_to_hundredths_db(p)) << p;
  }
}

TEST_F(SoundArchive, SetVolumeTakesZeroToOneHundred) {
  int handle = 0;
  ASSERT_EQ(Create("Break.ogg", SoundKind::kEffect, &handle), 0);
  for (int bad : {-1, 101, 1000}) EXPECT_EQ(sound_.SetVolume(handle, bad), TAMSOUND_E_ARGUMENT) << bad;
  EXPECT_EQ(Status(handle).volume, 100) << "a refused volume changes nothing";
  EXPECT_EQ(sound_.SetVolume(handle, 0), 0);
  EXPECT_EQ(LastVoice()->attenuation, -10000);
}

TEST_F(SoundArchive, RefillRunsBesideTheGameThreadsCalls) {
  // The refill thread and the game thread share the handle table; swapping and
  // releasing sounds while refills run must never touch a freed sound.
  int music = 0, fx = 0;
  ASSERT_EQ(sound_.SetSoundBufferSec(0.05f), 0);
  ASSERT_EQ(Create("BGM1.ogg", SoundKind::kStream, &music), 0);
  ASSERT_EQ(Create("Break.ogg", SoundKind::kEffect, &fx), 0);
  std::atomic<bool> stop{false};
  std::thread refill([&] {
    while (!stop) sound_.Refill();
  });
  const char* pieces[] = {"BGM1.ogg", "BGM2.ogg"};
  for (int i = 0; i < 60; ++i) {
    EXPECT_EQ(sound_.PlayLoop(music), 0);
    EXPECT_EQ(ReCreate(music, pieces[i % 2], SoundKind::kStream), 0);
    EXPECT_EQ(sound_.Play(fx), 0);
    if (i % 20 == 19) {
      EXPECT_EQ(sound_.ClearAllBuffer(), 0);
      ASSERT_EQ(Create("BGM1.ogg", SoundKind::kStream, &music), 0);
      ASSERT_EQ(Create("Break.ogg", SoundKind::kEffect, &fx), 0);
    }
  }
  stop = true;
  refill.join();
  EXPECT_EQ(sound_.HandleCount(), 2u);
}

}  // namespace
