#include "format_text.h"

#include <cstdio>
#include <vector>

namespace torv {

std::string format_text_v(const char* format, va_list args) {
  if (!format) return std::string();
  std::vector<char> buffer(128);
  for (;;) {
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(buffer.data(), buffer.size(), format, copy);
    va_end(copy);
    // A negative answer (older C runtimes when the text does not fit) also means "grow".
    if (n >= 0 && static_cast<size_t>(n) < buffer.size()) return std::string(buffer.data(), static_cast<size_t>(n));
    if (buffer.size() > (1u << 30)) return std::string();  // a format that never fits: give up, empty
    buffer.resize(buffer.size() * 2);
  }
}

std::string format_text(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = format_text_v(format, args);
  va_end(args);
  return text;
}

}  // namespace torv
