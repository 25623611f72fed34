// PNG writer: signature, IHDR, one IDAT with the filtered rows as a zlib stream, IEND.
#include "Png.h"

#include "Deflate.h"

#include <cstdlib>

namespace {

// Appends a 32-bit big-endian value.
void PutBig32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(value >> shift));
}

// Appends a chunk: length, type, data and the CRC of type and data.
void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    PutBig32(out, uint32_t(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBig32(out, Crc32(&out[start], out.size() - start));
}

// The Paeth predictor of a byte from its left, upper and upper-left neighbours.
int Paeth(int left, int up, int upLeft) {
    const int p = left + up - upLeft;
    const int pa = std::abs(p - left), pb = std::abs(p - up), pc = std::abs(p - upLeft);
    if (pa <= pb && pa <= pc) return left;
    return pb <= pc ? up : upLeft;
}

// Row y filtered with `filter` (0 none, 1 sub, 2 up, 3 average, 4 Paeth), filter byte first.
std::vector<uint8_t> Filter(const std::vector<uint8_t>& rgba, size_t stride, int y, int filter) {
    const uint8_t* row = &rgba[size_t(y) * stride];
    const uint8_t* above = y > 0 ? row - stride : nullptr;
    std::vector<uint8_t> out(1, uint8_t(filter));
    for (size_t i = 0; i < stride; ++i) {
        const int left = i >= 4 ? row[i - 4] : 0, up = above ? above[i] : 0;
        const int upLeft = above && i >= 4 ? above[i - 4] : 0;
        const int predictions[5] = {0, left, up, (left + up) / 2, Paeth(left, up, upLeft)};
        out.push_back(uint8_t(row[i] - predictions[filter]));
    }
    return out;
}

} // namespace

std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& rgba) {
    const size_t stride = size_t(width) * 4;
    std::vector<uint8_t> rows;
    for (int y = 0; y < height; ++y) {
        // The filter whose bytes, read as signed, sum to the least: the usual choice.
        std::vector<uint8_t> best;
        long bestCost = 0;
        for (int filter = 0; filter < 5; ++filter) {
            std::vector<uint8_t> candidate = Filter(rgba, stride, y, filter);
            long cost = 0;
            for (size_t i = 1; i < candidate.size(); ++i) cost += std::abs(int8_t(candidate[i]));
            if (best.empty() || cost < bestCost) best.swap(candidate), bestCost = cost;
        }
        rows.insert(rows.end(), best.begin(), best.end());
    }

    std::vector<uint8_t> header;
    PutBig32(header, uint32_t(width));
    PutBig32(header, uint32_t(height));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, filters, no interlace
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", ZlibCompress(rows));
    PutChunk(out, "IEND", {});
    return out;
}
