// Run-length compression of 8-bit palette images (BI_RLE8).
#pragma once

#include <cstdint>
#include <vector>

// Compresses width*height palette indices, given top-down and row by row, into a BI_RLE8 stream
// for a bottom-up DIB (positive biHeight). Returns an empty vector when the sizes do not fit.
std::vector<uint8_t> EncodeRle8(const std::vector<uint8_t>& pixels, int width, int height);
