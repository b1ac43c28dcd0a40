// Shift-JIS to UTF-8 with iconv.
#include "game/host/text_encoding.h"

#include <cerrno>
#include <vector>

namespace torv {

iconv_t open_from_cp932(const char* to) {
  const iconv_t convert = iconv_open(to, "CP932");
  return convert != reinterpret_cast<iconv_t>(-1) ? convert : iconv_open(to, "SHIFT_JIS");
}

std::string utf8_from_shift_jis(const std::string& text) {
  iconv_t convert = open_from_cp932("UTF-8");
  if (convert == reinterpret_cast<iconv_t>(-1)) return text;
  std::string out;
  std::vector<char> input(text.begin(), text.end());
  char* in = input.data();
  size_t in_left = input.size();
  char buffer[256];
  while (in_left > 0) {
    char* dst = buffer;
    size_t out_left = sizeof buffer;
    const size_t result = iconv(convert, &in, &in_left, &dst, &out_left);
    out.append(buffer, static_cast<size_t>(dst - buffer));
    if (result == static_cast<size_t>(-1) && errno != E2BIG) {
      // An invalid or cut-off character: shown as "?", the rest goes on.
      out += '?';
      ++in;
      --in_left;
    }
  }
  iconv_close(convert);
  return out;
}

}  // namespace torv
