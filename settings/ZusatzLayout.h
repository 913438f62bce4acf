#pragma once

#include <vector>

namespace parvel {

// Placement of the additional-settings frame's value rows and mode group. The frame measures
// its widgets (caption widths, control heights) and places them where these functions say.

constexpr int kRowPitch = 25;  // vertical distance of the value rows
constexpr int kRowEditWidth = 40;

struct RowPlacement {
    int edit_top;
    int caption_top;  // 3 below the edit
    int seconds_top;  // at the caption's height
};

// Tops of `count` visible rows laid out from `start`.
std::vector<RowPlacement> PlaceRows(int start, int count);

struct RowLefts {
    int caption;  // 10
    int edit;     // widest visible caption + 20
    int seconds;  // right edge of the edit + 10
};

RowLefts PlaceRowColumns(int widest_caption);

// Heights of the visible controls of group_mode, top to bottom.
struct ModeGroupHeights {
    bool note_visible = false;  // lbl_mode
    int note = 0;
    bool bit7_visible = false;  // cbx_mode_bit7
    int bit7 = 0;
    std::vector<int> radios;    // the visible radio buttons in order
    bool bit6_visible = false;  // cbx_mode_bit6
    int bit6 = 0;
};

struct ModeGroupPlacement {
    int note_top = 0;
    int bit7_top = 0;
    std::vector<int> radio_tops;
    int bit6_top = 0;
    int height = 0;  // of the group box
    int top = 0;     // of the group box: its bottom stays 10 above the panel's bottom
};

ModeGroupPlacement PlaceModeGroup(const ModeGroupHeights& heights, int panel_height);

}  // namespace parvel
