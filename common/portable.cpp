#include "portable.h"

#include <chrono>
#include <cstdio>

namespace torv {

uint32_t tick_ms() {
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

int ascii_stricmp(const char* a, const char* b) {
  // _stricmp folds to lower case before comparing, so "_" sorts before "A".
  for (;; ++a, ++b) {
    int ca = static_cast<unsigned char>(*a);
    int cb = static_cast<unsigned char>(*b);
    if (ca >= 'A' && ca <= 'Z') ca += 'a' - 'A';
    if (cb >= 'A' && cb <= 'Z') cb += 'a' - 'A';
    if (ca != cb || ca == 0) return ca - cb;
  }
}

bool file_readable(const char* path) {
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  std::fclose(f);
  return true;
}

}  // namespace torv
