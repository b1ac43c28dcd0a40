// Percent to hundredths of a decibel: 20·log10 of the amplitude ratio, times 100.
#include "sound/sound_volume.h"

#include <cmath>

namespace torv {

int32_t percent_to_hundredths_db(int percent) {
  if (percent <= 0) return kSilentHundredthsDb;
  if (percent >= 100) return 0;
  const double hundredths = 2000.0 * std::log10(percent / 100.0);
  const long rounded = std::lround(hundredths);
  return rounded < kSilentHundredthsDb ? kSilentHundredthsDb : static_cast<int32_t>(rounded);
}

}  // namespace torv
