// Parsing of score files and of the MML inside their tracks.
#include "tools/soundsynth/score.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "tools/contentkit/text_source.h"

namespace soundsynth {

namespace {

using contentkit::where;
using contentkit::Word;

// MML text with the file position of every character, so an error inside a phrase
// or a long track points at the exact place.
struct SourceChar {
  char c;
  int line, column;
};
using SourceText = std::vector<SourceChar>;

void append(SourceText& text, const std::string& s, int line, int first_column) {
  for (size_t i = 0; i < s.size(); ++i) text.push_back({s[i], line, first_column + static_cast<int>(i)});
  text.push_back({' ', line, first_column + static_cast<int>(s.size())});
}

struct Shared {
  std::map<std::string, int> instrument_index;
  std::vector<Instrument> instruments;
  std::map<std::string, SourceText> phrases;
};

constexpr int kMaxPhraseDepth = 16;
constexpr int kMaxRepeat = 256;

class MmlParser {
public:
  MmlParser(const std::string& file, const Shared& shared, const Sound& sound, Track& track)
      : file_(file), shared_(shared), sound_(sound), track_(track) {}

  std::string run(const SourceText& text) {
    if (std::string e = parse(text, 0); !e.empty()) return e;
    track_.length = time_;
    return "";
  }

private:
  struct Cursor {
    const SourceText& text;
    size_t pos = 0;
    bool done() const { return pos >= text.size(); }
    char peek() const { return done() ? '\0' : text[pos].c; }
  };

  std::string error_at(const Cursor& cur, size_t pos, const std::string& message) const {
    if (cur.text.empty()) return file_ + ": " + message;
    const SourceChar& sc = cur.text[std::min(pos, cur.text.size() - 1)];
    return where(file_, sc.line, sc.column) + message;
  }

  static void skip_space(Cursor& cur) {
    while (!cur.done() && (cur.peek() == ' ' || cur.peek() == '\t')) ++cur.pos;
  }

  // Optional unsigned number; -1 when absent.
  static int number(Cursor& cur) {
    skip_space(cur);
    if (!std::isdigit(static_cast<unsigned char>(cur.peek()))) return -1;
    int v = 0;
    while (std::isdigit(static_cast<unsigned char>(cur.peek())) && v < 100000) v = v * 10 + (cur.text[cur.pos++].c - '0');
    return v;
  }

  // A length (number and dots) in beats; fallback when no number is given.
  bool length(Cursor& cur, double fallback, double& beats) {
    const int n = number(cur);
    if (n == 0 || n > 192) return false;
    beats = n < 0 ? fallback : 4.0 / n;
    double add = beats / 2;
    while (cur.peek() == '.') {
      ++cur.pos;
      beats += add;
      add /= 2;
    }
    return true;
  }

  std::string name(Cursor& cur, std::string& out) {
    out.clear();
    while (std::isalnum(static_cast<unsigned char>(cur.peek())) || cur.peek() == '_') out += cur.text[cur.pos++].c;
    return out.empty() ? error_at(cur, cur.pos, "expected a name") : "";
  }

  std::string parse(const SourceText& text, int depth) {
    Cursor cur{text};
    // Open repeats: where each body starts.
    std::vector<size_t> repeat_starts;
    std::vector<int> repeat_done;
    while (!cur.done()) {
      const size_t at = cur.pos;
      const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(cur.text[cur.pos++].c)));
      if (c == ' ' || c == '\t') continue;
      if ((c >= 'a' && c <= 'g') || c == 'r') {
        int semitone = 0;
        if (c != 'r') {
          static const int kBase[7] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
          semitone = kBase[c - 'a'];
          while (cur.peek() == '+' || cur.peek() == '#' || cur.peek() == '-') semitone += cur.text[cur.pos++].c == '-' ? -1 : 1;
        }
        double beats = 0;
        if (!length(cur, default_length_, beats)) return error_at(cur, at, "bad note length");
        while (true) {  // ties
          skip_space(cur);
          if (cur.peek() != '^') break;
          const size_t tie = cur.pos++;
          double more = 0;
          if (!length(cur, default_length_, more)) return error_at(cur, tie, "bad tied length");
          beats += more;
        }
        if (c != 'r') {
          const int note = 12 * (octave_ + 1) + semitone + transpose_;
          if (note < 12 || note > 120) return error_at(cur, at, "note out of range");
          track_.events.push_back(NoteEvent{time_, beats * gate_ / 8.0, note, velocity_ / 15.0, instrument_});
        }
        time_ += beats;
      } else if (c == 'o') {
        const int n = number(cur);
        if (n < 0 || n > 8) return error_at(cur, at, "octave wants 0 to 8");
        octave_ = n;
      } else if (c == '>') {
        if (++octave_ > 8) return error_at(cur, at, "octave above 8");
      } else if (c == '<') {
        if (--octave_ < 0) return error_at(cur, at, "octave below 0");
      } else if (c == 'l') {
        double beats = 0;
        skip_space(cur);
        if (!std::isdigit(static_cast<unsigned char>(cur.peek())) || !length(cur, 1.0, beats))
          return error_at(cur, at, "l wants a length");
        default_length_ = beats;
      } else if (c == 'v') {
        const int n = number(cur);
        if (n < 0 || n > 15) return error_at(cur, at, "velocity wants 0 to 15");
        velocity_ = n;
      } else if (c == 'q') {
        const int n = number(cur);
        if (n < 1 || n > 8) return error_at(cur, at, "gate wants 1 to 8");
        gate_ = n;
      } else if (c == 'k') {
        skip_space(cur);
        const bool negative = cur.peek() == '-';
        if (negative || cur.peek() == '+') ++cur.pos;
        const int n = number(cur);
        if (n < 0 || n > 48) return error_at(cur, at, "transpose wants -48 to 48");
        transpose_ = negative ? -n : n;
      } else if (c == '@') {
        std::string n;
        if (std::string e = name(cur, n); !e.empty()) return e;
        auto it = shared_.instrument_index.find(n);
        if (it == shared_.instrument_index.end()) return error_at(cur, at, "unknown instrument \"" + n + "\"");
        instrument_ = it->second;
      } else if (c == '$') {
        std::string n;
        if (std::string e = name(cur, n); !e.empty()) return e;
        auto it = shared_.phrases.find(n);
        if (it == shared_.phrases.end()) return error_at(cur, at, "unknown phrase \"" + n + "\"");
        if (depth >= kMaxPhraseDepth) return error_at(cur, at, "phrases nest too deep (a phrase that uses itself?)");
        if (std::string e = parse(it->second, depth + 1); !e.empty()) return e;
      } else if (c == '[') {
        repeat_starts.push_back(cur.pos);
        repeat_done.push_back(0);
      } else if (c == ']') {
        if (repeat_starts.empty()) return error_at(cur, at, "']' without '['");
        const int n = number(cur);
        const int times = n < 0 ? 2 : n;
        if (times < 1 || times > kMaxRepeat) return error_at(cur, at, "repeat count wants 1 to 256");
        if (++repeat_done.back() < times) {
          cur.pos = repeat_starts.back();
        } else {
          repeat_starts.pop_back();
          repeat_done.pop_back();
        }
      } else if (c == '|') {
        const double bar = sound_.meter;
        const double rem = std::fmod(time_, bar);
        if (std::min(rem, bar - rem) > 1e-6)
          return error_at(cur, at, "bar line at beat " + std::to_string(time_) + ", not at a bar boundary (meter " +
                                       std::to_string(sound_.meter) + ")");
      } else {
        return error_at(cur, at, std::string("unexpected '") + cur.text[at].c + "'");
      }
    }
    if (!repeat_starts.empty()) return error_at(cur, repeat_starts.back() - 1, "'[' without ']'");
    return "";
  }

  const std::string& file_;
  const Shared& shared_;
  const Sound& sound_;
  Track& track_;
  double time_ = 0;
  double default_length_ = 1.0;
  int octave_ = 4, transpose_ = 0, gate_ = 7, instrument_ = 0;
  int velocity_ = 15;
};

// key=value words of a statement.
std::string parse_instrument(const std::vector<Word>& words, size_t first, const std::string& file, int line,
                             Instrument& ins) {
  for (size_t i = first; i < words.size(); ++i) {
    const std::string& w = words[i].text;
    const size_t eq = w.find('=');
    if (eq == std::string::npos) return where(file, line, words[i].column) + "expected key=value";
    const std::string key = w.substr(0, eq), value = w.substr(eq + 1);
    const std::string here = where(file, line, words[i].column + static_cast<int>(eq) + 1);
    double v = 0;
    if (key == "wave") {
      static const std::map<std::string, Wave> kWaves = {{"square", Wave::kSquare}, {"triangle", Wave::kTriangle},
                                                         {"saw", Wave::kSaw}, {"sine", Wave::kSine},
                                                         {"noise", Wave::kNoise}};
      auto it = kWaves.find(value);
      if (it == kWaves.end()) return here + "wave is square, triangle, saw, sine or noise";
      ins.wave = it->second;
    } else if (key == "vibrato") {
      const size_t comma = value.find(',');
      if (comma == std::string::npos || !contentkit::parse_double(value.substr(0, comma), ins.vibrato_rate) ||
          !contentkit::parse_double(value.substr(comma + 1), ins.vibrato_depth))
        return here + "vibrato wants RATE,DEPTH";
    } else if (key == "pitch") {
      ins.pitch.clear();
      size_t pos = 0;
      while (pos <= value.size()) {
        const size_t comma = std::min(value.find(',', pos), value.size());
        const std::string point = value.substr(pos, comma - pos);
        const size_t colon = point.find(':');
        double t = 0, s = 0;
        if (colon == std::string::npos || !contentkit::parse_double(point.substr(0, colon), t) ||
            !contentkit::parse_double(point.substr(colon + 1), s) || t < 0 ||
            (!ins.pitch.empty() && t <= ins.pitch.back().first))
          return here + "pitch wants SECONDS:SEMITONES pairs with rising times";
        ins.pitch.emplace_back(t, s);
        pos = comma + 1;
      }
    } else {
      if (!contentkit::parse_double(value, v)) return here + key + " wants a number";
      if (key == "duty" && v > 0 && v < 1) ins.duty = v;
      else if (key == "attack" && v >= 0) ins.attack = v;
      else if (key == "decay" && v >= 0) ins.decay = v;
      else if (key == "sustain" && v >= 0 && v <= 1) ins.sustain = v;
      else if (key == "release" && v >= 0) ins.release = v;
      else if (key == "volume" && v >= 0 && v <= 1) ins.volume = v;
      else if (key == "vibrato_delay" && v >= 0) ins.vibrato_delay = v;
      else if (key == "lowpass" && v >= 0) ins.lowpass = v;
      else if (key == "duty" || key == "attack" || key == "decay" || key == "sustain" || key == "release" ||
               key == "volume" || key == "vibrato_delay" || key == "lowpass")
        return here + key + " is out of range";
      else
        return where(file, line, words[i].column) + "unknown instrument setting \"" + key + "\"";
    }
  }
  return "";
}

std::string parse_track_header(const std::vector<Word>& words, const std::string& file, int line, Track& t) {
  if (words.size() < 2) return where(file, line, 1) + "usage: track NAME [pan=P] [volume=V] [echo=BEATS,FEEDBACK]";
  t.name = words[1].text;
  for (size_t i = 2; i < words.size(); ++i) {
    const std::string& w = words[i].text;
    const size_t eq = w.find('=');
    const std::string key = eq == std::string::npos ? w : w.substr(0, eq), value = eq == std::string::npos ? "" : w.substr(eq + 1);
    const std::string here = where(file, line, words[i].column);
    if (key == "pan") {
      if (!contentkit::parse_double(value, t.pan) || t.pan < -1 || t.pan > 1) return here + "pan wants -1 to 1";
    } else if (key == "volume") {
      if (!contentkit::parse_double(value, t.volume) || t.volume < 0 || t.volume > 1) return here + "volume wants 0 to 1";
    } else if (key == "echo") {
      const size_t comma = value.find(',');
      if (comma == std::string::npos || !contentkit::parse_double(value.substr(0, comma), t.echo_beats) ||
          !contentkit::parse_double(value.substr(comma + 1), t.echo_feedback) || t.echo_beats <= 0 ||
          t.echo_feedback < 0 || t.echo_feedback >= 0.9)
        return here + "echo wants BEATS,FEEDBACK with beats above 0 and feedback below 0.9";
    } else {
      return here + "unknown track setting \"" + key + "\"";
    }
  }
  return "";
}

std::string parse_setting(const std::vector<Word>& words, const std::string& file, int line, Sound& s, bool& known) {
  known = true;
  const std::string& key = words[0].text;
  const std::string here = where(file, line, words.size() > 1 ? words[1].column : 1);
  if (key == "loop") {
    if (words.size() != 1) return here + "loop takes no value";
    s.loop = true;
    return "";
  }
  if (key != "tempo" && key != "meter" && key != "rate" && key != "channels" && key != "gain" && key != "quality") {
    known = false;
    return "";
  }
  double v = 0;
  if (words.size() != 2 || !contentkit::parse_double(words[1].text, v)) return here + key + " wants one number";
  if (key == "tempo") {
    if (v < 20 || v > 400) return here + "tempo wants 20 to 400";
    s.tempo = v;
  } else if (key == "meter") {
    if (v < 1 || v > 16 || v != std::floor(v)) return here + "meter wants 1 to 16 beats";
    s.meter = static_cast<int>(v);
  } else if (key == "rate") {
    if (v != 22050 && v != 32000 && v != 44100 && v != 48000) return here + "rate is 22050, 32000, 44100 or 48000";
    s.rate = static_cast<int>(v);
  } else if (key == "channels") {
    if (v != 1 && v != 2) return here + "channels is 1 or 2";
    s.channels = static_cast<int>(v);
  } else if (key == "gain") {
    if (v <= 0 || v > 4) return here + "gain wants above 0, at most 4";
    s.gain = v;
  } else {
    if (v < -0.1 || v > 1) return here + "quality wants -0.1 to 1";
    s.quality = v;
  }
  return "";
}

bool indented(const std::string& line) { return !line.empty() && (line[0] == ' ' || line[0] == '\t'); }

}  // namespace

std::string parse_score(const std::string& text, const std::string& file, std::vector<Sound>& out) {
  const std::vector<std::string> lines = contentkit::split_lines(text);
  Shared shared;
  Sound defaults;
  Sound* current = nullptr;
  std::vector<Sound> sounds;
  // Tracks are parsed once their sound is complete (settings such as the meter
  // may follow them); keep their text until then.
  struct PendingTrack {
    SourceText mml;
    int line;
  };
  std::vector<PendingTrack> pending;

  auto finish_sound = [&]() -> std::string {
    if (!current) return "";
    current->instruments = shared.instruments;
    for (size_t t = 0; t < current->tracks.size(); ++t) {
      MmlParser mml(file, shared, *current, current->tracks[t]);
      if (std::string e = mml.run(pending[t].mml); !e.empty()) return e;
    }
    if (current->tracks.empty()) return file + ": sound \"" + current->name + "\" has no track";
    if (current->loop)
      for (const Track& t : current->tracks)
        if (std::abs(t.length - current->tracks[0].length) > 1e-6)
          return where(file, pending[&t - current->tracks.data()].line, 0) + "looping sound: track \"" + t.name +
                 "\" lasts " + std::to_string(t.length) + " beats, track \"" + current->tracks[0].name + "\" " +
                 std::to_string(current->tracks[0].length);
    pending.clear();
    return "";
  };

  size_t i = 0;
  while (i < lines.size()) {
    const int line_no = static_cast<int>(i) + 1;
    const std::string& line = lines[i];
    ++i;
    const std::vector<Word> words = contentkit::split_words(line);
    if (words.empty() || words[0].text[0] == '#') continue;
    if (indented(line)) return where(file, line_no, words[0].column) + "indented line without a statement above it";
    // The indented continuation lines of this statement.
    std::vector<std::pair<std::string, int>> body;
    while (i < lines.size() && (indented(lines[i]) || contentkit::is_blank(lines[i]))) {
      if (!contentkit::is_blank(lines[i]) && lines[i].find_first_not_of(" \t") != std::string::npos &&
          lines[i][lines[i].find_first_not_of(" \t")] != '#')
        body.emplace_back(lines[i], static_cast<int>(i) + 1);
      ++i;
    }
    const std::string& op = words[0].text;
    if (op == "instrument") {
      if (words.size() < 2) return where(file, line_no, 1) + "usage: instrument NAME key=value...";
      if (shared.instrument_index.count(words[1].text))
        return where(file, line_no, words[1].column) + "instrument \"" + words[1].text + "\" is defined twice";
      Instrument ins;
      if (std::string e = parse_instrument(words, 2, file, line_no, ins); !e.empty()) return e;
      for (const auto& [text_line, n] : body)
        if (std::string e = parse_instrument(contentkit::split_words(text_line), 0, file, n, ins); !e.empty()) return e;
      shared.instrument_index[words[1].text] = static_cast<int>(shared.instruments.size());
      shared.instruments.push_back(ins);
    } else if (op == "define") {
      if (words.size() < 2) return where(file, line_no, 1) + "usage: define NAME [MML]";
      if (shared.phrases.count(words[1].text))
        return where(file, line_no, words[1].column) + "phrase \"" + words[1].text + "\" is defined twice";
      SourceText mml;
      const size_t rest = static_cast<size_t>(words[1].column - 1 + words[1].text.size());
      append(mml, line.substr(rest), line_no, static_cast<int>(rest) + 1);
      for (const auto& [text_line, n] : body) append(mml, text_line, n, 1);
      shared.phrases[words[1].text] = mml;
    } else if (op == "sound") {
      if (words.size() != 2) return where(file, line_no, 1) + "usage: sound NAME";
      if (std::string e = finish_sound(); !e.empty()) return e;
      for (const Sound& s : sounds)
        if (s.name == words[1].text) return where(file, line_no, words[1].column) + "sound \"" + s.name + "\" is defined twice";
      sounds.push_back(defaults);
      current = &sounds.back();
      current->name = words[1].text;
    } else if (op == "track") {
      if (!current) return where(file, line_no, 1) + "a track outside any sound";
      Track t;
      if (std::string e = parse_track_header(words, file, line_no, t); !e.empty()) return e;
      for (const Track& other : current->tracks)
        if (other.name == t.name) return where(file, line_no, words[1].column) + "track \"" + t.name + "\" is defined twice";
      PendingTrack p{{}, line_no};
      for (const auto& [text_line, n] : body) append(p.mml, text_line, n, 1);
      current->tracks.push_back(t);
      pending.push_back(std::move(p));
    } else {
      bool known = false;
      if (std::string e = parse_setting(words, file, line_no, current ? *current : defaults, known); !e.empty()) return e;
      if (!known) return where(file, line_no, 1) + "unknown statement \"" + op + "\"";
      if (!body.empty()) return where(file, body[0].second, 1) + "indented line after a setting";
    }
  }
  if (std::string e = finish_sound(); !e.empty()) return e;
  if (sounds.empty()) return file + ": no sound";
  if (shared.instruments.empty()) return file + ": no instrument";
  out = std::move(sounds);
  return "";
}

}  // namespace soundsynth
