#include "WindowSettings.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace parvel {

namespace {

// Far more than any settings file holds; only protects against reading a wrong file whole.
constexpr std::size_t kMaxSettingsLines = 10000;

bool Exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

}  // namespace

std::string SettingsPathFor(const std::string& executable_path) {
    if (executable_path.size() < 3) return executable_path + "ini";
    return executable_path.substr(0, executable_path.size() - 3) + "ini";
}

std::string ChooseSettingsPath(const std::string& executable_path, bool installed,
                               const std::string& config_dir) {
    namespace fs = std::filesystem;
    const fs::path beside(SettingsPathFor(executable_path));
    const fs::path folder = beside.parent_path().empty() ? fs::path(".") : beside.parent_path();
    if (!installed && ::access(folder.c_str(), W_OK) == 0) return beside.string();
    std::error_code ignored;  // a folder that cannot be made shows up when saving fails
    fs::create_directories(config_dir, ignored);
    return (fs::path(config_dir) / beside.filename()).string();
}

WindowSettings ReadWindowSettings(const IniFile& ini) {
    const WindowSettings defaults;
    WindowSettings s;
    s.raster_x = ini.ReadInteger("Raster", "x", defaults.raster_x);
    s.raster_y = ini.ReadInteger("Raster", "y", defaults.raster_y);
    s.width = ini.ReadInteger("Window", "Width", defaults.width);
    s.top = ini.ReadInteger("Window", "Top", defaults.top);
    s.left = ini.ReadInteger("Window", "Left", defaults.left);
    return s;
}

void StoreWindowSettings(IniFile& ini, const WindowSettings& settings) {
    ini.WriteInteger("Raster", "x", settings.raster_x);
    ini.WriteInteger("Raster", "y", settings.raster_y);
    ini.WriteInteger("Window", "Width", settings.width);
    ini.WriteInteger("Window", "Top", settings.top);
    ini.WriteInteger("Window", "Left", settings.left);
}

WindowSettings LoadWindowSettingsFile(const std::string& path) {
    const LinesResult read = ReadTextLines(path, kMaxSettingsLines);
    if (!read.ok()) return WindowSettings{};
    return ReadWindowSettings(IniFile::FromLines(read.lines));
}

WriteResult SaveWindowSettingsFile(const std::string& path, const WindowSettings& settings) {
    IniFile ini;
    if (Exists(path)) {
        const LinesResult read = ReadTextLines(path, kMaxSettingsLines);
        if (!read.ok()) {
            WriteResult refused;
            refused.ok = false;
            refused.error =
                read.failure == ReadFailure::CannotOpen
                    ? "die vorhandene Datei kann nicht gelesen werden (" + read.reason + ")"
                    : "die vorhandene Datei ist zu gross für eine Einstellungsdatei";
            return refused;
        }
        ini = IniFile::FromLines(read.lines);
    }
    StoreWindowSettings(ini, settings);
    return AtomicWriteFile(path, ini.ToText());
}

}  // namespace parvel
