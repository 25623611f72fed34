// The animated pendulum clock shown in the info box, as an RLE8-compressed AVI file.
#pragma once

#include <cstdint>
#include <vector>

const int kClipWidth = 60;
const int kClipHeight = 90;
const int kClipFrames = 19;
const int kClipFramesPerSecond = 10;

// Palette index of the background; the animation control treats its colour as transparent.
const uint8_t kClipBackground = 0;

// Draws frame index (0..kClipFrames-1) as top-down palette indices, kClipWidth*kClipHeight bytes.
std::vector<uint8_t> RenderFrame(int index);

// The clip's 256-entry palette as RGBQUADs (blue, green, red, 0).
std::vector<uint8_t> Palette();

// Builds the complete AVI file: one RLE8 key frame per picture, with an idx1 index.
std::vector<uint8_t> MakeClip();
