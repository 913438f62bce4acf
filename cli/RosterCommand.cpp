#include "cli/RosterCommand.h"

#include <map>
#include <type_traits>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "image/Message.h"
#include "cli/ParvelCli.h"
#include "workflows/Roster.h"

namespace parvel {

namespace {

// Writes a JSON document piece by piece, laid out exactly as nlohmann::json's dump(2) lays out
// the same document: two spaces per level, `"key": value`, an empty array or object as [] or
// {}. Keys must come in the order dump() gives them, which sorts an object's keys by their
// bytes. Text goes through nlohmann's own escaping, so a byte that is not UTF-8 becomes U+FFFD
// as before. Nothing is kept but the nesting, so a roster of any size is written in the memory
// of one line.
class JsonWriter {
  public:
    explicit JsonWriter(std::ostream& out) : m_out(out) {}

    void BeginObject() { Open(true); }
    void BeginArray() { Open(false); }
    void End() {
        const Level level = m_levels.back();
        m_levels.pop_back();
        if (level.count == 0) {
            m_out << (level.object ? "{}" : "[]");
            return;
        }
        m_out << '\n';
        Indent();
        m_out << (level.object ? '}' : ']');
    }
    void Key(const std::string& key) {
        Next();
        m_out << Quoted(key) << ": ";
        m_after_key = true;
    }

    void Text(const std::string& text) { Scalar(Quoted(text)); }
    void Number(int n) { Scalar(std::to_string(n)); }
    void Bool(bool b) { Scalar(b ? "true" : "false"); }
    void Null() { Scalar("null"); }
    // Text, or null when it is empty.
    void TextOrNull(const std::string& text) {
        if (text.empty())
            Null();
        else
            Text(text);
    }

    template <typename T>
    void Field(const std::string& key, const T& value) {
        Key(key);
        if constexpr (std::is_same_v<T, bool>)
            Bool(value);
        else if constexpr (std::is_same_v<T, int>)
            Number(value);
        else
            Text(value);
    }

  private:
    struct Level {
        bool object;
        std::size_t count;
    };

    static std::string Quoted(const std::string& text) {
        return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    }
    // Before a key, or a value that does not follow a key: the bracket or the comma, a line
    // break and the indentation.
    void Next() {
        if (m_levels.empty()) return;
        Level& level = m_levels.back();
        m_out << (level.count++ ? ",\n" : level.object ? "{\n" : "[\n");
        Indent();
    }
    void Value() {
        if (!m_after_key) Next();
        m_after_key = false;
    }
    void Open(bool object) {
        Value();
        m_levels.push_back({object, 0});
    }
    void Scalar(const std::string& text) {
        Value();
        m_out << text;
    }
    void Indent() {
        for (std::size_t i = 0; i < m_levels.size(); ++i) m_out << "  ";
    }

    std::ostream& m_out;
    std::vector<Level> m_levels;
    bool m_after_key = false;
};

void WriteOutput(JsonWriter& w, const RosterOutput& o) {
    w.BeginObject();
    w.Field("address", o.address);
    w.Key("chip");
    w.TextOrNull(o.chip());
    // A decoder with its address in CVs has no grid row and answers every function: its row
    // and function are null, and "cv" names the CV that holds the address.
    const bool cv = !o.accessory && o.cv != 0;
    if (cv) w.Field("cv", o.cv);
    w.Field("file", ReadableText(o.file()));
    if (o.accessory) {
        w.Field("green", o.green);
    } else {
        w.Key("function");
        if (cv)
            w.Null();
        else
            w.Number(o.function);
    }
    w.Field("kind", std::string(o.accessory ? "A" : "F"));
    w.Field("label", o.label);
    w.Field("name", o.name());
    w.Field("protocol", o.protocol());
    w.Key("row");
    if (cv)
        w.Null();
    else
        w.Number(o.row);
    w.Key("version");
    w.TextOrNull(o.version());
    w.End();
}

// A note names no colour or function: the address is the same, the command is not.
void WriteClash(JsonWriter& w, const Roster& roster, const RosterClash& c, bool note) {
    w.BeginObject();
    w.Field("address", c.address);
    if (!note && c.accessory) w.Field("green", c.green);
    if (!note && !c.accessory) {
        // Decoders with their address in CVs clashing on every function name no number.
        w.Key("function");
        if (c.all_functions)
            w.Null();
        else
            w.Number(c.function);
    }
    w.Field("kind", std::string(c.accessory ? "A" : "F"));
    w.Key("outputs");
    w.BeginArray();
    for (std::size_t i : c.outputs) WriteOutput(w, roster.outputs[i]);
    w.End();
    w.Field("protocol", c.protocol);
    w.Field("text", ClashTitle(c, note));
    w.End();
}

// The whole document, written as it is made; its keys in the sorted order of a JSON object.
void WriteRosterJson(std::ostream& out, const Roster& roster, int free_count) {
    JsonWriter w(out);
    w.BeginObject();
    w.Key("conflicts");
    w.BeginArray();
    for (const auto& c : roster.conflicts) WriteClash(w, roster, c, false);
    w.End();
    w.Key("free");
    w.BeginObject();
    // Groups by name, as an object sorts them (a later group of the same name would win).
    std::map<std::string, const FreeGroup*> groups;
    if (free_count > 0) {
        for (const auto& group : roster.free) groups[group.name] = &group;
    }
    for (const auto& [name, group] : groups) {
        w.Key(name);
        w.BeginArray();
        for (std::size_t i = 0;
             i < group->ranges.size() && i < static_cast<std::size_t>(free_count); ++i) {
            w.BeginObject();
            w.Field("first", group->ranges[i].first);
            w.Field("last", group->ranges[i].last);
            w.End();
        }
        w.End();
    }
    w.End();
    w.Key("notes");
    w.BeginArray();
    for (const auto& n : roster.notes) WriteClash(w, roster, n, true);
    w.End();
    w.Key("outputs");
    w.BeginArray();
    for (const auto& o : roster.outputs) WriteOutput(w, o);
    w.End();
    w.Key("skipped");
    w.BeginArray();
    for (const auto& s : roster.skipped) {
        w.BeginObject();
        w.Field("file", ReadableText(s.file));
        w.Field("message", ReadableMessage(s.message));
        w.End();
    }
    w.End();
    w.End();
    out << '\n';
}

}  // namespace

RosterCommand::RosterCommand(CLI::App& app) {
    m_command = app.add_subcommand(
        "roster",
        "Jede benutzte Adresse aller *.hex-Dateien in DIR auflisten, mit den Ausgängen, die auf "
        "denselben Befehl hören (Exit-Status 1, wenn eine doppelt belegt ist)");
    m_command->add_option("DIR", m_folder, "Ordner mit den Dekoder-Images")->required();
    m_command->add_flag("--recursive", m_recursive, "Auch die Unterordner lesen");
    auto* json = m_command->add_flag("--json", m_json, "Ein JSON-Dokument ausgeben");
    auto* csv = m_command->add_flag("--csv", m_csv,
                                    "Die Tabelle der Ausgänge als CSV ausgeben (Semikolons, UTF-8 "
                                    "mit BOM)");
    json->excludes(csv);
    m_command
        ->add_option("--free", m_free, "Die ersten N freien Adressbereiche je Protokoll und Art auflisten")
        ->check(CLI::NonNegativeNumber);
}

bool RosterCommand::chosen() const { return m_command->parsed(); }

int RosterCommand::Run(std::ostream& out, std::ostream& err) const {
    RosterRequest request;
    request.folder = m_folder;
    request.recursive = m_recursive;
    const Roster roster = BuildRoster(request);
    if (!roster.folder_ok) {
        err << "parvel: " << roster.folder_message << '\n';
        return kExitUsage;
    }
    if (m_json) {
        // File names are made readable where they enter the document; a byte that still is not
        // UTF-8 becomes U+FFFD rather than ending the command.
        WriteRosterJson(out, roster, m_free);
    } else if (m_csv) {
        out << RosterCsv(roster);
    } else {
        for (const auto& line : RosterText(roster, m_folder, m_free)) out << line << '\n';
    }
    return roster.conflicts.empty() ? kExitOk : kExitRejected;
}

}  // namespace parvel
