// GestureRecognizer: turns a drawn stroke (a point sequence) into one of seven gesture numbers.
#pragma once

#include <vector>

// The gesture numbers handed to the tool bar panel's gesture handler.
enum class Gesture {
    None = 0,
    Left = 1,
    Right = 2,
    Up = 3,
    Down = 4,
    UpDown = 13,
    DownUp = 14,
    Check = 24,
};

struct StrokePoint {
    double x = 0; // screen coordinates: x grows to the right, y grows downwards
    double y = 0;
};

// Recognises straight strokes (left, right, up, down), the two-leg strokes up-down and down-up,
// and a check mark (a short leg down and to the right, then a longer leg up and to the right).
// The stroke is simplified to its corner points first, so hand jitter does not split a leg.
// Pure function of its input; usable from any thread.
class GestureRecognizer {
public:
    // Strokes whose bounding box is smaller than this in both directions are clicks, not
    // gestures: a mouse press with a slight slip must not go back in the history.
    static constexpr double kMinStrokeExtent = 30.0;

    static Gesture recognize(const std::vector<StrokePoint> &points);
};
