// Volume as the game gives it (percent of full amplitude) in the unit DirectSound
// attenuates by (hundredths of a decibel).
#pragma once

#include <cstdint>

namespace torv {

constexpr int32_t kSilentHundredthsDb = -10000;  // DirectSound's quietest setting

// 100 → 0, 50 → -602, 10 → -2000, 1 → -4000, 0 → silent. Callers check 0..100.
int32_t percent_to_hundredths_db(int percent);

}  // namespace torv
