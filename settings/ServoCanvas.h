#pragma once

#include <optional>
#include <vector>

#include "settings/ServoPages.h"

namespace parvel {

// Geometry of the curve canvas and the relay lane. The widgets paint the drawings built here and
// hand every pointer position to the edit functions, so tests check the same pixel arithmetic the
// window uses. Where the canvas arithmetic rounds to single precision this code does too (float);
// every float-to-integer conversion truncates toward zero.

constexpr int kCurveCanvasWidth = 530;
constexpr int kCurveCanvasHeight = 201;
constexpr int kRelayLaneWidth = 530;
constexpr int kRelayLaneHeight = 57;
// Pixels at the right end of both canvases that never hold a point.
constexpr int kCanvasRightMargin = 10;
// Items of the two grid lists: "0".."70" and "0".."10".
constexpr int kRasterXItems = 71;
constexpr int kRasterYItems = 11;

// Horizontal pixels per point: single(width - 10) / n, n clamped to 1..100.
float PointSpacing(int canvas_width, int n);
// Pixels per position step: height * 0.0078125 (the height spans 128 steps).
float PositionUnit(int canvas_height);
// Half-size of a point marker: trunc(spacing / 3), at most 3.
int MarkerHalfSize(float point_spacing);

// Point under pointer column x on the curve canvas: trunc(single(single(x) / spacing + 0.5)),
// clamped to 0..99. The clamp is to the page's 100 points, not to the shown ones.
int CurvePointAt(int x, float point_spacing);
// Position under pointer row y: trunc(single(height - y) / unit), clamped to 0..127.
int CurvePositionAt(int y, int canvas_height, float unit);
// Point under pointer column x on the relay lane: trunc(single(single(x) / spacing)), 0..99.
int RelayPointAt(int x, float point_spacing);
// True when pointer row y switches the relay on: single(single(height - y) / unit) > 50.
bool RelayOnAt(int y, int lane_height, float unit);

// A mouse move with the button held on the curve canvas (curve_width x curve_height): the point
// under x gets the position under y, keeping its relay bit. Returns the point edited.
int EditCurveAt(ServoPages& pages, int page, int x, int y, int curve_width, int curve_height);
// The same on the relay lane (its points are as wide as the curve canvas's): sets or clears
// the relay bit of the point under x. Returns the point edited.
int EditRelayAt(ServoPages& pages, int page, int x, int y, int curve_width, int lane_height);

enum class ServoColour { White, Black, Red, Green };

// One painting step in canvas pixels. A line runs from (x1, y1) to (x2, y2). A rectangle covers
// the pixels x1 <= x < x2, y1 <= y < y2, outlined in `pen` and filled with `fill`; one with
// y1 == y2 (a relay that is off) is painted as a one-pixel line on row y2 - 1, so it shows at
// the bottom of the lane.
struct ServoDrawOp {
    enum class Kind { Line, Rect };
    Kind kind = Kind::Line;
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    ServoColour pen = ServoColour::Black;
    ServoColour fill = ServoColour::White;

    bool operator==(const ServoDrawOp& o) const {
        return kind == o.kind && x1 == o.x1 && y1 == o.y1 && x2 == o.x2 && y2 == o.y2 &&
               pen == o.pen && (kind == Kind::Line || fill == o.fill);
    }
};

// What one canvas shows: the background, then the steps in order (later ones paint over earlier).
struct ServoDrawing {
    int width = 0;
    int height = 0;
    ServoColour background = ServoColour::White;
    std::vector<ServoDrawOp> ops;
};

// Grid lines for the selected item k of a grid list (-1 = no selection). An index outside the
// list, and 0, give none.
// Horizontal: k lines at y = trunc(height - j * unit * 128 / (k + 1)), j = 1..k.
std::vector<int> HorizontalGridLines(int raster_y, int canvas_height);
// Vertical: k + 1 lines at x = trunc(j * spacing * n / (k + 1)), j = 1..k + 1, the last at
// the right end of the point range.
std::vector<int> VerticalGridLines(int raster_x, int canvas_width, int n);

// The curve canvas: black polyline through the points with red squares (black outline) of
// MarkerHalfSize at (trunc(i * spacing), trunc(height - position * unit)), then the green grid
// lines, then for the threshold variant a red line at trunc(height - threshold * unit).
ServoDrawing DrawCurve(const ServoPages& pages, int page, int width, int height, int raster_x,
                       int raster_y, std::optional<int> threshold);
// The relay lane: per point a red rectangle (black outline) from (trunc(i * spacing),
// trunc(height - level * unit)) to (trunc((i + 1) * spacing), height), level 100 when the relay
// is on and 0 when off; then the vertical grid lines. The spacing is the curve canvas's.
ServoDrawing DrawRelayLane(const ServoPages& pages, int page, int curve_width, int width,
                           int height, int raster_x);

}  // namespace parvel
