// The zlib stream and the PNG file: checksums against published values, and everything read
// back by zlib and libpng, which know the formats but not this compressor.
#include "Deflate.h"
#include "Png.h"
#include "Stopwatch.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cmath>
#include <string>

namespace {

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
        std::vector<uint8_t> out(inputs[i].size() + 1); // room for a byte too many
        uLongf length = out.size(); // zlib checks the header and the Adler-32 as well
        EXPECT_EQ(uncompress(out.data(), &length, stream.data(), stream.size()), Z_OK) << i;
        out.resize(length);
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

TEST(Png, ReadsBackToThePicture) {
    const int size = 48;
    const std::vector<uint8_t> rgba = DrawStopwatch(size);
    const std::vector<uint8_t> png = EncodePng(size, size, rgba);
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, png.data(), png.size())) << image.message;
    EXPECT_EQ(image.width, uint32_t(size));
    EXPECT_EQ(image.height, uint32_t(size));
    EXPECT_EQ(image.format, uint32_t(PNG_FORMAT_RGBA)); // 8 bits a channel, no palette
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) << image.message;
    EXPECT_EQ(pixels, rgba);
    png_image_free(&image);
}

} // namespace
