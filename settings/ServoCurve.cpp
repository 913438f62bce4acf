#include "settings/ServoCurve.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace parvel {
namespace {

int Trunc(float value) { return static_cast<int>(std::trunc(value)); }

// trunc toward zero of a result built from a typed decimal, clamped to a position.
int TypedPosition(double value) {
    const double nearest = std::round(value);
    if (std::fabs(value - nearest) < 1e-9) value = nearest;
    return static_cast<int>(std::trunc(std::clamp(value, 0.0, double(kMaxPosition))));
}

}  // namespace

std::vector<int> CurveShapeValues(CurveShape shape, int n) {
    std::vector<int> v;
    if (n < 2) return v;
    v.reserve(n);
    switch (shape) {
        case CurveShape::Lin: {
            const float s = static_cast<float>(127.0 / (n - 1));
            for (int i = 0; i < n; ++i) v.push_back(Trunc(static_cast<float>(i * double(s))));
            break;
        }
        case CurveShape::Log: {
            const float s = static_cast<float>(127.0 / std::log10(double(n)));
            for (int i = 0; i < n; ++i) {
                const float l = static_cast<float>(std::log10(double(i + 1)));
                v.push_back(Trunc(static_cast<float>(double(l) * s)));
            }
            break;
        }
        case CurveShape::QuarterSine:
        case CurveShape::HalfSine: {
            const double span = shape == CurveShape::QuarterSine ? 3.14159 : 6.28318;
            const float s = static_cast<float>(span / (n - 1));
            for (int i = 0; i < n; ++i) {
                const float sine = static_cast<float>(std::sin(i * double(s) + 4.712385));
                v.push_back(Trunc(static_cast<float>(double(sine) * 63 + 63)));
            }
            break;
        }
    }
    return v;
}

bool GenerateCurve(ServoPages& pages, int page, CurveShape shape) {
    const std::vector<int> v = CurveShapeValues(shape, pages.PointCount(page));
    for (int i = 0; i < int(v.size()); ++i) pages.SetPosition(page, i, v[i]);
    return !v.empty();
}

void MirrorVertical(ServoPages& pages, int page) {
    const int n = pages.PointCount(page);
    for (int i = 0; i < n; ++i) pages.SetPosition(page, i, kMaxPosition - pages.Position(page, i));
}

void MirrorHorizontal(ServoPages& pages, int page) {
    const int n = pages.PointCount(page);
    for (int i = 0; i < n / 2; ++i) {
        const int a = pages.Position(page, i);
        const int b = pages.Position(page, n - 1 - i);
        pages.SetPosition(page, i, b);
        pages.SetPosition(page, n - 1 - i, a);
    }
}

void ScaleCurve(ServoPages& pages, int page, double factor) {
    const int n = pages.PointCount(page);
    for (int i = 0; i < n; ++i) {
        pages.SetPosition(page, i, TypedPosition(pages.Position(page, i) * factor));
    }
}

void ShiftCurve(ServoPages& pages, int page, double offset) {
    const int n = pages.PointCount(page);
    for (int i = 0; i < n; ++i) {
        pages.SetPosition(page, i, TypedPosition(pages.Position(page, i) + offset));
    }
}

void CopyCurve(ServoPages& pages, int from_page, int to_page) {
    for (int k = 0; k < kCopiedEntries; ++k) pages.set(to_page, k, pages.at(from_page, k));
}

int SetPointCount(ServoPages& pages, int page, long long count) {
    const int n = static_cast<int>(std::clamp<long long>(count, 1, kMaxCurvePoints));
    pages.set(page, kOffsetPointCount, static_cast<std::uint8_t>(n));
    return n;
}

int SetStretch(ServoPages& pages, int page, long long stretch) {
    const int s = static_cast<int>(std::clamp<long long>(stretch, 1, kMaxStretch));
    pages.set(page, kOffsetStretch, static_cast<std::uint8_t>(s));
    return s;
}

void LimitCountsAndStretches(ServoPages& pages) {
    for (int page = 0; page < 4; ++page) {
        if (pages.StoredPointCount(page) != pages.PointCount(page)) {
            SetPointCount(pages, page, pages.StoredPointCount(page));
        }
        if (pages.Stretch(page) < 1 || pages.Stretch(page) > kMaxStretch) {
            SetStretch(pages, page, pages.Stretch(page));
        }
    }
}

}  // namespace parvel
