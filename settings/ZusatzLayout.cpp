#include "settings/ZusatzLayout.h"

namespace parvel {

std::vector<RowPlacement> PlaceRows(int start, int count) {
    std::vector<RowPlacement> rows;
    int height = start;
    for (int i = 0; i < count; ++i) {
        rows.push_back({height, height + 3, height + 3});
        height += kRowPitch;
    }
    return rows;
}

RowLefts PlaceRowColumns(int widest_caption) {
    const int edit = widest_caption + 20;
    return {10, edit, edit + kRowEditWidth + 10};
}

ModeGroupPlacement PlaceModeGroup(const ModeGroupHeights& heights, int panel_height) {
    ModeGroupPlacement p;
    int h = 20;
    if (heights.note_visible) {
        p.note_top = 20;
        h = p.note_top + heights.note + 10;
    }
    if (heights.bit7_visible) {
        p.bit7_top = h;
        h += heights.bit7 + 10;
    }
    for (int radio : heights.radios) {
        p.radio_tops.push_back(h);
        h += radio;
    }
    if (heights.bit6_visible) {
        h += 10;
        p.bit6_top = h;
        h += heights.bit6;
    }
    p.height = h + 10;
    p.top = panel_height - p.height - 10;
    return p;
}

}  // namespace parvel
