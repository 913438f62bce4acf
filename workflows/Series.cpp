#include "workflows/Series.h"

#include "document/DecoderFile.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "document/DecoderDocument.h"
#include "image/HexWriter.h"
#include "image/Platform.h"
#include "image/TextFile.h"

namespace parvel {

namespace {

std::string Stem(std::string path) {
    // The file-name panel may carry the chip family after the name: "x.hex (12F629/16F630)".
    // Drop it before looking for the folder separator, since the family itself holds a '/'.
    if (!path.empty() && path.back() == ')') {
        const std::size_t suffix = path.rfind(" (");
        if (suffix != std::string::npos) path.resize(suffix);
    }
    const std::size_t slash = LastPathSeparator(path);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

// Passes messages on, except while muted: a failing copy is reported once, with its number,
// instead of also showing the saving flow's own message.
class MutableDialogs : public Dialogs {
public:
    explicit MutableDialogs(Dialogs& target) : m_target(target) {}
    bool muted = false;
    Answer ShowMessage(const Message& message) override {
        return muted ? SafeAnswer(message.buttons) : m_target.ShowMessage(message);
    }
    std::optional<std::string> OpenFileName(const std::string&,
                                            const FileDialogPlace& = {}) override {
        return std::nullopt;
    }
    std::optional<std::string> SaveFileName(const std::string&, const std::string&,
                                            const std::string&,
                                            const FileDialogPlace& = {}) override {
        return std::nullopt;
    }

private:
    Dialogs& m_target;
};

Answer Warn(Dialogs& dialogs, const std::string& text) {
    return dialogs.ShowMessage({text, Icon::Warning, Buttons::Cancel});
}

}  // namespace

SeriesPlan PlanSeries(const std::vector<std::string>& source_lines, const std::string& source_name,
                      const SeriesRequest& request, Dialogs& dialogs) {
    SeriesPlan plan;
    if (request.count < 1 || request.first < 1 || (request.step && *request.step < 1)) {
        Warn(dialogs, "Erste Adresse, Anzahl und Schrittweite müssen mindestens 1 sein.");
        return plan;
    }
    MutableDialogs relay(dialogs);
    DecoderDocument document(relay);
    if (!document.LoadHexLines(source_lines, source_name) || !document.entry()) {
        Warn(dialogs, "Die Reihe braucht ein vollständig geladenes und erkanntes HEX-File.");
        return plan;
    }
    if (document.kind() == DecoderKind::None || document.protocol() == Protocol::None) {
        Warn(dialogs, "Für diese Firmware werden keine Adressen gespeichert; eine Reihe ist nicht möglich.");
        return plan;
    }

    const auto span = UsedAddressSpan(document);
    std::vector<int> used;
    for (int r = 1; r < kGridRows; ++r) {
        if (document.row(r).exists() && document.row(r).address > 0) used.push_back(r);
    }
    if (!span) {
        Warn(dialogs, "Keine Zeile hat eine Adresse: es gibt nichts zu verschieben.");
        return plan;
    }
    const int low = span->first;
    plan.span = span->second - low + 1;
    plan.step = request.step.value_or(plan.span);

    std::array<int, kGridRows> base{};
    for (int r = 0; r < kGridRows; ++r) base[r] = document.row(r).address;
    for (int i = 0; i < request.count; ++i) {
        const long long first = request.first + static_cast<long long>(i) * plan.step;
        const long long shift = first - low;
        for (int r : used) {
            const long long a = base[r] + shift;
            // An address beyond the integer range is refused as the field would refuse it.
            document.SetAddressText(r, std::to_string(a));
        }
        // The saving flow validates against the limits; its message tells which row failed.
        const std::size_t before = document.shown_messages().size();
        relay.muted = true;
        const DecoderDocument::SaveResult built = document.BuildHexLines();
        relay.muted = false;
        if (built != DecoderDocument::SaveResult::Saved) {
            const auto& shown = document.shown_messages();
            const std::string reason = shown.size() > before ? shown.back().text : std::string();
            Warn(dialogs, "Kopie " + std::to_string(i + 1) + " (erste Adresse " + std::to_string(first) +
                              "): " + reason + "\nEs wurde keine Datei geschrieben.");
            plan.copies.clear();
            return plan;
        }
        char number[24];
        std::snprintf(number, sizeof number, "%04lld", first);
        SeriesCopy copy;
        copy.path = request.out_dir + "/" + Stem(source_name) + "-" + number + ".hex";
        copy.first = static_cast<int>(first);
        copy.last = static_cast<int>(span->second + shift);
        copy.text = HexFileText(document.image());
        plan.copies.push_back(std::move(copy));
    }
    plan.ok = true;
    return plan;
}

bool WriteSeries(const SeriesPlan& plan, const SeriesRequest& request, Dialogs& dialogs,
                 const std::function<void(int)>& progress) {
    if (!plan.ok) return false;
    if (!request.overwrite) {
        std::string existing;
        for (const auto& copy : plan.copies) {
            if (QueryFile(copy.path).kind != FileKind::Missing) existing += "\n" + copy.path;
        }
        if (!existing.empty()) {
            Warn(dialogs, "Diese Dateien gibt es schon; es wurde keine Datei geschrieben:" + existing);
            return false;
        }
    }
    int written = 0;
    for (const auto& copy : plan.copies) {
        const WriteResult result = AtomicWriteFile(copy.path, copy.text);
        if (!result.ok) {
            Warn(dialogs, "Das HEX-File " + copy.path + " konnte nicht gespeichert werden: " + result.error +
                              ". " + std::to_string(written) + " von " + std::to_string(plan.copies.size()) +
                              " Dateien wurden geschrieben.");
            return false;
        }
        ++written;
        if (progress) progress(written);
    }
    return true;
}

std::vector<std::string> SeriesSummary(const SeriesPlan& plan) {
    std::vector<std::string> lines;
    std::size_t width = 4;
    for (const auto& c : plan.copies) width = std::max(width, c.path.size());
    char buf[64];
    std::string head = "Datei";
    head.resize(width + 2, ' ');
    lines.push_back(head + "erste  letzte");
    for (const auto& c : plan.copies) {
        std::string line = c.path;
        line.resize(width + 2, ' ');
        std::snprintf(buf, sizeof buf, "%5d  %6d", c.first, c.last);
        lines.push_back(line + buf);
    }
    return lines;
}

}  // namespace parvel
