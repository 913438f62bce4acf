#include "workflows/Migration.h"

#include <algorithm>

#include "document/DecoderDocument.h"
#include "workflows/DecoderSettings.h"
#include "image/HexWriter.h"
#include "document/DecoderFile.h"

namespace parvel {

namespace {

std::string Trim(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    while (!s.empty() && s.front() == ' ') s.erase(s.begin());
    return s;
}

std::string RowText(const DecoderDocument& s, int r) {
    return s.row(r).label + ": " + RowValueText(s, r);
}

Message Refusal(const std::string& text) { return {text, Icon::Warning, Buttons::Cancel}; }

}  // namespace

std::string FamilyName(const std::string& name) {
    std::string n = name;
    for (const char* marker : {" ab V", " < V"}) {
        const std::size_t p = n.find(marker);
        if (p != std::string::npos) n.resize(p);
    }
    // A bare version at the end: "Lucor - Ampel V3.40".
    const std::size_t v = n.rfind(" V");
    if (v != std::string::npos && v + 2 < n.size() && n[v + 2] >= '0' && n[v + 2] <= '9') n.resize(v);
    // The same firmware was published as "F.Dekoder" and "F-Dekoder".
    for (std::size_t p = n.find("F.Dekoder"); p != std::string::npos; p = n.find("F.Dekoder", p)) n[p + 1] = '-';
    std::string collapsed;
    for (char c : n) {
        if (c == ' ' && !collapsed.empty() && collapsed.back() == ' ') continue;
        collapsed += c;
    }
    return Trim(collapsed);
}

bool SameFamily(const DecoderType& a, const DecoderType& b) {
    if (a.kind != b.kind) return false;
    const std::string fa = FamilyName(a.name), fb = FamilyName(b.name);
    auto extends = [](const std::string& longer, const std::string& shorter) {
        return longer.size() > shorter.size() + 3 && longer.compare(0, shorter.size(), shorter) == 0 &&
               longer.compare(shorter.size(), 3, " - ") == 0;
    };
    return fa == fb || extends(fa, fb) || extends(fb, fa);
}

MigrationResult Migrate(const std::vector<std::string>& old_lines, const std::string& old_name,
                        const std::vector<std::string>& new_lines, const std::string& new_name,
                        Dialogs& dialogs) {
    MigrationResult result;
    DecoderDocument from(dialogs), to(dialogs);
    if (!from.LoadHexLines(old_lines, old_name) || !from.entry()) {
        dialogs.ShowMessage(Refusal(old_name + " wurde nicht vollständig geladen oder nicht erkannt."));
        return result;
    }
    if (!to.LoadHexLines(new_lines, new_name) || !to.entry()) {
        dialogs.ShowMessage(Refusal(new_name + " wurde nicht vollständig geladen oder nicht erkannt."));
        return result;
    }
    if (from.entry() != to.entry()) {
        if (!SameFamily(*from.entry(), *to.entry())) {
            dialogs.ShowMessage(Refusal("\"" + from.entry()->name + "\" und \"" + to.entry()->name +
                                        "\" sind verschiedene Firmware-Familien; die Einstellungen "
                                        "lassen sich nicht übertragen."));
            return result;
        }
        if (to.version() < from.version()) {
            dialogs.ShowMessage(Refusal("Die neue Firmware (V " + to.version_text() +
                                        ") ist älter als die alte (V " + from.version_text() +
                                        "); die Einstellungen werden nur auf eine neuere Version "
                                        "übertragen."));
            return result;
        }
    }

    // Frame settings that both versions keep at the same place.
    FirmwareImage& image = to.image();
    const auto old_settings = DecoderSettings(from.type_code(), from.version());
    const auto new_settings = DecoderSettings(to.type_code(), to.version());
    for (const DecoderSetting& s : old_settings) {
        const auto match = std::find_if(new_settings.begin(), new_settings.end(),
                                        [&](const DecoderSetting& n) { return n.SamePlace(s); });
        if (match == new_settings.end()) {
            result.not_carried.push_back(s.name + ": in der neuen Version nicht an derselben Stelle");
            continue;
        }
        for (std::size_t i = 0; i < s.cells.size(); ++i) {
            const int cell = s.cells[i];
            if (s.region == DecoderSetting::Region::Eeprom) {
                image.eeprom_cells[cell] = from.image().eeprom_cells[cell];
                image.eeprom_last = std::max(image.eeprom_last, cell);
            } else {
                image.rom_cells[cell] = from.image().rom_cells[cell];
                image.rom_last = std::max(image.rom_last, cell + 1);
            }
        }
        result.carried.push_back(s.name);
    }
    for (const DecoderSetting& n : new_settings) {
        const bool known = std::any_of(old_settings.begin(), old_settings.end(),
                                       [&](const DecoderSetting& s) { return s.SamePlace(n); });
        if (!known) result.not_carried.push_back(n.name + ": neu, bleibt wie in der neuen Version");
    }

    // Grid rows: the numbers the old file shows, encoded as saving encodes them.
    const bool same_protocol = from.protocol() == to.protocol();
    for (int r = 1; r < kGridRows; ++r) {
        if (!from.row(r).exists()) continue;
        if (!to.row(r).exists()) {
            result.not_carried.push_back(RowText(from, r) + " (Zeile fehlt in der neuen Version)");
            continue;
        }
        if (!same_protocol) {
            result.not_carried.push_back(RowText(from, r) + " (anderes Protokoll: " +
                                         from.status_text(2) + " -> " + to.status_text(2) + ")");
            continue;
        }
        to.SetAddressText(r, std::to_string(from.row(r).address));
        to.SetFunctionText(r, std::to_string(from.row(r).function));
        to.SetGreen(r, from.row(r).green);
        std::string line = RowText(from, r);
        if (from.row(r).label != to.row(r).label) line += " (neu: " + to.row(r).label + ")";
        result.carried.push_back(line);
    }
    if (to.BuildHexLines() != DecoderDocument::SaveResult::Saved) return result;
    result.text = HexFileText(to.image());
    result.ok = true;
    return result;
}

}  // namespace parvel
