#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "image/Dialogs.h"

namespace parvel {

// Several decoders burnt with the same firmware, each with its own addresses: copy i of the
// image has its used rows shifted so that its lowest address is first + i x step.
struct SeriesRequest {
    int first = 1;
    int count = 1;
    std::optional<int> step;  // default: the span of the used rows (one decoder's addresses)
    std::string out_dir;
    bool overwrite = false;
};

struct SeriesCopy {
    std::string path;
    int first = 0;
    int last = 0;
    std::string text;  // the HEX file
};

struct SeriesPlan {
    bool ok = false;
    int span = 0;
    int step = 0;
    std::vector<SeriesCopy> copies;
};

// Builds every copy in memory from the lines of a recognised firmware; nothing is written. A
// copy whose address leaves the limits stops the plan with the saving flow's message, naming
// the copy. `source_name` is the loaded file's path; copies are named <stem>-<first>.hex.
SeriesPlan PlanSeries(const std::vector<std::string>& source_lines, const std::string& source_name,
                      const SeriesRequest& request, Dialogs& dialogs);

// Writes the planned copies (each atomically); refuses to replace existing files unless the
// request allows it, checking all of them before the first is written. `progress` is called
// with the number of files written so far.
bool WriteSeries(const SeriesPlan& plan, const SeriesRequest& request, Dialogs& dialogs,
                 const std::function<void(int)>& progress = {});

// The summary table: file, first and last address.
std::vector<std::string> SeriesSummary(const SeriesPlan& plan);

}  // namespace parvel
