// The program icon's stopwatch, drawn for any size from one geometric description.
#pragma once

#include <cstdint>
#include <vector>

// The stopwatch at size x size pixels: RGBA rows, top-down, straight (not premultiplied)
// alpha, anti-aliased; outlines, hands and the crown snapped to whole pixels at small sizes.
std::vector<uint8_t> DrawStopwatch(int size);
