// Where the game's 640 x 480 picture goes in a window: scaled by a whole number
// (nearest neighbour, so every game pixel becomes an even square) to the largest
// multiple that fits, centred, with black bars around it. Plain arithmetic, without
// SDL, so it is tested on its own.
#pragma once

namespace torv {

inline constexpr int kPictureWidth = 640;
inline constexpr int kPictureHeight = 480;

struct PictureRect {
  int x = 0, y = 0, w = 0, h = 0;
  bool operator==(const PictureRect& o) const { return x == o.x && y == o.y && w == o.w && h == o.h; }
};

// The largest whole scale whose picture fits width x height; at least 1 (a window
// smaller than the picture shows it at scale 1, cut at the edges).
int picture_scale(int width, int height);

// The picture's place in an output of width x height pixels (the window's drawable
// size, which may be larger than its size in screen units on a high-density screen).
PictureRect letterbox(int width, int height);

// The window size to start with: the largest multiple of the picture that fits the
// desktop's usable area with room for the window's frame (frame_w, frame_h: what
// the decorations take around the drawable area; 0 when unknown).
int initial_window_scale(int usable_w, int usable_h, int frame_w, int frame_h);

}  // namespace torv
