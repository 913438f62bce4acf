#include "image/TextFile.h"

#include "image/Message.h"

#include <cerrno>
#include <algorithm>
#include <fstream>

namespace parvel {

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    const std::size_t end = std::min(text.find('\0'), text.size());
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < end) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(text, start, i - start);
            if (c == '\r' && i + 1 < end && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
        ++i;
    }
    if (start < end) lines.emplace_back(text, start, end - start);
    return lines;
}

LinesResult ReadTextLines(const std::string& path, std::size_t max_lines) {
    LinesResult result;
    const FileQuery file = QueryFile(path);
    if (file.kind == FileKind::Missing) {
        result.failure = ReadFailure::CannotOpen;
        result.reason = file.error;
        return result;
    }
    if (file.kind != FileKind::Regular) {
        result.failure = ReadFailure::CannotOpen;
        result.reason = file.kind == FileKind::Folder ? "ist ein Ordner" : "ist keine Datei";
        return result;
    }
    if (file.size > kMaxTextFileBytes) {
        result.failure = ReadFailure::TooLarge;
        return result;
    }
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    if (!in) {
        result.failure = ReadFailure::CannotOpen;
        result.reason = SystemErrorText(errno);
        return result;
    }
    // Read in chunks up to one byte beyond the cap: files whose size stat cannot tell (/proc)
    // stay bounded, and a normal file costs no more than its own size.
    std::string text;
    text.reserve(static_cast<std::size_t>(file.size) + 1);
    char chunk[16384];
    while (text.size() <= kMaxTextFileBytes && in.read(chunk, sizeof chunk).gcount() > 0) {
        text.append(chunk, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) {
        result.failure = ReadFailure::CannotOpen;
        result.reason = SystemErrorText(errno);
        return result;
    }
    if (text.size() > kMaxTextFileBytes) {
        result.failure = ReadFailure::TooLarge;
        return result;
    }
    result.lines = SplitLines(text);
    if (result.lines.size() > max_lines) {
        result.lines.clear();
        result.failure = ReadFailure::TooManyLines;
        result.max_lines = max_lines;
    }
    return result;
}

std::string ReadFailureText(const LinesResult& result, const std::string& raw_path) {
    const std::string path = ReadableText(raw_path);
    switch (result.failure) {
        case ReadFailure::None: return {};
        case ReadFailure::CannotOpen: return "Cannot open file " + path;
        case ReadFailure::TooLarge:
            return "Die Datei " + path +
                   " ist zu gross für ein HEX-File (mehr als 8 MB) und wurde nicht gelesen.";
        case ReadFailure::TooManyLines:
            return "Die Datei " + path + " hat mehr als " + std::to_string(result.max_lines) +
                   " Zeilen; so lange Dateien liest HEX Parvel nicht. Sie wurde nicht gelesen.";
    }
    return {};
}

std::string JoinCrLf(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

}  // namespace parvel
