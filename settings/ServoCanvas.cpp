#include "settings/ServoCanvas.h"

#include <algorithm>
#include <cmath>

namespace parvel {
namespace {

int Trunc(double value) { return static_cast<int>(std::trunc(value)); }

int ClampedCount(int n) { return std::clamp(n, 1, kMaxCurvePoints); }

ServoDrawOp Line(int x1, int y1, int x2, int y2, ServoColour pen) {
    ServoDrawOp op;
    op.kind = ServoDrawOp::Kind::Line;
    op.x1 = x1;
    op.y1 = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.pen = pen;
    return op;
}

ServoDrawOp Rect(int x1, int y1, int x2, int y2, ServoColour pen, ServoColour fill) {
    ServoDrawOp op = Line(x1, y1, x2, y2, pen);
    op.kind = ServoDrawOp::Kind::Rect;
    op.fill = fill;
    return op;
}

}  // namespace

float PointSpacing(int canvas_width, int n) {
    return static_cast<float>(canvas_width - kCanvasRightMargin) / ClampedCount(n);
}

float PositionUnit(int canvas_height) { return canvas_height * 0.0078125f; }

int MarkerHalfSize(float point_spacing) { return std::min(Trunc(point_spacing / 3.0), 3); }

int CurvePointAt(int x, float point_spacing) {
    const float index = static_cast<float>(double(static_cast<float>(x)) / point_spacing + 0.5);
    return std::clamp(Trunc(index), 0, kMaxCurvePoints - 1);
}

int CurvePositionAt(int y, int canvas_height, float unit) {
    const float rise = static_cast<float>(canvas_height - y);
    return std::clamp(Trunc(double(rise) / unit), 0, kMaxPosition);
}

int RelayPointAt(int x, float point_spacing) {
    const float index = static_cast<float>(double(static_cast<float>(x)) / point_spacing);
    return std::clamp(Trunc(index), 0, kMaxCurvePoints - 1);
}

bool RelayOnAt(int y, int lane_height, float unit) {
    const float level = static_cast<float>(double(static_cast<float>(lane_height - y)) / unit);
    return level > 50.0f;
}

int EditCurveAt(ServoPages& pages, int page, int x, int y, int curve_width, int curve_height) {
    const int point = CurvePointAt(x, PointSpacing(curve_width, pages.PointCount(page)));
    pages.SetPosition(page, point, CurvePositionAt(y, curve_height, PositionUnit(curve_height)));
    return point;
}

int EditRelayAt(ServoPages& pages, int page, int x, int y, int curve_width, int lane_height) {
    const int point = RelayPointAt(x, PointSpacing(curve_width, pages.PointCount(page)));
    pages.SetRelay(page, point, RelayOnAt(y, lane_height, PositionUnit(lane_height)));
    return point;
}

std::vector<int> HorizontalGridLines(int raster_y, int canvas_height) {
    std::vector<int> ys;
    if (raster_y <= 0 || raster_y >= kRasterYItems) return ys;
    const float unit = PositionUnit(canvas_height);
    for (int j = 1; j <= raster_y; ++j) {
        ys.push_back(Trunc(canvas_height - j * double(unit) * 128 / (raster_y + 1)));
    }
    return ys;
}

std::vector<int> VerticalGridLines(int raster_x, int canvas_width, int n) {
    std::vector<int> xs;
    if (raster_x <= 0 || raster_x >= kRasterXItems) return xs;
    const int count = ClampedCount(n);
    const float spacing = PointSpacing(canvas_width, count);
    for (int j = 1; j <= raster_x + 1; ++j) {
        xs.push_back(Trunc(j * double(spacing) * count / (raster_x + 1)));
    }
    return xs;
}

ServoDrawing DrawCurve(const ServoPages& pages, int page, int width, int height, int raster_x,
                       int raster_y, std::optional<int> threshold) {
    ServoDrawing d;
    d.width = width;
    d.height = height;
    const int n = pages.PointCount(page);
    const float spacing = PointSpacing(width, n);
    const float unit = PositionUnit(height);
    const int r = MarkerHalfSize(spacing);
    int last_x = 0;
    int last_y = 0;
    for (int i = 0; i < n; ++i) {
        const int x = Trunc(i * double(spacing));
        const int y = Trunc(height - pages.Position(page, i) * double(unit));
        if (i > 0) d.ops.push_back(Line(last_x, last_y, x, y, ServoColour::Black));
        d.ops.push_back(Rect(x - r, y - r, x + r, y + r, ServoColour::Black, ServoColour::Red));
        last_x = x;
        last_y = y;
    }
    for (int y : HorizontalGridLines(raster_y, height)) {
        d.ops.push_back(Line(0, y, width, y, ServoColour::Green));
    }
    for (int x : VerticalGridLines(raster_x, width, n)) {
        d.ops.push_back(Line(x, 0, x, height, ServoColour::Green));
    }
    if (threshold) {
        const int y = Trunc(height - *threshold * double(unit));
        d.ops.push_back(Line(0, y, width, y, ServoColour::Red));
    }
    return d;
}

ServoDrawing DrawRelayLane(const ServoPages& pages, int page, int curve_width, int width,
                           int height, int raster_x) {
    ServoDrawing d;
    d.width = width;
    d.height = height;
    const int n = pages.PointCount(page);
    const float spacing = PointSpacing(curve_width, n);
    const float unit = PositionUnit(height);
    for (int i = 0; i < n; ++i) {
        const int level = pages.RelayOn(page, i) ? 100 : 0;
        d.ops.push_back(Rect(Trunc(i * double(spacing)), Trunc(height - level * double(unit)),
                             Trunc((i + 1) * double(spacing)), height, ServoColour::Black,
                             ServoColour::Red));
    }
    for (int x : VerticalGridLines(raster_x, curve_width, n)) {
        d.ops.push_back(Line(x, 0, x, height, ServoColour::Green));
    }
    return d;
}

}  // namespace parvel
