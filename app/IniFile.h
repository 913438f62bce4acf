#pragma once

#include <optional>
#include <string>
#include <vector>

namespace parvel {

// A small INI text kept in memory the way it was read. Setting a value changes only that
// line (or adds it to the end of its section); every other line, comment, unknown section and
// key stays as it was and in its order, so a file shared with other programs or versions keeps
// everything it held. Section and key names compare without regard to ASCII case, as the
// Windows INI functions do.
class IniFile {
public:
    IniFile() = default;

    static IniFile FromLines(const std::vector<std::string>& lines);
    static IniFile FromText(const std::string& text);

    // The value with surrounding blanks removed, or nothing when the key is missing.
    std::optional<std::string> Value(const std::string& section, const std::string& key) const;
    // A decimal integer (optional sign, surrounding blanks allowed), or default_value when the
    // key is missing or its value is not an integer.
    int ReadInteger(const std::string& section, const std::string& key, int default_value) const;

    // Replaces the key's value, or appends the key to its section, or appends the section.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);

    std::vector<std::string> Lines() const;
    // The whole file, CR LF after every line, as the program writes all its text files.
    std::string ToText() const;

private:
    struct Line {
        std::string text;  // as read, or as rebuilt after a change
        std::string key;   // empty for comments, blank lines and lines without '='
        std::string value;
    };
    struct Section {
        std::string name;        // empty for the lines before the first section header
        bool has_header = false;
        std::vector<Line> lines;
    };

    Section* FindSection(const std::string& name);
    const Section* FindSection(const std::string& name) const;
    static const Line* FindKey(const Section& section, const std::string& key);

    std::vector<Section> m_sections;
};

}  // namespace parvel
