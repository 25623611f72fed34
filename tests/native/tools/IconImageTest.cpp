// The .ico file: directory entries, image headers, and pictures with a real transparency mask.
#include "IconImage.h"
#include "TestBytes.h"

#include <gtest/gtest.h>

#include <set>

namespace {

const size_t kDirectorySize = 6 + 2 * 16;

TEST(IconImage, DirectoryDescribesBothImages) {
    std::vector<uint8_t> icon = MakeIcon();
    ASSERT_GE(icon.size(), kDirectorySize);
    EXPECT_EQ(Read16(icon, 0), 0u);
    EXPECT_EQ(Read16(icon, 2), 1u); // icon, not cursor
    ASSERT_EQ(Read16(icon, 4), 2u);

    const int sizes[2] = {32, 16};
    size_t expectedOffset = kDirectorySize;
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(sizes[i]);
        size_t entry = 6 + 16 * i;
        EXPECT_EQ(icon[entry + 0], sizes[i]);
        EXPECT_EQ(icon[entry + 1], sizes[i]);
        EXPECT_EQ(icon[entry + 2], 16); // colours
        EXPECT_EQ(Read16(icon, entry + 4), 1u);
        EXPECT_EQ(Read16(icon, entry + 6), 4u);
        uint32_t bytes = Read32(icon, entry + 8), offset = Read32(icon, entry + 12);
        // Images follow the directory back to back and end with the file.
        EXPECT_EQ(offset, expectedOffset);
        expectedOffset = offset + bytes;
        ASSERT_LE(expectedOffset, icon.size());

        size_t colourRow = (sizes[i] * 4 + 31) / 32 * 4, maskRow = (sizes[i] + 31) / 32 * 4;
        EXPECT_EQ(bytes, 40 + 16 * 4 + (colourRow + maskRow) * sizes[i]);
        EXPECT_EQ(Read32(icon, offset + 0), 40u);
        EXPECT_EQ(Read32(icon, offset + 4), static_cast<uint32_t>(sizes[i]));
        EXPECT_EQ(Read32(icon, offset + 8), static_cast<uint32_t>(2 * sizes[i]));
        EXPECT_EQ(Read16(icon, offset + 12), 1u);
        EXPECT_EQ(Read16(icon, offset + 14), 4u);
        EXPECT_EQ(Read32(icon, offset + 16), 0u); // BI_RGB
    }
    EXPECT_EQ(expectedOffset, icon.size());
}

// A decoded icon image: top-down colour indices and transparency.
struct Picture {
    std::vector<int> colours;
    std::vector<bool> transparent;
};

// Reads image number i of the icon (the directory test checks the layout this relies on).
Picture ReadPicture(const std::vector<uint8_t>& icon, int i, int size) {
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
    std::vector<uint8_t> icon = MakeIcon();
    const int sizes[2] = {32, 16};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(sizes[i]);
        int size = sizes[i];
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

} // namespace
