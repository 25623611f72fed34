// EncodeRle8: exact streams for small rows, and round trips for larger and random pictures.
#include "Rle8.h"
#include "TestBytes.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// A picture with its dimensions and, where worked out by hand, the stream it must encode to.
struct Case {
    const char* name;
    int width;
    int height;
    std::vector<uint8_t> pixels;
    std::vector<uint8_t> expected;
};

// width pixels counting up from first, so that no two neighbours are equal.
std::vector<uint8_t> Ascending(int width, int first) {
    std::vector<uint8_t> pixels;
    for (int i = 0; i < width; ++i) pixels.push_back(static_cast<uint8_t>((first + i) % 251));
    return pixels;
}

// Small pictures whose streams follow directly from the BI_RLE8 rules.
std::vector<Case> HandWorkedCases() {
    return {
        {"all same row", 10, 1, std::vector<uint8_t>(10, 7), {10, 7, 0, 1}},
        {"all different, odd", 5, 1, {1, 2, 3, 4, 5}, {0, 5, 1, 2, 3, 4, 5, 0, 0, 1}},
        {"all different, even", 4, 1, {1, 2, 3, 4}, {0, 4, 1, 2, 3, 4, 0, 1}},
        {"two different pixels", 2, 1, {8, 9}, {1, 8, 1, 9, 0, 1}},
        {"a pair", 2, 1, {8, 8}, {2, 8, 0, 1}},
        {"rows bottom-up", 1, 3, {10, 20, 30}, {1, 30, 0, 0, 1, 20, 0, 0, 1, 10, 0, 1}},
        {"run longer than 255",
         600,
         1,
         std::vector<uint8_t>(600, 3),
         {255, 3, 255, 3, 90, 3, 0, 1}},
        {"run between literals",
         10,
         1,
         {1, 2, 3, 4, 4, 4, 4, 5, 6, 7},
         {0, 3, 1, 2, 3, 0, 4, 4, 0, 3, 5, 6, 7, 0, 0, 1}},
        {"pair inside a literal", 4, 1, {1, 2, 2, 3}, {0, 4, 1, 2, 2, 3, 0, 1}},
        {"short literal before a run", 6, 1, {1, 2, 5, 5, 5, 5}, {1, 1, 1, 2, 4, 5, 0, 1}},
        {"two rows", 3, 2, {1, 1, 1, 2, 3, 4}, {0, 3, 2, 3, 4, 0, 0, 0, 3, 1, 0, 1}},
    };
}

TEST(Rle8, HandWorkedStreams) {
    for (const Case& c : HandWorkedCases()) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> stream = EncodeRle8(c.pixels, c.width, c.height);
        EXPECT_EQ(stream, c.expected);
        std::vector<uint8_t> decoded;
        ASSERT_TRUE(DecodeRle8(stream, c.width, c.height, decoded));
        EXPECT_EQ(decoded, c.pixels);
    }
}

TEST(Rle8, LiteralLongerThan255IsSplitAndPadded) {
    std::vector<uint8_t> pixels = Ascending(300, 1);
    std::vector<uint8_t> stream = EncodeRle8(pixels, 300, 1);
    // 255 pixels in one block (odd, so padded), the other 45 in a second one, end-of-bitmap.
    EXPECT_EQ(stream.size(), 2u + 255 + 1 + 2 + 45 + 1 + 2);
    EXPECT_EQ(stream[0], 0);
    EXPECT_EQ(stream[1], 255);
    std::vector<uint8_t> decoded;
    ASSERT_TRUE(DecodeRle8(stream, 300, 1, decoded));
    EXPECT_EQ(decoded, pixels);
}

TEST(Rle8, RandomPicturesRoundTrip) {
    std::mt19937 random(20010803);
    const int widths[] = {1, 2, 3, 7, 60, 254, 255, 256, 257, 511, 513};
    for (int width : widths) {
        for (int height : {1, 2, 5}) {
            SCOPED_TRACE(testing::Message() << width << "x" << height);
            // Stretches of random length, some repeating one value and some all different.
            std::vector<uint8_t> pixels;
            while (pixels.size() < static_cast<size_t>(width) * height) {
                int length = 1 + static_cast<int>(random() % 300);
                uint8_t value = static_cast<uint8_t>(random() % 6);
                bool repeat = random() % 2 == 0;
                for (int i = 0; i < length; ++i)
                    pixels.push_back(repeat ? value : static_cast<uint8_t>(random() % 4));
            }
            pixels.resize(static_cast<size_t>(width) * height);
            std::vector<uint8_t> decoded;
            ASSERT_TRUE(DecodeRle8(EncodeRle8(pixels, width, height), width, height, decoded));
            EXPECT_EQ(decoded, pixels);
        }
    }
}

TEST(Rle8, RefusesSizesThatDoNotFit) {
    EXPECT_TRUE(EncodeRle8({1, 2, 3}, 2, 2).empty());
    EXPECT_TRUE(EncodeRle8({}, 0, 0).empty());
    EXPECT_TRUE(EncodeRle8({1, 2}, -1, -2).empty());
}

} // namespace
