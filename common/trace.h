// The libraries' diagnostic points. They pass printf-style messages here; release
// builds discard them (the system writes no log).
#pragma once

inline void torv_trace(const char* /*format*/, ...) {}
