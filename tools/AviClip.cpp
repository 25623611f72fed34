// Pendulum clock animation: the pendulum swings once and the second hand goes round once per loop.
#include "AviClip.h"

#include "Rle8.h"
#include "Bytes.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iterator>

namespace {

// Palette indices of the colours the clock is drawn with.
enum Colour : uint8_t {
    kBackground = kClipBackground,
    kOutline,
    kWoodDark,
    kWood,
    kWoodLight,
    kInterior,
    kFace,
    kMarks,
    kHands,
    kSecondHand,
    kBrassDark,
    kBrass,
    kBrassLight,
    kColourCount
};

// Red, green, blue of each Colour, in the same order.
const uint8_t kColours[kColourCount][3] = {
    {192, 192, 192}, // background: the classic dialog grey, used nowhere else
    {40, 22, 12},    // outline
    {104, 56, 26},   // dark wood
    {150, 86, 40},   // wood
    {196, 132, 72},  // light wood
    {64, 36, 20},    // inside of the case behind the pendulum
    {252, 248, 230}, // dial
    {70, 60, 56},    // hour marks
    {24, 24, 32},    // hour and minute hands
    {210, 30, 30},   // second hand
    {136, 100, 24},  // dark brass
    {204, 164, 52},  // brass
    {250, 228, 140}, // brass highlight
};

// Centre of the dial and the pendulum's pivot, in pixels (pixel centres lie at .5).
const double kDialX = 29.5;
const double kDialY = 26.5;
const double kPivotX = 29.5;
const double kPivotY = 44.0;

// Window in the case through which the pendulum is seen.
const double kWindowLeft = 16.0;
const double kWindowTop = 57.0;
const double kWindowRight = 43.0;
const double kWindowBottom = 85.0;

// Pendulum length to the centre of the bob and the bob's radius.
const double kPendulumLength = 32.0;
const double kBobRadius = 5.0;

// A direction on the canvas (x to the right, y downwards), of length 1.
struct Direction {
    double x, y;
};

// The directions the clock is drawn in, written out rather than computed: the C library's sin
// and cos may differ in the last bit from one system to another, and a pixel on a mark's edge
// follows that bit. They are the values glibc gives for the angles named, to the 17 digits
// that keep every bit: cos 90 degrees, for one, is 6.1e-17 here, not 0.

// The hours clockwise from twelve, 30 degrees apart: the hour marks, and at two the minute hand.
const Direction kHours[12] = {
    {0, -1},
    {0.49999999999999994, -0.86602540378443871},
    {0.8660254037844386, -0.50000000000000011},
    {1, -6.123233995736766e-17},
    {0.86602540378443871, 0.49999999999999978},
    {0.49999999999999994, 0.86602540378443871},
    {1.2246467991473532e-16, 1},
    {-0.50000000000000011, 0.8660254037844386},
    {-0.86602540378443837, 0.50000000000000044},
    {-1, 1.8369701987210297e-16},
    {-0.8660254037844386, -0.50000000000000011},
    {-0.50000000000000044, -0.86602540378443837},
};

// The hour hand, just past ten (305 degrees).
const Direction kHourHand = {-0.8191520442889918, -0.57357643635104605};

// The second hand in each frame: once round per loop, 360/19 degrees a frame.
const Direction kSecondHandAt[] = {
    {0, -1},
    {0.32469946920468346, -0.94581724170063464},
    {0.61421271268966782, -0.78914050939639357},
    {0.83716647826252855, -0.54694815812242692},
    {0.96940026593933037, -0.24548548714079924},
    {0.99658449300666985, 0.082579345472332491},
    {0.9157733266550574, 0.40169542465296942},
    {0.73572391067313181, 0.67728157162574087},
    {0.47594739303707367, 0.87947375120648896},
    {0.16459459028073403, 0.98636130340272232},
    {-0.16459459028073423, 0.98636130340272232},
    {-0.47594739303707351, 0.87947375120648907},
    {-0.73572391067313159, 0.6772815716257411},
    {-0.91577332665505728, 0.40169542465296987},
    {-0.99658449300666985, 0.082579345472332741},
    {-0.96940026593933049, -0.24548548714079879},
    {-0.83716647826252877, -0.54694815812242659},
    {-0.61421271268966804, -0.78914050939639335},
    {-0.32469946920468373, -0.94581724170063464},
};

// The pendulum in each frame, from the pivot down to the bob: one swing per loop, at frame f
// 12 * sin(f * 360/19) degrees to the right of straight down.
const Direction kPendulumAt[] = {
    {0, 1},
    {0.067952493266463937, 0.99768855794725397},
    {0.12828590531731612, 0.99173722653579799},
    {0.1744387371017744, 0.98466802882917759},
    {0.20163871819965906, 0.97945996718742845},
    {0.20721192751127954, 0.97829607844305511},
    {0.19062532891005105, 0.9816628667612598},
    {0.15348060460538293, 0.98815166042969649},
    {0.099517188239476639, 0.9950358431960673},
    {0.034465783131924881, 0.99940587840631756},
    {-0.034465783131924825, 0.99940587840631756},
    {-0.099517188239476501, 0.9950358431960673},
    {-0.15348060460538285, 0.98815166042969649},
    {-0.19062532891005107, 0.9816628667612598},
    {-0.20721192751127954, 0.97829607844305511},
    {-0.20163871819965909, 0.97945996718742845},
    {-0.17443873710177443, 0.98466802882917759},
    {-0.12828590531731607, 0.99173722653579799},
    {-0.067952493266464006, 0.99768855794725397},
};
static_assert(std::size(kSecondHandAt) == kClipFrames && std::size(kPendulumAt) == kClipFrames,
              "one direction per frame");

// A frame being drawn, with the rectangle drawing is limited to.
struct Canvas {
    std::vector<uint8_t> pixels;
    double clipLeft = 0;
    double clipTop = 0;
    double clipRight = kClipWidth;
    double clipBottom = kClipHeight;
};

// Sets pixel (x, y) if it lies on the canvas and its centre inside the clip rectangle.
void Plot(Canvas& canvas, int x, int y, uint8_t colour) {
    double cx = x + 0.5, cy = y + 0.5;
    if (x < 0 || x >= kClipWidth || y < 0 || y >= kClipHeight) return;
    if (cx < canvas.clipLeft || cx >= canvas.clipRight || cy < canvas.clipTop ||
        cy >= canvas.clipBottom)
        return;
    canvas.pixels[y * kClipWidth + x] = colour;
}

// Sets every pixel whose centre is inside the circle.
void FillDisc(Canvas& canvas, double cx, double cy, double radius, uint8_t colour) {
    for (int y = 0; y < kClipHeight; ++y) {
        for (int x = 0; x < kClipWidth; ++x) {
            double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            if (dx * dx + dy * dy <= radius * radius) Plot(canvas, x, y, colour);
        }
    }
}

// Sets every pixel whose centre is inside the rectangle [left, right) x [top, bottom).
void FillRect(Canvas& canvas, double left, double top, double right, double bottom,
              uint8_t colour) {
    for (int y = 0; y < kClipHeight; ++y) {
        for (int x = 0; x < kClipWidth; ++x) {
            double cx = x + 0.5, cy = y + 0.5;
            if (cx >= left && cx < right && cy >= top && cy < bottom) Plot(canvas, x, y, colour);
        }
    }
}

// Sets every pixel within half of thickness from the segment (ax, ay)-(bx, by).
void DrawLine(Canvas& canvas, double ax, double ay, double bx, double by, double thickness,
              uint8_t colour) {
    double vx = bx - ax, vy = by - ay;
    double lengthSquared = vx * vx + vy * vy;
    double reach = thickness / 2;
    for (int y = 0; y < kClipHeight; ++y) {
        for (int x = 0; x < kClipWidth; ++x) {
            double px = x + 0.5 - ax, py = y + 0.5 - ay;
            double t = lengthSquared > 0 ? (px * vx + py * vy) / lengthSquared : 0;
            t = std::clamp(t, 0.0, 1.0);
            double dx = px - t * vx, dy = py - t * vy;
            if (dx * dx + dy * dy <= reach * reach) Plot(canvas, x, y, colour);
        }
    }
}

// Sets every pixel inside the rectangle of the given length and width centred on (cx, cy) and
// turned to point along (dx, dy), a unit vector.
void FillBar(Canvas& canvas, double cx, double cy, double dx, double dy, double length,
             double width, uint8_t colour) {
    for (int y = 0; y < kClipHeight; ++y) {
        for (int x = 0; x < kClipWidth; ++x) {
            double px = x + 0.5 - cx, py = y + 0.5 - cy;
            double along = px * dx + py * dy, across = px * dy - py * dx;
            if (std::fabs(along) <= length / 2 && std::fabs(across) <= width / 2)
                Plot(canvas, x, y, colour);
        }
    }
}

// Sets a one pixel wide, 8-connected line of pixels from (ax, ay) to (bx, by).
void DrawThinLine(Canvas& canvas, double ax, double ay, double bx, double by, uint8_t colour) {
    double dx = bx - ax, dy = by - ay;
    int steps = static_cast<int>(std::ceil(std::max(std::fabs(dx), std::fabs(dy))));
    for (int i = 0; i <= steps; ++i) {
        double t = steps > 0 ? static_cast<double>(i) / steps : 0;
        Plot(canvas, static_cast<int>(std::floor(ax + t * dx)),
             static_cast<int>(std::floor(ay + t * dy)), colour);
    }
}

// Draws a hand from the dial centre towards `to`. A thickness of zero draws a one pixel wide
// hand.
void DrawHand(Canvas& canvas, Direction to, double length, double tail, double thickness,
              uint8_t colour) {
    double ax = kDialX - to.x * tail, ay = kDialY - to.y * tail;
    double bx = kDialX + to.x * length, by = kDialY + to.y * length;
    if (thickness > 0)
        DrawLine(canvas, ax, ay, bx, by, thickness, colour);
    else
        DrawThinLine(canvas, ax, ay, bx, by, colour);
}

// The wooden case below the dial, with the dark window the pendulum swings in.
void DrawCase(Canvas& canvas) {
    FillRect(canvas, 11, 36, 48, 89, kOutline);
    FillRect(canvas, 12, 36, 47, 88, kWood);
    FillRect(canvas, 12, 36, 14, 88, kWoodLight);
    FillRect(canvas, 45, 36, 47, 88, kWoodDark);
    FillRect(canvas, 12, 86, 47, 88, kWoodDark);
    FillRect(canvas, kWindowLeft - 1, kWindowTop - 1, kWindowRight + 1, kWindowBottom + 1,
             kOutline);
    FillRect(canvas, kWindowLeft, kWindowTop, kWindowRight, kWindowBottom, kInterior);
}

// The pendulum hanging towards `down`, seen only through the window.
void DrawPendulum(Canvas& canvas, Direction down) {
    double bobX = kPivotX + kPendulumLength * down.x;
    double bobY = kPivotY + kPendulumLength * down.y;
    canvas.clipLeft = kWindowLeft;
    canvas.clipTop = kWindowTop;
    canvas.clipRight = kWindowRight;
    canvas.clipBottom = kWindowBottom;
    DrawLine(canvas, kPivotX, kPivotY, bobX, bobY, 2.0, kBrassDark);
    FillDisc(canvas, bobX, bobY, kBobRadius, kBrassDark);
    FillDisc(canvas, bobX, bobY, kBobRadius - 1, kBrass);
    FillDisc(canvas, bobX - 1.5, bobY - 1.5, 1.3, kBrassLight);
    canvas.clipLeft = 0;
    canvas.clipTop = 0;
    canvas.clipRight = kClipWidth;
    canvas.clipBottom = kClipHeight;
}

// The round dial with its wooden bezel, hour marks and the two fixed hands at ten past ten.
void DrawDial(Canvas& canvas) {
    FillDisc(canvas, kDialX, kDialY, 26.5, kOutline);
    FillDisc(canvas, kDialX, kDialY, 25.5, kWoodDark);
    FillDisc(canvas, kDialX - 0.7, kDialY - 0.7, 24.8, kWood);
    FillDisc(canvas, kDialX, kDialY, 22.0, kBrassDark);
    FillDisc(canvas, kDialX, kDialY, 21.0, kFace);
    for (int hour = 0; hour < 12; ++hour) {
        const Direction d = kHours[hour];
        bool quarter = hour % 3 == 0;
        double length = quarter ? 4.0 : 2.5;
        double middle = 19.5 - length / 2;
        FillBar(canvas, kDialX + d.x * middle, kDialY + d.y * middle, d.x, d.y, length,
                quarter ? 2.0 : 1.0, kMarks);
    }
    DrawHand(canvas, kHourHand, 10.5, 0, 2.8, kHands); // hour hand just past ten
    DrawHand(canvas, kHours[2], 16.0, 0, 2.0, kHands); // minute hand at ten past
}

// Appends a four-character code.
void PutFourCC(std::vector<uint8_t>& out, const char* code) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(code[i]));
}

// Starts a chunk (or a RIFF/LIST with its form type) and returns where its size goes.
size_t BeginChunk(std::vector<uint8_t>& out, const char* id, const char* form = nullptr) {
    PutFourCC(out, id);
    size_t sizeAt = out.size();
    Put32(out, 0);
    if (form) PutFourCC(out, form);
    return sizeAt;
}

// Fills in the size of the chunk begun at sizeAt and pads it to an even length.
void EndChunk(std::vector<uint8_t>& out, size_t sizeAt) {
    uint32_t size = static_cast<uint32_t>(out.size() - sizeAt - 4);
    for (int i = 0; i < 4; ++i) out[sizeAt + i] = static_cast<uint8_t>((size >> (8 * i)) & 0xff);
    if (out.size() % 2 != 0) out.push_back(0);
}

// The main AVI header.
void PutMainHeader(std::vector<uint8_t>& out, uint32_t largestFrame) {
    size_t at = BeginChunk(out, "avih");
    Put32(out, 1000000 / kClipFramesPerSecond);      // microseconds per frame
    Put32(out, largestFrame * kClipFramesPerSecond); // max bytes per second
    Put32(out, 0);                                   // padding granularity
    Put32(out, 0x10);                                // AVIF_HASINDEX
    Put32(out, kClipFrames);
    Put32(out, 0); // initial frames
    Put32(out, 1); // streams
    Put32(out, largestFrame);
    Put32(out, kClipWidth);
    Put32(out, kClipHeight);
    for (int i = 0; i < 4; ++i) Put32(out, 0); // reserved
    EndChunk(out, at);
}

// The video stream's header and format (BITMAPINFOHEADER plus palette).
void PutStreamList(std::vector<uint8_t>& out, uint32_t largestFrame) {
    size_t list = BeginChunk(out, "LIST", "strl");
    size_t at = BeginChunk(out, "strh");
    PutFourCC(out, "vids");
    PutFourCC(out, "RLE ");
    Put32(out, 0); // flags
    Put16(out, 0); // priority
    Put16(out, 0); // language
    Put32(out, 0); // initial frames
    Put32(out, 1); // scale
    Put32(out, kClipFramesPerSecond);
    Put32(out, 0); // start
    Put32(out, kClipFrames);
    Put32(out, largestFrame);
    Put32(out, 0xffffffff); // quality: default
    Put32(out, 0);          // sample size: varies
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, kClipWidth);
    Put16(out, kClipHeight);
    EndChunk(out, at);

    at = BeginChunk(out, "strf");
    Put32(out, 40);
    Put32(out, kClipWidth);
    Put32(out, kClipHeight); // positive: rows are stored bottom-up
    Put16(out, 1);           // planes
    Put16(out, 8);           // bits per pixel
    Put32(out, 1);           // BI_RLE8
    Put32(out, largestFrame);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 256); // colours used
    Put32(out, 0);   // colours important
    std::vector<uint8_t> palette = Palette();
    out.insert(out.end(), palette.begin(), palette.end());
    EndChunk(out, at);
    EndChunk(out, list);
}

} // namespace

// Dial, case and pendulum; the pendulum and the second hand both complete one cycle per loop.
std::vector<uint8_t> RenderFrame(int index) {
    Canvas canvas;
    canvas.pixels.assign(static_cast<size_t>(kClipWidth) * kClipHeight, kBackground);
    DrawCase(canvas);
    DrawPendulum(canvas, kPendulumAt[index]);
    DrawDial(canvas);
    DrawHand(canvas, kSecondHandAt[index], 18.5, 5.0, 0, kSecondHand);
    FillDisc(canvas, kDialX, kDialY, 1.5, kHands);
    FillDisc(canvas, kDialX, kDialY, 0.5, kSecondHand);
    return canvas.pixels;
}

// Colours not used by the drawing stay black.
std::vector<uint8_t> Palette() {
    std::vector<uint8_t> palette(256 * 4, 0);
    for (int i = 0; i < kColourCount; ++i) {
        palette[i * 4 + 0] = kColours[i][2];
        palette[i * 4 + 1] = kColours[i][1];
        palette[i * 4 + 2] = kColours[i][0];
    }
    return palette;
}

// RIFF 'AVI ' { LIST hdrl { avih, LIST strl { strh, strf } }, LIST movi { 00dc... }, idx1 }.
std::vector<uint8_t> MakeClip() {
    std::vector<std::vector<uint8_t>> frames;
    uint32_t largestFrame = 0;
    for (int i = 0; i < kClipFrames; ++i) {
        frames.push_back(EncodeRle8(RenderFrame(i), kClipWidth, kClipHeight));
        largestFrame = std::max(largestFrame, static_cast<uint32_t>(frames.back().size()));
    }

    std::vector<uint8_t> out;
    size_t riff = BeginChunk(out, "RIFF", "AVI ");
    size_t header = BeginChunk(out, "LIST", "hdrl");
    PutMainHeader(out, largestFrame);
    PutStreamList(out, largestFrame);
    EndChunk(out, header);

    size_t movi = BeginChunk(out, "LIST", "movi");
    size_t moviFourCC = movi + 4;
    std::vector<uint32_t> offsets;
    for (const std::vector<uint8_t>& frame : frames) {
        offsets.push_back(static_cast<uint32_t>(out.size() - moviFourCC));
        size_t at = BeginChunk(out, "00dc");
        out.insert(out.end(), frame.begin(), frame.end());
        EndChunk(out, at);
    }
    EndChunk(out, movi);

    size_t index = BeginChunk(out, "idx1");
    for (size_t i = 0; i < frames.size(); ++i) {
        PutFourCC(out, "00dc");
        Put32(out, 0x10); // AVIIF_KEYFRAME
        Put32(out, offsets[i]);
        Put32(out, static_cast<uint32_t>(frames[i].size()));
    }
    EndChunk(out, index);
    EndChunk(out, riff);
    return out;
}
