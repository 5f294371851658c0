#include "snowflake.h"

#include <algorithm>
#include <cmath>

namespace {

// Plain double arithmetic with sqrt only (correctly rounded everywhere), so
// the drawing comes out the same on every machine.
struct Point {
    double x;
    double y;
};

Point Add(Point a, Point b) {
    return {a.x + b.x, a.y + b.y};
}
Point Scale(Point a, double k) {
    return {a.x * k, a.y * k};
}

// One stroke of the flake: a segment with round ends, in units of the flake's
// radius (the arms end just inside the unit circle).
struct Stroke {
    Point from;
    Point to;
    double halfWidth;
};

double DistanceToSegment(Point p, const Stroke& s) {
    const double dx = s.to.x - s.from.x;
    const double dy = s.to.y - s.from.y;
    const double px = p.x - s.from.x;
    const double py = p.y - s.from.y;
    const double lengthSq = dx * dx + dy * dy;
    double t = lengthSq > 0.0 ? (px * dx + py * dy) / lengthSq : 0.0;
    t = std::min(1.0, std::max(0.0, t));
    const double ex = px - t * dx;
    const double ey = py - t * dy;
    return std::sqrt(ex * ex + ey * ey);
}

// The six arm directions, starting straight up, 60 degrees apart.
const double kSin60 = std::sqrt(3.0) / 2.0;
const Point kArms[6] = {{0.0, 1.0},  {-kSin60, 0.5}, {-kSin60, -0.5},
                        {0.0, -1.0}, {kSin60, -0.5}, {kSin60, 0.5}};

// A side branch leaves its arm at 60 degrees on either side.
struct Branch {
    double at;     // distance of its root from the centre
    double length; // length along its own direction
    int minSize;   // smallest icon size that shows it
};
const Branch kBranches[] = {{0.34, 0.30, 24}, {0.58, 0.24, 32}, {0.78, 0.13, 48}};
const double kArmLength = 0.94;
const double kArmHalfWidth = 0.052;
const double kMinArmHalfPixels = 0.8;
const double kRingRadius = 0.19; // the small hexagon around the centre
const int kRingMinSize = 32;

std::vector<Stroke> FlakeStrokes(int size, double pixel) {
    // Strokes never get thinner than about one and a half pixels.
    const double armHalf = std::max(kArmHalfWidth, kMinArmHalfPixels * pixel);
    const double branchHalf = std::max(0.038, 0.7 * pixel);
    const double ringHalf = std::max(0.03, 0.6 * pixel);
    std::vector<Stroke> strokes;
    for (int a = 0; a < 6; ++a) {
        const Point u = kArms[a];
        const Point perp = {-u.y, u.x};
        strokes.push_back({{0.0, 0.0}, Scale(u, kArmLength), armHalf});
        const Point left = Add(Scale(u, 0.5), Scale(perp, kSin60));
        const Point right = Add(Scale(u, 0.5), Scale(perp, -kSin60));
        for (const Branch& b : kBranches) {
            if (size < b.minSize) {
                continue;
            }
            const Point root = Scale(u, b.at);
            strokes.push_back({root, Add(root, Scale(left, b.length)), branchHalf});
            strokes.push_back({root, Add(root, Scale(right, b.length)), branchHalf});
        }
        if (size >= kRingMinSize) {
            const Point next = kArms[(a + 1) % 6];
            strokes.push_back({Scale(u, kRingRadius), Scale(next, kRingRadius), ringHalf});
        }
    }
    return strokes;
}

struct Colour {
    double r;
    double g;
    double b;
};

// White at the heart, pale ice blue towards the tips; a deeper blue rim keeps
// the shape readable on light backgrounds.
Colour FillColour(Point p) {
    const double t = std::min(1.0, std::sqrt(p.x * p.x + p.y * p.y));
    return {255.0 - 60.0 * t, 255.0 - 30.0 * t, 255.0};
}
const Colour kRim = {74.0, 128.0, 196.0};

uint8_t ToByte(double v) {
    const double clamped = std::min(255.0, std::max(0.0, v));
    return static_cast<uint8_t>(clamped + 0.5);
}

} // namespace

IconImage DrawSnowflake(int size) {
    if (size <= 0) {
        return IconImage{0, {}};
    }
    IconImage image{size, std::vector<uint8_t>(static_cast<size_t>(size) * size * 4, 0)};
    // The rim is one pixel wide up to 128 pixels and two at 256.
    const double rimPixels = std::max(1.0, size / 128.0);
    // The radius puts the outer edge of the rim at the arm tips on the inner
    // side of the outermost pixels, which stay clear, whichever of the two arm
    // widths applies.
    const double room = size / 2.0 - 1.0 - rimPixels;
    double radius = room / (kArmLength + kArmHalfWidth);
    if (kArmHalfWidth * radius < kMinArmHalfPixels) {
        radius = (room - kMinArmHalfPixels) / kArmLength;
    }
    const double pixel = 1.0 / radius;
    const double rim = rimPixels * pixel;
    const std::vector<Stroke> strokes = FlakeStrokes(size, pixel);
    const int samples = size <= 64 ? 8 : 5; // per axis, per pixel

    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double sumA = 0.0, sumR = 0.0, sumG = 0.0, sumB = 0.0;
            for (int j = 0; j < samples; ++j) {
                for (int i = 0; i < samples; ++i) {
                    const double sx = x + (i + 0.5) / samples;
                    const double sy = y + (j + 0.5) / samples;
                    const Point p = {(sx - size / 2.0) * pixel, (size / 2.0 - sy) * pixel};
                    double inside = 1e9; // signed distance to the outline of the strokes
                    for (const Stroke& s : strokes) {
                        inside = std::min(inside, DistanceToSegment(p, s) - s.halfWidth);
                    }
                    if (inside > rim) {
                        continue;
                    }
                    const Colour c = inside <= 0.0 ? FillColour(p) : kRim;
                    sumA += 1.0;
                    sumR += c.r;
                    sumG += c.g;
                    sumB += c.b;
                }
            }
            uint8_t* out = &image.bgra[(static_cast<size_t>(y) * size + x) * 4];
            if (sumA == 0.0) {
                continue; // fully transparent: all four bytes stay 0
            }
            out[0] = ToByte(sumB / sumA);
            out[1] = ToByte(sumG / sumA);
            out[2] = ToByte(sumR / sumA);
            out[3] = ToByte(255.0 * sumA / (samples * samples));
        }
    }
    return image;
}

const uint8_t* IconPixel(const IconImage& image, int x, int y) {
    return &image.bgra[(static_cast<size_t>(y) * image.size + x) * 4];
}
