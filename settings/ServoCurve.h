#pragma once

#include <vector>

#include "settings/ServoPages.h"

namespace parvel {

// Operations of the curve editor on one page. Each works on the points 0..n-1 with n the page's
// point count clamped to 1..100, and keeps every point's relay bit unless it says otherwise.

enum class CurveShape { Lin, Log, QuarterSine, HalfSine };

// Positions v(0..n-1) of a generated curve, computed in single-precision steps
// (single(x) = x rounded to float at that place; the sine's angle is double):
//   Lin      s = single(127 / (n-1))      v = trunc(single(i * s))
//   Log      s = single(127 / log10(n))   v = trunc(single(single(log10(i+1)) * s))
//   1/4 Sin  s = single(3.14159 / (n-1))  v = trunc(single(single(sin(i*s + 4.712385)) * 63 + 63))
//   1/2 Sin  s = single(6.28318 / (n-1))  v as for 1/4 Sin
// A single point has no step (every step divides by zero): the result is empty.
std::vector<int> CurveShapeValues(CurveShape shape, int n);

// Replaces the positions of the page's points by the shape. Returns false, changing nothing,
// when the curve has a single point: its position stays as the user set it.
bool GenerateCurve(ServoPages& pages, int page, CurveShape shape);

// position := 127 - position.
void MirrorVertical(ServoPages& pages, int page);
// Points i and n-1-i swap positions; each point keeps its own relay bit.
void MirrorHorizontal(ServoPages& pages, int page);

// position := trunc(position * factor), clamped to 0..127. The factor is a typed decimal number:
// a product within 1e-9 of a whole number counts as that number (100 x 0.29 gives 29, not the
// 28 that the binary form of 0.29 would truncate to).
void ScaleCurve(ServoPages& pages, int page, double factor);
// position := trunc(position + offset), clamped to 0..127.
void ShiftCurve(ServoPages& pages, int page, double offset);

// Entries 0..126 of `from_page` (points with relay bits, count, stretch, flags, address and
// button bytes) into `to_page`; entry 127 stays. Copying a page onto itself changes nothing.
constexpr int kCopiedEntries = 127;
void CopyCurve(ServoPages& pages, int from_page, int to_page);

// Store a typed point count or stretch factor clamped to 1..100 / 1..200; returns the value
// stored.
int SetPointCount(ServoPages& pages, int page, long long count);
// Limits the stored point count and stretch of all four pages to 1..100 and 1..200, as the
// editor shows them; taking the curves over writes what was shown.
void LimitCountsAndStretches(ServoPages& pages);
int SetStretch(ServoPages& pages, int page, long long stretch);

}  // namespace parvel
