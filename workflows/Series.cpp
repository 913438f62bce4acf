#include "workflows/Series.h"

#include "document/DecoderFile.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <map>
#include <tuple>

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

    const auto cv = CvAddressOf(document);
    if (cv && !cv->problem.empty()) {
        Warn(dialogs, cv->problem + "\nOhne gültige Adresse gibt es nichts zu verschieben.");
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
        if (cv) {
            const long long a = cv->address + shift;
            if (a < cv->min || a > cv->max ||
                !SetCvAddress(document, *cv, static_cast<int>(a))) {
                Warn(dialogs, "Kopie " + std::to_string(i + 1) + " (erste Adresse " +
                                  std::to_string(first) + "): " + cv->name + " kann nur " +
                                  std::to_string(cv->min) + " bis " + std::to_string(cv->max) +
                                  " halten.\nEs wurde keine Datei geschrieben.");
                plan.copies.clear();
                return plan;
            }
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
        copy.outputs = DecoderOutputs(document, copy.path);
        plan.copies.push_back(std::move(copy));
    }
    plan.ok = true;
    return plan;
}

namespace {

// Outputs of the roster and of the copies to be written, found by protocol, kind and address.
class OutputIndex {
public:
    void Add(const RosterOutput& output) {
        m_outputs[{output.protocol(), output.accessory, output.address}].push_back(&output);
    }
    // Per conflict title, the outputs answering a command of `copy`'s outputs.
    std::vector<std::pair<RosterClash, std::vector<const RosterOutput*>>> Clashes(
        const std::vector<RosterOutput>& copy) const {
        std::vector<std::pair<RosterClash, std::vector<const RosterOutput*>>> found;
        for (const RosterOutput& o : copy) {
            const auto it = m_outputs.find({o.protocol(), o.accessory, o.address});
            if (it == m_outputs.end()) continue;
            for (const RosterOutput* other : it->second) {
                if (!SameCommand(o, *other)) continue;
                RosterClash clash;
                clash.protocol = o.protocol();
                clash.accessory = o.accessory;
                clash.address = o.address;
                clash.green = o.green;
                clash.all_functions = o.cv && other->cv;
                clash.function = clash.all_functions ? 0 : o.cv ? other->function : o.function;
                const std::string title = ClashTitle(clash, false);
                auto same = std::find_if(found.begin(), found.end(), [&](const auto& entry) {
                    return ClashTitle(entry.first, false) == title;
                });
                if (same == found.end()) {
                    found.push_back({clash, {}});
                    same = found.end() - 1;
                }
                if (std::find(same->second.begin(), same->second.end(), other) == same->second.end())
                    same->second.push_back(other);
            }
        }
        return found;
    }

private:
    std::map<std::tuple<std::string, bool, int>, std::vector<const RosterOutput*>> m_outputs;
};

// The collision question's list: one line per conflict, the first ten of them.
std::string ClashLines(
    const std::vector<std::pair<RosterClash, std::vector<const RosterOutput*>>>& clashes,
    const std::string& folder) {
    constexpr std::size_t kShown = 10;
    std::string text;
    for (std::size_t k = 0; k < clashes.size() && k < kShown; ++k) {
        Roster others;
        RosterClash clash = clashes[k].first;
        for (const RosterOutput* o : clashes[k].second) {
            clash.outputs.push_back(others.outputs.size());
            others.outputs.push_back(*o);
        }
        text += "  " + ClashTitle(clash, false) + ": " + ClashOutputs(others, clash, folder) + "\n";
    }
    if (clashes.size() > kShown)
        text += "  und " + std::to_string(clashes.size() - kShown) + " weitere\n";
    return text;
}

bool SameFile(const std::string& a, const std::optional<FileIdentity>& a_id, const std::string& b,
              const std::optional<FileIdentity>& b_id) {
    if (a_id && b_id) return !(*a_id < *b_id) && !(*b_id < *a_id);
    return a == b;
}

}  // namespace

SeriesOutcome WriteSeries(const SeriesPlan& plan, const SeriesRequest& request, Dialogs& dialogs,
                          const Roster* roster, const std::function<void(int)>& progress) {
    SeriesOutcome outcome;
    outcome.written.assign(plan.copies.size(), false);
    if (!plan.ok) return outcome;
    const std::size_t n = plan.copies.size();
    std::vector<bool> chosen(n, true), exists(n, false);
    // The question names the first ten files; a longer list would not fit on the screen.
    constexpr std::size_t kNamed = 10;
    std::string existing;
    std::size_t existing_count = 0;
    for (std::size_t i = 0; i < n; ++i) {
        exists[i] = QueryFile(plan.copies[i].path).kind != FileKind::Missing;
        if (exists[i] && ++existing_count <= kNamed) existing += plan.copies[i].path + "\n";
    }
    if (existing_count > kNamed)
        existing += "und " + std::to_string(existing_count - kNamed) + " weitere\n";
    if (!request.overwrite && !existing.empty()) {
        const Answer answer = dialogs.ShowMessage(
            {"Diese Dateien gibt es schon:\n" + existing +
                 "Überschreiben, überspringen (nur die neuen Dateien schreiben) oder abbrechen?",
             Icon::Warning, Buttons::OverwriteSkipCancel});
        if (answer == Answer::Skip) {
            for (std::size_t i = 0; i < n; ++i) chosen[i] = !exists[i];
        } else if (answer != Answer::Overwrite) {
            return outcome;
        }
    }

    if (roster) {
        // A file this series replaces no longer holds what the roster read from it.
        std::vector<std::pair<std::string, std::optional<FileIdentity>>> replaced;
        for (std::size_t i = 0; i < n; ++i) {
            if (chosen[i] && exists[i])
                replaced.push_back({plan.copies[i].path, IdentityOf(plan.copies[i].path)});
        }
        OutputIndex index;
        std::map<std::string, bool> kept;  // per roster file
        for (const RosterOutput& o : roster->outputs) {
            auto it = kept.find(o.file());
            if (it == kept.end()) {
                const auto id = IdentityOf(o.file());
                bool keep = true;
                for (const auto& [path, path_id] : replaced)
                    keep = keep && !SameFile(o.file(), id, path, path_id);
                it = kept.emplace(o.file(), keep).first;
            }
            if (it->second) index.Add(o);
        }
        for (std::size_t i = 0; i < n; ++i) {
            if (!chosen[i]) continue;
            const SeriesCopy& copy = plan.copies[i];
            const auto clashes = index.Clashes(copy.outputs);
            if (!clashes.empty()) {
                const Answer answer = dialogs.ShowMessage(
                    {"Kopie " + std::to_string(i + 1) + " (" + copy.path +
                         ") belegt Adressen, die schon verwendet werden:\n" +
                         ClashLines(clashes, request.out_dir) + "Diese Kopie trotzdem schreiben?",
                     Icon::Warning, Buttons::YesNoCancel});
                if (answer == Answer::No) {
                    chosen[i] = false;
                    continue;
                }
                if (answer != Answer::Yes) return outcome;
            }
            // Later copies must not take this copy's addresses either.
            for (const RosterOutput& o : copy.outputs) index.Add(o);
        }
    }

    const long to_write = static_cast<long>(std::count(chosen.begin(), chosen.end(), true));
    int written = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (!chosen[i]) continue;
        const SeriesCopy& copy = plan.copies[i];
        const WriteResult result = AtomicWriteFile(copy.path, copy.text);
        if (!result.ok) {
            Warn(dialogs, "Das HEX-File " + copy.path + " konnte nicht gespeichert werden: " + result.error +
                              ". " + std::to_string(written) + " von " + std::to_string(to_write) +
                              " Dateien wurden geschrieben.");
            return outcome;
        }
        outcome.written[i] = true;
        ++written;
        if (progress) progress(written);
    }
    outcome.ok = true;
    return outcome;
}

std::optional<int> FirstSeriesAddress(const Roster& roster, const std::string& protocol,
                                      bool accessory, int span, int count, int step) {
    if (span < 1 || count < 1 || step < 1) return std::nullopt;
    const long long length = static_cast<long long>(count - 1) * step + span;
    if (length > INT_MAX) return std::nullopt;
    return FirstFreeAddress(roster, protocol, accessory, static_cast<int>(length));
}

std::vector<std::string> SeriesSummary(const SeriesPlan& plan, const std::vector<bool>& written) {
    std::vector<std::string> lines;
    std::size_t width = 4;
    for (const auto& c : plan.copies) width = std::max(width, c.path.size());
    char buf[64];
    std::string head = "Datei";
    head.resize(width + 2, ' ');
    lines.push_back(head + "erste  letzte");
    for (std::size_t i = 0; i < plan.copies.size(); ++i) {
        const SeriesCopy& c = plan.copies[i];
        std::string line = c.path;
        line.resize(width + 2, ' ');
        std::snprintf(buf, sizeof buf, "%5d  %6d", c.first, c.last);
        line += buf;
        if (i < written.size() && !written[i]) line += "  übersprungen";
        lines.push_back(line);
    }
    return lines;
}

}  // namespace parvel
