// Any bytes as the window settings file: read the five keys, set them, write the file text.
// Property: what was written reads back to the values set, and every other line is kept.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/IniFile.h"

namespace {

struct Key {
    const char* section;
    const char* key;
    int fallback;
};
constexpr Key kKeys[] = {
    {"Raster", "x", 0}, {"Raster", "y", 0}, {"Window", "Width", 560}, {"Window", "Top", 10},
    {"Window", "Left", 10}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024) return 0;
    parvel::IniFile ini = parvel::IniFile::FromText(std::string(reinterpret_cast<const char*>(data), size));
    int values[5];
    for (int i = 0; i < 5; ++i) {
        values[i] = ini.ReadInteger(kKeys[i].section, kKeys[i].key, kKeys[i].fallback) ^ (i + 1);
    }
    const auto lines_before = ini.Lines().size();
    for (int i = 0; i < 5; ++i) ini.WriteInteger(kKeys[i].section, kKeys[i].key, values[i]);
    if (ini.Lines().size() < lines_before) std::abort();  // nothing of the file is dropped

    const parvel::IniFile back = parvel::IniFile::FromText(ini.ToText());
    for (int i = 0; i < 5; ++i) {
        if (back.ReadInteger(kKeys[i].section, kKeys[i].key, kKeys[i].fallback ^ 0x5A5A) != values[i]) {
            std::abort();
        }
    }
    return 0;
}
