// The zlib stream and the PNG file: checksums against published values, and everything read
// back by an inflater of the test's own, which knows only the format, not the compressor.
#include "Deflate.h"
#include "Png.h"
#include "Stopwatch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

// Reads bits least significant first; reading past the end sets `overrun`.
struct BitReader {
    const std::vector<uint8_t>& in;
    size_t bit;
    bool overrun = false;
    int Get(int count) {
        int value = 0;
        for (int i = 0; i < count; ++i, ++bit) {
            if (bit / 8 >= in.size()) return overrun = true, 0;
            value |= ((in[bit / 8] >> (bit % 8)) & 1) << i;
        }
        return value;
    }
};

// A canonical Huffman code: codes per length and the symbols in code order.
struct Code {
    int perLength[16] = {};
    std::vector<int> symbols;
};

// The code for the lengths; false unless it is complete (as a Huffman tree's always is).
bool MakeCode(const std::vector<int>& lengths, Code& code) {
    for (int length : lengths) ++code.perLength[length];
    for (int length = 1; length < 16; ++length)
        for (size_t symbol = 0; symbol < lengths.size(); ++symbol)
            if (lengths[symbol] == length) code.symbols.push_back(int(symbol));
    int left = 1;
    for (int length = 1; length < 16; ++length) left = 2 * left - code.perLength[length];
    return left == 0;
}

// The next symbol, or -1.
int Decode(BitReader& bits, const Code& code) {
    for (int length = 1, value = 0, first = 0, index = 0; length < 16; ++length) {
        value |= bits.Get(1);
        const int count = code.perLength[length];
        if (value - first < count) return code.symbols[size_t(index + value - first)];
        index += count;
        first = (first + count) << 1;
        value <<= 1;
    }
    return -1;
}

// Inflates a zlib stream of dynamic Huffman blocks (all the compressor writes) and checks its
// header and Adler-32; false on anything malformed.
bool Inflate(const std::vector<uint8_t>& stream, std::vector<uint8_t>& out) {
    if (stream.size() < 6 || (stream[0] & 15) != 8 || (stream[0] << 8 | stream[1]) % 31)
        return false;
    static const int order[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    int lengthBase[29], lengthExtra[29], distanceBase[30], distanceExtra[30];
    for (int c = 0, base = 3; c < 29; base += 1 << lengthExtra[c++])
        lengthExtra[c] = c < 8 || c == 28 ? 0 : (c - 4) / 4, lengthBase[c] = c == 28 ? 258 : base;
    for (int c = 0, base = 1; c < 30; base += 1 << distanceExtra[c++])
        distanceExtra[c] = c < 4 ? 0 : (c - 2) / 2, distanceBase[c] = base;
    BitReader bits{stream, 16};
    for (bool last = false; !last;) {
        last = bits.Get(1);
        if (bits.Get(2) != 2) return false;
        const size_t literals = size_t(bits.Get(5)) + 257, distances = size_t(bits.Get(5)) + 1;
        const int stored = bits.Get(4) + 4;
        std::vector<int> lengths(19, 0), all;
        for (int i = 0; i < stored; ++i) lengths[size_t(order[i])] = bits.Get(3);
        Code lengthCode, literalCode, distanceCode;
        if (!MakeCode(lengths, lengthCode)) return false;
        while (all.size() < literals + distances && !bits.overrun) {
            const int symbol = Decode(bits, lengthCode);
            if (symbol < 0 || (symbol == 16 && all.empty())) return false;
            if (symbol < 16) all.push_back(symbol);
            const int previous = all.empty() ? 0 : all.back();
            if (symbol == 16) all.insert(all.end(), size_t(3 + bits.Get(2)), previous);
            if (symbol == 17) all.insert(all.end(), size_t(3 + bits.Get(3)), 0);
            if (symbol == 18) all.insert(all.end(), size_t(11 + bits.Get(7)), 0);
        }
        if (all.size() != literals + distances ||
            !MakeCode({all.begin(), all.begin() + long(literals)}, literalCode) ||
            !MakeCode({all.begin() + long(literals), all.end()}, distanceCode))
            return false;
        for (int symbol; (symbol = Decode(bits, literalCode)) != 256;) {
            if (symbol < 0 || symbol > 285 || bits.overrun) return false;
            if (symbol < 256) {
                out.push_back(uint8_t(symbol));
                continue;
            }
            const int l = symbol - 257, length = lengthBase[l] + bits.Get(lengthExtra[l]);
            const int d = Decode(bits, distanceCode);
            if (d < 0 || d > 29) return false;
            const size_t distance = size_t(distanceBase[d] + bits.Get(distanceExtra[d]));
            if (distance > out.size() || distance > 32768) return false;
            for (int k = 0; k < length; ++k) out.push_back(out[out.size() - distance]);
        }
    }
    size_t at = (bits.bit + 7) / 8;
    if (bits.overrun || at + 4 != stream.size()) return false;
    uint32_t adler = 0;
    for (; at < stream.size(); ++at) adler = adler << 8 | stream[at];
    return adler == Adler32(out.data(), out.size());
}

// Bytes from a fixed pseudo-random sequence, `range` values wide.
std::vector<uint8_t> Noise(size_t count, int range, uint32_t seed) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < count; ++i) {
        seed = seed * 1664525u + 1013904223u;
        bytes.push_back(uint8_t((seed >> 16) % uint32_t(range)));
    }
    return bytes;
}

TEST(Deflate, ChecksumsMatchPublishedValues) {
    const std::string digits = "123456789", word = "Wikipedia";
    const auto* d = reinterpret_cast<const uint8_t*>(digits.data());
    EXPECT_EQ(Crc32(d, 9), 0xCBF43926u);
    EXPECT_EQ(Crc32(d + 4, 5, Crc32(d, 4)), 0xCBF43926u); // continued over two pieces
    EXPECT_EQ(Adler32(reinterpret_cast<const uint8_t*>(word.data()), 9), 0x11E60398u);
}

TEST(Deflate, InflatesBackToTheInput) {
    std::vector<uint8_t> window = Noise(32768, 256, 1); // then its start again, 32768 back
    window.insert(window.end(), window.begin(), window.begin() + 1000);
    const std::string text = "Orvand: Differenz zweier Zeiten, Differenz zweier Zeitwerte. ";
    std::vector<uint8_t> repeated;
    for (int i = 0; i < 50; ++i) repeated.insert(repeated.end(), text.begin(), text.end());
    const std::vector<std::vector<uint8_t>> inputs = {{},
                                                      {42},
                                                      std::vector<uint8_t>(1000, 'a'),
                                                      repeated,
                                                      window,
                                                      Noise(40000, 256, 2),
                                                      Noise(40000, 3, 3),
                                                      DrawStopwatch(256)};
    for (size_t i = 0; i < inputs.size(); ++i) {
        const std::vector<uint8_t> stream = ZlibCompress(inputs[i]);
        std::vector<uint8_t> out;
        EXPECT_TRUE(Inflate(stream, out)) << "input " << i;
        EXPECT_EQ(out, inputs[i]) << "input " << i;
        EXPECT_EQ(stream, ZlibCompress(inputs[i])) << "input " << i; // always the same bytes
    }
    EXPECT_LT(ZlibCompress(inputs[2]).size(), 40u);
    EXPECT_LT(ZlibCompress(inputs[3]).size(), text.size() + 30);
    EXPECT_LT(ZlibCompress(inputs[4]).size(), 32768u + 200);
}

TEST(Deflate, HuffmanCodesStayWithinTheirLengthLimit) {
    // Counts that grow like the Fibonacci numbers make the deepest tree: 23 bits for 24.
    std::vector<uint32_t> counts(30, 0);
    for (uint32_t i = 0, a = 1, b = 1; i < 24; ++i, b = a + b, a = b - a) counts[i] = a;
    for (int limit : {7, 15}) {
        const std::vector<uint8_t> lengths = HuffmanLengths(counts, limit);
        double kraft = 0; // 1 for a complete code
        for (size_t i = 0; i < counts.size(); ++i) {
            EXPECT_EQ(lengths[i] == 0, counts[i] == 0) << i;
            EXPECT_LE(lengths[i], limit) << i;
            if (lengths[i]) kraft += std::ldexp(1.0, -lengths[i]);
        }
        EXPECT_EQ(kraft, 1.0) << limit;
    }
}

// The big-endian value at offset.
uint32_t Big32(const std::vector<uint8_t>& bytes, size_t at) {
    return uint32_t(bytes.at(at)) << 24 | bytes.at(at + 1) << 16 | bytes.at(at + 2) << 8 |
           bytes.at(at + 3);
}

TEST(Png, ChunksAndRowsReadBackToThePicture) {
    const int size = 48;
    const std::vector<uint8_t> rgba = DrawStopwatch(size);
    const std::vector<uint8_t> png = EncodePng(size, size, rgba);
    ASSERT_EQ(std::string(png.begin(), png.begin() + 8), "\x89PNG\r\n\x1A\n");
    std::string types;
    std::vector<uint8_t> header, stream;
    for (size_t at = 8; at + 12 <= png.size();) {
        const size_t length = Big32(png, at);
        ASSERT_LE(at + 12 + length, png.size());
        EXPECT_EQ(Big32(png, at + 8 + length), Crc32(&png[at + 4], length + 4)) << at;
        const std::string type(png.begin() + long(at) + 4, png.begin() + long(at) + 8);
        std::vector<uint8_t>& data = type == "IHDR" ? header : stream;
        data.insert(data.end(), png.begin() + long(at) + 8, png.begin() + long(at + 8 + length));
        types += type + " ";
        at += 12 + length;
    }
    EXPECT_EQ(types, "IHDR IDAT IEND ");
    ASSERT_EQ(header.size(), 13u);
    EXPECT_EQ(Big32(header, 0), uint32_t(size));
    EXPECT_EQ(Big32(header, 4), uint32_t(size));
    EXPECT_EQ(std::vector<uint8_t>(header.begin() + 8, header.end()),
              (std::vector<uint8_t>{8, 6, 0, 0, 0})); // 8-bit RGBA, not interlaced

    std::vector<uint8_t> rows, pixels;
    ASSERT_TRUE(Inflate(stream, rows));
    const size_t stride = size * 4;
    ASSERT_EQ(rows.size(), size * (stride + 1));
    for (size_t y = 0; y < size_t(size); ++y) {
        const uint8_t filter = rows[y * (stride + 1)];
        ASSERT_LE(filter, 4);
        for (size_t i = 0; i < stride; ++i) {
            const int a = i >= 4 ? pixels[pixels.size() - 4] : 0;
            const int b = y > 0 ? pixels[pixels.size() - stride] : 0;
            const int c = y > 0 && i >= 4 ? pixels[pixels.size() - stride - 4] : 0;
            const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b),
                      pc = std::abs(p - c);
            const int paeth = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            const int predicted[5] = {0, a, b, (a + b) / 2, paeth};
            pixels.push_back(uint8_t(rows[y * (stride + 1) + 1 + i] + predicted[filter]));
        }
    }
    EXPECT_EQ(pixels, rgba);
}

} // namespace
