#include "workflows/Roster.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <map>
#include <set>
#include <thread>
#include <tuple>
#include <utility>

#include "document/DecoderFile.h"
#include "image/Message.h"
#include "image/Platform.h"
#include "image/TextFile.h"

namespace parvel {

namespace fs = std::filesystem;

namespace {

bool EndsWithHex(const std::string& name) {
    if (name.size() < 5) return false;
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return tail == ".hex";
}

using FileId = FileIdentity;

struct Scan {
    std::vector<std::pair<std::string, FileId>> files;
    std::vector<RosterSkip> skipped;
};

// Walks the folder (and its subfolders when asked) without following a folder twice, so a
// symbolic link back up the tree ends instead of looping. Entries are taken in name order.
bool ScanFolder(const std::string& folder, bool recursive, Scan& scan, std::string& failure) {
    const FileQuery top_query = QueryFile(folder);
    if (top_query.kind == FileKind::Missing) {
        failure = "Der Ordner " + folder + " kann nicht gelesen werden: " + top_query.error;
        return false;
    }
    if (top_query.kind != FileKind::Folder) {
        failure = folder + " ist kein Ordner.";
        return false;
    }
    std::set<FileId> seen_dirs;
    if (const auto id = IdentityOf(folder)) seen_dirs.insert(*id);
    std::vector<fs::path> pending{PathFromUtf8(folder)};
    bool top = true;
    while (!pending.empty()) {
        const fs::path dir = pending.back();
        pending.pop_back();
        std::error_code ec;
        std::vector<fs::path> entries;
        fs::directory_iterator it(dir, ec);
        for (; !ec && it != fs::directory_iterator(); it.increment(ec))
            entries.push_back(it->path());
        if (ec) {
            const std::string reason = "Der Ordner kann nicht gelesen werden: " + ErrorCodeText(ec);
            if (top) {
                failure = "Der Ordner " + folder + " kann nicht gelesen werden: " + ErrorCodeText(ec);
                return false;
            }
            scan.skipped.push_back({Utf8FromPath(dir), reason});
            if (entries.empty()) continue;
        }
        top = false;
        std::sort(entries.begin(), entries.end());
        std::vector<fs::path> subdirs;
        for (const fs::path& entry : entries) {
            const std::string path = Utf8FromPath(entry);
            const bool hex = EndsWithHex(Utf8FromPath(entry.filename()));
            const FileQuery es = QueryFile(path);
            if (es.kind == FileKind::Missing) {
                if (hex) {
                    scan.skipped.push_back(
                        {path, "Die Datei kann nicht gelesen werden: " + es.error});
                }
                continue;
            }
            if (es.kind == FileKind::Folder) {
                if (!recursive) continue;
                const auto id = IdentityOf(path);
                if (id && !seen_dirs.insert(*id).second) {
                    scan.skipped.push_back(
                        {path,
                         "Ordner übersprungen: er wurde über eine symbolische Verknüpfung schon "
                         "gelesen (Verknüpfung im Kreis oder zweiter Weg zum selben Ordner)."});
                    continue;
                }
                subdirs.push_back(entry);
            } else if (hex) {
                const auto id = IdentityOf(path);
                if (es.kind == FileKind::Regular && id)
                    scan.files.push_back({path, *id});
                else if (es.kind == FileKind::Regular)
                    scan.skipped.push_back({path, "Die Datei kann nicht gelesen werden."});
                else
                    scan.skipped.push_back(
                        {path, "Keine gewöhnliche Datei; sie wurde nicht gelesen."});
            }
        }
        // Depth first, in name order.
        pending.insert(pending.end(), subdirs.rbegin(), subdirs.rend());
    }
    return true;
}

// Questions take the answer that changes nothing; the messages are kept to say why a file was
// skipped.
class QuietDialogs : public Dialogs {
  public:
    std::vector<Message> messages;
    Answer ShowMessage(const Message& message) override {
        messages.push_back(message);
        return SafeAnswer(message.buttons);
    }
    std::optional<std::string> OpenFileName(const std::string&,
                                            const FileDialogPlace&) override {
        return std::nullopt;
    }
    std::optional<std::string> SaveFileName(const std::string&, const std::string&,
                                            const std::string&, const FileDialogPlace&) override {
        return std::nullopt;
    }
};

struct FileResult {
    std::vector<RosterOutput> outputs;
    std::optional<std::string> skip;
    std::optional<std::tuple<std::string, bool, int>> group;  // protocol, accessory, max address
};

// Reads files[next..] until none is left; one document for all files this thread reads.
void ReadFiles(const std::vector<std::string>& files, std::vector<FileResult>& results,
               std::atomic<std::size_t>& next, std::atomic<std::size_t>& done,
               const RosterProgress& progress, const std::atomic<bool>* cancel) {
    QuietDialogs dialogs;
    DecoderDocument document(dialogs);
    for (;;) {
        if (cancel && cancel->load()) return;
        const std::size_t i = next.fetch_add(1);
        if (i >= files.size()) return;
        const std::string& path = files[i];
        FileResult& result = results[i];
        dialogs.messages.clear();
        std::string open_failure;
        const LoadOutcome outcome = LoadDecoderFile(document, dialogs, path, &open_failure);
        if (outcome == LoadOutcome::Unreadable) {
            result.skip = "Die Datei kann nicht geöffnet werden: " + open_failure;
        } else if (outcome != LoadOutcome::Recognised) {
            std::string message = "Das HEX-File konnte leider nicht erkannt werden";
            // The rejected line's message is the last one; for a file without ID it is that
            // question.
            if (!dialogs.messages.empty()) message = dialogs.messages.back().text;
            result.skip = message;
        } else if (document.protocol() != Protocol::None && document.kind() != DecoderKind::None) {
            const bool accessory = document.kind() == DecoderKind::Accessory;
            result.group = std::make_tuple(ProtocolName(document.protocol()), accessory,
                                           document.max_address());
            std::string problem;
            result.outputs = DecoderOutputs(document, path, &problem);
            if (!problem.empty()) result.skip = problem;
        }
        const std::size_t finished = done.fetch_add(1) + 1;
        if (progress) progress(finished, files.size());
    }
}

// The table is sorted by protocol and address first, so the outputs of one address are
// neighbours: each such run is sorted by command on its own, which needs no more memory than
// the run's indexes (a map over all outputs took more than the outputs themselves). Conflicts
// come out by protocol, address, then command: accessory red, green, then function numbers.
void FindClashes(Roster& roster) {
    const std::vector<RosterOutput>& outputs = roster.outputs;
    const auto command = [&outputs](std::size_t i) {
        const RosterOutput& o = outputs[i];
        return std::make_tuple(!o.accessory, o.green, o.function);
    };
    std::vector<std::size_t> run, accessory, cvs, joined;
    for (std::size_t begin = 0, end = 0; begin < outputs.size(); begin = end) {
        const RosterOutput& first = outputs[begin];
        for (end = begin + 1; end < outputs.size() && outputs[end].address == first.address &&
                              outputs[end].protocol() == first.protocol();
             ++end) {
        }
        if (end - begin < 2) continue;
        run.clear();
        accessory.clear();
        cvs.clear();
        for (std::size_t i = begin; i < end; ++i) {
            if (outputs[i].cv)
                cvs.push_back(i);
            else
                run.push_back(i);
            if (outputs[i].accessory) accessory.push_back(i);
        }
        // Accessory commands sort before function commands, red before green, then by F.
        std::stable_sort(run.begin(), run.end(),
                         [&](std::size_t a, std::size_t b) { return command(a) < command(b); });
        bool any_function = false;
        for (std::size_t a = 0, b = 0; a < run.size(); a = b) {
            for (b = a + 1; b < run.size() && command(run[b]) == command(run[a]); ++b) {
            }
            const RosterOutput& o = outputs[run[a]];
            // A decoder with its address in CVs answers every function of its address: it
            // joins the conflict of each function number used there, in table order.
            if (!o.accessory && !cvs.empty()) {
                any_function = true;
                joined.clear();
                std::merge(run.begin() + a, run.begin() + b, cvs.begin(), cvs.end(),
                           std::back_inserter(joined));
                const RosterOutput& front = outputs[joined.front()];
                roster.conflicts.push_back({front.protocol(), front.accessory, front.address,
                                            front.green, o.function, false, joined});
                continue;
            }
            if (b - a < 2) continue;
            roster.conflicts.push_back({o.protocol(), o.accessory, o.address, o.green, o.function,
                                        false, {run.begin() + a, run.begin() + b}});
        }
        // Where no function number is used, such decoders clash among themselves on all
        // functions.
        if (!any_function && cvs.size() >= 2) {
            const RosterOutput& o = outputs[cvs.front()];
            roster.conflicts.push_back(
                {o.protocol(), o.accessory, o.address, o.green, 0, true, cvs});
        }
        // Red and green of one address inside one file is how a decoder pairs its outputs; two
        // files sharing an address with opposite colours is worth a look.
        bool across_files = false;
        for (std::size_t x : accessory) {
            for (std::size_t y : accessory) {
                across_files = across_files || (!outputs[x].green && outputs[y].green &&
                                                outputs[x].file() != outputs[y].file());
            }
        }
        if (across_files)
            roster.notes.push_back(
                {first.protocol(), true, first.address, false, 0, false, accessory});
    }
}

}  // namespace

Roster BuildRoster(const RosterRequest& request, const RosterProgress& progress,
                   const std::atomic<bool>* cancel) {
    Roster roster;
    Scan scan;
    if (!ScanFolder(request.folder, request.recursive, scan, roster.folder_message)) return roster;
    roster.folder_ok = true;

    // The same file reached twice (a link beside its target) is read once.
    std::sort(scan.files.begin(), scan.files.end());
    std::vector<std::string> files;
    std::map<FileId, std::string> first_path;
    for (const auto& [path, id] : scan.files) {
        const auto [it, inserted] = first_path.insert({id, path});
        if (inserted)
            files.push_back(path);
        else
            scan.skipped.push_back(
                {path, "Dieselbe Datei wie " + it->second + "; nicht doppelt gezählt."});
    }
    roster.hex_files = scan.files.size();

    std::vector<FileResult> results(files.size());
    std::atomic<std::size_t> next{0}, done{0};
    unsigned threads =
        request.threads ? request.threads : std::max(1u, std::thread::hardware_concurrency());
    threads = static_cast<unsigned>(
        std::min<std::size_t>(threads, std::max<std::size_t>(files.size(), 1)));
    std::vector<std::thread> workers;
    for (unsigned t = 1; t < threads; ++t) {
        workers.emplace_back(ReadFiles, std::cref(files), std::ref(results), std::ref(next),
                             std::ref(done), std::cref(progress), cancel);
    }
    ReadFiles(files, results, next, done, progress, cancel);
    for (auto& worker : workers) worker.join();
    roster.cancelled = cancel && cancel->load();

    // Room for exactly the outputs found: a vector left to grow would hold up to twice that.
    std::size_t output_count = 0;
    for (const FileResult& result : results) output_count += result.outputs.size();
    roster.outputs.reserve(output_count);
    std::map<std::pair<std::string, bool>, int> groups;
    for (std::size_t i = 0; i < files.size(); ++i) {
        FileResult& result = results[i];
        if (result.skip) scan.skipped.push_back({files[i], *result.skip});
        if (result.group) {
            const auto& [protocol, accessory, max_address] = *result.group;
            int& bound = groups[{protocol, accessory}];
            bound = std::max(bound, max_address);
        }
        for (auto& out : result.outputs) roster.outputs.push_back(std::move(out));
        result = FileResult{};
    }
    std::sort(roster.outputs.begin(), roster.outputs.end(),
              [](const RosterOutput& a, const RosterOutput& b) {
                  return std::tie(a.protocol(), a.address, a.file(), b.accessory, a.row) <
                         std::tie(b.protocol(), b.address, b.file(), a.accessory, b.row);
              });
    std::sort(scan.skipped.begin(), scan.skipped.end(),
              [](const RosterSkip& a, const RosterSkip& b) { return a.file < b.file; });
    roster.skipped = std::move(scan.skipped);
    FindClashes(roster);

    for (const auto& [key, bound] : groups) {
        std::vector<char> used(static_cast<std::size_t>(bound) + 2, 0);
        for (const auto& o : roster.outputs) {
            if (o.protocol() == key.first && o.accessory == key.second && o.address <= bound)
                used[o.address] = 1;
        }
        FreeGroup group{FreeGroupName(key.first, key.second), key.first, key.second, {}};
        for (int a = 1; a <= bound; ++a) {
            if (used[a]) continue;
            int b = a;
            while (b < bound && !used[b + 1]) ++b;
            group.ranges.push_back({a, b});
            a = b;
        }
        roster.free.push_back(std::move(group));
    }
    std::stable_sort(
        roster.free.begin(), roster.free.end(), [](const FreeGroup& a, const FreeGroup& b) {
            return std::tie(a.protocol, b.accessory) < std::tie(b.protocol, a.accessory);
        });
    return roster;
}

std::vector<RosterOutput> DecoderOutputs(const DecoderDocument& document, const std::string& file,
                                         std::string* problem) {
    std::vector<RosterOutput> outputs;
    if (document.protocol() == Protocol::None || document.kind() == DecoderKind::None ||
        !document.entry())
        return outputs;
    RosterOutput out;
    const char* chip = ChipName(document.default_config());
    out.source = std::make_shared<const RosterSource>(
        RosterSource{file, document.entry()->name, document.version_text(), chip ? chip : "",
                     ProtocolName(document.protocol())});
    out.accessory = document.kind() == DecoderKind::Accessory;
    if (const auto cv = CvAddressOf(document)) {
        if (!cv->problem.empty()) {
            if (problem) *problem = cv->problem;
            return outputs;
        }
        out.accessory = false;
        out.label = cv->label;
        out.address = cv->address;
        out.cv = cv->long_address ? 17 : 1;
        outputs.push_back(std::move(out));
        return outputs;
    }
    for (const ShownRow& row : ShownRows(document)) {
        if (row.address == 0 || row.address > document.max_address()) continue;
        RosterOutput o = out;
        o.row = row.row;
        o.label = row.label;
        o.address = row.address;
        o.green = o.accessory && row.green;
        o.function = o.accessory ? 0 : row.function;
        outputs.push_back(std::move(o));
    }
    return outputs;
}

bool SameCommand(const RosterOutput& a, const RosterOutput& b) {
    if (a.protocol() != b.protocol() || a.accessory != b.accessory || a.address != b.address)
        return false;
    if (a.accessory) return a.green == b.green;
    return a.cv || b.cv || a.function == b.function;
}

const char* RosterKindName(bool accessory) { return accessory ? "Zubehör" : "Funktion"; }

std::string FreeGroupName(const std::string& protocol, bool accessory) {
    return (protocol == "Mot" ? std::string("Motorola") : protocol) + "-" +
           RosterKindName(accessory);
}

std::string OutputChoice(const RosterOutput& output) {
    if (output.cv) return "alle Funktionen";
    if (output.accessory) return output.green ? "grün" : "rot";
    return "F" + std::to_string(output.function);
}

std::string FreeRangeText(const FreeRange& range) {
    if (range.first == range.last) return std::to_string(range.first);
    return std::to_string(range.first) + "\u2013" + std::to_string(range.last);
}

std::string ClashTitle(const RosterClash& clash, bool note) {
    std::string title =
        FreeGroupName(clash.protocol, clash.accessory) + " " + std::to_string(clash.address);
    if (note) return title;
    if (clash.accessory) return title + (clash.green ? " grün" : " rot");
    if (clash.all_functions) return title + " alle Funktionen";
    return title + " F" + std::to_string(clash.function);
}

std::string RelativeName(const std::string& file, const std::string& folder) {
    if (folder.empty()) return file;
    const std::string generic = Utf8FromPath(PathFromUtf8(folder));  // as the scan names files
    const std::string prefix = generic.back() == '/' ? generic : generic + "/";
    if (file.size() > prefix.size() && file.compare(0, prefix.size(), prefix) == 0)
        return file.substr(prefix.size());
    return file;
}

std::string ClashOutputs(const Roster& roster, const RosterClash& clash,
                         const std::string& folder) {
    std::string text;
    for (std::size_t i : clash.outputs) {
        const RosterOutput& o = roster.outputs[i];
        if (!text.empty()) text += ", ";
        text += ReadableText(RelativeName(o.file(), folder));
        if (o.cv) {
            text += " (" + o.label + ")";
            continue;
        }
        text += " Zeile " + std::to_string(o.row) + " (" + o.label + ")";
        if (o.accessory) text += std::string(" ") + (o.green ? "grün" : "rot");
    }
    return text;
}

std::optional<int> FirstFreeAddress(const Roster& roster, const std::string& protocol,
                                    bool accessory, int length) {
    for (const auto& group : roster.free) {
        if (group.protocol != protocol || group.accessory != accessory) continue;
        for (const auto& range : group.ranges) {
            if (range.last - range.first + 1 >= length) return range.first;
        }
    }
    return std::nullopt;
}

const std::vector<std::string>& RosterColumns() {
    static const std::vector<std::string> columns{
        "Datei", "Firmware", "Version",     "Chip",    "Protokoll",
        "Art",   "Zeile",    "Bezeichnung", "Adresse", "Farbe/Funktion"};
    return columns;
}

std::vector<std::string> RosterCells(const RosterOutput& o, const std::string& folder) {
    return {ReadableText(RelativeName(o.file(), folder)),
            o.name(),
            o.version(),
            o.chip(),
            o.protocol(),
            RosterKindName(o.accessory),
            o.cv ? std::string("\u2013") : std::to_string(o.row),
            o.label,
            std::to_string(o.address),
            OutputChoice(o)};
}

namespace {

std::string CsvField(const std::string& text) {
    if (text.find_first_of(";\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string Html(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

// Characters on screen of a UTF-8 text (continuation bytes do not count).
std::size_t Width(const std::string& text) {
    std::size_t n = 0;
    for (unsigned char c : text) n += (c & 0xC0) != 0x80;
    return n;
}

std::string Summary(const Roster& roster) {
    return std::to_string(roster.hex_files) + " HEX-Dateien, " +
           std::to_string(roster.outputs.size()) + " belegte Ausgänge, " +
           std::to_string(roster.conflicts.size()) + " doppelt belegt, " +
           std::to_string(roster.skipped.size()) + " übersprungen";
}

}  // namespace

std::string RosterCsv(const Roster& roster) {
    std::vector<std::string> lines;
    std::string head;
    for (const auto& c : RosterColumns()) head += (head.empty() ? "" : ";") + c;
    lines.push_back(head + ";Doppelt belegt;Hinweis");
    // The titles of the conflicts and notes each output is part of.
    std::vector<std::string> conflicts(roster.outputs.size()), notes(roster.outputs.size());
    auto mark = [](std::vector<std::string>& titles, const RosterClash& clash, bool note) {
        for (std::size_t i : clash.outputs) {
            std::string& cell = titles.at(i);
            cell += (cell.empty() ? "" : ", ") + ClashTitle(clash, note);
        }
    };
    for (const auto& c : roster.conflicts) mark(conflicts, c, false);
    for (const auto& n : roster.notes) mark(notes, n, true);
    for (std::size_t i = 0; i < roster.outputs.size(); ++i) {
        std::string line;
        for (const auto& cell : RosterCells(roster.outputs[i])) line += CsvField(cell) + ';';
        line += CsvField(conflicts[i]) + ';' + CsvField(notes[i]);
        lines.push_back(line);
    }
    return "\xEF\xBB\xBF" + JoinCrLf(lines);
}

std::string RosterHtml(const Roster& roster, const std::string& folder) {
    std::string h =
        "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta "
        "charset=\"utf-8\">\n<title>Anlagen-Übersicht " +
        Html(folder) +
        "</title>\n<style>\n"
        "body{font-family:sans-serif;font-size:10pt;margin:1.5em}\n"
        "table{border-collapse:collapse}th,td{border:1px solid #999;padding:2px "
        "6px;text-align:left}\n"
        "th{background:#ddd}tr.conflict td{background:#f8c8c8}tr.note td{background:#f8ecb8}\n"
        ".conflict-list li{color:#a00000}.note-list li{color:#806000}\n"
        "@media print{body{margin:0}tr{page-break-inside:avoid}}\n"
        "</style>\n</head>\n<body>\n<h1>Anlagen-Übersicht</h1>\n<p>" +
        Html(folder) + "<br>" + Html(Summary(roster)) + "</p>\n";
    std::set<std::size_t> in_conflict, in_note;
    h += "<h2>Doppelt belegt</h2>\n";
    if (roster.conflicts.empty())
        h += "<p>keine</p>\n";
    else
        h += "<ul class=\"conflict-list\">\n";
    for (const auto& c : roster.conflicts) {
        in_conflict.insert(c.outputs.begin(), c.outputs.end());
        h += "<li>" + Html(ClashTitle(c, false) + ": " + ClashOutputs(roster, c, folder)) +
             "</li>\n";
    }
    if (!roster.conflicts.empty()) h += "</ul>\n";
    if (!roster.notes.empty()) {
        h += "<h2>Hinweise: gleiche Adresse, andere Farbe</h2>\n<ul class=\"note-list\">\n";
        for (const auto& n : roster.notes) {
            in_note.insert(n.outputs.begin(), n.outputs.end());
            h += "<li>" + Html(ClashTitle(n, true) + ": " + ClashOutputs(roster, n, folder)) +
                 "</li>\n";
        }
        h += "</ul>\n";
    }
    h += "<h2>Belegte Ausgänge</h2>\n<table>\n<tr>";
    for (const auto& c : RosterColumns()) h += "<th>" + Html(c) + "</th>";
    h += "</tr>\n";
    for (std::size_t i = 0; i < roster.outputs.size(); ++i) {
        h += in_conflict.count(i) ? "<tr class=\"conflict\">"
             : in_note.count(i)   ? "<tr class=\"note\">"
                                  : "<tr>";
        for (const auto& cell : RosterCells(roster.outputs[i], folder))
            h += "<td>" + Html(cell) + "</td>";
        h += "</tr>\n";
    }
    h += "</table>\n";
    if (!roster.skipped.empty()) {
        h += "<h2>Übersprungene Dateien</h2>\n<ul>\n";
        for (const auto& s : roster.skipped) {
            h += "<li>" + Html(ReadableText(RelativeName(s.file, folder)) + ": " + s.message) + "</li>\n";
        }
        h += "</ul>\n";
    }
    return h + "</body>\n</html>\n";
}

std::vector<std::string> RosterText(const Roster& roster, const std::string& folder,
                                    int free_count) {
    std::vector<std::string> lines;
    if (roster.hex_files == 0) lines.push_back("Im Ordner " + folder + " gibt es keine HEX-Datei.");
    if (!roster.outputs.empty()) {
        std::vector<std::vector<std::string>> table{RosterColumns()};
        for (const auto& o : roster.outputs) table.push_back(RosterCells(o));
        std::vector<std::size_t> width(table.front().size(), 0);
        for (const auto& row : table) {
            for (std::size_t c = 0; c < row.size(); ++c)
                width[c] = std::max(width[c], Width(row[c]));
        }
        for (const auto& row : table) {
            std::string line;
            for (std::size_t c = 0; c < row.size(); ++c) {
                line += row[c];
                if (c + 1 < row.size()) line += std::string(width[c] - Width(row[c]) + 2, ' ');
            }
            lines.push_back(line);
        }
    } else if (roster.hex_files > 0) {
        lines.push_back("Keine Datei hat einen belegten Ausgang.");
    }
    lines.push_back("");
    if (roster.conflicts.empty()) {
        lines.push_back("Doppelt belegt: keine");
    } else {
        lines.push_back("Doppelt belegt:");
        for (const auto& c : roster.conflicts)
            lines.push_back("  " + ClashTitle(c, false) + ": " + ClashOutputs(roster, c));
    }
    if (!roster.notes.empty()) {
        lines.push_back("Hinweis, gleiche Adresse, andere Farbe:");
        for (const auto& n : roster.notes)
            lines.push_back("  " + ClashTitle(n, true) + ": " + ClashOutputs(roster, n));
    }
    if (free_count > 0 && !roster.free.empty()) {
        lines.push_back("Freie Adressen:");
        for (const auto& group : roster.free) {
            std::string ranges;
            for (std::size_t i = 0;
                 i < group.ranges.size() && i < static_cast<std::size_t>(free_count); ++i) {
                ranges += (i ? ", " : "") + FreeRangeText(group.ranges[i]);
            }
            lines.push_back("  " + group.name + ": " +
                            (ranges.empty() ? std::string("keine") : ranges));
        }
    }
    if (!roster.skipped.empty()) {
        lines.push_back("Übersprungen:");
        for (const auto& s : roster.skipped) lines.push_back("  " + ReadableText(s.file) + ": " + s.message);
    }
    lines.push_back(Summary(roster));
    return lines;
}

}  // namespace parvel
