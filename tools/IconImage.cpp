// The program icon: the 16-colour pixel art as 4-bit DIBs with AND masks, and the drawn
// stopwatch in full colour with alpha at every standard size.
#include "IconImage.h"

#include "Bytes.h"
#include "Png.h"
#include "Stopwatch.h"

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

// One 32-bit image: BITMAPINFOHEADER (double height), BGRA rows with alpha, 1-bit AND mask
// (set where the picture is less than half opaque, for systems that ignore alpha).
std::vector<uint8_t> MakeAlphaImage(const std::vector<uint8_t>& rgba, int size) {
    const size_t maskRow = RowBytes(size);
    std::vector<uint8_t> colours, mask(maskRow * size, 0);
    for (int row = 0; row < size; ++row) { // bottom-up
        const uint8_t* pixel = &rgba[size_t(size - 1 - row) * size * 4];
        for (int x = 0; x < size; ++x, pixel += 4) {
            colours.insert(colours.end(), {pixel[2], pixel[1], pixel[0], pixel[3]});
            if (pixel[3] < 128) mask[row * maskRow + x / 8] |= 0x80 >> (x % 8);
        }
    }
    std::vector<uint8_t> out;
    Put32(out, 40);
    Put32(out, size);
    Put32(out, size * 2);
    Put16(out, 1);  // planes
    Put16(out, 32); // bits per pixel
    Put32(out, 0);  // BI_RGB
    Put32(out, static_cast<uint32_t>(colours.size() + mask.size()));
    for (int i = 0; i < 4; ++i) Put32(out, 0); // resolution, colours used and important
    out.insert(out.end(), colours.begin(), colours.end());
    out.insert(out.end(), mask.begin(), mask.end());
    return out;
}

// An image of the icon file with its directory entry's size (0 means 256) and depth.
struct Image {
    int size, bits;
    std::vector<uint8_t> bytes;
};

} // namespace

// ICONDIR, the ICONDIRENTRYs, then the images in the same order: the two 16-colour images,
// then the drawn ones, at every size that the system asks for from 100 % to 300 % (16 and 32
// times 1, 1.25, 1.5, 1.75, 2, 2.25, 2.5 and 3) and 256. The sizes that Windows XP, which
// reads no PNG, may ask for (16 to 24, 32 and 48) are DIBs; the others, for later systems
// only, PNG, which they read and which is far smaller.
std::vector<uint8_t> MakeIcon() {
    std::vector<Image> images = {{32, 4, MakeImage(kArt32, 32)}, {16, 4, MakeImage(kArt16, 16)}};
    for (int size : {16, 20, 24, 28, 32, 36, 40, 48, 56, 64, 72, 80, 96, 256}) {
        const std::vector<uint8_t> rgba = DrawStopwatch(size);
        const bool forXp = size <= 24 || size == 32 || size == 48;
        images.push_back(
            {size, 32, forXp ? MakeAlphaImage(rgba, size) : EncodePng(size, size, rgba)});
    }

    std::vector<uint8_t> out;
    Put16(out, 0); // reserved
    Put16(out, 1); // type: icon
    Put16(out, static_cast<uint32_t>(images.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (const Image& image : images) {
        out.push_back(static_cast<uint8_t>(image.size)); // 256 is written as 0
        out.push_back(static_cast<uint8_t>(image.size));
        out.push_back(image.bits == 4 ? 16 : 0); // colours in the palette
        out.push_back(0);                        // reserved
        Put16(out, 1);                           // planes
        Put16(out, static_cast<uint32_t>(image.bits));
        Put32(out, static_cast<uint32_t>(image.bytes.size()));
        Put32(out, offset);
        offset += static_cast<uint32_t>(image.bytes.size());
    }
    for (const Image& image : images) out.insert(out.end(), image.bytes.begin(), image.bytes.end());
    return out;
}
