// The program icon: a stopwatch whose dial marks a quarter hour span, at 32x32 and 16x16.
#pragma once

#include <cstdint>
#include <vector>

// Builds the .ico file: a 32x32 and a 16x16 image, 16 colours each, with transparency masks.
std::vector<uint8_t> MakeIcon();
