#include "settings/PatternStrip.h"

#include <algorithm>
#include <cmath>

namespace parvel {

int StripWidth(int frame_width, int strip_left) {
    return std::max(0, frame_width - strip_left - kStripRightMargin);
}

double StepWidth(int strip_width, int count) {
    if (count < 1 || strip_width <= kStripRightMargin) return 0.0;
    return static_cast<double>(strip_width - kStripRightMargin) / count;
}

double LevelScale(int strip_height) { return strip_height * 0.0078125; }

double LevelAt(int y, int strip_height) {
    const double scale = LevelScale(strip_height);
    if (scale <= 0.0) return 0.0;
    return (strip_height - y) / scale;
}

bool SwitchesOn(int y, int strip_height) { return LevelAt(y, strip_height) > kStepOnLevel; }

int StepIndexAt(int x, double step_width, int first, int last) {
    double q = x / step_width;  // +-inf or NaN when the width is 0
    if (std::isnan(q)) q = 0.0;
    q = std::trunc(q);
    // Limit while still a double: converting an out-of-range value to int is undefined.
    if (q < first) return first;
    if (q > last) return last;
    return static_cast<int>(q);
}

StripRect StepRect(int step, double step_width, int strip_height) {
    StripRect r;
    r.left = static_cast<int>(std::trunc(step * step_width));
    r.right = static_cast<int>(std::trunc((step + 1) * step_width));
    r.top = static_cast<int>(std::trunc(strip_height - kStepDrawLevel * LevelScale(strip_height)));
    r.bottom = strip_height;
    return r;
}

}  // namespace parvel
