#pragma once

#include <cstdint>
#include <vector>

namespace parvel {

// Geometry of one blink pattern strip: the steps lie side by side from x = 0, the last 10 pixels
// never hold a step, and the height is divided into 128 level units (level 0 at the bottom edge).
// Everything the strip widgets paint and every pointer position they forward goes through these
// functions, so tests check the same arithmetic the window uses. Float-to-integer conversions
// truncate toward zero.

// Pixels at the right end of a strip that never hold a step.
constexpr int kStripRightMargin = 10;
// Level above which a pointer switches a step on (of 128 units over the strip height).
constexpr double kStepOnLevel = 50.0;
// Level up to which a set step is drawn.
constexpr double kStepDrawLevel = 100.0;

// Strip width for a frame: frame width - strip left - 10, never negative.
int StripWidth(int frame_width, int strip_left);

// Pixels per step: (strip width - 10) / count; 0 when count < 1 or the strip has no room.
double StepWidth(int strip_width, int count);

// Pixels per level unit: h * 0.0078125 (h / 128).
double LevelScale(int strip_height);

// Level of pointer row y: (h - y) / level scale; 0 for a strip without height.
double LevelAt(int y, int strip_height);

// True when a pointer at row y switches a step on: the upper 78/128 of the strip.
bool SwitchesOn(int y, int strip_height);

// Step under pointer column x, trunc(x / step width), limited to first..last. Positions left or
// right of the steps (and any step width that cannot be divided by) land on first or last.
int StepIndexAt(int x, double step_width, int first, int last);

// A rectangle of pixels left <= x < right, top <= y < bottom; the outline, when drawn, lies on
// its border pixels.
struct StripRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const StripRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// Rectangle of a set step i: x from trunc(i * step width) to trunc((i + 1) * step width), y from
// trunc(h - 100 * level scale) (8 for h = 41 and for h = 38) down to h.
StripRect StepRect(int step, double step_width, int strip_height);

struct StripColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    bool operator==(const StripColour& o) const {
        return red == o.red && green == o.green && blue == o.blue;
    }
};

constexpr StripColour kStripBackground{255, 255, 255};
constexpr StripColour kStepFill{255, 0, 0};
constexpr StripColour kStepOutline{0, 0, 0};

// What one strip widget shows: hidden, or filled with `background` and one rectangle per set
// step, filled with `step_fill` and outlined in `step_outline`.
struct StripPaint {
    bool visible = false;
    int width = 0;
    int height = 0;
    StripColour background = kStripBackground;
    StripColour step_fill = kStepFill;
    StripColour step_outline = kStepOutline;
    std::vector<StripRect> steps;
};

}  // namespace parvel
