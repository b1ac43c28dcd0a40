// Sound scores: the text that the sound synthesiser turns into Ogg Vorbis files.
//
// A score file holds shared statements, then one or more "sound" blocks:
//
//     instrument NAME key=value...      a voice: wave=square|triangle|saw|sine|noise,
//                                       duty, attack, decay, sustain, release (seconds,
//                                       sustain a level 0..1), volume, vibrato=RATE,DEPTH
//                                       (Hz, semitones), vibrato_delay, lowpass (Hz),
//                                       pitch=T:S,T:S... (a pitch envelope: semitones
//                                       at seconds from the note's start)
//     define NAME [MML...]              a phrase that tracks insert with $NAME
//     sound NAME.ogg                    starts a sound; settings that follow:
//     tempo BPM | meter BEATS | rate HZ | channels 1|2 | gain G | quality Q | loop
//     track NAME [pan=P] [volume=V] [echo=BEATS,FEEDBACK]
//
// Shared statements and settings before the first "sound" apply to every sound.
// Indented lines continue the statement above them (an instrument's settings, the
// MML of a define or a track).
//
// MML: notes c d e f g a b with + or # (sharp) or - (flat), a length (1 whole, 4
// quarter, 8, 16, 3/6/12 triplets ...) and dots; r rest; ^LEN ties more length;
// o N octave, > up, < down; l LEN default length (at first 4, a quarter); v N
// velocity 0..15 (at first 15); q N gate in eighths (at first 7); k N transpose in
// semitones; @NAME instrument; $NAME phrase; [ ... ]N
// repeat; | bar line (checked against the meter). Octave 4's a is 440 Hz.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace soundsynth {

enum class Wave { kSquare, kTriangle, kSaw, kSine, kNoise };

struct Instrument {
  Wave wave = Wave::kSquare;
  double duty = 0.5;
  double attack = 0.005, decay = 0.08, sustain = 0.7, release = 0.05;
  double volume = 0.5;
  double vibrato_rate = 0.0, vibrato_depth = 0.0, vibrato_delay = 0.0;
  double lowpass = 0.0;                             // Hz; 0 = off
  std::vector<std::pair<double, double>> pitch;     // (seconds, semitones), rising times
};

struct NoteEvent {
  double start = 0;   // beats
  double length = 0;  // beats the key is held (gate applied)
  int note = 69;      // semitone number, 69 = 440 Hz
  double velocity = 1.0;
  int instrument = 0;
};

struct Track {
  std::string name;
  double pan = 0.0, volume = 1.0;
  double echo_beats = 0.0, echo_feedback = 0.0;
  std::vector<NoteEvent> events;
  double length = 0;  // beats
};

struct Sound {
  std::string name;
  double tempo = 120.0;
  int meter = 4;
  int rate = 44100;
  int channels = 1;
  double gain = 1.0;
  double quality = 0.4;  // Vorbis VBR quality, -0.1 .. 1
  bool loop = false;
  std::vector<Instrument> instruments;
  std::vector<Track> tracks;
};

// Parses a score file. "" or "file:line:column: message".
std::string parse_score(const std::string& text, const std::string& file, std::vector<Sound>& out);

}  // namespace soundsynth
