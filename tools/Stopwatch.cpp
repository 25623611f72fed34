// The stopwatch: every part is a signed distance (negative inside, in pixels); a pixel takes
// the share of a one-pixel band across the part's edge that its centre lies in, so edges
// are anti-aliased at any size. Parts are painted back to front.
#include "Stopwatch.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

struct Colour {
    double r, g, b;
};

const Colour kOutline = {0.15, 0.15, 0.16};
const Colour kHand = {0.11, 0.11, 0.12};
const Colour kMetalLight = {0.97, 0.97, 0.98};
const Colour kMetalDark = {0.52, 0.53, 0.56};
const Colour kMetalTinyLight = {0.80, 0.80, 0.82};
const Colour kMetalTinyDark = {0.42, 0.43, 0.46};
const Colour kDial = {1.0, 1.0, 1.0};
const Colour kDialEdge = {0.90, 0.91, 0.93};
const Colour kYellow = {1.0, 0.86, 0.20};
const Colour kYellowEdge = {0.98, 0.72, 0.0};
const Colour kShadow = {0.0, 0.0, 0.0};

// A part: the signed distance of a point to its edge. A paint: the colour at a point.
using Shape = std::function<double(double, double)>;
using Paint = std::function<Colour(double, double)>;

// The length of (x, y); a square root, which every system rounds alike.
double Length(double x, double y) {
    return std::sqrt(x * x + y * y);
}

// The colour a fraction t (0..1) of the way from a to b.
Colour Mix(Colour a, Colour b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// One colour everywhere.
Paint Solid(Colour c) {
    return [c](double, double) { return c; };
}

// From `inner` to `outer` between the fractions `from` and 1 of radius r around (cx, cy).
Paint Radial(Colour inner, Colour outer, double cx, double cy, double r, double from) {
    return [=](double x, double y) {
        return Mix(inner, outer, (Length(x - cx, y - cy) / r - from) / (1 - from));
    };
}

// A disc.
Shape Circle(double cx, double cy, double r) {
    return [=](double x, double y) { return Length(x - cx, y - cy) - r; };
}

// A box, its corners rounded with radius `corner`.
Shape Box(double left, double top, double right, double bottom, double corner = 0) {
    return [=](double x, double y) {
        const double qx = std::fabs(x - (left + right) / 2) - ((right - left) / 2 - corner);
        const double qy = std::fabs(y - (top + bottom) / 2) - ((bottom - top) / 2 - corner);
        return Length(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) -
               corner;
    };
}

// A line from (ax, ay) to (bx, by) with round ends, `width` thick.
Shape Segment(double ax, double ay, double bx, double by, double width) {
    return [=](double x, double y) {
        const double dx = bx - ax, dy = by - ay;
        const double t =
            std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
        return Length(x - ax - t * dx, y - ay - t * dy) - width / 2;
    };
}

// Premultiplied RGBA pixels in 0..1, painted over each other.
struct Canvas {
    int size;
    std::vector<double> pixels;

    // Paints `paint` into `shape`; a distance `softness` pixels wide makes the edge's band.
    void Fill(const Shape& shape, const Paint& paint, double opacity = 1, double softness = 1) {
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const double px = x + 0.5, py = y + 0.5;
                const double cover = std::clamp(0.5 - shape(px, py) / softness, 0.0, 1.0) * opacity;
                if (cover <= 0.0) continue;
                const Colour c = paint(px, py);
                double* p = &pixels[(size_t(y) * size + x) * 4];
                p[0] = c.r * cover + p[0] * (1 - cover);
                p[1] = c.g * cover + p[1] * (1 - cover);
                p[2] = c.b * cover + p[2] * (1 - cover);
                p[3] = cover + p[3] * (1 - cover);
            }
        }
    }

    // 8-bit RGBA with straight alpha.
    std::vector<uint8_t> Rgba() const {
        std::vector<uint8_t> rgba(pixels.size());
        for (size_t i = 0; i < pixels.size(); i += 4) {
            const double alpha = pixels[i + 3];
            for (int k = 0; k < 3; ++k) {
                const double straight = alpha > 0 ? std::clamp(pixels[i + k] / alpha, 0.0, 1.0) : 0;
                rgba[i + k] = uint8_t(std::lround(straight * 255));
            }
            rgba[i + 3] = uint8_t(std::lround(alpha * 255));
        }
        return rgba;
    }
};

// The stopwatch's measures at one size, in pixels. They are those of the 32-pixel design in
// units u; lines and hands are whole pixels, hands an even number centred on the pixel edge
// in the middle, so that they stay sharp and at least a pixel wide at 16 and 20 pixels.
// Below 32 pixels the dial loses its inner line, marks and hub; from 48 on the picture has
// a shadow and room below for it.
struct Measures {
    int size;
    double u = size / 32.0;
    bool tiny = size < 32, large = size >= 48;
    double line = std::max(1.0, std::round(0.75 * u));
    double hand = 2 * std::max(1.0, std::round(0.9 * u));
    double cx = size / 2.0, cy = std::round((large ? 17.5 : 18) * u);
    double radius = large ? 13.25 * u : std::min(std::floor(14 * u), size - cy);
    double ring = std::max(1.0, std::round(2 * u));
    double dial = radius - line - ring - (tiny ? 0 : line);
    double top = cy - radius;
};

// Metal lit from the top left; darker at small sizes, where the ring is a pixel or two and
// must stand apart from the white dial.
Paint Metal(const Measures& m) {
    const Colour light = m.tiny ? kMetalTinyLight : kMetalLight;
    const Colour dark = m.tiny ? kMetalTinyDark : kMetalDark;
    const double start = m.cx + m.cy - 1.4 * m.radius, length = 2.8 * m.radius;
    return [=](double x, double y) { return Mix(light, dark, (x + y - start) / length); };
}

// The crown: a button on a stem, both outlined and behind the case.
void DrawCrown(Canvas& canvas, const Measures& m) {
    const double top = m.large ? std::round(0.5 * m.u) : 0.0;
    const double bottom = m.top - (m.tiny ? 0.0 : std::round(m.u));
    const double button = std::max(2.0, std::round(3 * m.u)),
                 stem = std::max(1.0, std::round(2 * m.u));
    const double corner = m.large ? m.u : 0.0, l = m.line;
    canvas.Fill(Box(m.cx - stem, bottom - l, m.cx + stem, m.top + l), Solid(kOutline));
    canvas.Fill(Box(m.cx - stem + l, bottom - l, m.cx + stem - l, m.top + l), Metal(m));
    canvas.Fill(Box(m.cx - button, top, m.cx + button, bottom, corner), Solid(kOutline));
    canvas.Fill(
        Box(m.cx - button + l, top + l, m.cx + button - l, bottom, std::max(0.0, corner - l)),
        Metal(m));
}

// The case: an outlined metal ring, with a line inside it from 32 pixels on.
void DrawCase(Canvas& canvas, const Measures& m) {
    canvas.Fill(Circle(m.cx, m.cy, m.radius), Solid(kOutline));
    canvas.Fill(Circle(m.cx, m.cy, m.radius - m.line), Metal(m));
    if (!m.tiny) canvas.Fill(Circle(m.cx, m.cy, m.dial + m.line), Solid(kOutline));
}

// The dial with the quarter hour from 12 to 3 in yellow, and its marks: 6 and 9 o'clock
// (12 and 3 lie under the hands), from 64 pixels on the other hours too.
void DrawDial(Canvas& canvas, const Measures& m) {
    const Shape face = Circle(m.cx, m.cy, m.dial);
    canvas.Fill(face, m.tiny ? Solid(kDial) : Radial(kDial, kDialEdge, m.cx, m.cy, m.dial, 0.6));
    canvas.Fill(
        [&](double x, double y) {
            return std::max({face(x, y), m.cx - x, y - m.cy});
        },
        Radial(kYellow, kYellowEdge, m.cx, m.cy, m.dial, 0.5));
    if (m.tiny) return;
    const double mark = std::round(2.5 * m.u), h = m.hand / 2;
    canvas.Fill(Box(m.cx - h, m.cy + m.dial - mark, m.cx + h, m.cy + m.dial + m.line),
                Solid(kHand));
    canvas.Fill(Box(m.cx - m.dial - m.line, m.cy - h, m.cx - m.dial + mark, m.cy + h),
                Solid(kHand));
    if (m.size < 64) return;
    // The other hours' directions, (sin, -cos) of multiples of 30 degrees.
    const double a = 0.5, b = std::sqrt(3.0) / 2, inner = m.dial - 1.8 * m.u,
                 outer = m.dial - 0.6 * m.u;
    const double directions[8][2] = {{a, -b}, {b, -a}, {b, a},   {a, b},
                                     {-a, b}, {-b, a}, {-b, -a}, {-a, -b}};
    for (const auto& d : directions)
        canvas.Fill(Segment(m.cx + d[0] * inner, m.cy + d[1] * inner, m.cx + d[0] * outer,
                            m.cy + d[1] * outer, 0.8 * m.u),
                    Solid(kHand));
}

// The hands: the long one at 12, the short one at 3, and from 32 pixels on the hub they
// turn on, from 64 on with a yellow pin.
void DrawHands(Canvas& canvas, const Measures& m) {
    const double tip = m.tiny ? 0.0 : std::round(m.u), h = m.hand / 2;
    canvas.Fill(Box(m.cx - h, m.cy - m.dial + tip, m.cx + h, m.cy + h), Solid(kHand));
    canvas.Fill(Box(m.cx - h, m.cy - h, m.cx + std::round(0.75 * m.dial), m.cy + h), Solid(kHand));
    if (!m.tiny) canvas.Fill(Circle(m.cx, m.cy, 0.75 * m.hand + 0.4 * m.u), Solid(kHand));
    if (m.size >= 64) canvas.Fill(Circle(m.cx, m.cy, 0.35 * m.hand), Solid(kYellowEdge));
}

} // namespace

std::vector<uint8_t> DrawStopwatch(int size) {
    Canvas canvas{size, std::vector<double>(size_t(size) * size * 4, 0.0)};
    const Measures m{size};
    if (m.large)
        canvas.Fill(Circle(m.cx, m.cy + 0.5 * m.u, m.radius), Solid(kShadow), 0.3, 1.25 * m.u);
    DrawCrown(canvas, m);
    DrawCase(canvas, m);
    DrawDial(canvas, m);
    DrawHands(canvas, m);
    return canvas.Rgba();
}
