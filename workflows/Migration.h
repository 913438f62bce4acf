#pragma once

#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "image/Dialogs.h"

namespace parvel {

// The firmware family of a catalogue entry: its name without the version part ("Klemmo  ab
// V3.51" -> "Klemmo", "Lucor - Ampel < V3.40" -> "Lucor - Ampel").
std::string FamilyName(const std::string& name);
// Same family: equal family names, or one is the other followed by " - " and a description
// ("Lucor - Signal 020" and "Lucor - Signal 020 - Ausfahrsignal ...").
bool SameFamily(const DecoderType& a, const DecoderType& b);

struct MigrationResult {
    bool ok = false;
    std::vector<std::string> carried;      // what went over, one line each
    std::vector<std::string> not_carried;  // what could not, with the reason
    std::string text;                      // the new HEX file
};

// Carries the settings of a configured image (old) into another image of the same family
// (new): grid rows through the same decode and encode path as saving, and every frame
// setting that both versions keep at the same place. Refuses different families, and an
// older release of another entry, with a message.
MigrationResult Migrate(const std::vector<std::string>& old_lines, const std::string& old_name,
                        const std::vector<std::string>& new_lines, const std::string& new_name,
                        Dialogs& dialogs);

}  // namespace parvel
