// A zlib stream (deflate with dynamic Huffman codes) and its checksums, for the icon's PNG.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Adler-32 of the bytes, as the zlib stream ends with it.
uint32_t Adler32(const uint8_t* bytes, size_t count);

// CRC-32 (the polynomial of zlib and PNG) of the bytes, continuing from `crc`.
uint32_t Crc32(const uint8_t* bytes, size_t count, uint32_t crc = 0);

// Lengths of a complete Huffman code for the symbol counts (unused symbols get 0), none
// longer than maxBits: the counts are halved until the tree is flat enough.
std::vector<uint8_t> HuffmanLengths(std::vector<uint32_t> counts, int maxBits);

// The bytes as a zlib stream: header, one deflate block with dynamic Huffman codes of LZ77
// matches and literals, Adler-32. The same input always gives the same output.
std::vector<uint8_t> ZlibCompress(const std::vector<uint8_t>& data);
