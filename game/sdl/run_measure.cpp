// Start-up and pacing figures.
#include "game/sdl/run_measure.h"

#include <algorithm>
#include <ctime>
#include <numeric>

namespace torv {

RunMeasure::~RunMeasure() {
  if (!out_) return;
  if (!late_ms_.empty()) {
    const double worst = *std::max_element(late_ms_.begin(), late_ms_.end());
    const double mean = std::accumulate(late_ms_.begin(), late_ms_.end(), 0.0) / static_cast<double>(late_ms_.size());
    const long over = std::count_if(late_ms_.begin(), late_ms_.end(), [](double ms) { return ms > 2.0; });
    std::fprintf(out_, "pacing frames=%zu late_max_ms=%.3f late_mean_ms=%.3f late_over_2ms=%ld\n", late_ms_.size(),
                 worst, mean, over);
  }
  std::fclose(out_);
}

bool RunMeasure::open(const std::string& path) {
  out_ = std::fopen(path.c_str(), "w");
  return out_ != nullptr;
}

void RunMeasure::picture_presented() {
  if (!out_ || first_seen_) return;
  first_seen_ = true;
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::fprintf(out_, "first_picture_realtime_ns %lld\n",
               static_cast<long long>(now.tv_sec) * 1000000000LL + static_cast<long long>(now.tv_nsec));
  std::fflush(out_);
}

void RunMeasure::frame_released(double late_ms) {
  if (!out_ || ++released_ <= kWarmUpFrames || late_ms_.size() >= static_cast<size_t>(kMeasuredFrames)) return;
  late_ms_.push_back(late_ms);
}

}  // namespace torv
