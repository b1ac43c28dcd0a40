// Figures of one run for the benchmarks (torv --measure FILE): when the first
// picture was presented, on the system's real-time clock so that a script can
// measure from before the program started; and how late the frames began against
// the game's 60-a-second schedule, over the frames after the first second.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace torv {

class RunMeasure {
public:
  static constexpr int kWarmUpFrames = 60;
  static constexpr int kMeasuredFrames = 600;

  ~RunMeasure();
  // False when the file cannot be written.
  bool open(const std::string& path);
  bool active() const { return out_ != nullptr; }

  // Writes "first_picture_realtime_ns N" at the first call.
  void picture_presented();
  // One frame began late_ms after it was due (negative: early).
  void frame_released(double late_ms);

private:
  std::FILE* out_ = nullptr;
  bool first_seen_ = false;
  int released_ = 0;
  std::vector<double> late_ms_;
};

}  // namespace torv
