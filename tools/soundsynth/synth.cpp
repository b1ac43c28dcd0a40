// Oscillators, envelopes and mixing of the synthesiser.
#include "tools/soundsynth/synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace soundsynth {

namespace {

constexpr double kPi = 3.14159265358979323846;
// An echo is rendered until its repeats fall below this share of the source.
constexpr double kEchoFloor = 0.01;

double note_hz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

// PolyBLEP step correction: removes most of the aliasing of hard edges.
double poly_blep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

double pitch_offset(const Instrument& ins, double t) {
  if (ins.pitch.empty()) return 0.0;
  if (t <= ins.pitch.front().first) return ins.pitch.front().second;
  for (size_t i = 1; i < ins.pitch.size(); ++i)
    if (t < ins.pitch[i].first) {
      const auto& [t0, s0] = ins.pitch[i - 1];
      const auto& [t1, s1] = ins.pitch[i];
      return s0 + (s1 - s0) * (t - t0) / (t1 - t0);
    }
  return ins.pitch.back().second;
}

// Level of the envelope at t seconds after the key went down, held for hold seconds.
double envelope(const Instrument& ins, double t, double hold) {
  auto held_level = [&](double u) {
    if (u < ins.attack) return u / ins.attack;
    u -= ins.attack;
    if (u < ins.decay) return 1.0 - (1.0 - ins.sustain) * (u / ins.decay);
    return ins.sustain;
  };
  if (t < hold) return held_level(t);
  const double from = held_level(hold);
  if (ins.release <= 0.0) return 0.0;
  const double u = (t - hold) / ins.release;
  return u >= 1.0 ? 0.0 : from * (1.0 - u);
}

// One note into a mono track buffer. With wrap, positions run modulo the buffer.
void render_note(const Instrument& ins, const NoteEvent& ev, double seconds_per_beat, int rate, bool wrap,
                 std::vector<float>& out, uint32_t& noise_state) {
  const double hold = ev.length * seconds_per_beat;
  const double total = hold + ins.release;
  const int64_t start = static_cast<int64_t>(std::llround(ev.start * seconds_per_beat * rate));
  const int64_t count = static_cast<int64_t>(std::ceil(total * rate));
  if (!wrap && static_cast<int64_t>(out.size()) < start + count) out.resize(static_cast<size_t>(start + count), 0.0f);
  const int64_t size = static_cast<int64_t>(out.size());
  const double lp = ins.lowpass > 0 ? 1.0 - std::exp(-2.0 * kPi * ins.lowpass / rate) : 1.0;
  double phase = 0.0, filtered = 0.0, noise_value = 0.0, noise_phase = 1.0;
  for (int64_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / rate;
    double semis = ev.note + pitch_offset(ins, t);
    if (ins.vibrato_depth > 0 && t > ins.vibrato_delay)
      semis += ins.vibrato_depth * std::sin(2 * kPi * ins.vibrato_rate * (t - ins.vibrato_delay));
    const double hz = note_hz(semis);
    const double dt = std::min(hz / rate, 0.5);
    double v = 0.0;
    switch (ins.wave) {
      case Wave::kSquare:
        v = phase < ins.duty ? 1.0 : -1.0;
        v += poly_blep(phase, dt);
        v -= poly_blep(std::fmod(phase + 1.0 - ins.duty, 1.0), dt);
        break;
      case Wave::kTriangle:
        v = phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
        break;
      case Wave::kSaw:
        v = 2.0 * phase - 1.0 - poly_blep(phase, dt);
        break;
      case Wave::kSine:
        v = std::sin(2 * kPi * phase);
        break;
      case Wave::kNoise:
        // Sample-and-hold noise whose hold rate follows the note: low notes rumble,
        // high ones hiss.
        noise_phase += hz * 32.0 / rate;
        if (noise_phase >= 1.0) {
          noise_phase -= std::floor(noise_phase);
          noise_state ^= noise_state << 13;
          noise_state ^= noise_state >> 17;
          noise_state ^= noise_state << 5;
          noise_value = static_cast<double>(noise_state) / 2147483648.0 - 1.0;
        }
        v = noise_value;
        break;
    }
    phase += dt;
    if (phase >= 1.0) phase -= 1.0;
    filtered += lp * (v - filtered);
    const double sample = filtered * envelope(ins, t, hold) * ins.volume * ev.velocity;
    int64_t pos = start + i;
    if (wrap) pos %= size;
    if (pos < size) out[static_cast<size_t>(pos)] += static_cast<float>(sample);
  }
}

// Feedback delay: y[n] = x[n] + feedback * y[n - delay]. On a loop the delay line
// wraps, so the recursion runs round the buffer until the repeats have died.
void apply_echo(std::vector<float>& buf, size_t delay, double feedback, bool wrap) {
  if (delay == 0 || feedback <= 0) return;
  if (!wrap) {
    size_t extra = 0;
    for (double level = feedback; level > kEchoFloor; level *= feedback) extra += delay;
    buf.resize(buf.size() + extra, 0.0f);
    for (size_t n = delay; n < buf.size(); ++n) buf[n] += static_cast<float>(feedback * buf[n - delay]);
    return;
  }
  const size_t size = buf.size();
  if (size == 0) return;
  const std::vector<float> dry = buf;
  std::vector<float> wet(size, 0.0f);
  // Each pass adds one more generation of repeats that crossed the loop point.
  int passes = 1;
  for (double level = feedback; level > kEchoFloor; level *= feedback) ++passes;
  const int rounds = static_cast<int>(std::min<size_t>(64, (delay * static_cast<size_t>(passes)) / size + 2));
  for (int r = 0; r < rounds; ++r)
    for (size_t n = 0; n < size; ++n) wet[n] = static_cast<float>(dry[n] + feedback * wet[(n + size - delay % size) % size]);
  buf = wet;
}

}  // namespace

Rendered render(const Sound& sound) {
  Rendered out;
  out.rate = sound.rate;
  out.channels = sound.channels;
  const double spb = 60.0 / sound.tempo;
  const bool wrap = sound.loop;
  size_t loop_frames = 0;
  if (wrap) loop_frames = static_cast<size_t>(std::llround(sound.tracks[0].length * spb * sound.rate));
  std::vector<std::vector<float>> tracks;
  size_t frames = loop_frames;
  uint32_t noise_state = 0x1234567u;  // one stream for the whole sound: reproducible
  for (const Track& track : sound.tracks) {
    std::vector<float> buf(wrap ? loop_frames : 0, 0.0f);
    if (wrap && loop_frames == 0) continue;
    for (const NoteEvent& ev : track.events)
      render_note(sound.instruments[ev.instrument], ev, spb, sound.rate, wrap, buf, noise_state);
    apply_echo(buf, static_cast<size_t>(std::llround(track.echo_beats * spb * sound.rate)), track.echo_feedback, wrap);
    frames = std::max(frames, buf.size());
    tracks.push_back(std::move(buf));
  }
  out.samples.assign(frames * sound.channels, 0.0f);
  for (size_t t = 0; t < tracks.size(); ++t) {
    const Track& track = sound.tracks[t];
    // Constant-power pan.
    const double angle = (track.pan + 1.0) * kPi / 4.0;
    const double gains[2] = {sound.channels == 2 ? std::cos(angle) * std::sqrt(2.0) : 1.0,
                             sound.channels == 2 ? std::sin(angle) * std::sqrt(2.0) : 1.0};
    for (size_t n = 0; n < tracks[t].size(); ++n)
      for (int c = 0; c < sound.channels; ++c)
        out.samples[n * sound.channels + c] += static_cast<float>(tracks[t][n] * track.volume * gains[c] * sound.gain);
  }
  for (float s : out.samples) out.peak = std::max(out.peak, static_cast<double>(std::abs(s)));
  return out;
}

}  // namespace soundsynth
