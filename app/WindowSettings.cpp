#include "app/WindowSettings.h"

#include <algorithm>
#include <filesystem>

#include "document/DecoderDocument.h"
#include "image/Platform.h"

namespace parvel {

namespace {

// Far more than any settings file holds; only protects against reading a wrong file whole.
constexpr std::size_t kMaxSettingsLines = 10000;

bool Exists(const std::string& path) {
    return QueryFile(path).kind != FileKind::Missing;
}

// "120,80,64": whole numbers from 1 to 99999 separated by commas, blanks allowed around them;
// empty when the text is empty or any entry is not such a number.
std::vector<int> ParseWidths(const std::string& text) {
    std::vector<int> widths;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        const auto width = ParseDecimal(text.substr(start, end - start));
        if (!width || *width < 1 || *width > 99999) return {};
        widths.push_back(*width);
        start = end + 1;
    }
    return widths;
}

std::string JoinWidths(const std::vector<int>& widths) {
    std::string text;
    for (int w : widths) text += (text.empty() ? "" : ",") + std::to_string(w);
    return text;
}

}  // namespace

std::string SettingsPathFor(const std::string& executable_path) {
    if (executable_path.size() < 3) return executable_path + "ini";
    return executable_path.substr(0, executable_path.size() - 3) + "ini";
}

std::string ChooseSettingsPath(const std::string& executable_path, bool installed,
                               const std::string& config_dir) {
    namespace fs = std::filesystem;
    const std::string beside = SettingsPathFor(executable_path);
    const std::size_t slash = LastPathSeparator(beside);
    const std::string folder = slash == std::string::npos ? std::string(".") : beside.substr(0, slash + 1);
    if (!installed && FolderIsWritable(folder)) return beside;
    std::error_code ignored;  // a folder that cannot be made shows up when saving fails
    fs::create_directories(PathFromUtf8(config_dir), ignored);
    return Utf8FromPath(PathFromUtf8(config_dir) / PathFromUtf8(beside.substr(slash + 1)));
}

WindowSettings ReadWindowSettings(const IniFile& ini) {
    const WindowSettings defaults;
    WindowSettings s;
    s.raster_x = ini.ReadInteger("Raster", "x", defaults.raster_x);
    s.raster_y = ini.ReadInteger("Raster", "y", defaults.raster_y);
    s.width = ini.ReadInteger("Window", "Width", defaults.width);
    s.top = ini.ReadInteger("Window", "Top", defaults.top);
    s.left = ini.ReadInteger("Window", "Left", defaults.left);
    s.last_folder = ini.Value("Files", "LastFolder").value_or(std::string());
    s.roster_width = std::max(ini.ReadInteger("Roster", "Width", 0), 0);
    s.roster_height = std::max(ini.ReadInteger("Roster", "Height", 0), 0);
    if (s.roster_width == 0 || s.roster_height == 0) s.roster_width = s.roster_height = 0;
    s.roster_columns = ParseWidths(ini.Value("Roster", "Columns").value_or(std::string()));
    return s;
}

void StoreWindowSettings(IniFile& ini, const WindowSettings& settings) {
    ini.WriteInteger("Raster", "x", settings.raster_x);
    ini.WriteInteger("Raster", "y", settings.raster_y);
    ini.WriteInteger("Window", "Width", settings.width);
    ini.WriteInteger("Window", "Top", settings.top);
    ini.WriteInteger("Window", "Left", settings.left);
    if (!settings.last_folder.empty()) ini.WriteString("Files", "LastFolder", settings.last_folder);
    if (settings.roster_width > 0 && settings.roster_height > 0) {
        ini.WriteInteger("Roster", "Width", settings.roster_width);
        ini.WriteInteger("Roster", "Height", settings.roster_height);
    }
    if (!settings.roster_columns.empty())
        ini.WriteString("Roster", "Columns", JoinWidths(settings.roster_columns));
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
