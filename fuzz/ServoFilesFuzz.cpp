// Any bytes as a curve file and as a set file. Property: every page byte stays 0..255 (the
// pages hold bytes), a complete set-file load followed by a save gives the same 512 values,
// and the point count stays 1..100.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/ServoFiles.h"
#include "image/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024) return 0;
    const auto lines = parvel::SplitLines(std::string(reinterpret_cast<const char*>(data), size));

    parvel::ServoPages pages;
    const int page = size % 4;
    parvel::LoadCurveLines(pages, page, lines);
    const int count = pages.PointCount(page);
    if (count < 1 || count > 100) std::abort();
    parvel::CurveFileLines(pages, page);

    parvel::ServoPages set;
    const parvel::ServoFileLoad load = parvel::LoadSetLines(set, lines);
    if (load.complete) {
        parvel::ServoPages again;
        const auto written = parvel::SetFileLines(set);
        if (!parvel::LoadSetLines(again, written).complete) std::abort();
        for (int i = 0; i < parvel::kServoBytes; ++i) {
            if (again.flat(i) != set.flat(i)) std::abort();
        }
    }
    return 0;
}
