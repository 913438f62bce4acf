#include "app/WindowLayout.h"

#include <algorithm>

namespace parvel {

GridPlacement PlaceGrid(int split, int gap, const std::array<int, kGridRows>& label_widths) {
    GridPlacement p;
    if (split >= kGridRows) {
        p.header_visible = true;
        p.line_visible = false;
        int w = 0;
        for (int r = 1; r < kGridRows; ++r) w = std::max(w, label_widths[r]);
        int top = 60;
        for (int i = 1; i < kGridRows; ++i) {
            GridRowPlace& row = p.rows[i];
            row.label_top = top + 4;
            row.label_left = 5;
            row.address_top = top;
            row.address_left = w + 15;
            row.function_top = top;
            row.function_left = row.address_left + kGridAddressWidth + 10;
            row.button_top = top + 2;
            row.button_left = row.function_left;
            top += i == gap ? 35 : 25;
        }
        return p;
    }

    p.header_visible = false;
    p.line_visible = true;
    int top = 15;
    int left = 5;
    for (int i = 1; i < kGridRows; ++i) {
        GridRowPlace& row = p.rows[i];
        row.label_top = top + 4;
        row.label_left = left;
        row.address_top = top;
        row.address_left = left + 100;
        row.function_top = top;
        row.function_left = left + 150;
        row.button_top = top + 2;
        row.button_left = left + 150;
        if (i == split) {
            top = 15;
            left += 200;
        } else {
            top += i == gap ? 35 : 25;
        }
    }
    return p;
}

FitResult FitWindowToFrame(int il, int bl, int h, int w, const FitFixed& fixed) {
    FitResult r;
    r.main_box_height = h + 5;
    r.window_width = bl + w + 10;
    r.window_height = h + fixed.status_bar_height + fixed.buttons_box_height + 50;

    r.load_width = ((w - 40) * 4) / 10 - 15;
    r.save_width = r.load_width;
    r.info_width = ((w - 40) * 2) / 10;
    r.close_width = r.info_width;

    r.prev_left = 10;
    r.load_left = r.prev_left + fixed.prev_width;
    r.next_left = r.load_left + r.load_width;
    r.save_left = r.next_left + fixed.next_width + 10;
    r.info_left = r.save_left + r.save_width + 10;
    r.close_left = r.info_left;

    r.progress_left = r.load_left;
    r.progress_width = r.load_width + r.save_width + 10;

    r.buttons_width = r.info_left + r.info_width + 10;
    r.buttons_left = bl;
    r.buttons_top = h + 15;

    r.image_box.top = h + 15;
    r.image_box.left = il;
    r.image_box.width = bl - il - 5;
    r.image_box.height = fixed.buttons_box_height - fixed.goweb_height - 5;
    r.goweb_top = r.image_box.bottom() + 4;

    r.image_left = r.image_box.width / 2 - fixed.image_width / 2;
    r.image_top = r.image_box.height / 2 - fixed.image_height / 2;

    r.goweb_left = r.image_box.left;
    r.goweb_width = r.image_box.width;
    return r;
}

int HeaderPointSize(const std::function<int(int)>& width_at, int box_width) {
    std::size_t step = 0;
    while (step + 1 < kHeaderPointSizes.size() && width_at(kHeaderPointSizes[step]) > box_width) {
        ++step;
    }
    return kHeaderPointSizes[step];
}

}  // namespace parvel
