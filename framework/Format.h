// printf-style formatting into a std::string; portable, no Windows headers.
#pragma once

#include <string>

#if defined(__GNUC__)
#define ORV_PRINTF_LIKE(f, a) __attribute__((format(printf, f, a)))
#else
#define ORV_PRINTF_LIKE(f, a)
#endif

// Formats like sprintf; the result is as long as it needs to be.
std::string Format(const char* format, ...) ORV_PRINTF_LIKE(1, 2);
