// printf-style formatting into a heap text with no length limit: the buffer starts
// at 128 bytes and doubles until the whole text fits.
#pragma once

#include <cstdarg>
#include <string>

namespace torv {

std::string format_text(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string format_text_v(const char* format, va_list args);

}  // namespace torv
