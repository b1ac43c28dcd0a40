#include <gtest/gtest.h>
#include <unistd.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/soundsynth/audio_file.h"
#include "tools/soundsynth/score.h"
#include "tools/soundsynth/synth.h"

namespace {

const char kInstruments[] =
    "instrument sq wave=square volume=0.5 attack=0 decay=0 sustain=1 release=0\n"
    "instrument tri wave=triangle volume=0.25 attack=0 decay=0 sustain=1 release=0.5\n";

// Parses a one-track sound at 120 beats a minute; returns its events.
std::vector<soundsynth::NoteEvent> events_of(const std::string& mml, std::string* error = nullptr) {
  const std::string text = std::string(kInstruments) + "sound t.ogg\ntrack a\n  " + mml + "\n";
  std::vector<soundsynth::Sound> sounds;
  const std::string e = soundsynth::parse_score(text, "t.txt", sounds);
  if (error) *error = e;
  else EXPECT_EQ(e, "") << mml;
  return sounds.empty() ? std::vector<soundsynth::NoteEvent>{} : sounds[0].tracks[0].events;
}

TEST(ScoreMml, NotesLengthsAndOctavesBecomeEvents) {
  struct Case {
    const char* mml;
    int note;          // of the last event
    double start;      // beats
    double held;       // beats the key is down (gate 7/8 by default)
  } cases[] = {
      {"o4 a4", 69, 0, 0.875},
      {"o4 c", 60, 0, 0.875},            // the default length is a quarter
      {"o4 c+8 d-8", 61, 0.5, 0.4375},   // sharp and flat meet
      {"o5 l8 c c16", 72, 0.5, 0.21875},
      {"o4 c4. d", 62, 1.5, 0.875},
      {"o4 c4^8 e", 64, 1.5, 0.875},     // a tie lengthens the note
      {"o4 c2^8", 60, 0, 2.1875},
      {"o4 b > c", 72, 1, 0.875},
      {"o4 c < c", 48, 1, 0.875},
      {"o4 l2 c c", 60, 2, 1.75},
      {"o4 k2 c4", 62, 0, 0.875},
      {"o4 k-12 c4", 48, 0, 0.875},
      {"o4 q4 c4", 60, 0, 0.5},
      {"o4 r4 r8 c4", 60, 1.5, 0.875},
      {"o4 c12 c12 c12", 60, 2.0 / 3.0, 1.0 / 3.0 * 0.875},
  };
  for (const Case& c : cases) {
    const auto ev = events_of(c.mml);
    ASSERT_FALSE(ev.empty()) << c.mml;
    EXPECT_EQ(ev.back().note, c.note) << c.mml;
    EXPECT_NEAR(ev.back().start, c.start, 1e-9) << c.mml;
    EXPECT_NEAR(ev.back().length, c.held, 1e-9) << c.mml;
  }
}

TEST(ScoreMml, RepeatsPhrasesInstrumentsAndVelocity) {
  const std::string text = std::string(kInstruments) +
                           "define up o4 c8 d8\n"
                           "sound t.ogg\ntrack a\n  [ $up ]3 @tri v6 e4 | \n";
  std::vector<soundsynth::Sound> sounds;
  ASSERT_EQ(soundsynth::parse_score(text, "t.txt", sounds), "");
  const auto& ev = sounds[0].tracks[0].events;
  ASSERT_EQ(ev.size(), 7u);
  EXPECT_EQ(ev[4].note, 60);
  EXPECT_DOUBLE_EQ(ev[5].start, 2.5);
  EXPECT_EQ(ev[5].instrument, 0);
  EXPECT_EQ(ev[6].instrument, 1);
  EXPECT_DOUBLE_EQ(ev[6].velocity, 6.0 / 15.0);
  EXPECT_DOUBLE_EQ(sounds[0].tracks[0].length, 4.0);
}

TEST(ScoreMml, ErrorsPointAtTheCharacter) {
  struct Case {
    const char* mml;
    const char* expected;
  } cases[] = {
      {"c4 c8 |", "t.txt:5:9: bar line at beat 1.5"},
      {"@piano c", "t.txt:5:3: unknown instrument \"piano\""},
      {"$nope", "t.txt:5:3: unknown phrase \"nope\""},
      {"c4 ]", "t.txt:5:6: ']' without '['"},
      {"[c4", "t.txt:5:3: '[' without ']'"},
      {"c4 x", "t.txt:5:6: unexpected 'x'"},
      {"o9 c", "t.txt:5:3: octave wants 0 to 8"},
      {"o8 >", "t.txt:5:6: octave above 8"},
      {"c0", "t.txt:5:3: bad note length"},
      {"v16 c", "t.txt:5:3: velocity wants 0 to 15"},
      {"[c]0", "t.txt:5:5: repeat count wants 1 to 256"},
      {"l", "t.txt:5:3: l wants a length"},
  };
  for (const Case& c : cases) {
    std::string e;
    events_of(c.mml, &e);
    EXPECT_NE(e.find(c.expected), std::string::npos) << c.mml << " gave " << e;
  }
}

TEST(ScoreFile, StatementErrorsNameTheLine) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"instrument a wave=organ\nsound s\ntrack t\n  c\n", "t.txt:1:19: wave is square"},
      {"instrument a volume=2\nsound s\ntrack t\n  c\n", "t.txt:1:21: volume is out of range"},
      {"instrument a pitch=0:1,0:2\nsound s\ntrack t\n  c\n", "pitch wants SECONDS:SEMITONES pairs with rising times"},
      {"instrument a\nsound s\ntempo 5\ntrack t\n  c\n", "t.txt:3:7: tempo wants 20 to 400"},
      {"instrument a\ntrack t\n  c\n", "t.txt:2:1: a track outside any sound"},
      {"instrument a\nsound s\n", "sound \"s\" has no track"},
      {"instrument a\nsound s\nloop\ntrack x\n  c4\ntrack y\n  c2\n", "t.txt:6: looping sound: track \"y\" lasts 2"},
      {"instrument a\nsound s\nfrobnicate\n", "t.txt:3:1: unknown statement \"frobnicate\""},
      {"  c d e\n", "t.txt:1:3: indented line without a statement"},
  };
  for (const Case& c : cases) {
    std::vector<soundsynth::Sound> sounds;
    const std::string e = soundsynth::parse_score(c.text, "t.txt", sounds);
    EXPECT_NE(e.find(c.expected), std::string::npos) << c.text << " gave " << e;
  }
}

soundsynth::Sound parse_one(const std::string& body) {
  std::vector<soundsynth::Sound> sounds;
  EXPECT_EQ(soundsynth::parse_score(std::string(kInstruments) + body, "t.txt", sounds), "");
  return sounds.empty() ? soundsynth::Sound{} : sounds[0];
}

TEST(SynthRender, LoopIsExactlyTheScoreLengthAndItsTailWrapsToTheStart) {
  // Four beats at 120 a minute = two seconds; the triangle's half-second release
  // after the last note must ring on at the start of the loop.
  const soundsynth::Sound s = parse_one("sound t.ogg\nrate 22050\nloop\ntrack a\n  @tri o4 r4 r4 r4 a8 q8 a8\n");
  const soundsynth::Rendered r = soundsynth::render(s);
  ASSERT_EQ(r.frames(), 44100u);
  double head = 0, middle = 0;
  for (size_t i = 0; i < 2000; ++i) head = std::max(head, std::abs(static_cast<double>(r.samples[i])));
  for (size_t i = 12000; i < 20000; ++i) middle = std::max(middle, std::abs(static_cast<double>(r.samples[i])));
  EXPECT_GT(head, 0.05);
  EXPECT_EQ(middle, 0.0);
}

TEST(SynthRender, OneShotLastsUntilTheReleaseEndsAndReportsItsPeak) {
  const soundsynth::Sound s = parse_one("sound t.ogg\nrate 22050\ntrack a\n  @tri o4 a4\n");
  const soundsynth::Rendered r = soundsynth::render(s);
  // A quarter at 120 is half a second, held 7/8 of it, then 0.5 s of release.
  EXPECT_NEAR(static_cast<double>(r.frames()) / 22050, 0.4375 + 0.5, 0.001);
  EXPECT_NEAR(r.peak, 0.25, 0.01);
  EXPECT_LT(std::abs(r.samples.back()), 0.001f);
}

TEST(SynthRender, SquareWaveSitsAtItsFrequency) {
  const soundsynth::Sound s = parse_one("sound t.ogg\nrate 44100\ntrack a\n  @sq o4 a1\n");
  const soundsynth::Rendered r = soundsynth::render(s);
  // Count rising zero crossings over one second while the key is held (a whole
  // note at 120 a minute is held 1.75 s): 440 of them.
  ASSERT_GE(r.frames(), 66150u);
  int crossings = 0;
  for (size_t i = 22050; i < 66150; ++i)
    if (r.samples[i - 1] < 0 && r.samples[i] >= 0) ++crossings;
  EXPECT_NEAR(crossings, 440, 1);
}

TEST(SynthRender, PanSpreadsTracksAcrossChannels) {
  const soundsynth::Sound s = parse_one("sound t.ogg\nrate 22050\nchannels 2\ntrack a pan=-1\n  @sq o4 a4\n");
  const soundsynth::Rendered r = soundsynth::render(s);
  double left = 0, right = 0;
  for (size_t i = 0; i < r.frames(); ++i) {
    left = std::max(left, std::abs(static_cast<double>(r.samples[2 * i])));
    right = std::max(right, std::abs(static_cast<double>(r.samples[2 * i + 1])));
  }
  EXPECT_GT(left, 0.4);
  EXPECT_LT(right, 1e-6);
}

TEST(OggFile, EncodesWhatDecodesToTheSameLengthAndLevel) {
  const soundsynth::Sound s = parse_one("sound t.ogg\nrate 44100\ntrack a\n  @tri o4 a4 e4\n");
  const soundsynth::Rendered r = soundsynth::render(s);
  const std::string path =
      (std::filesystem::temp_directory_path() / ("synth_test_" + std::to_string(::getpid()) + ".ogg")).string();
  ASSERT_EQ(soundsynth::write_ogg(path, r, 0.4, 7), "");
  OggVorbis_File vf;
  ASSERT_EQ(ov_fopen(path.c_str(), &vf), 0);
  EXPECT_EQ(ov_info(&vf, -1)->rate, 44100);
  EXPECT_EQ(ov_info(&vf, -1)->channels, 1);
  EXPECT_EQ(ov_pcm_total(&vf, -1), static_cast<ogg_int64_t>(r.frames()));
  double peak = 0;
  long got = 0;
  float** pcm = nullptr;
  int section = 0;
  while ((got = ov_read_float(&vf, &pcm, 4096, &section)) > 0)
    for (long i = 0; i < got; ++i) peak = std::max(peak, std::abs(static_cast<double>(pcm[0][i])));
  ov_clear(&vf);
  std::remove(path.c_str());
  EXPECT_NEAR(peak, r.peak, 0.05);
}

}  // namespace
