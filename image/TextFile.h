#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "image/Platform.h"  // AtomicWriteFile, WriteResult

namespace parvel {

// Largest file any reader of the program takes in. A firmware HEX file is a few hundred lines
// of about 45 characters; the cap keeps a wrong choice (a disk image, a video) from being read
// into memory at all.
constexpr std::size_t kMaxTextFileBytes = 8u * 1024u * 1024u;

enum class ReadFailure { None, CannotOpen, TooLarge, TooManyLines };

struct LinesResult {
    ReadFailure failure = ReadFailure::None;
    std::vector<std::string> lines;
    std::string reason;  // operating-system reason when the file could not be opened
    std::size_t max_lines = 0;  // TooManyLines: the limit the file went beyond

    bool ok() const { return failure == ReadFailure::None; }
};

// Reads a text file as lines. A line ends at CR LF, LF or CR; a last line without terminator
// counts; a final terminator does not make an extra empty line; a NUL character ends the text.
// More than max_lines lines, or a file above kMaxTextFileBytes, is refused without keeping any line.
LinesResult ReadTextLines(const std::string& path, std::size_t max_lines);

// Splits text by the same line rules (used by ReadTextLines and by tests).
std::vector<std::string> SplitLines(const std::string& text);

// German message for a failed ReadTextLines, naming the file.
std::string ReadFailureText(const LinesResult& result, const std::string& path);

// Lines joined with CR LF after every line, the last one too.
std::string JoinCrLf(const std::vector<std::string>& lines);

}  // namespace parvel
