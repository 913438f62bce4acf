#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>

#include "tests/Harness.h"
#include "image/HexCompare.h"
#include "image/HexReader.h"
#include "image/HexRecord.h"
#include "image/Message.h"

namespace parvel {
namespace {

using test::Record;

// File bytes shown to the user: valid UTF-8 stays, everything else is escaped as \xNN.
TEST(ReadableText, EscapesBytesThatAreNotText) {
    const struct {
        std::string bytes, shown;
    } cases[] = {
        {"", ""},
        {":10001000FF3F", ":10001000FF3F"},
        {"Größe – 😀", "Größe – 😀"},                  // 2-, 3- and 4-byte sequences
        {"a\tb", "a\tb"},                              // tab is text
        {std::string("\x00\x01\r\n\x1B\x7F", 6), "\\x00\\x01\\x0D\\x0A\\x1B\\x7F"},
        {"\xBD", "\\xBD"},                              // Latin-1 ½
        {"\xFC" "ber", "\\xFCber"},                     // lead byte without continuation
        {"\xC3", "\\xC3"},                              // cut at the end
        {"\xE2\x80", "\\xE2\\x80"},                     // three-byte sequence cut short
        {"\xC0\xAF", "\\xC0\\xAF"},                     // overlong '/'
        {"\xE0\x80\xAF", "\\xE0\\x80\\xAF"},            // overlong three-byte form
        {"\xED\xA0\x80", "\\xED\\xA0\\x80"},            // UTF-16 surrogate
        {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},   // above U+10FFFF
        {"\xFF\xFE", "\\xFF\\xFE"},
        {"\xC2\x85", "\\xC2\\x85"},                     // C1 control NEL
        {"\xC2\xA0", "\xC2\xA0"},                       // no-break space is text
        {"\\xBD", "\\xBD"},                             // a backslash stays as it is
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadableText(c.bytes), c.shown) << c.shown;
        EXPECT_EQ(ReadableText(ReadableText(c.bytes)), ReadableText(c.bytes)) << c.shown;
    }
}

// The program's own line breaks stay line breaks; everything else is escaped as file bytes are.
TEST(ReadableMessage, KeepsLineBreaksOfTheProgram) {
    const struct {
        std::string text, shown;
    } cases[] = {
        {"Ungültige Eingabe.\rZugelassen sind nur Zahlen", "Ungültige Eingabe.\nZugelassen sind nur Zahlen"},
        {"zu gross\nEs wurde keine Datei geschrieben.", "zu gross\nEs wurde keine Datei geschrieben."},
        {"a\r\nb\n\nc\r", "a\nb\n\nc\n"},
        {std::string("\x1B\xBD\n\x00", 4), std::string("\\x1B\\xBD\n\\x00")},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadableMessage(c.text), c.shown) << c.shown;
}

TEST(SystemErrorText, GermanForTheCommonErrors) {
    EXPECT_EQ(SystemErrorText(ENOENT), "Datei oder Ordner nicht gefunden");
    EXPECT_EQ(SystemErrorText(EACCES), "keine Berechtigung");
    EXPECT_EQ(SystemErrorText(EPERM), "keine Berechtigung");
    EXPECT_EQ(SystemErrorText(ENOSPC), "Datenträger voll");
    EXPECT_EQ(SystemErrorText(EROFS), "Datenträger schreibgeschützt");
    EXPECT_EQ(SystemErrorText(EISDIR), "ist ein Ordner");
    EXPECT_EQ(SystemErrorText(EEXIST), "die Datei gibt es schon");
    // A rare error: its number, the system's own text only as a clue.
    EXPECT_EQ(SystemErrorText(EDOM).rfind("Systemfehler " + std::to_string(EDOM) + " (", 0), 0u);
}

TEST(HexByteValue, ConvertsTolerantly) {
    EXPECT_EQ(HexByteValue("3F"), 63);
    EXPECT_EQ(HexByteValue("ff"), 255);
    EXPECT_EQ(HexByteValue("G0"), 112);
    EXPECT_EQ(HexByteValue("1"), 16);  // missing second character counts 0
    EXPECT_EQ(HexByteValue(""), 0);
    EXPECT_EQ(hex_byte_names()[0], "00");
    EXPECT_EQ(hex_byte_names()[0x0F], "0F");
    EXPECT_EQ(hex_byte_names()[255], "FF");
}

TEST(SplitLines, LineEndRules) {
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\nb\n", {"a", "", "b"}},
        {"a\n\r\nb", {"a", "", "b"}},
        {std::string("a\nb\0c\nd", 7), {"a", "b"}},
        {"", {}},
        {"\n", {""}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines) << c.text;
}

// One row per line the reader must accept or reject, with the message it shows.
TEST(ReadHexRecord, AcceptsAndRejectsLines) {
    struct Case {
        std::string line;
        std::string message;  // empty: accepted
        Buttons buttons = Buttons::Ok;
    } cases[] = {
        {":00000001FF", ""},
        {":020000040000FA", ""},
        {":0400000500000000F7", ""},  // start linear address: ignored
        {":02400800FFFFB8", ""},      // 0x4008: neither ID nor configuration, ignored
        // Every message names the line (7 here) and shows what cannot be seen: a blank at the
        // end, an empty line, a tab, a byte-order mark, a control character.
        {":00000001FF ", "E202: Unerwarteter End File Record: :00000001FF\\x20 (Zeile 7)"},
        {":00000001FE", "E202: Unerwarteter End File Record: :00000001FE (Zeile 7)"},
        {":020000040000FA  ",
         "E205: Unerwarteter Extendet Linear Address Record: :020000040000FA\\x20\\x20 (Zeile 7)"},
        {":020000040000FA\t", "E205: Unerwarteter Extendet Linear Address Record: :020000040000FA\\x09 (Zeile 7)"},
        {":020000040001F9", "E205: Unerwarteter Extendet Linear Address Record: :020000040001F9 (Zeile 7)"},
        {":020000021000EC", "E203: Unerwartete Zeile im File: :020000021000EC (Zeile 7)"},
        {":0400000300003800C1", "E204: Unerwartete Zeile im File: :0400000300003800C1 (Zeile 7)"},
        {":00000006FA", "E206: Unerwartete Zeile im File: :00000006FA (Zeile 7)"},
        {"", "E206: Unerwartete Zeile im File: <Leerzeile> (Zeile 7)"},
        {" ", "E206: Unerwartete Zeile im File: \\x20 (Zeile 7)"},
        {"\x1A", "E206: Unerwartete Zeile im File: \\x1A (Zeile 7)"},
        // the mark shifts every field: no address is named from such a line
        {"\xEF\xBB\xBF:00000001FF", "E201: Unerwartete Zeile: \\xEF\\xBB\\xBF:00000001FF (Zeile 7)"},
        {"\xEF\xBB\xBF", "E206: Unerwartete Zeile im File: \\xEF\\xBB\\xBF (Zeile 7)"},
        // E200/E201 name the first address beyond this chip's memory
        {Record(0x1000, 0, {1, 2}), "E201: Unerwartete Zeile: " + Record(0x1000, 0, {1, 2}) +
                                        " (Zeile 7: Adresse 0x1000 liegt außerhalb des Speichers dieses Chips)"},
        {Record(0x3F00, 0, {1, 2}), "E201: Unerwartete Zeile: " + Record(0x3F00, 0, {1, 2}) +
                                        " (Zeile 7: Adresse 0x3F00 liegt außerhalb des Speichers dieses Chips)"},
        {Record(0x4100, 0, {1, 2}), "E201: Unerwartete Zeile: " + Record(0x4100, 0, {1, 2}) +
                                        " (Zeile 7: Adresse 0x4100 liegt außerhalb des Speichers dieses Chips)"},
        {Record(0x4400, 0, {1, 2}), "E201: Unerwartete Zeile: " + Record(0x4400, 0, {1, 2}) +
                                        " (Zeile 7: Adresse 0x4400 liegt außerhalb des Speichers dieses Chips)"},
        // EEPROM cells 254, 255 fit; the word at 0x4400 has no cell
        {Record(0x43FC, 0, {1, 0, 2, 0, 3, 0}), "E201: Unerwartete Zeile: " + Record(0x43FC, 0, {1, 0, 2, 0, 3, 0}) +
                                        " (Zeile 7: Adresse 0x4400 liegt außerhalb des Speichers dieses Chips)"},
        {Record(0x0FF8, 0, std::vector<uint8_t>(16, 0)),
         "E200: Überschreitung ROM-Adressbereich (Zeile 7: Adresse 0x1000 liegt außerhalb des "
         "Programmspeichers dieses Chips)",
         Buttons::Cancel},
        // data running past the line end would leave cells that are no bytes
        {":10000000FFFF", "E206: Unerwartete Zeile im File: :10000000FFFF (Zeile 7)"},
        {":0400000001020304", ""},  // checksum missing but every data byte present
        {":0400000001020304FF", ""},  // wrong checksum: the file as a whole is warned of
    };
    for (const auto& c : cases) {
        FirmwareImage image;
        image.Reset();
        const auto result = ReadHexRecord(image, UpperCaseLine(c.line), 7);
        if (c.message.empty()) {
            EXPECT_FALSE(result) << c.line << ": " << result->text;
        } else {
            ASSERT_TRUE(result) << c.line;
            EXPECT_EQ(result->text, c.message);
            EXPECT_EQ(result->buttons, c.buttons) << c.line;
            EXPECT_EQ(result->icon, c.buttons == Buttons::Cancel ? Icon::Warning : Icon::Information);
        }
    }
}

TEST(ReadHexRecord, StoresCellsByRegion) {
    FirmwareImage image;
    image.Reset();
    // program memory: 16 bytes from 0x0FF8 store 8, then E200
    EXPECT_TRUE(ReadHexRecord(image, Record(0x0FF8, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16})));
    EXPECT_EQ(image.rom_cells[0x0FF8], "01");
    EXPECT_EQ(image.rom_cells[0x0FFF], "08");
    EXPECT_EQ(image.rom_last, 0x0FFF);

    // odd EEPROM address starts at cell 0; high bytes of the words are skipped
    EXPECT_FALSE(ReadHexRecord(image, Record(0x4201, 0, {0x12, 0x99, 0x34, 0x99})));
    EXPECT_EQ(image.eeprom_cells[0], "12");
    EXPECT_EQ(image.eeprom_cells[1], "34");
    EXPECT_EQ(image.eeprom_last, 1);
    // neither the odd address nor the high bytes 99 can be written back
    EXPECT_EQ(image.unsaved, unsigned{kUnsavedEepromOdd | kUnsavedEepromHigh});

    // second half of the EEPROM
    EXPECT_FALSE(ReadHexRecord(image, Record(0x4300, 0, {0xAB, 0})));
    EXPECT_EQ(image.eeprom_cells[128], "AB");
    EXPECT_EQ(image.eeprom_last, 128);

    // a run beyond cell 255 stores up to 255 and is refused: there is no cell for the rest
    const std::string beyond = Record(0x43FC, 0, {1, 0, 2, 0, 3, 0, 4, 0});
    const auto rejected = ReadHexRecord(image, beyond);
    ASSERT_TRUE(rejected);
    EXPECT_EQ(rejected->text, "E201: Unerwartete Zeile: " + beyond +
                                  " (Adresse 0x4400 liegt außerhalb des Speichers dieses Chips)");
    EXPECT_EQ(image.eeprom_cells[254], "01");
    EXPECT_EQ(image.eeprom_cells[255], "02");
    EXPECT_EQ(image.eeprom_last, 255);

    image.unsaved = 0;
    // one record over ID and configuration (as fill tools write it): four ID words and the
    // configuration word; the words between them have no place in the image
    EXPECT_FALSE(ReadHexRecord(image, Record(0x4000, 0, {1, 0, 3, 0, 5, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0xCC, 1})));
    EXPECT_EQ(image.id_text, "1358");
    EXPECT_TRUE(image.id_found);
    EXPECT_TRUE(image.config_found);
    EXPECT_EQ(image.config_text, "CC01");
    EXPECT_EQ(image.unsaved, unsigned{kUnsavedAbove4008});

    image.config_found = false;
    EXPECT_FALSE(ReadHexRecord(image, Record(0x400E, 0, {0xCC, 0x01})));
    EXPECT_EQ(image.config_text, "CC01");
    EXPECT_TRUE(image.config_found);

    // an ID record without a whole word empties id_text but sets nothing
    FirmwareImage other;
    other.Reset();
    other.id_text = "9999";
    EXPECT_FALSE(ReadHexRecord(other, Record(0x4000, 0, {7})));
    EXPECT_EQ(other.id_text, "");
    EXPECT_FALSE(other.id_found);
}

TEST(LoadHexFile, ResetsTheImageAndStopsAtTheFirstBadLine) {
    test::Harness h;
    auto f = test::Firmware(0x8, test::FixtureImage::Protocol::Motorola);
    f.words[5] = 0x1234;
    ASSERT_TRUE(h.Load(f));
    EXPECT_EQ(h.session.image().rom_cells[10], "34");
    EXPECT_EQ(h.session.image().rom_cells[11], "12");
    // word not covered by any record reads erased
    EXPECT_EQ(h.session.image().rom_cells[2 * 0x100], "FF");
    EXPECT_EQ(h.session.image().rom_cells[2 * 0x100 + 1], "3F");
    EXPECT_EQ(h.session.image().eeprom_cells[200], "FF");
    EXPECT_TRUE(h.view.save_enabled);

    // a second file that stops at a bad line: reset values plus what was read before it,
    // panels 0..2 empty, panel 3 the new path, and saving is off until a file loads completely
    const std::string text = ":020000040000FA\n" + Record(0x0000, 0, {0x01, 0x30}) +
                             "\n:020000021000EC\n" + Record(0x0002, 0, {0x55, 0x30}) + "\n";
    EXPECT_FALSE(h.LoadText(text, "/tmp/second.hex"));
    EXPECT_EQ(h.LastMessage(), "E203: Unerwartete Zeile im File: :020000021000EC (Zeile 3)");
    EXPECT_EQ(h.session.image().rom_cells[0], "01");
    EXPECT_EQ(h.session.image().rom_cells[2], "FF");  // after the bad line: not read
    EXPECT_EQ(h.session.image().rom_cells[10], "FF");
    EXPECT_EQ(h.view.status[0], "");
    EXPECT_EQ(h.view.status[2], "");
    EXPECT_EQ(h.view.status[3], "/tmp/second.hex");
    EXPECT_FALSE(h.view.save_enabled);
    EXPECT_EQ(h.view.frame_code, kFrameNone);
}

TEST(LoadHexFile, LowerCaseFileAndBlankLines) {
    test::Harness h;
    auto f = test::Firmware(0x8, test::FixtureImage::Protocol::Motorola);
    f.lowercase = true;
    ASSERT_TRUE(h.Load(f));
    EXPECT_EQ(h.session.type_code(), 0x8u);

}

// Damage is read as it is but said once per file; what follows the end record and carries no
// data is passed over.
TEST(LoadHexFile, WarnsOfDamageAndPassesOverWhatFollowsTheEndRecord) {
    const auto fixture = test::Firmware(0x8, test::FixtureImage::Protocol::Motorola);
    const std::vector<std::string> valid = SplitLines(test::BuildHex(fixture));
    ASSERT_EQ(valid.back(), ":00000001FF");
    const std::size_t n = valid.size();
    // A record's checksum changed in its last digit, and the checksum it should have.
    const auto flip = [&](std::vector<std::string>& lines, std::size_t index) {
        static const std::string digits = "0123456789ABCDEF";
        std::string& line = lines[index];
        const std::string right = line.substr(line.size() - 2);
        line.back() = digits[(digits.find(line.back()) + 1) % 16];
        return "gelesen " + line.substr(line.size() - 2) + ", richtig wäre " + right;
    };
    const std::string damaged = "; die Datei ist vielleicht beschädigt";
    const std::string no_end = "kein End-Record: Datei unvollständig?";
    struct Case {
        const char* name;
        std::function<std::vector<std::string>(std::vector<std::string>&)> edit;  // returns messages
        bool recognised;
    } cases[] = {
        {"one wrong checksum",
         [&](auto& l) { return std::vector<std::string>{"Prüfsumme falsch in Zeile 4 (" + flip(l, 3) + ")" + damaged}; },
         true},
        {"three wrong checksums",
         [&](auto& l) {
             const std::string first = flip(l, 3);
             flip(l, 9);
             flip(l, n - 2);
             return std::vector<std::string>{"Prüfsumme falsch in Zeile 4 (" + first + ") und in 2 weiteren Zeilen" + damaged};
         },
         true},
        {"checksum missing",
         [&](auto& l) {
             l[4].resize(l[4].size() - 2);
             return std::vector<std::string>{"Prüfsumme falsch in Zeile 5 (keine Prüfsumme)" + damaged};
         },
         true},
        {"no end record", [&](auto& l) { l.pop_back(); return std::vector<std::string>{no_end}; }, true},
        {"wrong checksum and no end record",
         [&](auto& l) {
             l.pop_back();
             return std::vector<std::string>{"Prüfsumme falsch in Zeile 2 (" + flip(l, 1) + ")" + damaged, no_end};
         },
         true},
        {"compiler comments, empty lines and Ctrl+Z after the end record",
         [&](auto& l) {
             l.insert(l.end(), {";PIC16F628A", ";CRC=4B1D  CREATED=\"03-Mar-24 10:12\"", "", "", "\x1A"});
             return std::vector<std::string>{};
         },
         true},
        {"other text after the end record",
         [&](auto& l) {
             l.insert(l.end(), {"", "Ende"});
             return std::vector<std::string>{"E206: Unerwartete Zeile im File: ENDE (Zeile " + std::to_string(n + 2) + ")"};
         },
         false},
        {"Ctrl+Z that is not the last line",
         [&](auto& l) {
             l.insert(l.end(), {"\x1A", ";"});
             return std::vector<std::string>{"E206: Unerwartete Zeile im File: \\x1A (Zeile " + std::to_string(n + 1) + ")"};
         },
         false},
        {"comment before the end record",
         [&](auto& l) {
             l.insert(l.end() - 1, ";PIC16F628A");
             return std::vector<std::string>{"E206: Unerwartete Zeile im File: ;PIC16F628A (Zeile " + std::to_string(n) + ")"};
         },
         false},
        {"empty line before the end record",
         [&](auto& l) {
             l.insert(l.end() - 1, "");
             return std::vector<std::string>{"E206: Unerwartete Zeile im File: <Leerzeile> (Zeile " + std::to_string(n) + ")"};
         },
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> lines = valid;
        const std::vector<std::string> expected = c.edit(lines);
        test::Harness h;
        EXPECT_EQ(h.session.LoadHexLines(lines, "/tmp/test.hex"), c.recognised);
        std::vector<std::string> shown;
        for (const auto& m : h.dialogs.messages) shown.push_back(m.text);
        EXPECT_EQ(shown, expected);
        for (const auto& m : h.dialogs.messages) {
            if (m.text.rfind("E20", 0) != 0) {
                EXPECT_EQ(m.icon, Icon::Warning);
            }
        }
        if (c.recognised) {
            // read as the file says, wrong checksum or not
            EXPECT_EQ(h.session.type_code(), 0x8u);
            EXPECT_EQ(h.session.image().config_text, "CC01");
        }
        // the compare reads such files alike
        const auto compared = CompareWithLines(h.session.image(), "f1", "f2", lines);
        EXPECT_EQ(compared.completed, c.recognised);
    }
}

TEST(LoadHexFile, RefusesOversizedFilesBeforeTouchingTheImage) {
    const std::string dir = test::TempDir();
    test::Harness h;
    ASSERT_TRUE(h.Load(test::Firmware(0x8, test::FixtureImage::Protocol::Motorola)));
    const std::string id_before = h.session.image().id_text;

    std::string many;
    for (int i = 0; i < 1025; ++i) many += ":00000001FF\n";
    test::WriteFile(dir + "/many.hex", many);
    EXPECT_FALSE(h.session.LoadHexFile(dir + "/many.hex"));
    EXPECT_EQ(h.LastMessage(), "Die Datei " + dir +
                                   "/many.hex hat mehr als 1024 Zeilen; so lange Dateien liest HEX "
                                   "Parvel nicht. Sie wurde nicht gelesen.");
    EXPECT_TRUE(h.view.save_enabled);  // the previous file stays loaded
    EXPECT_EQ(h.session.image().id_text, id_before);
    EXPECT_EQ(h.session.image().rom_cells[1], "30");

    // exactly 1024 lines are read
    std::string limit;
    for (int i = 0; i < 1024; ++i) limit += ":00000001FF\n";
    test::WriteFile(dir + "/limit.hex", limit);
    EXPECT_TRUE(ReadTextLines(dir + "/limit.hex", kMaxHexLines).ok());

    EXPECT_FALSE(h.session.LoadHexFile(dir + "/missing.hex"));
    EXPECT_EQ(h.LastMessage(), "Cannot open file " + dir + "/missing.hex");
    EXPECT_FALSE(h.session.LoadHexFile(dir));
    EXPECT_EQ(h.LastMessage(), "Cannot open file " + dir);
    EXPECT_TRUE(h.view.save_enabled);

    const std::size_t messages = h.dialogs.messages.size();
    EXPECT_FALSE(h.session.LoadHexFile(""));  // nothing chosen: nothing happens
    EXPECT_EQ(h.dialogs.messages.size(), messages);
}

// A name with umlauts and a space is written and read as that very name (on Windows not
// through the ANSI code page), and a second write takes the place of the first.
TEST(TextFile, NameWithUmlautsAndSpaceRoundTrips) {
    const std::string dir = test::TempDir();
    const std::string name = "Weiche Süd Öß.hex";
    const std::string path = dir + "/" + name;
    ASSERT_TRUE(AtomicWriteFile(path, "alt\r\n").ok);
    const WriteResult again = AtomicWriteFile(path, ":00000001FF\r\nzwei");
    ASSERT_TRUE(again.ok) << again.error;
    const LinesResult read = ReadTextLines(path, kMaxHexLines);
    ASSERT_TRUE(read.ok()) << read.reason;
    EXPECT_EQ(read.lines, (std::vector<std::string>{":00000001FF", "zwei"}));
    // The folder holds just this file, under the given name: no temporary file is left over.
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::u8path(dir))) {
        names.push_back(entry.path().filename().u8string());
    }
    EXPECT_EQ(names, std::vector<std::string>{name});
}

}  // namespace
}  // namespace parvel
