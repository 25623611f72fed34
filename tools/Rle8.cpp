// BI_RLE8 encoder: encoded runs for repeats, absolute mode for literal stretches.
#include "Rle8.h"

#include <algorithm>
#include <cstddef>

namespace {

// Longest count an RLE8 run or absolute block can hold.
const int kMaxRun = 255;

// Shortest run that is worth breaking a literal stretch for.
const int kMinRun = 3;

// Number of equal pixels starting at row[x], at most kMaxRun.
int RunLength(const uint8_t* row, int x, int width) {
    int n = 1;
    while (x + n < width && n < kMaxRun && row[x + n] == row[x]) ++n;
    return n;
}

// Length of the literal stretch starting at row[x]: it ends where a run of kMinRun begins.
int LiteralLength(const uint8_t* row, int x, int width) {
    int end = x;
    while (end < width && end - x < kMaxRun) {
        int run = RunLength(row, end, width);
        if (run >= kMinRun) break;
        end = std::min(end + run, x + kMaxRun);
    }
    return end - x;
}

// Appends count literal pixels; short stretches become encoded runs, longer ones absolute mode.
void AppendLiteral(std::vector<uint8_t>& out, const uint8_t* pixels, int count) {
    if (count < kMinRun) {
        // Absolute mode needs at least 3 pixels (counts 0..2 are escapes).
        int i = 0;
        while (i < count) {
            int run = RunLength(pixels, i, count);
            out.push_back(static_cast<uint8_t>(run));
            out.push_back(pixels[i]);
            i += run;
        }
        return;
    }
    out.push_back(0);
    out.push_back(static_cast<uint8_t>(count));
    out.insert(out.end(), pixels, pixels + count);
    if (count % 2 != 0) out.push_back(0); // absolute blocks end on a word boundary
}

// Appends one row of pixels without its end-of-line marker.
void AppendRow(std::vector<uint8_t>& out, const uint8_t* row, int width) {
    int x = 0;
    while (x < width) {
        int run = RunLength(row, x, width);
        if (run >= kMinRun) {
            out.push_back(static_cast<uint8_t>(run));
            out.push_back(row[x]);
            x += run;
            continue;
        }
        int literal = LiteralLength(row, x, width);
        AppendLiteral(out, row + x, literal);
        x += literal;
    }
}

} // namespace

// Rows go out bottom-up, separated by end-of-line (00 00), closed by end-of-bitmap (00 01).
std::vector<uint8_t> EncodeRle8(const std::vector<uint8_t>& pixels, int width, int height) {
    std::vector<uint8_t> out;
    if (width <= 0 || height <= 0) return out;
    if (pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) return out;
    for (int y = height - 1; y >= 0; --y) {
        AppendRow(out, pixels.data() + static_cast<size_t>(y) * width, width);
        if (y > 0) {
            out.push_back(0);
            out.push_back(0);
        }
    }
    out.push_back(0);
    out.push_back(1);
    return out;
}
