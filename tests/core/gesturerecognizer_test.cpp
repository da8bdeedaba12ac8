// Tests of the stroke recogniser on drawn point sequences, clean and with hand jitter.
#include "core/gesturerecognizer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using Points = std::vector<StrokePoint>;

// A polyline through the given corners, sampled every few pixels, with a deterministic wobble
// of up to `jitter` pixels across the stroke as a hand on a mouse draws it.
Points drawn(const Points &corners, double jitter) {
    Points points;
    unsigned seed = 12345;
    auto wobble = [&] {
        seed = seed * 1103515245u + 12345u;
        return (static_cast<double>((seed >> 16) % 2001) / 1000.0 - 1.0) * jitter;
    };
    for (std::size_t i = 0; i + 1 < corners.size(); ++i) {
        const StrokePoint a = corners[i];
        const StrokePoint b = corners[i + 1];
        const int steps = std::max(2, static_cast<int>(std::hypot(b.x - a.x, b.y - a.y) / 4));
        for (int s = 0; s < steps; ++s) {
            const double t = static_cast<double>(s) / steps;
            points.push_back({a.x + (b.x - a.x) * t + wobble(), a.y + (b.y - a.y) * t + wobble()});
        }
    }
    points.push_back(corners.back());
    return points;
}

struct Case {
    std::string name;
    Points corners;
    Gesture expected;
};

TEST(GestureRecognizer, ShapesAndNonGestures) {
    const std::vector<Case> cases = {
        {"left", {{300, 40}, {100, 44}}, Gesture::Left},
        {"right", {{100, 40}, {320, 30}}, Gesture::Right},
        {"up", {{200, 200}, {205, 60}}, Gesture::Up},
        {"down", {{200, 60}, {190, 220}}, Gesture::Down},
        {"up-down", {{200, 200}, {205, 60}, {210, 195}}, Gesture::UpDown},
        {"down-up", {{200, 60}, {195, 200}, {202, 70}}, Gesture::DownUp},
        {"check", {{100, 100}, {140, 150}, {240, 20}}, Gesture::Check},
        {"steep check", {{100, 100}, {115, 150}, {180, 40}}, Gesture::Check},
        // Not gestures:
        {"click with slip", {{100, 100}, {110, 104}}, Gesture::None},
        {"diagonal", {{100, 100}, {250, 250}}, Gesture::None},
        {"left-right", {{300, 40}, {100, 40}, {300, 42}}, Gesture::None},
        {"reversed check", {{240, 20}, {140, 150}, {100, 100}}, Gesture::None},
        {"check with short rise", {{100, 40}, {180, 160}, {200, 130}}, Gesture::None},
        {"zigzag", {{100, 100}, {200, 200}, {300, 100}, {400, 200}}, Gesture::None},
        {"square", {{100, 100}, {200, 100}, {200, 200}, {100, 200}, {100, 100}}, Gesture::None},
        {"right-down corner", {{100, 100}, {250, 100}, {250, 250}}, Gesture::None},
    };
    for (const Case &c : cases) {
        for (const double jitter : {0.0, 3.0}) {
            EXPECT_EQ(GestureRecognizer::recognize(drawn(c.corners, jitter)), c.expected)
                << c.name << " jitter " << jitter;
        }
    }
    EXPECT_EQ(GestureRecognizer::recognize({}), Gesture::None);
    EXPECT_EQ(GestureRecognizer::recognize({{5, 5}}), Gesture::None);
}

TEST(GestureRecognizer, RoundedTurnsAndHooksStillCount) {
    // A down-up stroke with a rounded bottom, and a left stroke with a small hook at its end.
    Points downUp;
    for (int a = 0; a <= 180; a += 5) {
        const double r = 6;
        downUp.push_back(
            {200 + r - r * std::cos(a * M_PI / 180), 150 + r * std::sin(a * M_PI / 180)});
    }
    Points stroke = drawn({{200, 20}, {200, 150}}, 1);
    stroke.insert(stroke.end(), downUp.begin(), downUp.end());
    Points rise = drawn({{212, 150}, {212, 25}}, 1);
    stroke.insert(stroke.end(), rise.begin(), rise.end());
    EXPECT_EQ(GestureRecognizer::recognize(stroke), Gesture::DownUp);

    EXPECT_EQ(GestureRecognizer::recognize(drawn({{400, 50}, {150, 52}, {140, 60}}, 1)),
              Gesture::Left);
}

} // namespace
