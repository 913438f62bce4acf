#pragma once

#include <array>
#include <functional>

#include "catalogue/Catalogue.h"

namespace parvel {

// The main window's geometry rules as plain arithmetic, so they can be checked without a
// window. The widgets only copy these numbers (all in pixels, parent coordinates).

struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
};

// Fixed sizes of the grid row controls.
constexpr int kGridLabelHeight = 20;
constexpr int kGridAddressWidth = 40;
constexpr int kGridFunctionWidth = 30;
constexpr int kGridFieldHeight = 20;
constexpr int kGridButtonWidth = 30;
constexpr int kGridButtonHeight = 16;

struct GridRowPlace {
    int label_left = 0, label_top = 0;
    int address_left = 0, address_top = 0;
    int function_left = 0, function_top = 0;
    int button_left = 0, button_top = 0;
};

struct GridPlacement {
    bool header_visible = false;  // one column shows the firmware name above the rows
    bool line_visible = false;    // two columns show the separator line instead
    std::array<GridRowPlace, kGridRows> rows{};  // row 0 is never placed (stays zero)
};

// split >= 48: one column (label widths decide where the fields start), rows 25 apart and 35
// after row `gap`. split < 48: two columns with the break after row `split`.
GridPlacement PlaceGrid(int split, int gap, const std::array<int, kGridRows>& label_widths);

// Sizes of the controls that FitWindowToFrame reads but does not change.
struct FitFixed {
    int status_bar_height = 20;
    int buttons_box_height = 80;
    int prev_width = 15;
    int next_width = 15;
    int goweb_height = 25;
    int image_width = 200;
    int image_height = 32;
};

struct FitResult {
    int main_box_height = 0;
    int window_width = 0;
    int window_height = 0;  // also the window's new minimum size, with window_width
    int load_width = 0, save_width = 0, info_width = 0, close_width = 0;
    int prev_left = 0, load_left = 0, next_left = 0, save_left = 0, info_left = 0, close_left = 0;
    int progress_left = 0, progress_width = 0;
    int buttons_left = 0, buttons_top = 0, buttons_width = 0;
    Box image_box;
    int image_left = 0, image_top = 0;  // inside image_box
    int goweb_left = 0, goweb_top = 0, goweb_width = 0;
};

// il: left of the picture box, bl: left of the button box, h/w: height and width of the shown
// frame. Integer arithmetic, divisions truncate.
FitResult FitWindowToFrame(int il, int bl, int h, int w, const FitFixed& fixed = {});

// The header's point sizes, largest first; the last is the smallest used.
constexpr std::array<int, 5> kHeaderPointSizes = {15, 13, 11, 10, 9};

// Steps the header's font down while the text at that size is wider than box_width.
// width_at(points) gives the label's width at a point size.
int HeaderPointSize(const std::function<int(int)>& width_at, int box_width);

}  // namespace parvel
