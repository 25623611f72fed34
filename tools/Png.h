// PNG files of RGBA pictures, for the icon's largest image.
#pragma once

#include <cstdint>
#include <vector>

// A PNG file of the picture: 8-bit RGBA rows, top-down, straight alpha; each row with the
// filter that suits it best.
std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& rgba);
