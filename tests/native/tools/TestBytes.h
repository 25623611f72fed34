// Little helpers the tool tests use to read binary files and RLE8 streams.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// 16-bit little-endian value at offset (0 if out of range).
inline uint32_t Read16(const std::vector<uint8_t>& bytes, size_t offset) {
    if (offset + 2 > bytes.size()) return 0;
    return bytes[offset] | (bytes[offset + 1] << 8);
}

// 32-bit little-endian value at offset (0 if out of range).
inline uint32_t Read32(const std::vector<uint8_t>& bytes, size_t offset) {
    return Read16(bytes, offset) | (Read16(bytes, offset + 2) << 16);
}

// Four characters at offset as a string (empty if out of range).
inline std::string ReadFourCC(const std::vector<uint8_t>& bytes, size_t offset) {
    if (offset + 4 > bytes.size()) return "";
    return std::string(bytes.begin() + offset, bytes.begin() + offset + 4);
}

// Decodes a BI_RLE8 stream of a bottom-up DIB into top-down pixels. Stricter than Windows:
// every row must be filled exactly, deltas are refused, absolute blocks must be padded with a
// zero, and the stream must end with end-of-bitmap right after the last row.
inline bool DecodeRle8(const std::vector<uint8_t>& stream, int width, int height,
                       std::vector<uint8_t>& pixels) {
    pixels.assign(static_cast<size_t>(width) * height, 0);
    int x = 0, row = 0; // row 0 is the bottom row
    size_t i = 0;
    while (i + 2 <= stream.size()) {
        int count = stream[i], value = stream[i + 1];
        i += 2;
        size_t lineStart = static_cast<size_t>(height - 1 - row) * width;
        if (count > 0) {
            if (x + count > width) return false;
            for (int k = 0; k < count; ++k) pixels[lineStart + x++] = static_cast<uint8_t>(value);
        } else if (value == 0) { // end of line
            if (x != width || row + 1 >= height) return false;
            x = 0;
            ++row;
        } else if (value == 1) { // end of bitmap
            return x == width && row == height - 1 && i == stream.size();
        } else if (value == 2) { // delta
            return false;
        } else { // absolute block
            if (x + value > width || i + value > stream.size()) return false;
            for (int k = 0; k < value; ++k) pixels[lineStart + x++] = stream[i++];
            if (value % 2 != 0) {
                if (i >= stream.size() || stream[i] != 0) return false;
                ++i;
            }
        }
    }
    return false;
}
