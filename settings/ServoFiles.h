#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "image/Message.h"
#include "image/Dialogs.h"
#include "settings/ServoPages.h"

namespace parvel {

// Curve files (.cur: the points of one curve) and set files (.set: all 512 page bytes), both a
// decimal byte value per line. Loading fills the working copy only; the image changes on apply.

constexpr const char* kCurveFileFilter = "CUR|*.cur|TXT|*.txt|*.*|*.*";
constexpr const char* kCurveFileExtension = "CUR";
constexpr const char* kSetFileFilter = "SET|*.set|TXT|*.txt|*.*|*.*";
constexpr const char* kSetFileExtension = "SET";

constexpr int kSetFileLines = kServoBytes;
// A curve file longer than 100 lines loads its first 100 with a warning; one beyond this many
// lines is no curve file at all and is refused before it fills memory.
constexpr std::size_t kMaxCurveFileLines = 10000;

extern const char* const kCurveFileTruncatedMessage;  // "Nur die ersten 100 Zeilen .."
extern const char* const kSetFileTooLongMessage;  // "Dieses File hat zu viele Zeilen (max. 512)"
// "Dieses File enthält ungültige Zeichen (kein Zahlenwert) in Zeile <line>", line from 0.
std::string InvalidLineMessage(int line);

// A line as a page byte: a whole number (ParseWholeNumber: optional blanks and sign) clamped to
// 0..255. Values of 256 and more become 255 as the file format says; negative ones become 0, the
// same clamp at the other end, so a page byte never leaves 0..255. Anything else, an empty line
// too, is no number.
std::optional<std::uint8_t> ParseServoFileByte(const std::string& line);

// Decimal texts of points 0..n-1 of the page, n = point count clamped to 1..100.
std::vector<std::string> CurveFileLines(const ServoPages& pages, int page);
// 512 lines: line 2i is entry i of pages 0-1 as one run, line 2i + 1 entry i of pages 2-3.
std::vector<std::string> SetFileLines(const ServoPages& pages);

// What a load did. The messages are warnings to show in order. A load that stops at a bad line
// keeps what it has taken so far: `changed` then tells the frame to redraw and enable apply,
// so the working copy on screen is the one apply would write and "verwerfen" can undo it.
struct ServoFileLoad {
    std::vector<Message> messages;
    bool changed = false;   // some page byte was replaced
    bool complete = false;  // the whole file was taken
};

// Lines 0..L-1 (L at most 100, with a warning beyond) become points 0..L-1, then the point
// count becomes L. A bad line stops the load and leaves the count unchanged. An empty file
// changes no point and sets the count to 1, the lowest count a curve has.
ServoFileLoad LoadCurveLines(ServoPages& pages, int page, const std::vector<std::string>& lines);
// More than 512 lines: refused, nothing changes. Else the pairs (2i, 2i + 1) in order; a pair
// with a bad or missing line stops the load with the pair's first line number.
ServoFileLoad LoadSetLines(ServoPages& pages, const std::vector<std::string>& lines);

// Reading from and writing to a file. A file that cannot be read or written gives its message
// and changes nothing; files are written atomically with CR LF line ends.
ServoFileLoad LoadCurveFile(ServoPages& pages, int page, const std::string& path);
ServoFileLoad LoadSetFile(ServoPages& pages, const std::string& path);
std::optional<Message> SaveCurveFile(const ServoPages& pages, int page, const std::string& path);
std::optional<Message> SaveSetFile(const ServoPages& pages, const std::string& path);

// The four file buttons: the file dialog through the seam (with the format's filter and, for
// saving, its default extension), then the file operation, its messages shown through the seam.
// A cancelled dialog does nothing. Saving returns true when a file was written.
bool SaveCurveWithDialog(Dialogs& dialogs, const ServoPages& pages, int page);
ServoFileLoad LoadCurveWithDialog(Dialogs& dialogs, ServoPages& pages, int page);
bool SaveSetWithDialog(Dialogs& dialogs, const ServoPages& pages);
ServoFileLoad LoadSetWithDialog(Dialogs& dialogs, ServoPages& pages);

}  // namespace parvel
