// Little-endian writing for the generated file formats.
#pragma once

#include <cstdint>
#include <vector>

// Appends a 16-bit little-endian value.
inline void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xff));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xff));
}

// Appends a 32-bit little-endian value.
inline void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xffff);
    Put16(out, value >> 16);
}
