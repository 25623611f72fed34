// Pixel art for the program icon, stored as 4-bit DIBs with AND masks.
#include "IconImage.h"

#include "Bytes.h"

#include <cstddef>

namespace {

// The standard 16-colour VGA palette as red, green, blue.
const uint8_t kVga[16][3] = {
    {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128}, {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0}, {255, 255, 0},
    {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
};

// Picture key: '.' transparent, K black, g grey, s silver, w white, y yellow.
// clang-format off
const char* const kArt32[32] = {
    ".............KKKKKK.............",
    ".............KwssgK.............",
    ".............KKKKKK.............",
    "..............KsgK..............",
    "............KKKKKKKK............",
    "..........KKssssssssKK..........",
    "........KKssssssssssssKK........",
    ".......KssssKKKKKKKKssssK.......",
    "......KsssKKwwwKKyywKKsssK......",
    ".....KsssKwwwwwKKyyyywKsssK.....",
    "....KsssKwwwwwwwwyyyyywKsssK....",
    "....KssKwwwwwwwKKyyyyyywKssK....",
    "...KssKwwwwwwwwKKyyyyyyywKggK...",
    "...KssKwwwwwwwwKKyyyyyyywKggK...",
    "..KssKwwwwwwwwwKKyyyyyyyywKggK..",
    "..KssKwwwwwwwwwKKyyyyyyyywKggK..",
    "..KssKwwwwwwwwwKKyyyyyyyywKggK..",
    "..KssKKKwwwwwwwKKKKKKKKKwwKggK..",
    "..KssKKKwwwwwwwKKKKKKKKKwwKggK..",
    "..KssKwwwwwwwwwwwwwwwwwwwwKggK..",
    "..KssKwwwwwwwwwwwwwwwwwwwwKggK..",
    "..KssKwwwwwwwwwwwwwwwwwwwwKggK..",
    "...KssKwwwwwwwwwwwwwwwwwwKggK...",
    "...KssKwwwwwwwwwwwwwwwwwwKggK...",
    "....KssKwwwwwwwwwwwwwwwwKggK....",
    "....KsssKwwwwwwwwwwwwwwKgggK....",
    ".....KsssKwwwwwKKwwwwwKgggK.....",
    "......KsssKKwwwKKwwwKKgggK......",
    ".......KssggKKKKKKKKggggK.......",
    "........KKggggggggggggKK........",
    "..........KKggggggggKK..........",
    "............KKKKKKKK............",
};

// The small icon is drawn separately so that it stays legible at its size.
const char* const kArt16[16] = {
    "......KKKK......",
    "......KsgK......",
    ".....KKKKKK.....",
    "....KKssssKK....",
    "...KswwKKyysK...",
    "..KswwwKKyyysK..",
    ".KswwwwKKyyyygK.",
    ".KswwwwKKyyyygK.",
    ".KsKwwwKKKKKwgK.",
    ".KsKwwwKKKKKwgK.",
    ".KswwwwwwwwwwgK.",
    ".KswwwwwwwwwwgK.",
    "..KswwwwwwwwgK..",
    "...KgwwKKwwgK...",
    "....KKggggKK....",
    "......KKKK......",
};
// clang-format on

// VGA palette index for a picture character; transparent pixels get black (index 0).
uint8_t ColourIndex(char key) {
    switch (key) {
    case 'g':
        return 8;
    case 's':
        return 7;
    case 'w':
        return 15;
    case 'y':
        return 11;
    default:
        return 0;
    }
}

// Bytes in one DIB row of the given number of bits, padded to a multiple of four.
size_t RowBytes(int bits) {
    return static_cast<size_t>((bits + 31) / 32 * 4);
}

// One icon image: BITMAPINFOHEADER (double height), palette, 4-bit colour rows, 1-bit AND mask.
std::vector<uint8_t> MakeImage(const char* const* art, int size) {
    size_t colourRow = RowBytes(size * 4), maskRow = RowBytes(size);
    std::vector<uint8_t> colours(colourRow * size, 0), mask(maskRow * size, 0);
    for (int y = 0; y < size; ++y) {
        int row = size - 1 - y; // DIB rows are stored bottom-up
        for (int x = 0; x < size; ++x) {
            char key = art[y][x];
            uint8_t index = ColourIndex(key);
            colours[row * colourRow + x / 2] |= x % 2 == 0 ? index << 4 : index;
            if (key == '.') mask[row * maskRow + x / 8] |= 0x80 >> (x % 8);
        }
    }

    std::vector<uint8_t> out;
    Put32(out, 40);
    Put32(out, size);
    Put32(out, size * 2); // colour rows and mask rows together
    Put16(out, 1);        // planes
    Put16(out, 4);        // bits per pixel
    Put32(out, 0);        // BI_RGB
    Put32(out, static_cast<uint32_t>(colours.size() + mask.size()));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0); // colours used: all 16
    Put32(out, 0);
    for (const uint8_t* rgb : kVga) {
        out.push_back(rgb[2]);
        out.push_back(rgb[1]);
        out.push_back(rgb[0]);
        out.push_back(0);
    }
    out.insert(out.end(), colours.begin(), colours.end());
    out.insert(out.end(), mask.begin(), mask.end());
    return out;
}

} // namespace

// ICONDIR, two ICONDIRENTRYs, then the two images in the same order.
std::vector<uint8_t> MakeIcon() {
    const std::vector<uint8_t> images[2] = {MakeImage(kArt32, 32), MakeImage(kArt16, 16)};
    const int sizes[2] = {32, 16};

    std::vector<uint8_t> out;
    Put16(out, 0); // reserved
    Put16(out, 1); // type: icon
    Put16(out, 2); // count
    uint32_t offset = 6 + 2 * 16;
    for (int i = 0; i < 2; ++i) {
        out.push_back(static_cast<uint8_t>(sizes[i]));
        out.push_back(static_cast<uint8_t>(sizes[i]));
        out.push_back(16); // colours
        out.push_back(0);  // reserved
        Put16(out, 1);     // planes
        Put16(out, 4);     // bits per pixel
        Put32(out, static_cast<uint32_t>(images[i].size()));
        Put32(out, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const std::vector<uint8_t>& image : images)
        out.insert(out.end(), image.begin(), image.end());
    return out;
}
