#pragma once

#include <string>
#include <vector>

#include "document/DecoderDocument.h"

namespace parvel {

struct DecoderDiffResult {
    std::vector<std::string> lines;
    int differences = 0;
};

// Two loaded images compared in decoder terms: grid rows whose address, colour or function
// differ (label, old and new value); frame settings that differ (mode, time-outs, a pattern's
// steps, a curve's points, pulse values, CVs); raw bytes only for the cells no editor reads.
DecoderDiffResult DiffInDecoderTerms(const DecoderDocument& first, const DecoderDocument& second);

}  // namespace parvel
