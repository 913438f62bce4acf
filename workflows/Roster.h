#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace parvel {

class DecoderDocument;

// The address plan of a layout: every used output of every decoder image in a folder, and the
// outputs that answer the same track command.

// What every used output of one file shares, kept once per file however many outputs it has
// (a layout of 10,000 files has some 40,000 outputs).
struct RosterSource {
    std::string file;
    std::string name;      // firmware
    std::string version;   // "3.58", empty when the file has none
    std::string chip;      // "12F629/16F630", "16F684/688" or empty
    std::string protocol;  // "DCC" or "Mot", as the status bar shows it
};

// One used output of one file: a grid row with an address from 1 to the protocol's limit (an
// erased row of a function decoder reads beyond it and answers nothing), or a function decoder
// that keeps its address in CVs, which answers every function of that address.
struct RosterOutput {
    std::shared_ptr<const RosterSource> source;  // never null in a roster
    bool accessory = true;  // accessory output (red/green) or function decoder output
    int row = 0;
    std::string label;
    int address = 0;
    bool green = false;  // accessory outputs
    int function = 0;    // function decoder outputs
    int cv = 0;          // a decoder with its address in CVs: the CV holding it (1 or 17); row 0

    const std::string& file() const { return source->file; }
    const std::string& name() const { return source->name; }
    const std::string& version() const { return source->version; }
    const std::string& chip() const { return source->chip; }
    const std::string& protocol() const { return source->protocol; }
};

// Outputs that share one address: a conflict (same command) or a note (same accessory address,
// other colour, in different files). `outputs` are indexes into Roster::outputs, in table order.
struct RosterClash {
    std::string protocol;
    bool accessory = true;
    int address = 0;
    bool green = false;  // conflicts of accessory outputs
    int function = 0;    // conflicts of function outputs
    bool all_functions = false;  // only decoders with their address in CVs: every function
    std::vector<std::size_t> outputs;
};

struct RosterSkip {
    std::string file;
    std::string message;
};

struct FreeRange {
    int first = 0;
    int last = 0;
};

// The free addresses of one protocol and kind, e.g. "DCC-Zubehör".
struct FreeGroup {
    std::string name;
    std::string protocol;
    bool accessory = true;
    std::vector<FreeRange> ranges;  // all of them, ascending
};

struct RosterRequest {
    std::string folder;
    bool recursive = false;
    unsigned threads = 0;  // 0: one per core
};

struct Roster {
    bool folder_ok = false;
    std::string folder_message;         // why the folder itself could not be read
    std::size_t hex_files = 0;          // files named *.hex that were found
    std::vector<RosterOutput> outputs;  // by protocol, address, file, kind, row
    std::vector<RosterClash> conflicts;
    std::vector<RosterClash> notes;
    std::vector<RosterSkip> skipped;  // by file name
    std::vector<FreeGroup> free;      // by protocol, accessory first
    bool cancelled = false;
};

// Called from the reading threads with the number of files read so far and the number found.
using RosterProgress = std::function<void(std::size_t done, std::size_t total)>;

// Finds the *.hex files (ending matched without regard to case) and reads them in parallel,
// each exactly as the window loads it, questions answered so that nothing changes. Nothing is
// written. `cancel`, when set during the run, stops reading at the next file.
Roster BuildRoster(const RosterRequest& request, const RosterProgress& progress = {},
                   const std::atomic<bool>* cancel = nullptr);

// The used outputs of a loaded, recognised document as the roster lists them, each naming
// `file`. A decoder whose CVs hold no usable address gives none, and `problem` says why.
std::vector<RosterOutput> DecoderOutputs(const DecoderDocument& document, const std::string& file,
                                         std::string* problem = nullptr);

// True when both outputs answer the same track command: same protocol, kind and address, and
// the same colour (accessory outputs) or function number (function outputs). A decoder with its
// address in CVs answers every function of its address.
bool SameCommand(const RosterOutput& a, const RosterOutput& b);

// Text of a kind: "Zubehör" / "Funktion"; of a group: "DCC-Zubehör", "Motorola-Funktion".
const char* RosterKindName(bool accessory);
std::string FreeGroupName(const std::string& protocol, bool accessory);
// "rot", "grün", "F3" or, for a decoder with its address in CVs, "alle Funktionen".
std::string OutputChoice(const RosterOutput& output);
// "17–40" or "17".
std::string FreeRangeText(const FreeRange& range);
// "DCC-Zubehör 5 rot" / "DCC-Funktion 3 F2" / "DCC-Funktion 3 alle Funktionen" (conflicts),
// "DCC-Zubehör 5" (notes).
std::string ClashTitle(const RosterClash& clash, bool note);
// "a.hex Zeile 3 (Weiche 1) rot" (or "cv.hex (CV1: Kurze Adresse)") for each output of the
// clash, joined by ", "; file names inside `folder` are given relative to it.
std::string ClashOutputs(const Roster& roster, const RosterClash& clash,
                         const std::string& folder = {});
// The file's name relative to `folder` when it lies inside it, else the file as it is.
std::string RelativeName(const std::string& file, const std::string& folder);

// The first address of the first free range of a protocol and kind that holds at least
// `length` addresses, when the roster knew that group and it has such a range.
std::optional<int> FirstFreeAddress(const Roster& roster, const std::string& protocol,
                                    bool accessory, int length = 1);

// The table's column titles and one output's cells, as the text, CSV and HTML show them.
const std::vector<std::string>& RosterColumns();
std::vector<std::string> RosterCells(const RosterOutput& output, const std::string& folder = {});
constexpr int kRosterRowColumn = 6;
constexpr int kRosterAddressColumn = 8;

// The outputs table with a header row: semicolon-separated, UTF-8 with byte-order mark, CR LF.
// Two columns more than the other tables, "Doppelt belegt" and "Hinweis", name the conflicts and
// notes an output is part of.
std::string RosterCsv(const Roster& roster);
// A printable page that needs nothing else: conflicts, notes, the table, skipped files.
std::string RosterHtml(const Roster& roster, const std::string& folder);
// What `parvel roster` prints: the table, conflicts, notes, up to `free_count` free ranges per
// group (none for 0), skipped files.
std::vector<std::string> RosterText(const Roster& roster, const std::string& folder,
                                    int free_count);

}  // namespace parvel
