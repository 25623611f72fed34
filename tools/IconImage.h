// The program icon: a stopwatch whose dial marks a quarter hour span, at every standard size.
#pragma once

#include <cstdint>
#include <vector>

// Builds the .ico file: the 32x32 and 16x16 16-colour images with transparency masks, then
// the drawn stopwatch in 32-bit colour with alpha at 16, 20, 24, 28, 32, 36, 40, 48, 56, 64,
// 72, 80, 96 and 256.
std::vector<uint8_t> MakeIcon();
