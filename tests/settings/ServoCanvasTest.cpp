#include <gtest/gtest.h>

#include "settings/ServoCanvas.h"

namespace parvel {
namespace {

constexpr int W = kCurveCanvasWidth;
constexpr int H = kCurveCanvasHeight;
constexpr int LH = kRelayLaneHeight;

ServoPages PagesWithCount(int page, int n) {
    ServoPages p;
    p.set(page, kOffsetPointCount, static_cast<std::uint8_t>(n));
    return p;
}

TEST(ServoCanvasScale, SpacingUnitsAndMarkers) {
    EXPECT_FLOAT_EQ(PointSpacing(W, 10), 52.0f);
    EXPECT_FLOAT_EQ(PointSpacing(W, 100), 5.2f);
    EXPECT_FLOAT_EQ(PointSpacing(W, 0), 520.0f);  // clamped to one point
    EXPECT_FLOAT_EQ(PointSpacing(W, 150), 5.2f);  // clamped to 100 points
    EXPECT_FLOAT_EQ(PositionUnit(H), 1.5703125f);
    EXPECT_FLOAT_EQ(PositionUnit(LH), 0.4453125f);
    EXPECT_EQ(MarkerHalfSize(PointSpacing(W, 100)), 1);
    EXPECT_EQ(MarkerHalfSize(PointSpacing(W, 10)), 3);
}

struct PixelCase {
    int pixel;
    int expected;
};

TEST(ServoCanvasPointer, CurveColumnsWithTenPoints) {
    const float spacing = PointSpacing(W, 10);
    const PixelCase cases[] = {{25, 0}, {26, 1}, {0, 0}, {-40, 0}, {519, 10}, {5200, 99}};
    for (const auto& c : cases) EXPECT_EQ(CurvePointAt(c.pixel, spacing), c.expected) << c.pixel;
}

TEST(ServoCanvasPointer, CurveRows) {
    const float unit = PositionUnit(H);
    // 201 / 1.5703125 = 128, clamped; the bottom row 201 is position 0.
    const PixelCase cases[] = {{0, 127}, {201, 0}, {-5, 127}, {250, 0},
                               {1, 127}, {2, 126}, {100, 64}};
    for (const auto& c : cases) EXPECT_EQ(CurvePositionAt(c.pixel, H, unit), c.expected) << c.pixel;
}

TEST(ServoCanvasPointer, RelayLaneColumnsAndRows) {
    const float spacing = PointSpacing(W, 10);
    EXPECT_EQ(RelayPointAt(51, spacing), 0);
    EXPECT_EQ(RelayPointAt(52, spacing), 1);
    EXPECT_EQ(RelayPointAt(-1, spacing), 0);
    EXPECT_EQ(RelayPointAt(9999, spacing), 99);
    const float unit = PositionUnit(LH);
    EXPECT_TRUE(RelayOnAt(34, LH, unit));   // 23 / 0.4453125 = 51.6
    EXPECT_FALSE(RelayOnAt(35, LH, unit));  // 22 / 0.4453125 = 49.4
    EXPECT_TRUE(RelayOnAt(0, LH, unit));
    EXPECT_FALSE(RelayOnAt(56, LH, unit));
}

TEST(ServoCanvasEdit, CurveMoveSetsPositionAndKeepsRelayBit) {
    ServoPages p = PagesWithCount(1, 10);
    p.set(1, 1, 0x80 | 5);
    EXPECT_EQ(EditCurveAt(p, 1, 26, 0, W, H), 1);
    EXPECT_EQ(p.at(1, 1), 0x80 | 127);
    EXPECT_EQ(EditCurveAt(p, 1, 25, 201, W, H), 0);
    EXPECT_EQ(p.at(1, 0), 0);
    // Past the last shown point the entries after it are edited (clamped to 99, not to n - 1).
    EXPECT_EQ(EditCurveAt(p, 1, 600, 100, W, H), 12);
    EXPECT_EQ(p.at(1, 12), 64);
    EXPECT_EQ(p.StoredPointCount(1), 10);
}

TEST(ServoCanvasEdit, RelayMoveSetsAndClearsBit7Only) {
    ServoPages p = PagesWithCount(0, 10);
    p.set(0, 1, 33);
    EXPECT_EQ(EditRelayAt(p, 0, 52, 34, W, LH), 1);
    EXPECT_EQ(p.at(0, 1), 0x80 | 33);
    EXPECT_EQ(EditRelayAt(p, 0, 103, 35, W, LH), 1);
    EXPECT_EQ(p.at(0, 1), 33);
    EXPECT_EQ(EditRelayAt(p, 0, 51, 0, W, LH), 0);
    EXPECT_EQ(p.at(0, 0), 0x80);
}

TEST(ServoCanvasGrid, LinesFromTheGridLists) {
    // Raster x 5 and y 3 over ten points: 6 vertical and 3 horizontal lines.
    EXPECT_EQ(VerticalGridLines(5, W, 10), (std::vector<int>{86, 173, 260, 346, 433, 520}));
    EXPECT_EQ(HorizontalGridLines(3, H), (std::vector<int>{150, 100, 50}));
    EXPECT_EQ(HorizontalGridLines(1, H), (std::vector<int>{100}));
    EXPECT_TRUE(VerticalGridLines(0, W, 10).empty());
    EXPECT_TRUE(HorizontalGridLines(0, H).empty());
    EXPECT_TRUE(VerticalGridLines(-1, W, 10).empty());  // no selection
    EXPECT_TRUE(VerticalGridLines(99, W, 10).empty());  // beyond "0".."70": no selection
    EXPECT_TRUE(HorizontalGridLines(11, H).empty());    // beyond "0".."10"
    EXPECT_EQ(VerticalGridLines(70, W, 10).size(), 71u);
    EXPECT_EQ(HorizontalGridLines(10, H).size(), 10u);
}

ServoDrawOp Op(ServoDrawOp::Kind kind, int x1, int y1, int x2, int y2, ServoColour pen,
               ServoColour fill = ServoColour::White) {
    ServoDrawOp op;
    op.kind = kind;
    op.x1 = x1;
    op.y1 = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.pen = pen;
    op.fill = fill;
    return op;
}

TEST(ServoCanvasDraw, CurvePolylineMarkersGridAndThreshold) {
    ServoPages p = PagesWithCount(2, 3);
    p.set(2, 0, 127);
    p.set(2, 1, 0x80);  // relay bit does not move the point: position 0
    p.set(2, 2, 64);
    const ServoDrawing d = DrawCurve(p, 2, W, H, 1, 1, 10);
    EXPECT_EQ(d.width, W);
    EXPECT_EQ(d.height, H);
    EXPECT_EQ(d.background, ServoColour::White);
    // n = 3: spacing single(520 / 3) = 173.33333, half-size 3; position 127 at y = 1,
    // position 0 at y = 201 (just below the last row), 64 at trunc(201 - 100.5) = 100.
    using K = ServoDrawOp::Kind;
    const std::vector<ServoDrawOp> expected = {
        Op(K::Rect, -3, -2, 3, 4, ServoColour::Black, ServoColour::Red),
        Op(K::Line, 0, 1, 173, 201, ServoColour::Black),
        Op(K::Rect, 170, 198, 176, 204, ServoColour::Black, ServoColour::Red),
        Op(K::Line, 173, 201, 346, 100, ServoColour::Black),
        Op(K::Rect, 343, 97, 349, 103, ServoColour::Black, ServoColour::Red),
        Op(K::Line, 0, 100, W, 100, ServoColour::Green),  // y grid k = 1
        Op(K::Line, 259, 0, 259, H, ServoColour::Green),  // x grid k = 1: j = 1
        Op(K::Line, 519, 0, 519, H, ServoColour::Green),  // j = 2, end of the points
        Op(K::Line, 0, 185, W, 185, ServoColour::Red),    // threshold 10
    };
    EXPECT_EQ(d.ops, expected);
}

TEST(ServoCanvasDraw, HundredPointsUseSmallMarkersAndNoThresholdWithoutTheVariant) {
    ServoPages p = PagesWithCount(0, 100);
    const ServoDrawing d = DrawCurve(p, 0, W, H, 0, 0, std::nullopt);
    ASSERT_EQ(d.ops.size(), 199u);  // 100 markers, 99 segments
    EXPECT_EQ(d.ops[0],
              Op(ServoDrawOp::Kind::Rect, -1, 200, 1, 202, ServoColour::Black, ServoColour::Red));
    EXPECT_EQ(d.ops[2].x1, 4);        // marker of point 1 at x = trunc(5.2) = 5
    EXPECT_EQ(d.ops.back().x1, 513);  // point 99 at trunc(99 * 5.2) = 514
}

TEST(ServoCanvasDraw, RelayLaneBlocksAndGrid) {
    ServoPages p = PagesWithCount(1, 10);
    p.set(1, 0, 0x80 | 7);
    p.set(1, 9, 0x80);
    const ServoDrawing d = DrawRelayLane(p, 1, W, kRelayLaneWidth, LH, 1);
    EXPECT_EQ(d.height, LH);
    ASSERT_EQ(d.ops.size(), 12u);
    using K = ServoDrawOp::Kind;
    // On: 100/128 of the lane, from trunc(57 - 44.53125) = 12; off: a line at the bottom.
    EXPECT_EQ(d.ops[0], Op(K::Rect, 0, 12, 52, 57, ServoColour::Black, ServoColour::Red));
    EXPECT_EQ(d.ops[1], Op(K::Rect, 52, 57, 104, 57, ServoColour::Black, ServoColour::Red));
    EXPECT_EQ(d.ops[9], Op(K::Rect, 468, 12, 520, 57, ServoColour::Black, ServoColour::Red));
    EXPECT_EQ(d.ops[10], Op(K::Line, 260, 0, 260, LH, ServoColour::Green));
    EXPECT_EQ(d.ops[11], Op(K::Line, 520, 0, 520, LH, ServoColour::Green));
}

}  // namespace
}  // namespace parvel
