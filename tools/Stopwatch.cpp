// The stopwatch: every part is a signed distance (negative inside, in pixels); a pixel takes
// the share of a one-pixel band across the part's edge that its centre lies in, so edges
// are anti-aliased at any size. Parts are painted back to front.
#include "Stopwatch.h"

#include <algorithm>
#include <cmath>

namespace {

struct Colour {
    double r, g, b;
};

// The colour a fraction t (0..1) of the way from a to b.
Colour Mix(Colour a, Colour b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

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

// Distance to a circle's edge.
double Circle(double x, double y, double cx, double cy, double r) {
    return std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy)) - r;
}

// Distance to the edge of a box with rounded corners.
double Box(double x, double y, double left, double top, double right, double bottom,
           double radius) {
    const double qx = std::fabs(x - (left + right) / 2) - ((right - left) / 2 - radius);
    const double qy = std::fabs(y - (top + bottom) / 2) - ((bottom - top) / 2 - radius);
    const double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - radius;
}

// Distance to a line from (ax, ay) to (bx, by) with round ends, `width` thick.
double Segment(double x, double y, double ax, double ay, double bx, double by, double width) {
    const double dx = bx - ax, dy = by - ay;
    const double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return Circle(x, y, ax + t * dx, ay + t * dy, width / 2);
}

// Premultiplied RGBA pixels in 0..1, painted over each other.
struct Canvas {
    int size;
    std::vector<double> pixels;

    // Paints `colour(x, y)` into the part `shape(x, y)`, with the given opacity.
    template <class Shape, class Paint>
    void Fill(const Shape& shape, const Paint& colour, double opacity = 1.0) {
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const double px = x + 0.5, py = y + 0.5;
                const double cover = std::clamp(0.5 - shape(px, py), 0.0, 1.0) * opacity;
                if (cover <= 0.0) continue;
                const Colour c = colour(px, py);
                double* p = &pixels[(size_t(y) * size + x) * 4];
                p[0] = c.r * cover + p[0] * (1 - cover);
                p[1] = c.g * cover + p[1] * (1 - cover);
                p[2] = c.b * cover + p[2] * (1 - cover);
                p[3] = cover + p[3] * (1 - cover);
            }
        }
    }
};

} // namespace

std::vector<uint8_t> DrawStopwatch(int size) {
    Canvas canvas{size, std::vector<double>(size_t(size) * size * 4, 0.0)};
    // Measures are those of the 32-pixel design, in units u; lines and hands are whole
    // pixels (hands an even number, centred on the pixel edge in the middle), so that
    // they stay sharp and at least a pixel wide at 16 and 20 pixels.
    const double u = size / 32.0;
    const bool large = size >= 48, tiny = size < 32;
    const double line = std::max(1.0, std::round(0.75 * u));
    const double hand = 2 * std::max(1.0, std::round(0.9 * u));
    const double cx = size / 2.0, cy = std::round(18 * u);
    const double radius =
        large ? std::min(14 * u, size - cy) - 0.5 * u : std::min(std::floor(14 * u), size - cy);
    const double ring = std::max(1.0, std::round(2 * u));
    const double dial = radius - line - ring - (tiny ? 0.0 : line);
    const double top = cy - radius;

    auto flat = [](Colour c) { return [c](double, double) { return c; }; };
    // Metal lit from the top left.
    // Metal lit from the top left; darker at small sizes, where the ring is a pixel or two
    // and must stand apart from the white dial.
    const Colour light = tiny ? kMetalTinyLight : kMetalLight;
    const Colour dark = tiny ? kMetalTinyDark : kMetalDark;
    auto metal = [&](double x, double y) {
        return Mix(light, dark, (x + y - (cx + cy - 1.4 * radius)) / (2.8 * radius));
    };

    // A soft shadow under the large pictures.
    if (large) {
        const double blur = 1.5 * u;
        canvas.Fill([&](double x, double y) { return Circle(x, y, cx, cy + u, radius) / blur; },
                    flat({0, 0, 0}), 0.3);
    }

    // The crown: a button on a stem, both behind the case.
    const double buttonTop = large ? 0.5 * u : 0.0,
                 buttonBottom = top - (tiny ? 0.0 : std::round(u));
    const double buttonHalf = std::max(2.0, std::round(3 * u)),
                 stemHalf = std::max(1.0, std::round(2 * u));
    const double corner = large ? u : 0.0;
    canvas.Fill(
        [&](double x, double y) {
            return Box(x, y, cx - stemHalf, buttonBottom - line, cx + stemHalf, top + line, 0);
        },
        flat(kOutline));
    canvas.Fill(
        [&](double x, double y) {
            return Box(x, y, cx - stemHalf + line, buttonBottom - line, cx + stemHalf - line,
                       top + line, 0);
        },
        metal);
    canvas.Fill(
        [&](double x, double y) {
            return Box(x, y, cx - buttonHalf, buttonTop, cx + buttonHalf, buttonBottom, corner);
        },
        flat(kOutline));
    canvas.Fill(
        [&](double x, double y) {
            return Box(x, y, cx - buttonHalf + line, buttonTop + line, cx + buttonHalf - line,
                       buttonBottom, std::max(0.0, corner - line));
        },
        metal);

    // The case: an outlined metal ring around the dial.
    canvas.Fill([&](double x, double y) { return Circle(x, y, cx, cy, radius); }, flat(kOutline));
    canvas.Fill([&](double x, double y) { return Circle(x, y, cx, cy, radius - line); }, metal);
    if (!tiny)
        canvas.Fill([&](double x, double y) { return Circle(x, y, cx, cy, dial + line); },
                    flat(kOutline));

    // The dial, and the quarter hour from 12 to 3 in yellow.
    canvas.Fill([&](double x, double y) { return Circle(x, y, cx, cy, dial); },
                [&](double x, double y) {
                    return tiny ? kDial
                                : Mix(kDial, kDialEdge,
                                      (Circle(x, y, cx, cy, 0) / dial - 0.6) / 0.4);
                });
    canvas.Fill(
        [&](double x, double y) {
            return std::max({Circle(x, y, cx, cy, dial), cx - x, y - cy});
        },
        [&](double x, double y) {
            return Mix(kYellow, kYellowEdge, (Circle(x, y, cx, cy, 0) / dial - 0.5) / 0.5);
        });

    // Marks at 6 and 9 o'clock (12 and 3 lie under the hands), and from 64 pixels on the
    // other hours. The directions of the hours: (sin, -cos) of multiples of 30 degrees.
    if (!tiny) {
        const double mark = std::round(2.5 * u);
        canvas.Fill(
            [&](double x, double y) {
                return Box(x, y, cx - hand / 2, cy + dial - mark, cx + hand / 2, cy + dial + line,
                           0);
            },
            flat(kHand));
        canvas.Fill(
            [&](double x, double y) {
                return Box(x, y, cx - dial - line, cy - hand / 2, cx - dial + mark, cy + hand / 2,
                           0);
            },
            flat(kHand));
    }
    if (size >= 64) {
        const double half = 0.5, root = std::sqrt(3.0) / 2;
        const double directions[8][2] = {{half, -root},  {root, -half}, {root, half},
                                         {half, root},   {-half, root}, {-root, half},
                                         {-root, -half}, {-half, -root}};
        for (const auto& d : directions) {
            const double inner = dial - 1.8 * u, outer = dial - 0.6 * u;
            canvas.Fill(
                [&](double x, double y) {
                    return Segment(x, y, cx + d[0] * inner, cy + d[1] * inner, cx + d[0] * outer,
                                   cy + d[1] * outer, 0.8 * u);
                },
                flat(kHand));
        }
    }

    // The hands: the long one at 12, the short one at 3, and the hub they turn on.
    const double tip = tiny ? 0.0 : std::round(u);
    canvas.Fill(
        [&](double x, double y) {
            return Box(x, y, cx - hand / 2, cy - dial + tip, cx + hand / 2, cy + hand / 2, 0);
        },
        flat(kHand));
    canvas.Fill(
        [&](double x, double y) {
            return Box(x, y, cx - hand / 2, cy - hand / 2, cx + std::round(0.75 * dial),
                       cy + hand / 2, 0);
        },
        flat(kHand));
    if (!tiny)
        canvas.Fill([&](double x, double y) { return Circle(x, y, cx, cy, 0.75 * hand + 0.4 * u); },
                    flat(kHand));
    if (large)
        canvas.Fill([&](double x, double y) { return Circle(x, y, cx, cy, 0.35 * hand); },
                    flat(kYellowEdge));

    std::vector<uint8_t> rgba(canvas.pixels.size());
    for (size_t i = 0; i < canvas.pixels.size(); i += 4) {
        const double alpha = canvas.pixels[i + 3];
        for (int k = 0; k < 3; ++k)
            rgba[i + k] =
                alpha > 0
                    ? uint8_t(std::lround(std::clamp(canvas.pixels[i + k] / alpha, 0.0, 1.0) * 255))
                    : 0;
        rgba[i + 3] = uint8_t(std::lround(alpha * 255));
    }
    return rgba;
}
