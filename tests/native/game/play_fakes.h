// A canvas that records the drawing calls, and a play host driven by an input
// script, for the play frame's drawing and the play mode's loops.
#pragma once

#include <functional>
#include <map>
#include <utility>
#include <string>
#include <vector>

#include "game/play_mode.h"
#include "game_fakes.h"

namespace torv::test {

struct DrawCall {
  enum Kind { kFont, kBegin, kEnd, kImage, kImageFast, kTextSimple, kText };
  DrawCall(Kind k) : kind(k) {}  // NOLINT: implicit, for brace-initialised calls
  Kind kind;
  int image = -1;
  int x = 0, y = 0, src_x = 0, src_y = 0, w = 0, h = 0;
  bool keyed = false;
  double alpha = 0;
  uint32_t colour = 0;
  bool cached = false;
  std::string text;  // text drawn, or the font face
  int font_height = 0;
};

class RecordingCanvas : public PlayCanvas {
public:
  explicit RecordingCanvas(FakeServices& sizes) : sizes_(sizes) {}

  void set_font(const char* face, int height) override {
    DrawCall c{DrawCall::kFont};
    c.text = face;
    c.font_height = height;
    font_height = height;
    calls.push_back(c);
  }
  void begin_draw() override { calls.push_back({DrawCall::kBegin}); }
  void end_draw() override {
    calls.push_back({DrawCall::kEnd});
    ++frames_drawn;
  }
  uint32_t rgb(uint8_t r, uint8_t g, uint8_t b) override { return 0xFF000000u | b << 16 | g << 8 | r; }
  void draw_image(int image, int x, int y, int w, int h, double alpha) override {
    DrawCall c{DrawCall::kImage};
    c.image = image, c.x = x, c.y = y, c.w = w, c.h = h, c.alpha = alpha;
    calls.push_back(c);
  }
  void draw_image_fast(int image, int x, int y, int src_x, int src_y, int w, int h, bool keyed) override {
    DrawCall c{DrawCall::kImageFast};
    c.image = image, c.x = x, c.y = y, c.src_x = src_x, c.src_y = src_y, c.w = w, c.h = h, c.keyed = keyed;
    calls.push_back(c);
  }
  void draw_text_simple(int x, int y, uint32_t colour, bool cached, const std::string& text) override {
    DrawCall c{DrawCall::kTextSimple};
    c.x = x, c.y = y, c.colour = colour, c.cached = cached, c.text = text, c.font_height = font_height;
    calls.push_back(c);
  }
  void draw_text(const TextArea& rect, int count, uint32_t colour, bool no_clip, bool centre, bool cached,
                 const std::string& text) override {
    DrawCall c{DrawCall::kText};
    c.x = rect.left, c.y = rect.top, c.w = rect.right, c.h = rect.bottom, c.colour = colour, c.cached = cached;
    c.text = text;
    c.keyed = no_clip && centre && count == -1;
    c.font_height = font_height;
    calls.push_back(c);
  }
  // A fixed-pitch font: half the height per byte.
  int text_width(const std::string& text) override { return static_cast<int>(text.size()) * font_height / 2; }
  int image_width(int image) override { return sizes_.image_width(image); }
  int image_height(int image) override { return sizes_.image_height(image); }

  std::vector<DrawCall> of_kind(DrawCall::Kind kind) const {
    std::vector<DrawCall> out;
    for (const DrawCall& c : calls) {
      if (c.kind == kind) out.push_back(c);
    }
    return out;
  }
  int texts_drawn(const std::string& text) const {
    int n = 0;
    for (const DrawCall& c : calls) n += (c.kind == DrawCall::kTextSimple || c.kind == DrawCall::kText) && c.text == text;
    return n;
  }

  std::vector<DrawCall> calls;
  int font_height = 0;
  int frames_drawn = 0;

private:
  FakeServices& sizes_;
};

// Events of the host in order, for the sequences' timing.
struct HostEvent {
  enum Kind { kFrame, kLoop, kStop, kMusic, kMusicStop, kSave };
  HostEvent(Kind k, int v = 0, std::string t = {}) : kind(k), value(v), text(std::move(t)) {}  // NOLINT
  Kind kind;
  int value;         // effect, slot
  std::string text;  // music member
};

// Frame n (counted from 1 by wait_frame) reads input(n); a stop is requested once
// more than max_frames frames have been waited for.
class ScriptHost : public PlayHost {
public:
  ScriptHost() : canvas_(services_) {}

  // SimServices, forwarded to the recording fake.
  void play_sound(Effect effect) override { services_.play_sound(effect); }
  int image_width(int index) override { return services_.image_width(index); }
  int image_height(int index) override { return services_.image_height(index); }
  void reload_background(const std::string& member) override { services_.reload_background(member); }
  uint32_t clock_ms() override { return services_.clock_ms(); }

  void wait_frame() override {
    ++frames;
    events.push_back({HostEvent::kFrame, frames});
  }
  int frame_counter() override { return frames % 61; }
  int measured_fps() override { return 60; }
  bool stop_requested() override { return frames > max_frames; }
  FrameInput read_input() override { return input ? input(frames) : FrameInput(); }
  PlayCanvas& canvas() override { return canvas_; }
  StageSource& stages() override { return stages_; }
  void loop_sound(Effect effect) override { events.push_back({HostEvent::kLoop, effect}); }
  void stop_sound(Effect effect) override { events.push_back({HostEvent::kStop, effect}); }
  void start_music(const std::string& member) override { events.push_back({HostEvent::kMusic, 0, member}); }
  void stop_music() override { events.push_back({HostEvent::kMusicStop}); }
  void save_progress(int slot, const GameProgress& progress) override {
    events.push_back({HostEvent::kSave, slot});
    saved[slot] = progress;
  }

  int count(HostEvent::Kind kind) const {
    int n = 0;
    for (const HostEvent& e : events) n += e.kind == kind;
    return n;
  }
  // Frames waited between the first events of two kinds.
  int frames_between(HostEvent::Kind from, HostEvent::Kind to) const {
    int n = 0;
    bool counting = false;
    for (const HostEvent& e : events) {
      if (!counting && e.kind == from) {
        counting = true;
      } else if (counting && e.kind == to) {
        return n;
      } else if (counting && e.kind == HostEvent::kFrame) {
        ++n;
      }
    }
    return -1;
  }

  FakeServices services_;
  RecordingCanvas canvas_;
  MemoryStages stages_;
  std::function<FrameInput(int frame)> input;
  int frames = 0;
  int max_frames = 5000;
  std::vector<HostEvent> events;
  std::map<int, GameProgress> saved;
};

}  // namespace torv::test
