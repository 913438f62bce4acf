#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "tests/Harness.h"
#include "catalogue/Catalogue.h"
#include "document/EditHistory.h"
#include "image/HexWriter.h"
#include "cli/ParvelCli.h"

namespace parvel {
namespace {

using test::FixtureImage;
using P = FixtureImage::Protocol;

using test::Slurp;

struct Cells {
    std::string c0, c16, c32;
    bool operator==(const Cells& o) const { return c0 == o.c0 && c16 == o.c16 && c32 == o.c32; }
};
std::ostream& operator<<(std::ostream& os, const Cells& c) {
    return os << c.c0 << ' ' << c.c16 << ' ' << c.c32;
}

Cells RowCells(const DecoderDocument& s, int row) {
    const int c = DecoderDocument::BaseCell(row);
    const auto& ee = s.image().eeprom_cells;
    return {ee[c], ee[c + 16], ee[c + 32]};
}

// Each row encodes into the cells a decoder of its protocol and kind reads.
TEST(Save, EncodesRowsIntoEepromCells) {
    struct Case {
        uint32_t code;
        P protocol;
        const char* address;
        const char* function;
        int green;
        Cells cells;
    } cases[] = {
        {0x8, P::Motorola, "1", "0", 1, {"03", "00", "C3"}},
        {0x8, P::Motorola, "1", "0", 0, {"03", "00", "03"}},
        {0x8, P::Motorola, "0", "0", 1, {"FF", "FF", "FF"}},
        {0x8, P::Motorola, "0", "0", 0, {"FF", "FF", "3F"}},
        {0x8, P::Motorola, "320", "0", 1, {"00", "00", "FF"}},
        {0x8, P::Dcc, "1", "0", 0, {"79", "F0", "05"}},
        {0x8, P::Dcc, "1", "0", 1, {"78", "F2", "05"}},
        {0x8, P::Dcc, "0", "0", 1, {"00", "00", "00"}},
        {0x8, P::Dcc, "2044", "0", 1, {"30", "1E", "FD"}},
        {0x13D00, P::Dcc, "127", "1", 0, {"81", "7F", "00"}},
        {0x13D00, P::Dcc, "128", "1", 0, {"81", "80", "C0"}},
        {0x13D00, P::Dcc, "300", "12", 0, {"A8", "2C", "C1"}},
        {0x13D00, P::Dcc, "16128", "5", 0, {"B1", "00", "FF"}},
        {0x3D00, P::Motorola, "80", "2", 0, {"00", "00", "05"}},
        {0x3D00, P::Motorola, "1", "1", 0, {"03", "00", "51"}},
        {0x3D00, P::Motorola, "255", "4", 0, {"02", "A4", "55"}},
        // address 0: a pattern no Motorola command has, function code kept
        {0x3D00, P::Motorola, "0", "3", 0, {"FF", "FF", "15"}},
    };
    for (const auto& c : cases) {
        test::Harness h;
        ASSERT_TRUE(h.Load(test::Firmware(c.code, c.protocol)));
        h.session.SetAddressText(1, c.address);
        h.session.SetFunctionText(1, c.function);
        h.session.SetGreen(1, c.green);
        h.dialogs.save_names.push_back(std::nullopt);  // cancel the file dialog
        EXPECT_EQ(h.session.Save(), DecoderDocument::SaveResult::Cancelled);
        EXPECT_EQ(RowCells(h.session, 1), c.cells) << std::hex << c.code << " " << c.address;
        EXPECT_TRUE(h.dialogs.messages.empty()) << h.LastMessage();
    }
}

TEST(Save, FunctionNumberOutsideTheCodeListKeepsTheCodeRead) {
    test::Harness h;
    FixtureImage f = test::Firmware(0x13D00, P::Dcc);
    test::SetRow(f, 1, 0x99, 0x05, 0x00);  // function byte of no known code
    ASSERT_TRUE(h.Load(f));
    EXPECT_EQ(h.session.row(1).function_text, "0");
    h.session.SetAddressText(1, "7");
    h.dialogs.save_names.push_back(std::nullopt);
    h.session.Save();
    EXPECT_EQ(RowCells(h.session, 1), (Cells{"99", "07", "00"}));
}

// Every validation failure: its message, where the focus goes, and that nothing is stored.
TEST(Save, ValidationMessagesFocusAndWriteNothing) {
    struct Case {
        uint32_t code;
        P protocol;
        int row;
        bool function_field;
        const char* text;
        const char* message;
    } cases[] = {
        {0x8, P::Motorola, 1, false, "321", "Adresse für <Weiche> ist zu gross"},
        {0x8, P::Motorola, 2, false, "-1", "Adresse für <Licht> ist zu klein"},
        {0x8, P::Motorola, 2, false, "abc", "Ungültige Eingabe für <Licht> "},
        {0x8, P::Motorola, 1, false, "", "Ungültige Eingabe für <Weiche> "},
        {0x8, P::Motorola, 1, false, "1.5", "Ungültige Eingabe für <Weiche> "},
        {0x8, P::Motorola, 1, false, "99999999999", "Ungültige Eingabe für <Weiche> "},
        {0x8, P::Motorola, 0, false, "x", "Ungültige Eingabe für <> "},
        {0x8, P::Dcc, 1, false, "2045", "Adresse für <Weiche> ist zu gross"},
        {0x3D00, P::Motorola, 1, false, "256", "Adresse für <Ausgang / Out 1> ist zu gross"},
        {0x13D00, P::Dcc, 1, false, "16129", "Adresse für <Ausgang / Out 1> ist zu gross"},
        {0x13D00, P::Dcc, 3, true, "13", "Funktions-Nummer für <Ausgang / Out 3 (FL)> ist zu gross"},
        {0x13D00, P::Dcc, 3, true, "-2", "Funktions-Nummer für <Ausgang / Out 3 (FL)> ist zu klein"},
        {0x13D00, P::Dcc, 4, true, "F1", "Ungültige Eingabe Funktion von <Ausgang / Out 4> "},
        {0x13D00, P::Dcc, 20, true, "x", "Ungültige Eingabe Funktion von <> "},
        {0x3D00, P::Motorola, 2, true, "5", "Funktions-Nummer für <Ausgang / Out 2> ist zu gross"},
    };
    for (const auto& c : cases) {
        test::Harness h;
        ASSERT_TRUE(h.Load(test::Firmware(c.code, c.protocol)));
        const auto before = h.session.image().eeprom_cells;
        if (c.function_field) h.session.SetFunctionText(c.row, c.text);
        else h.session.SetAddressText(c.row, c.text);
        h.session.SetGreen(1, 1);  // would change the stored code if anything were stored
        EXPECT_EQ(h.session.Save(), DecoderDocument::SaveResult::Rejected) << c.message;
        ASSERT_EQ(h.dialogs.messages.size(), 1u) << c.message;
        EXPECT_EQ(h.dialogs.messages[0].text, c.message);
        EXPECT_EQ(h.dialogs.messages[0].buttons, Buttons::Cancel);
        EXPECT_EQ(h.dialogs.messages[0].icon, Icon::Warning);
        EXPECT_EQ(c.function_field ? h.view.focused_function : h.view.focused_address, c.row);
        EXPECT_TRUE(h.dialogs.save_proposals.empty());
        EXPECT_EQ(h.session.image().eeprom_cells, before);
    }
}

TEST(Save, RowsWithoutLabelAreParsedButNotLimitedNorStored) {
    test::Harness h;
    ASSERT_TRUE(h.Load(test::Firmware(0x8, P::Motorola)));
    h.session.SetAddressText(5, "999");  // row 5 has no label for this firmware
    h.dialogs.save_names.push_back(std::nullopt);
    EXPECT_EQ(h.session.Save(), DecoderDocument::SaveResult::Cancelled);
    EXPECT_TRUE(h.dialogs.messages.empty());
    EXPECT_EQ(RowCells(h.session, 5), (Cells{"FF", "FF", "FF"}));
}

TEST(Save, PendingFrameChangesAreAskedFirst) {
    // Only the loaded firmware's frame can hold changes; No stops the whole save.
    std::uint32_t blink = 0;
    for (const DecoderType& e : Catalogue()) {
        if (e.frame == kFrameBlinkmuster && blink == 0) blink = e.type_code;
    }
    ASSERT_NE(blink, 0u);
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        test::Harness h;
        ASSERT_TRUE(h.Load(test::Firmware(blink, P::Motorola)));
        EXPECT_FALSE(h.session.HasPendingChanges(PendingFrame::Blinkmuster));
        h.session.blink_table().SetLoop(!h.session.blink_table().Loop());
        EXPECT_TRUE(h.session.HasPendingChanges(PendingFrame::Blinkmuster));
        EXPECT_FALSE(h.session.HasPendingChanges(PendingFrame::Torv));
        h.dialogs.answers = {answer};
        h.dialogs.save_names.push_back(std::nullopt);
        h.session.Save();
        ASSERT_GE(h.dialogs.messages.size(), 1u);
        EXPECT_EQ(h.dialogs.messages[0].text, "Geänderte Werte übernehmen?");
        EXPECT_EQ(h.dialogs.messages[0].buttons, Buttons::YesNo);
        EXPECT_EQ(h.session.HasPendingChanges(PendingFrame::Blinkmuster), answer == Answer::No);
        EXPECT_EQ(h.dialogs.save_proposals.size(), answer == Answer::Yes ? 1u : 0u);
    }
}

TEST(Save, WritesTheChosenFileAndShowsItsName) {
    const std::string dir = test::TempDir();
    test::Harness h;
    ASSERT_TRUE(h.Load(test::Firmware(0x8, P::Motorola), dir + "/in.hex"));
    h.session.SetAddressText(1, "13");
    h.session.SetGreen(1, 1);
    h.dialogs.save_names.push_back(dir + "/out.hex");
    ASSERT_EQ(h.session.Save(), DecoderDocument::SaveResult::Saved);
    // The proposal is the file on disk, without the chip family that status panel 3 shows.
    EXPECT_EQ(h.dialogs.save_proposals, std::vector<std::string>{dir + "/in.hex"});
    EXPECT_EQ(h.dialogs.save_places.at(0).name, "SaveDialog1");
    EXPECT_EQ(h.dialogs.save_places.at(0).folder, dir);
    EXPECT_EQ(h.view.status[3], dir + "/out.hex");

    test::Harness again;
    ASSERT_TRUE(again.session.LoadHexFile(dir + "/out.hex"));
    EXPECT_EQ(again.session.row(1).address_text, "13");
    EXPECT_EQ(again.view.rows[1].colour, RowColour::Green);
    const std::string text = Slurp(dir + "/out.hex");
    EXPECT_EQ(text.rfind(":020000040000FA\r\n", 0), 0u);
}

TEST(Save, FolderOfAFile) {
    EXPECT_EQ(FileFolder("/d.x/neu"), "/d.x");
    EXPECT_EQ(FileFolder("/neu"), "/");
    EXPECT_EQ(FileFolder("neu"), "");
}

TEST(Save, CancelledDialogKeepsTheProposedNameAndWritesNothing) {
    test::Harness h;
    ASSERT_TRUE(h.Load(test::Firmware(0x8, P::Motorola), "/nowhere/in.hex"));
    h.dialogs.save_names.push_back(std::nullopt);
    EXPECT_EQ(h.session.Save(), DecoderDocument::SaveResult::Cancelled);
    EXPECT_EQ(h.view.status[3], "/nowhere/in.hex (12F629/16F630)");
}

TEST(Save, FailedWriteLeavesTheOldFileWhole) {
    const std::string dir = test::TempDir();
    const std::string target = dir + "/keep.hex";
    test::WriteFile(target, "old contents\n");
    struct Case {
        std::string path;
        std::string check;  // file that must be unchanged, or empty
    } cases[] = {
        {dir + "/missing-folder/out.hex", ""},
        {dir, ""},  // a folder
#ifndef _WIN32
        {"/dev/full", ""},
#endif
    };
    for (const auto& c : cases) {
        test::Harness h;
        ASSERT_TRUE(h.Load(test::Firmware(0x8, P::Motorola)));
        h.dialogs.save_names.push_back(c.path);
        EXPECT_EQ(h.session.Save(), DecoderDocument::SaveResult::WriteFailed) << c.path;
        EXPECT_EQ(h.LastMessage().rfind("Das HEX-File " + c.path + " konnte nicht gespeichert werden", 0), 0u)
            << h.LastMessage();
    }
    // a read-only folder: the temporary file cannot be made, the old file stays (Windows has
    // no such folder: its read-only mark does not stop new files)
#ifndef _WIN32
    if (geteuid() != 0) {
        chmod(dir.c_str(), 0555);
        test::Harness h;
        ASSERT_TRUE(h.Load(test::Firmware(0x8, P::Motorola)));
        h.dialogs.save_names.push_back(target);
        EXPECT_EQ(h.session.Save(), DecoderDocument::SaveResult::WriteFailed);
        chmod(dir.c_str(), 0755);
    }
#endif
    EXPECT_EQ(Slurp(target), "old contents\n");
}

TEST(Save, DamagedCellReportsTheChecksumProblemAndWritesNothing) {
    const std::string dir = test::TempDir();
    test::WriteFile(dir + "/out.hex", "old\n");
    test::Harness h;
    ASSERT_TRUE(h.Load(test::Firmware(0x8, P::Motorola)));
    h.session.image().rom_cells[4] = "G1";
    h.dialogs.save_names.push_back(dir + "/out.hex");
    EXPECT_EQ(h.session.Save(), DecoderDocument::SaveResult::WriteFailed);
    EXPECT_EQ(h.LastMessage(), "Problem bei der Checksummen-Berechnung");
    EXPECT_TRUE(h.dialogs.save_proposals.empty());
    EXPECT_EQ(Slurp(dir + "/out.hex"), "old\n");
}

TEST(Save, SharedCellsOfTheTurntableMustAgree) {
    test::Harness h;
    FixtureImage f = test::Firmware(0x30FF, P::Motorola);
    test::SetRow(f, 16, 0x03, 0x00, 0xC3);
    ASSERT_TRUE(h.Load(f));
    h.session.SetAddressText(31, "2");
    EXPECT_EQ(h.session.Save(), DecoderDocument::SaveResult::Rejected);
    EXPECT_EQ(h.LastMessage(),
              "<Position24> und <Position9> belegen dieselben EEPROM-Zellen. Bitte für beide "
              "dieselbe Adresse eintragen.");
    EXPECT_EQ(h.view.focused_address, 31);
    EXPECT_EQ(RowCells(h.session, 16), (Cells{"03", "00", "C3"}));

    h.session.SetAddressText(31, "2");
    h.session.SetAddressText(16, "2");
    h.dialogs.save_names.push_back(std::nullopt);
    EXPECT_EQ(h.session.Save(), DecoderDocument::SaveResult::Cancelled);
    EXPECT_EQ(RowCells(h.session, 16), (Cells{"03", "00", "F3"}));
}

// A file whose EEPROM records end early: rows stored beyond the end still reach the saved
// file, unchanged rows there do not make it longer.
TEST(Save, RowsBeyondTheLastEepromRecordAreSaved) {
    const std::string dir = test::TempDir();
    test::Harness h;
    FixtureImage f = test::Firmware(0x30FF, P::Motorola);
    f.eeprom_last = 31;
    ASSERT_TRUE(h.Load(f));
    h.dialogs.save_names.push_back(dir + "/same.hex");
    ASSERT_EQ(h.session.Save(), DecoderDocument::SaveResult::Saved);
    EXPECT_EQ(h.session.image().eeprom_last, 31);  // erased rows stay erased: nothing to add

    h.session.SetAddressText(16, "9");
    h.session.SetAddressText(31, "9");
    h.dialogs.save_names.push_back(dir + "/out.hex");
    ASSERT_EQ(h.session.Save(), DecoderDocument::SaveResult::Saved) << h.LastMessage();
    test::Harness back;
    ASSERT_TRUE(back.session.LoadHexFile(dir + "/out.hex"));
    EXPECT_EQ(back.session.row(16).address_text, "9");
    EXPECT_EQ(back.session.image().eeprom_last, 97);  // cell 65 + 32
}

TEST(Save, KindNoneStoresNothingAndSaysSo) {
    test::Harness h;
    ASSERT_TRUE(h.Load(test::Firmware(0x4000, P::Dcc)));
    const auto before = h.session.image().eeprom_cells;
    h.session.SetAddressText(1, "7");
    h.dialogs.save_names.push_back(std::nullopt);
    h.session.Save();
    EXPECT_EQ(h.session.image().eeprom_cells, before);
    ASSERT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_NE(h.LastMessage().find("nicht im HEX-File gespeichert"), std::string::npos);
}

// Loading and saving without edits keeps every cell the file had.
TEST(Save, RoundTripWithoutEditsKeepsTheImage) {
    for (const char* name : {"klemmo_mm", "klemmo_dcc", "fdec_dcc", "blink_684"}) {
        const std::string dir = test::TempDir();
        test::Harness h;
        h.dialogs.fallback = Answer::Yes;
        ASSERT_TRUE(h.session.LoadHexFile(std::string(PARVEL_TEST_DATA) + "/" + name + ".hex"));
        const FirmwareImage before = h.session.image();
        h.dialogs.save_names.push_back(dir + "/out.hex");
        ASSERT_EQ(h.session.Save(), DecoderDocument::SaveResult::Saved);
        test::Harness back;
        ASSERT_TRUE(back.session.LoadHexFile(dir + "/out.hex"));
        EXPECT_EQ(back.session.image().rom_cells, before.rom_cells) << name;
        EXPECT_EQ(back.session.image().eeprom_cells, before.eeprom_cells) << name;
        EXPECT_EQ(back.session.image().id_text, before.id_text) << name;
        EXPECT_EQ(back.session.image().config_text, before.config_text) << name;
    }
}

}  // namespace
}  // namespace parvel

namespace parvel {
namespace {

// Every catalogue entry, both protocols: addresses typed into every labelled row survive a
// save and a new load, and the window shows the entry's name and rows.
TEST(Save, EveryCatalogueEntryRoundTripsItsRows) {
    for (const DecoderType& t : Catalogue()) {
        for (P protocol : {P::Motorola, P::Dcc}) {
            SCOPED_TRACE(t.name + (protocol == P::Dcc ? " DCC" : " Mot"));
            const std::string dir = test::TempDir();
            test::Harness h;
            ASSERT_TRUE(h.Load(test::Firmware(t.type_code, protocol), dir + "/in.hex"));
            EXPECT_EQ(h.view.header, t.name);
            std::map<int, std::pair<int, int>> typed;  // row -> address, function
            int n = 0;
            for (int r = 1; r < kGridRows; ++r) {
                EXPECT_EQ(h.view.rows[r].visible, !t.labels[r].empty());
                if (t.labels[r].empty()) continue;
                if (r >= 31 && !t.labels[r - 15].empty()) continue;  // shares the cells of row r-15
                ++n;
                const int address = 1 + (n * 37) % h.session.max_address();
                const int function = 1 + n % h.session.max_function();
                h.session.SetAddressText(r, std::to_string(address));
                h.session.SetFunctionText(r, std::to_string(function));
                h.session.SetGreen(r, n % 2);
                typed[r] = {address, function};
            }
            if (typed.count(16) && !t.labels[31].empty()) {
                h.session.SetAddressText(31, h.session.row(16).address_text);
                h.session.SetGreen(31, h.session.row(16).green);
            }
            h.dialogs.save_names.push_back(dir + "/out.hex");
            ASSERT_EQ(h.session.Save(), DecoderDocument::SaveResult::Saved) << h.LastMessage();
            if (t.kind == DecoderKind::None) continue;

            test::Harness back;
            ASSERT_TRUE(back.session.LoadHexFile(dir + "/out.hex"));
            for (const auto& [r, value] : typed) {
                EXPECT_EQ(back.session.row(r).address_text, std::to_string(value.first)) << r;
                if (t.kind == DecoderKind::Function) {
                    EXPECT_EQ(back.session.row(r).function_text, std::to_string(value.second)) << r;
                } else {
                    EXPECT_EQ(back.session.row(r).green, h.session.row(r).green) << r;
                }
            }
        }
    }
}




// The bytes of an Intel HEX text by full address, read on their own terms (types 00 and 04;
// checksums not checked): what a programmer burns.
std::map<std::uint32_t, int> BurntBytes(const std::string& text) {
    std::map<std::uint32_t, int> bytes;
    std::istringstream in(text);
    std::string line;
    std::uint32_t upper = 0;
    auto byte = [&](std::size_t pos) { return std::stoi(line.substr(pos, 2), nullptr, 16); };
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() < 11 || line[0] != ':') continue;
        const int count = byte(1);
        const std::uint32_t address = static_cast<std::uint32_t>(byte(3) * 256 + byte(5));
        const int type = byte(7);
        if (type == 4) upper = static_cast<std::uint32_t>(byte(9) * 256 + byte(11)) << 16;
        if (type != 0) continue;
        for (int k = 0; k < count; ++k) bytes[upper + address + k] = byte(9 + 2 * static_cast<std::size_t>(k));
    }
    return bytes;
}

std::string Differences(const std::map<std::uint32_t, int>& in, const std::map<std::uint32_t, int>& out) {
    std::ostringstream d;
    int shown = 0;
    for (const auto& [a, v] : in) {
        const auto it = out.find(a);
        if ((it == out.end() || it->second != v) && shown++ < 5) {
            d << std::hex << " 0x" << a << ": " << v << " -> " << (it == out.end() ? -1 : it->second);
        }
    }
    for (const auto& [a, v] : out) {
        if (in.count(a) == 0 && shown++ < 5) d << std::hex << " 0x" << a << ": none -> " << v;
    }
    return d.str();
}

// Every firmware file of the project that loads without a warning about what cannot be
// saved comes back byte for byte, saved by the window's save and by `parvel set` without an
// option; questions take the answer that changes nothing.
TEST(Save, WithoutAChangeGivesBackEveryFilesBytes) {
    namespace fs = std::filesystem;
    const fs::path root = fs::path(PARVEL_TEST_DATA) / ".." / "..";
    std::vector<fs::path> files;
    for (const char* folder : {"tests/data", "samples", "fuzz/corpus/hexreader", "fuzz/corpus/compare",
                               "fuzz/corpus/parvelcli"}) {
        for (const auto& e : fs::directory_iterator(root / folder)) files.push_back(e.path());
    }
    const std::string dir = test::TempDir();
    int checked = 0;
    for (const fs::path& file : files) {
        std::string text = Slurp(file.string());
        // The command line fuzzer's inputs start with one byte that chooses the command.
        if (file.parent_path().filename() == "parvelcli") text.erase(0, 1);
        const std::string input = dir + "/input.hex";
        std::ofstream(input, std::ios::binary) << text;

        test::Harness h;
        if (!h.LoadText(text, input)) continue;  // rejected or not recognised
        bool unsaved = false;
        for (const auto& m : h.dialogs.messages) {
            unsaved = unsaved || m.text.rfind("Dieses HEX-File enthält Daten, die", 0) == 0;
        }
        if (unsaved) continue;
        const auto before = BurntBytes(text);

        const std::string saved = dir + "/saved.hex";
        h.dialogs.save_names.push_back(saved);
        ASSERT_EQ(h.session.Save(), DecoderDocument::SaveResult::Saved) << file << h.LastMessage();
        EXPECT_EQ(BurntBytes(Slurp(saved)), before)
            << file << Differences(before, BurntBytes(Slurp(saved)));

        const std::string set = dir + "/set.hex";
        std::ostringstream out, err;
        ASSERT_EQ(RunParvel({"parvel", "set", input, "-o", set, "--force"}, out, err), 0) << file << err.str();
        EXPECT_EQ(BurntBytes(Slurp(set)), before) << file << Differences(before, BurntBytes(Slurp(set)));
        ++checked;
    }
    EXPECT_GE(checked, 5);  // at least the assembled firmwares and the sample
}

// Made files: what the file had stays, what it lacked is not made up, and what the image cannot
// keep is named when loading.
TEST(Save, KeepsTheConfigurationTheFileHadAndNamesWhatCannotBeKept) {
    auto without_config = [] {
        FixtureImage f = test::Firmware(0x8, P::Motorola);
        f.config.reset();
        return BuildHex(f);
    };
    // ID and configuration in one 16-byte record at 0x4000, as srec_cat -fill writes it.
    auto one_record = [] {
        FixtureImage f = test::Firmware(0x8, P::Motorola);
        f.config.reset();
        f.id.reset();
        std::string text = BuildHex(f);
        const std::string both = test::Record(0x4000, 0, {3, 0, 3, 0, 5, 0, 8, 0, 0xFF, 0xFF, 0xFF, 0xFF,
                                                          0xFF, 0xFF, 0xCC, 0x01});
        return text.insert(text.find(":1042000"), both + "\r\n");
    };
    auto high_id = [] {
        FixtureImage f = test::Firmware(0x8, P::Motorola);
        std::string text = BuildHex(f);
        const std::string id = test::Record(0x4000, 0, {3, 0, 3, 0, 5, 0, 8, 0});
        const std::string wide = test::Record(0x4000, 0, {0x13, 0, 3, 0, 5, 0, 8, 0x20});
        return text.replace(text.find(id), id.size(), wide);
    };
    const std::string kConfigRecord = ":02400E00CC01E3";
    struct Case {
        const char* what;
        std::function<std::string()> file;
        std::optional<Answer> answer;  // to the question for a default configuration
        std::string config;            // what the image holds after loading
        bool config_written;           // the saved file holds kConfigRecord
        std::string warning;           // the load's warning about what cannot be saved
    } cases[] = {
        {"no configuration, Ignore", without_config, Answer::Ignore, "", false, ""},
        {"no configuration, Yes", without_config, Answer::Yes, "CC01", true, ""},
        {"one record over ID and configuration", one_record, std::nullopt, "CC01", true,
         "Daten bei 0x4008 bis 0x40FF außer dem Config-Wert."},
        {"ID words with more than one digit", high_id, std::nullopt, "CC01", true,
         "ID-Wörter mit mehr als einer Hex-Ziffer (gespeichert wird nur die letzte)."},
    };
    const std::string dir = test::TempDir();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::Harness h;
        if (c.answer) h.dialogs.answers.push_back(*c.answer);
        ASSERT_TRUE(h.LoadText(c.file()));
        EXPECT_EQ(h.session.image().config_text, c.config);
        EXPECT_EQ(h.session.image().id_text, "3358");
        EXPECT_EQ(h.view.status[1], "V 3.58");
        int warnings = 0;
        for (const auto& m : h.dialogs.messages) {
            if (m.text.rfind("Dieses HEX-File enthält Daten", 0) != 0) continue;
            ++warnings;
            EXPECT_EQ(m.text.substr(m.text.size() - c.warning.size()), c.warning);
        }
        EXPECT_EQ(warnings, c.warning.empty() ? 0 : 1);
        h.dialogs.save_names.push_back(dir + "/out.hex");
        ASSERT_EQ(h.session.Save(), DecoderDocument::SaveResult::Saved) << h.LastMessage();
        const std::string saved = Slurp(dir + "/out.hex");
        EXPECT_EQ(saved.find(":02400E") != std::string::npos, c.config_written) << saved;
        if (c.config_written) {
            EXPECT_NE(saved.find(kConfigRecord), std::string::npos);
        }
        EXPECT_NE(saved.find(":084000000300030005000800A5"), std::string::npos) << saved;
    }
}

// A row whose bytes match no address shows so, keeps its bytes while untouched, and is
// encoded as any row once the user changes it.
TEST(Save, RowWhoseBytesMatchNoAddressKeepsThemUntilChanged) {
    struct Case {
        const char* what;
        uint32_t code;
        P protocol;
        Cells stored;
        std::function<void(test::Harness&)> edit;  // nothing: the row stays as loaded
        Cells saved;
    } cases[] = {
        {"Motorola accessory, untouched", 0x8, P::Motorola, {"13", "00", "00"}, nullptr, {"13", "00", "00"}},
        {"DCC accessory erased, untouched", 0x8, P::Dcc, {"FF", "FF", "FF"}, nullptr, {"FF", "FF", "FF"}},
        {"DCC accessory, address entered", 0x8, P::Dcc, {"FF", "FF", "FF"},
         [](test::Harness& h) { h.session.SetAddressText(1, "1"); }, {"79", "F0", "05"}},
        {"Motorola accessory, made green", 0x8, P::Motorola, {"13", "00", "00"},
         [](test::Harness& h) { h.session.ToggleGreen(1); }, {"FF", "FF", "FF"}},
        // beyond the DCC function decoders' limit: untouched it is no validation failure
        {"DCC function decoder erased, untouched", 0x13D00, P::Dcc, {"FF", "FF", "FF"}, nullptr,
         {"FF", "FF", "FF"}},
        {"DCC function decoder, address entered", 0x13D00, P::Dcc, {"FF", "FF", "FF"},
         [](test::Harness& h) {
             h.session.SetAddressText(1, "5");
             h.session.SetFunctionText(1, "3");
         },
         {"84", "05", "00"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::Harness h;
        FixtureImage f = test::Firmware(c.code, c.protocol);
        auto byte = [](const std::string& t) { return static_cast<uint8_t>(std::stoi(t, nullptr, 16)); };
        test::SetRow(f, 1, byte(c.stored.c0), byte(c.stored.c16), byte(c.stored.c32));
        ASSERT_TRUE(h.Load(f));
        const std::string bytes = c.stored.c0 + " " + c.stored.c16 + " " + c.stored.c32;
        EXPECT_EQ(h.session.StoredBytesText(1), bytes);
        EXPECT_NE(h.view.rows[1].stored_hint.find("Bytes " + bytes + "; sie passen zu keiner Adresse"),
                  std::string::npos)
            << h.view.rows[1].stored_hint;
        if (c.edit) c.edit(h);
        ASSERT_EQ(h.session.BuildHexLines(), DecoderDocument::SaveResult::Saved) << h.LastMessage();
        EXPECT_EQ(RowCells(h.session, 1), c.saved);
    }
}

}  // namespace
}  // namespace parvel
