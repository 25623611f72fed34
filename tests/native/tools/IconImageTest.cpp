// The .ico file: directory entries, image headers, and pictures with a real transparency mask.
#include "IconImage.h"
#include "TestBytes.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// The icon file, made once for all tests.
const std::vector<uint8_t>& Icon() {
    static const std::vector<uint8_t> icon = MakeIcon();
    return icon;
}

// Which sizes the icon holds, and in which form, the program file's tests check.
TEST(IconImage, DirectoryDescribesEveryImage) {
    const std::vector<uint8_t>& icon = Icon();
    const size_t count = Read16(icon, 4), directorySize = 6 + count * 16;
    ASSERT_GE(icon.size(), directorySize);
    EXPECT_EQ(Read16(icon, 0), 0u);
    EXPECT_EQ(Read16(icon, 2), 1u); // icon, not cursor

    size_t expectedOffset = directorySize, total = 0;
    for (size_t i = 0; i < count; ++i) {
        const size_t entry = 6 + 16 * i;
        const int size = icon[entry] ? icon[entry] : 256, bits = int(Read16(icon, entry + 6));
        SCOPED_TRACE(testing::Message() << size << "x" << size << " " << bits << " bits");
        EXPECT_TRUE(bits == 4 || bits == 32);
        EXPECT_EQ(icon[entry + 1], icon[entry]);
        EXPECT_EQ(icon[entry + 2], bits == 4 ? 16 : 0); // colours
        EXPECT_EQ(Read16(icon, entry + 4), 1u);
        uint32_t bytes = Read32(icon, entry + 8), offset = Read32(icon, entry + 12);
        // Images follow the directory back to back and end with the file.
        EXPECT_EQ(offset, expectedOffset);
        expectedOffset = offset + bytes;
        total += bytes;
        ASSERT_LE(expectedOffset, icon.size());

        if (ReadFourCC(icon, offset) == "\x89PNG") { // read back by the PNG tests
            EXPECT_EQ(icon[offset + 18] << 8 | icon[offset + 19], size); // IHDR width
            continue;
        }
        size_t colourRow = (size * bits + 31) / 32 * 4, maskRow = (size + 31) / 32 * 4;
        EXPECT_EQ(bytes, 40 + (bits == 4 ? 16 * 4 : 0) + (colourRow + maskRow) * size);
        EXPECT_EQ(Read32(icon, offset + 0), 40u);
        EXPECT_EQ(Read32(icon, offset + 4), static_cast<uint32_t>(size));
        EXPECT_EQ(Read32(icon, offset + 8), static_cast<uint32_t>(2 * size));
        EXPECT_EQ(Read16(icon, offset + 12), 1u);
        EXPECT_EQ(Read16(icon, offset + 14), uint32_t(bits));
        EXPECT_EQ(Read32(icon, offset + 16), 0u); // BI_RGB
    }
    EXPECT_EQ(expectedOffset, icon.size());
    EXPECT_LE(total, 80u * 1024); // the images' share of the program file
}

// A decoded icon image: top-down colour indices and transparency.
struct Picture {
    std::vector<int> colours;
    std::vector<bool> transparent;
};

// Reads image number i of the icon (the directory test checks the layout this relies on).
Picture ReadPicture(const std::vector<uint8_t>& icon, size_t i, int size) {
    size_t offset = Read32(icon, 6 + 16 * i + 12);
    size_t colourRow = (size * 4 + 31) / 32 * 4, maskRow = (size + 31) / 32 * 4;
    size_t colours = offset + 40 + 16 * 4, mask = colours + colourRow * size;
    Picture picture;
    for (int y = 0; y < size; ++y) {
        int row = size - 1 - y;
        for (int x = 0; x < size; ++x) {
            uint8_t pair = icon.at(colours + row * colourRow + x / 2);
            picture.colours.push_back(x % 2 == 0 ? pair >> 4 : pair & 15);
            picture.transparent.push_back((icon.at(mask + row * maskRow + x / 8) << (x % 8)) &
                                          0x80);
        }
    }
    return picture;
}

TEST(IconImage, PicturesHaveAMotifAndATransparentSurround) {
    const std::vector<uint8_t>& icon = Icon();
    for (size_t i = 0; i < Read16(icon, 4); ++i) {
        const int size = icon[6 + 16 * i];
        if (Read16(icon, 6 + 16 * i + 6) != 4) continue; // the 16-colour images
        SCOPED_TRACE(size);
        Picture picture = ReadPicture(icon, i, size);
        int transparent = 0;
        std::set<int> opaqueColours;
        for (int p = 0; p < size * size; ++p) {
            if (picture.transparent[p]) {
                ++transparent;
                // Under the mask the colour is XORed onto the screen: it must be black.
                EXPECT_EQ(picture.colours[p], 0) << "pixel " << p;
            } else {
                opaqueColours.insert(picture.colours[p]);
            }
        }
        EXPECT_GT(transparent, size * size / 8);
        EXPECT_LT(transparent, size * size / 2);
        EXPECT_GE(opaqueColours.size(), 4u);
        // The corners lie outside the round motif.
        EXPECT_TRUE(picture.transparent[0]);
        EXPECT_TRUE(picture.transparent[size - 1]);
        EXPECT_TRUE(picture.transparent[size * (size - 1)]);
        EXPECT_TRUE(picture.transparent[size * size - 1]);
    }
}

// The drawn images: anti-aliased edges in the alpha channel, a transparent surround, and a
// mask that agrees with the alpha for systems that draw icons without it.
TEST(IconImage, DrawnImagesHaveAlphaAndAMatchingMask) {
    const std::vector<uint8_t>& icon = Icon();
    for (size_t i = 0; i < Read16(icon, 4); ++i) {
        const int size = icon[6 + 16 * i], offset = int(Read32(icon, 6 + 16 * i + 12));
        if (Read16(icon, 6 + 16 * i + 6) != 32 || ReadFourCC(icon, offset) == "\x89PNG") continue;
        SCOPED_TRACE(size);
        const size_t pixels = size_t(offset) + 40, maskRow = (size + 31) / 32 * 4;
        const size_t mask = pixels + size_t(size) * size * 4;
        int clear = 0, partial = 0, opaque = 0;
        for (int row = 0; row < size; ++row) {
            for (int x = 0; x < size; ++x) {
                const uint8_t alpha = icon.at(pixels + (size_t(row) * size + x) * 4 + 3);
                const bool masked = (icon.at(mask + row * maskRow + x / 8) << (x % 8)) & 0x80;
                EXPECT_EQ(masked, alpha < 128) << "row " << row << ", column " << x;
                (alpha == 0 ? clear : alpha == 255 ? opaque : partial)++;
            }
        }
        EXPECT_EQ(icon[pixels + 3], 0);     // a corner
        EXPECT_GT(opaque, size * size / 3); // the motif
        EXPECT_GT(clear, size * size / 8);  // its surround
        EXPECT_GT(partial, size);           // anti-aliased edges
    }
}

} // namespace
