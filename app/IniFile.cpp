#include "app/IniFile.h"

#include "document/DecoderDocument.h"
#include "image/TextFile.h"

namespace parvel {

namespace {

std::string Trim(const std::string& text) {
    const std::size_t b = text.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    const std::size_t e = text.find_last_not_of(" \t");
    return text.substr(b, e - b + 1);
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

}  // namespace

IniFile IniFile::FromLines(const std::vector<std::string>& lines) {
    IniFile ini;
    ini.m_sections.push_back(Section{});
    for (const std::string& raw : lines) {
        const std::string t = Trim(raw);
        if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
            Section s;
            s.name = Trim(t.substr(1, t.size() - 2));
            s.has_header = true;
            // The header stays the section's first line, spelt as it was.
            s.lines.push_back(Line{raw, {}, {}});
            ini.m_sections.push_back(std::move(s));
            continue;
        }
        Line line{raw, {}, {}};
        const std::size_t eq = raw.find('=');
        if (eq != std::string::npos && t.front() != ';' && t.front() != '#') {
            line.key = Trim(raw.substr(0, eq));
            line.value = Trim(raw.substr(eq + 1));
        }
        ini.m_sections.back().lines.push_back(std::move(line));
    }
    return ini;
}

IniFile IniFile::FromText(const std::string& text) { return FromLines(SplitLines(text)); }

IniFile::Section* IniFile::FindSection(const std::string& name) {
    for (Section& s : m_sections) {
        if (s.has_header && SameName(s.name, name)) return &s;
    }
    return nullptr;
}

const IniFile::Section* IniFile::FindSection(const std::string& name) const {
    for (const Section& s : m_sections) {
        if (s.has_header && SameName(s.name, name)) return &s;
    }
    return nullptr;
}

const IniFile::Line* IniFile::FindKey(const Section& section, const std::string& key) {
    for (const Line& line : section.lines) {
        if (!line.key.empty() && SameName(line.key, key)) return &line;
    }
    return nullptr;
}

std::optional<std::string> IniFile::Value(const std::string& section, const std::string& key) const {
    const Section* s = FindSection(section);
    if (!s) return std::nullopt;
    const Line* line = FindKey(*s, key);
    if (!line) return std::nullopt;
    return line->value;
}

int IniFile::ReadInteger(const std::string& section, const std::string& key,
                         int default_value) const {
    const auto text = Value(section, key);
    if (!text) return default_value;
    return ParseDecimal(*text).value_or(default_value);
}

void IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) {
    Section* s = FindSection(section);
    if (!s) {
        if (m_sections.empty()) m_sections.push_back(Section{});
        Section added;
        added.name = section;
        added.has_header = true;
        added.lines.push_back(Line{"[" + section + "]", {}, {}});
        m_sections.push_back(std::move(added));
        s = &m_sections.back();
    }
    for (Line& line : s->lines) {
        if (!line.key.empty() && SameName(line.key, key)) {
            line.value = value;
            line.text = line.key + "=" + value;
            return;
        }
    }
    // After the section's last entry, so blank lines that separate it from the next section
    // stay where they are.
    std::size_t at = s->lines.size();
    while (at > 1 && Trim(s->lines[at - 1].text).empty()) --at;
    s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(at),
                    Line{key + "=" + value, key, value});
}

void IniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, std::to_string(value));
}

std::vector<std::string> IniFile::Lines() const {
    std::vector<std::string> out;
    for (const Section& s : m_sections) {
        for (const Line& line : s.lines) out.push_back(line.text);
    }
    return out;
}

std::string IniFile::ToText() const { return JoinCrLf(Lines()); }

}  // namespace parvel
