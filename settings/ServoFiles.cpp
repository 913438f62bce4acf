#include "settings/ServoFiles.h"

#include <algorithm>

#include "settings/NumberText.h"
#include "image/TextFile.h"

namespace parvel {
namespace {

Message Warning(const std::string& text) { return {text, Icon::Warning, Buttons::Ok}; }

// What the messages call the two kinds of file.
const char* const kCurveFileKind = "Kurven-File";
const char* const kSetFileKind = "Setup-File";

// Read failures of a servo file; the reader's own texts speak of HEX files.
std::optional<Message> ReadFailureMessage(const LinesResult& read, const std::string& path,
                                          bool set_file) {
    switch (read.failure) {
        case ReadFailure::None:
            return std::nullopt;
        case ReadFailure::CannotOpen:
            return Warning("Die Datei " + path + " kann nicht geöffnet werden: " + read.reason);
        case ReadFailure::TooLarge:
            return Warning("Die Datei " + path + " ist zu gross für ein " +
                           (set_file ? kSetFileKind : kCurveFileKind) +
                           " (mehr als 8 MB) und wurde nicht gelesen.");
        case ReadFailure::TooManyLines:
            if (set_file) return Warning(kSetFileTooLongMessage);
            return Warning("Die Datei " + path + " hat mehr als " +
                           std::to_string(kMaxCurveFileLines) +
                           " Zeilen und ist kein Kurven-File; sie wurde nicht gelesen.");
    }
    return std::nullopt;
}

std::optional<Message> Write(const std::vector<std::string>& lines, const std::string& path,
                             const std::string& kind) {
    const WriteResult written = AtomicWriteFile(path, JoinCrLf(lines));
    if (written.ok) return std::nullopt;
    return Warning("Das " + kind + " " + path + " konnte nicht gespeichert werden: " +
                   written.error + ". Eine vorhandene Datei dieses Namens ist unverändert.");
}

// Reads the file and hands its lines to `take`; a file that cannot be read changes nothing.
template <class Take>
ServoFileLoad LoadFile(const std::string& path, bool set_file, Take take) {
    const LinesResult read =
        ReadTextLines(path, set_file ? std::size_t(kSetFileLines) : kMaxCurveFileLines);
    if (auto failure = ReadFailureMessage(read, path, set_file)) {
        ServoFileLoad load;
        load.messages.push_back(*failure);
        return load;
    }
    return take(read.lines);
}

// The lines are built before the dialog opens: the file holds the data as they were when the
// button was pressed.
bool SaveWithDialog(Dialogs& dialogs, const std::vector<std::string>& lines, const char* filter,
                    const char* extension, const char* kind) {
    const auto path = dialogs.SaveFileName(filter, extension, "");
    if (!path) return false;
    if (auto failure = Write(lines, *path, kind)) {
        dialogs.ShowMessage(*failure);
        return false;
    }
    return true;
}

template <class Load>
ServoFileLoad LoadWithDialog(Dialogs& dialogs, const char* filter, Load load_file) {
    const auto path = dialogs.OpenFileName(filter);
    if (!path) return {};
    ServoFileLoad load = load_file(*path);
    for (const Message& m : load.messages) dialogs.ShowMessage(m);
    return load;
}

}  // namespace

const char* const kCurveFileTruncatedMessage =
    "Nur die ersten 100 Zeilen dieses File werden verwendet";
const char* const kSetFileTooLongMessage = "Dieses File hat zu viele Zeilen (max. 512)";

std::string InvalidLineMessage(int line) {
    return "Dieses File enthält ungültige Zeichen (kein Zahlenwert) in Zeile " +
           std::to_string(line);
}

std::optional<std::uint8_t> ParseServoFileByte(const std::string& line) {
    const auto value = ParseWholeNumber(line);
    if (!value) return std::nullopt;
    return static_cast<std::uint8_t>(std::clamp<long long>(*value, 0, 255));
}

std::vector<std::string> CurveFileLines(const ServoPages& pages, int page) {
    std::vector<std::string> lines;
    const int n = pages.PointCount(page);
    for (int i = 0; i < n; ++i) lines.push_back(std::to_string(pages.at(page, i)));
    return lines;
}

std::vector<std::string> SetFileLines(const ServoPages& pages) {
    std::vector<std::string> lines;
    constexpr int kHalf = kServoBytes / 2;
    for (int i = 0; i < kHalf; ++i) {
        lines.push_back(std::to_string(pages.flat(i)));
        lines.push_back(std::to_string(pages.flat(kHalf + i)));
    }
    return lines;
}

ServoFileLoad LoadCurveLines(ServoPages& pages, int page, const std::vector<std::string>& lines) {
    ServoFileLoad load;
    int count = static_cast<int>(std::min<std::size_t>(lines.size(), kMaxCurveFileLines));
    if (count > kMaxCurvePoints) {
        load.messages.push_back(Warning(kCurveFileTruncatedMessage));
        count = kMaxCurvePoints;
    }
    for (int i = 0; i < count; ++i) {
        const auto value = ParseServoFileByte(lines[i]);
        if (!value) {
            load.messages.push_back(Warning(InvalidLineMessage(i)));
            return load;
        }
        pages.set(page, i, *value);
        load.changed = true;
    }
    pages.set(page, kOffsetPointCount, static_cast<std::uint8_t>(std::max(count, 1)));
    load.changed = true;
    load.complete = true;
    return load;
}

ServoFileLoad LoadSetLines(ServoPages& pages, const std::vector<std::string>& lines) {
    ServoFileLoad load;
    if (lines.size() > static_cast<std::size_t>(kSetFileLines)) {
        load.messages.push_back(Warning(kSetFileTooLongMessage));
        return load;
    }
    constexpr int kHalf = kServoBytes / 2;
    for (int j = 0; j < kSetFileLines; j += 2) {
        std::optional<std::uint8_t> first;
        std::optional<std::uint8_t> second;
        if (j + 1 < static_cast<int>(lines.size())) {
            first = ParseServoFileByte(lines[j]);
            second = ParseServoFileByte(lines[j + 1]);
        }
        if (!first || !second) {
            load.messages.push_back(Warning(InvalidLineMessage(j)));
            return load;
        }
        pages.set_flat(j / 2, *first);
        pages.set_flat(kHalf + j / 2, *second);
        load.changed = true;
    }
    load.complete = true;
    return load;
}

ServoFileLoad LoadCurveFile(ServoPages& pages, int page, const std::string& path) {
    return LoadFile(path, false, [&](const std::vector<std::string>& lines) {
        return LoadCurveLines(pages, page, lines);
    });
}

ServoFileLoad LoadSetFile(ServoPages& pages, const std::string& path) {
    return LoadFile(path, true, [&](const std::vector<std::string>& lines) {
        return LoadSetLines(pages, lines);
    });
}

std::optional<Message> SaveCurveFile(const ServoPages& pages, int page, const std::string& path) {
    return Write(CurveFileLines(pages, page), path, kCurveFileKind);
}

std::optional<Message> SaveSetFile(const ServoPages& pages, const std::string& path) {
    return Write(SetFileLines(pages), path, kSetFileKind);
}

bool SaveCurveWithDialog(Dialogs& dialogs, const ServoPages& pages, int page) {
    return SaveWithDialog(dialogs, CurveFileLines(pages, page), kCurveFileFilter,
                          kCurveFileExtension, kCurveFileKind);
}

ServoFileLoad LoadCurveWithDialog(Dialogs& dialogs, ServoPages& pages, int page) {
    return LoadWithDialog(dialogs, kCurveFileFilter, [&](const std::string& path) {
        return LoadCurveFile(pages, page, path);
    });
}

bool SaveSetWithDialog(Dialogs& dialogs, const ServoPages& pages) {
    return SaveWithDialog(dialogs, SetFileLines(pages), kSetFileFilter, kSetFileExtension,
                          kSetFileKind);
}

ServoFileLoad LoadSetWithDialog(Dialogs& dialogs, ServoPages& pages) {
    return LoadWithDialog(dialogs, kSetFileFilter,
                          [&](const std::string& path) { return LoadSetFile(pages, path); });
}

}  // namespace parvel
