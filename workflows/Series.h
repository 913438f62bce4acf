#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "image/Dialogs.h"
#include "workflows/Roster.h"

namespace parvel {

// Several decoders burnt with the same firmware, each with its own addresses: copy i of the
// image has its used rows shifted so that its lowest address is first + i x step. A decoder
// that keeps its address in CVs has that address shifted (CV1, or CV17/18 when the long address
// is in use).
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
    std::vector<RosterOutput> outputs;  // its used outputs as the roster lists them (file = path)
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

struct SeriesOutcome {
    bool ok = false;            // false: cancelled, or a file could not be written
    std::vector<bool> written;  // per copy
};

// Writes the planned copies (each atomically). Every question comes before the first file is
// written:
// - planned files that exist already, unless the request allows overwriting: one question,
//   Überschreiben (all), Überspringen (only the new files) or Abbrechen (none);
// - with `roster` (the address plan of the folder, read before): each copy to be written whose
//   outputs answer the same command as an output of the roster or of an earlier copy of this
//   series: Ja (write it), Nein (skip it) or Abbrechen (write none). Outputs of a file the series
//   replaces do not count.
// `progress` is called with the number of files written so far.
SeriesOutcome WriteSeries(const SeriesPlan& plan, const SeriesRequest& request, Dialogs& dialogs,
                          const Roster* roster = nullptr,
                          const std::function<void(int)>& progress = {});

// The first address of a free range of the roster's protocol and kind that holds all copies,
// (count - 1) x step + span addresses; nothing when there is none (or the roster does not know
// the group).
std::optional<int> FirstSeriesAddress(const Roster& roster, const std::string& protocol,
                                      bool accessory, int span, int count, int step);

// The summary table: file, first and last address; a copy that `written` marks as not written
// ends in "übersprungen" (no marks when `written` is empty).
std::vector<std::string> SeriesSummary(const SeriesPlan& plan,
                                       const std::vector<bool>& written = {});

}  // namespace parvel
