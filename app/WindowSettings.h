#pragma once

#include <string>
#include <vector>

#include "app/IniFile.h"
#include "image/TextFile.h"

namespace parvel {

// What the program remembers between runs: the window's place (and the width it had) and the
// curve editor's two grid list selections.
struct WindowSettings {
    int raster_x = 0;
    int raster_y = 0;
    int width = 560;
    int top = 10;
    int left = 10;
    // The folder of the file last opened or saved ([Files] LastFolder); the file dialogs start
    // there before any file is loaded. Empty when none was kept.
    std::string last_folder;
    // The "Anlagen-Übersicht" as the user left it ([Roster] Width, Height, Columns): its size
    // and its column widths from left to right. 0 and empty until it was closed once; the
    // dialog then sizes itself and its columns from what it shows.
    int roster_width = 0;
    int roster_height = 0;
    std::vector<int> roster_columns;
};

// The settings file beside the executable: its path with the last three characters replaced
// by "ini" (program.exe -> program.ini).
std::string SettingsPathFor(const std::string& executable_path);

// Where this run keeps its settings file. A program run from a folder of its own (a build
// folder, an unpacked copy) keeps it beside the executable when that folder is writable. An
// installed program (installed: its data folder exists), or one whose folder cannot be written,
// keeps the file of the same name in config_dir, the user's configuration folder, which is
// created here: so "Ende" never fails on a read-only /usr/bin, and even a program run by root
// never leaves a file in the installed tree.
std::string ChooseSettingsPath(const std::string& executable_path, bool installed,
                               const std::string& config_dir);

// Missing keys and values that are not integers give the defaults; values are not range-checked,
// except the dialog's: a size or a column width below 1 counts as missing, and a column list
// with any entry that is not such a number is dropped whole.
WindowSettings ReadWindowSettings(const IniFile& ini);
// Sets the five keys (and LastFolder and the dialog's keys when known); everything else in the
// file stays.
void StoreWindowSettings(IniFile& ini, const WindowSettings& settings);

// A missing or unreadable file counts as empty.
WindowSettings LoadWindowSettingsFile(const std::string& path);
// Merges into the file's existing contents and writes it atomically. A file that exists but
// cannot be read is not overwritten (that would lose its other keys): the result says why.
WriteResult SaveWindowSettingsFile(const std::string& path, const WindowSettings& settings);

}  // namespace parvel
