// The animation file: RIFF layout, headers, frames that decode back to the drawn pictures.
#include "AviClip.h"
#include "TestBytes.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// A RIFF chunk; RIFF and LIST chunks have a form type and children.
struct Chunk {
    std::string id;
    std::string form;
    size_t at = 0;   // offset of the chunk id in the file
    size_t data = 0; // offset of the chunk data (after the form type for RIFF/LIST)
    uint32_t size = 0;
    std::vector<Chunk> children;
};

// Parses the chunks filling [begin, end) exactly; false on any overrun or odd gap.
bool ParseChunks(const std::vector<uint8_t>& file, size_t begin, size_t end,
                 std::vector<Chunk>& chunks) {
    size_t at = begin;
    while (at < end) {
        if (at + 8 > end) return false;
        Chunk chunk;
        chunk.id = ReadFourCC(file, at);
        chunk.at = at;
        chunk.size = Read32(file, at + 4);
        chunk.data = at + 8;
        size_t chunkEnd = chunk.data + chunk.size;
        if (chunkEnd > end) return false;
        if (chunk.id == "RIFF" || chunk.id == "LIST") {
            if (chunk.size < 4) return false;
            chunk.form = ReadFourCC(file, chunk.data);
            chunk.data += 4;
            if (!ParseChunks(file, chunk.data, chunkEnd, chunk.children)) return false;
        }
        chunks.push_back(chunk);
        at = chunkEnd + (chunk.size % 2);
    }
    return at == end;
}

// The parts of the clip file the tests look at.
struct Clip {
    std::vector<uint8_t> file;
    Chunk riff;
    std::vector<std::vector<uint8_t>> frames; // data of the movi chunks
};

// Builds and parses the clip; the structure test checks the shape this relies on.
Clip LoadClip() {
    Clip clip;
    clip.file = MakeClip();
    std::vector<Chunk> top;
    if (!ParseChunks(clip.file, 0, clip.file.size(), top) || top.size() != 1) return clip;
    clip.riff = top[0];
    for (const Chunk& list : clip.riff.children) {
        if (list.form != "movi") continue;
        for (const Chunk& frame : list.children)
            clip.frames.emplace_back(clip.file.begin() + frame.data,
                                     clip.file.begin() + frame.data + frame.size);
    }
    return clip;
}

// Size of the largest compressed frame.
uint32_t LargestFrame(const Clip& clip) {
    size_t largest = 0;
    for (const std::vector<uint8_t>& frame : clip.frames) largest = std::max(largest, frame.size());
    return static_cast<uint32_t>(largest);
}

TEST(AviClip, RiffLayout) {
    Clip clip = LoadClip();
    ASSERT_EQ(clip.riff.id, "RIFF");
    EXPECT_EQ(clip.riff.form, "AVI ");
    EXPECT_EQ(clip.riff.size + 8, clip.file.size());
    ASSERT_EQ(clip.riff.children.size(), 3u);

    const Chunk& hdrl = clip.riff.children[0];
    EXPECT_EQ(hdrl.form, "hdrl");
    ASSERT_EQ(hdrl.children.size(), 2u);
    EXPECT_EQ(hdrl.children[0].id, "avih");
    EXPECT_EQ(hdrl.children[0].size, 56u);
    const Chunk& strl = hdrl.children[1];
    EXPECT_EQ(strl.form, "strl");
    ASSERT_EQ(strl.children.size(), 2u);
    EXPECT_EQ(strl.children[0].id, "strh");
    EXPECT_EQ(strl.children[0].size, 56u);
    EXPECT_EQ(strl.children[1].id, "strf");
    EXPECT_EQ(strl.children[1].size, 40u + 256 * 4);

    // Wine's animation control counts anything in movi as a frame.
    const Chunk& movi = clip.riff.children[1];
    EXPECT_EQ(movi.form, "movi");
    ASSERT_EQ(movi.children.size(), static_cast<size_t>(kClipFrames));
    for (const Chunk& frame : movi.children) EXPECT_EQ(frame.id, "00dc");

    EXPECT_EQ(clip.riff.children[2].id, "idx1");
}

TEST(AviClip, Headers) {
    Clip clip = LoadClip();
    ASSERT_EQ(clip.frames.size(), static_cast<size_t>(kClipFrames));
    const std::vector<uint8_t>& f = clip.file;
    const Chunk& hdrl = clip.riff.children[0];
    uint32_t largest = LargestFrame(clip);

    size_t avih = hdrl.children[0].data;
    EXPECT_EQ(Read32(f, avih + 0), 100000u);       // microseconds per frame
    EXPECT_EQ(Read32(f, avih + 12) & 0x10, 0x10u); // AVIF_HASINDEX
    EXPECT_EQ(Read32(f, avih + 16), 19u);
    EXPECT_EQ(Read32(f, avih + 24), 1u); // streams
    EXPECT_GE(Read32(f, avih + 28), largest);
    EXPECT_EQ(Read32(f, avih + 32), 60u);
    EXPECT_EQ(Read32(f, avih + 36), 90u);

    size_t strh = hdrl.children[1].children[0].data;
    EXPECT_EQ(ReadFourCC(f, strh + 0), "vids");
    EXPECT_EQ(ReadFourCC(f, strh + 4), "RLE ");
    EXPECT_EQ(Read32(f, strh + 20), 1u);  // scale
    EXPECT_EQ(Read32(f, strh + 24), 10u); // rate
    EXPECT_EQ(Read32(f, strh + 32), 19u); // length
    EXPECT_EQ(Read32(f, strh + 36), largest);
    EXPECT_EQ(Read16(f, strh + 48), 0u);
    EXPECT_EQ(Read16(f, strh + 50), 0u);
    EXPECT_EQ(Read16(f, strh + 52), 60u);
    EXPECT_EQ(Read16(f, strh + 54), 90u);

    size_t strf = hdrl.children[1].children[1].data;
    EXPECT_EQ(Read32(f, strf + 0), 40u);
    EXPECT_EQ(Read32(f, strf + 4), 60u);
    EXPECT_EQ(Read32(f, strf + 8), 90u); // positive: bottom-up
    EXPECT_EQ(Read16(f, strf + 12), 1u);
    EXPECT_EQ(Read16(f, strf + 14), 8u);
    EXPECT_EQ(Read32(f, strf + 16), 1u); // BI_RLE8
    // With a smaller biSizeImage Wine opens and plays the clip but draws nothing.
    EXPECT_GE(Read32(f, strf + 20), largest);
    EXPECT_EQ(Read32(f, strf + 32), 256u);
    std::vector<uint8_t> palette(f.begin() + strf + 40, f.begin() + strf + 40 + 1024);
    EXPECT_EQ(palette, Palette());
}

TEST(AviClip, IndexPointsAtTheFrames) {
    Clip clip = LoadClip();
    ASSERT_EQ(clip.riff.children.size(), 3u);
    const std::vector<uint8_t>& f = clip.file;
    const Chunk& movi = clip.riff.children[1];
    const Chunk& idx1 = clip.riff.children[2];
    ASSERT_EQ(idx1.size, 16u * kClipFrames);
    ASSERT_EQ(movi.children.size(), static_cast<size_t>(kClipFrames));
    size_t moviFourCC = movi.data - 4; // offsets count from the 'movi' form type
    for (int i = 0; i < kClipFrames; ++i) {
        SCOPED_TRACE(i);
        size_t entry = idx1.data + 16 * i;
        EXPECT_EQ(ReadFourCC(f, entry), "00dc");
        EXPECT_EQ(Read32(f, entry + 4), 0x10u); // key frame
        EXPECT_EQ(moviFourCC + Read32(f, entry + 8), movi.children[i].at);
        EXPECT_EQ(Read32(f, entry + 12), movi.children[i].size);
    }
}

TEST(AviClip, FramesDecodeToTheDrawnPictures) {
    Clip clip = LoadClip();
    ASSERT_EQ(clip.frames.size(), static_cast<size_t>(kClipFrames));
    for (int i = 0; i < kClipFrames; ++i) {
        SCOPED_TRACE(i);
        std::vector<uint8_t> pixels;
        ASSERT_TRUE(DecodeRle8(clip.frames[i], kClipWidth, kClipHeight, pixels));
        EXPECT_EQ(pixels, RenderFrame(i));
        EXPECT_LT(clip.frames[i].size(), static_cast<size_t>(kClipWidth * kClipHeight) / 2);
    }
}

// The control makes the top-left pixel's colour transparent wherever it appears.
TEST(AviClip, BackgroundColourIsOnlyUsedForTheBackground) {
    std::vector<uint8_t> palette = Palette();
    auto rgb = [&](uint8_t index) {
        return std::vector<uint8_t>(palette.begin() + index * 4, palette.begin() + index * 4 + 3);
    };
    for (int i = 0; i < kClipFrames; ++i) {
        SCOPED_TRACE(i);
        std::vector<uint8_t> pixels = RenderFrame(i);
        ASSERT_EQ(pixels.size(), static_cast<size_t>(kClipWidth * kClipHeight));
        EXPECT_EQ(pixels[0], kClipBackground);
        size_t drawn = 0;
        for (uint8_t p : pixels) {
            if (p == kClipBackground) continue;
            ++drawn;
            EXPECT_NE(rgb(p), rgb(kClipBackground)) << "index " << int(p);
        }
        EXPECT_GT(drawn, pixels.size() / 2);
    }
}

// Number of pixels that differ between frames a and b.
int Changed(int a, int b) {
    std::vector<uint8_t> first = RenderFrame(a), second = RenderFrame(b);
    int changed = 0;
    for (size_t i = 0; i < first.size(); ++i) changed += first[i] != second[i];
    return changed;
}

// Every step changes the picture, and the step from the last frame back to the first is no
// bigger a jump than the others.
TEST(AviClip, LoopsSmoothly) {
    int largestStep = 0;
    for (int i = 0; i + 1 < kClipFrames; ++i) {
        int changed = Changed(i, i + 1);
        EXPECT_GT(changed, 0) << "frames " << i << " and " << i + 1;
        largestStep = std::max(largestStep, changed);
    }
    int wrap = Changed(kClipFrames - 1, 0);
    EXPECT_GT(wrap, 0);
    EXPECT_LE(wrap, largestStep);
}

} // namespace
