// GestureRecognizer: corner simplification of the stroke and classification of its legs.
#include "core/gesturerecognizer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// Corner detection tolerance as a share of the stroke's larger extent: wobble below it is
// treated as jitter of one straight leg.
constexpr double kCornerToleranceShare = 0.2;
// A leg shorter than this share of the whole stroke is a hook at a corner or an end, not a leg.
constexpr double kShortLegShare = 0.15;
// Legs whose directions differ by less than this (radians, about 35 degrees) are one leg.
constexpr double kSameDirectionAngle = 0.61;
// A leg is straight along one axis when the other axis moves at most this share of it
// (about 27 degrees off the axis).
constexpr double kAxisSlack = 0.5;
// The rising leg of a check mark must slant: its horizontal travel is at least this share of its
// vertical travel, which keeps it apart from a down-up stroke.
constexpr double kCheckMinSlant = 0.5;

struct Leg {
    double dx = 0;
    double dy = 0;
    double length() const { return std::hypot(dx, dy); }
};

double distanceToSegment(const StrokePoint &p, const StrokePoint &a, const StrokePoint &b) {
    const double vx = b.x - a.x;
    const double vy = b.y - a.y;
    const double lengthSquared = vx * vx + vy * vy;
    if (lengthSquared == 0) {
        return std::hypot(p.x - a.x, p.y - a.y);
    }
    const double t = std::clamp(((p.x - a.x) * vx + (p.y - a.y) * vy) / lengthSquared, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * vx), p.y - (a.y + t * vy));
}

// Ramer-Douglas-Peucker: keeps the points that stick out more than tolerance.
void keepCorners(const std::vector<StrokePoint> &points, std::size_t first, std::size_t last,
                 double tolerance, std::vector<bool> &keep) {
    if (last <= first + 1) {
        return;
    }
    double farthest = -1;
    std::size_t index = first;
    for (std::size_t i = first + 1; i < last; ++i) {
        const double d = distanceToSegment(points[i], points[first], points[last]);
        if (d > farthest) {
            farthest = d;
            index = i;
        }
    }
    if (farthest > tolerance) {
        keep[index] = true;
        keepCorners(points, first, index, tolerance, keep);
        keepCorners(points, index, last, tolerance, keep);
    }
}

std::vector<Leg> legsOf(const std::vector<StrokePoint> &points, double extent) {
    std::vector<bool> keep(points.size(), false);
    keep.front() = keep.back() = true;
    keepCorners(points, 0, points.size() - 1, extent * kCornerToleranceShare, keep);
    std::vector<Leg> legs;
    const StrokePoint *previous = &points.front();
    for (std::size_t i = 1; i < points.size(); ++i) {
        if (keep[i]) {
            legs.push_back({points[i].x - previous->x, points[i].y - previous->y});
            previous = &points[i];
        }
    }
    return legs;
}

double totalLength(const std::vector<Leg> &legs) {
    double sum = 0;
    for (const Leg &leg : legs) {
        sum += leg.length();
    }
    return sum;
}

double angleBetween(const Leg &a, const Leg &b) {
    const double cosine = (a.dx * b.dx + a.dy * b.dy) / (a.length() * b.length());
    return std::acos(std::clamp(cosine, -1.0, 1.0));
}

std::vector<Leg> mergedLegs(std::vector<Leg> legs) {
    const double total = totalLength(legs);
    std::erase_if(legs, [total](const Leg &leg) { return leg.length() < total * kShortLegShare; });
    std::vector<Leg> merged;
    for (const Leg &leg : legs) {
        if (!merged.empty() && angleBetween(merged.back(), leg) < kSameDirectionAngle) {
            merged.back().dx += leg.dx;
            merged.back().dy += leg.dy;
        } else {
            merged.push_back(leg);
        }
    }
    return merged;
}

bool isHorizontal(const Leg &leg) {
    return std::abs(leg.dy) <= std::abs(leg.dx) * kAxisSlack;
}
bool isVertical(const Leg &leg) {
    return std::abs(leg.dx) <= std::abs(leg.dy) * kAxisSlack;
}

Gesture straightGesture(const Leg &leg) {
    if (isHorizontal(leg)) {
        return leg.dx < 0 ? Gesture::Left : Gesture::Right;
    }
    if (isVertical(leg)) {
        return leg.dy < 0 ? Gesture::Up : Gesture::Down;
    }
    return Gesture::None;
}

bool isCheckMark(const Leg &fall, const Leg &rise) {
    const bool fallsRightwards = fall.dy > 0 && fall.dx >= 0 && !isHorizontal(fall);
    const bool risesRightwards =
        rise.dy < 0 && rise.dx >= std::abs(rise.dy) * kCheckMinSlant && !isHorizontal(rise);
    return fallsRightwards && risesRightwards && rise.length() >= fall.length();
}

Gesture twoLegGesture(const Leg &first, const Leg &second) {
    if (isCheckMark(first, second)) {
        return Gesture::Check;
    }
    if (isVertical(first) && isVertical(second)) {
        if (first.dy < 0 && second.dy > 0) {
            return Gesture::UpDown;
        }
        if (first.dy > 0 && second.dy < 0) {
            return Gesture::DownUp;
        }
    }
    return Gesture::None;
}

} // namespace

Gesture GestureRecognizer::recognize(const std::vector<StrokePoint> &points) {
    if (points.size() < 2) {
        return Gesture::None;
    }
    const auto [minX, maxX] = std::minmax_element(
        points.begin(), points.end(), [](const auto &a, const auto &b) { return a.x < b.x; });
    const auto [minY, maxY] = std::minmax_element(
        points.begin(), points.end(), [](const auto &a, const auto &b) { return a.y < b.y; });
    const double extent = std::max(maxX->x - minX->x, maxY->y - minY->y);
    if (extent < kMinStrokeExtent) {
        return Gesture::None;
    }
    const std::vector<Leg> legs = mergedLegs(legsOf(points, extent));
    if (legs.size() == 1) {
        return straightGesture(legs.front());
    }
    if (legs.size() == 2) {
        return twoLegGesture(legs[0], legs[1]);
    }
    return Gesture::None;
}
