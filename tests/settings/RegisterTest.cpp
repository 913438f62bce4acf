#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "settings/CvRegisterTable.h"
#include "tests/Harness.h"

namespace parvel {
namespace {

using test::FixtureImage;
using P = FixtureImage::Protocol;
using Verdict = NumberInput::Verdict;

// The CV number of a caption "CV<n>: <text>", or -1 when the caption has another form.
int CvNumber(const std::string& caption) {
    std::smatch m;
    return std::regex_match(caption, m, std::regex("CV([0-9]{1,4}): .+")) ? std::stoi(m[1]) : -1;
}

// EEPROM cell c of the test firmware holds 7c + 3 (mod 256), a different value in every cell;
// only cell 0x68 holds "0E". `eeprom_last` limits the EEPROM records of the file.
int CellValue(int c) { return c == 0x68 ? 0x0E : (7 * c + 3) & 0xFF; }

std::unique_ptr<test::Harness> LoadCvFirmware(int eeprom_last = 0xBF) {
    auto h = std::make_unique<test::Harness>();
    FixtureImage f = test::Firmware(0x4400, P::Dcc);
    f.eeprom_last = eeprom_last;
    for (int c = 0x5F; c <= eeprom_last; ++c) f.eeprom[c] = static_cast<uint8_t>(CellValue(c));
    EXPECT_TRUE(h->Load(f)) << h->LastMessage();
    EXPECT_EQ(h->session.type_code(), 0x4400u);
    EXPECT_EQ(h->session.frame_code(), kFrameRegister);
    return h;
}

// "F-Dekoder mit CV" shows these CVs, one row each in ascending CV order, captioned
// "CV<n>: <text>". In the firmware's layout every CV has its own EEPROM cell, the cells rise
// with the CV numbers, consecutive CVs sit in consecutive cells, and the cells listed below are
// never shown. Other firmwares show no rows.
TEST(CvRegisterTable, TableFollowsTheFirmwareLayout) {
    const std::vector<int> shown = {1,  15, 16,  17,  18,  29,  48,  50,  52,  53,  54,  61, 62,
                                    63, 64, 115, 140, 141, 142, 143, 144, 150, 151, 152, 153};
    const std::set<int> never_shown = {0x61, 0x66, 0x67, 0x69, 0x6A, 0x6B, 0x6C, 0x6E, 0x70};
    const CvRegisterTable table(0x4400);
    ASSERT_EQ(table.row_count(), 25);
    std::vector<int> cvs;
    for (int r = 0; r < table.row_count(); ++r) {
        const auto& row = table.row(r);
        SCOPED_TRACE(row.caption);
        cvs.push_back(CvNumber(row.caption));
        EXPECT_TRUE(row.cell >= 0 && row.cell < 256) << row.cell;
        EXPECT_EQ(never_shown.count(row.cell), 0u);
        if (r == 0) continue;
        EXPECT_GT(row.cell, table.row(r - 1).cell);  // hence no two CVs share a cell
        if (cvs[r] == cvs[r - 1] + 1) {
            EXPECT_EQ(row.cell, table.row(r - 1).cell + 1);
        }
    }
    EXPECT_EQ(cvs, shown);
    for (uint32_t code : {0x0u, 0x8u, 0x13D00u, 0x1A4100u, 0x4401u}) {
        EXPECT_EQ(CvRegisterTable(code).row_count(), 0) << std::hex << code;
    }
    // Some rows in full: position, caption (umlauts included) and cell.
    const std::tuple<int, const char*, int> rows[] = {
        {0, "CV1: Kurze Adresse", 0x60},
        {5, "CV29: Konfiguration", 0x68},
        {7, "CV50: Verzögerung 1", 0x6F},
        {10, "CV54: Länge Neon-Effekt", 0x73},
        {15, "CV115: LISSY: Zug-Kategorie (1-4)", 0x83},
        {16, "CV140: Mapping Befehl 1", 0x9C},
        {24, "CV153: Betriebs-Art Out 4", 0xA9},
    };
    for (const auto& [r, caption, cell] : rows) {
        EXPECT_EQ(table.row(r).caption, caption) << r;
        EXPECT_EQ(table.row(r).cell, cell) << r;
    }
}

// No row is read-only and every row takes 0..255: each row shows its own cell as a decimal
// number, and an accepted value changes that cell and no other. Rows beyond the table and
// firmwares without a table store nothing.
TEST(CvRegisterTable, EveryRowReadsAndWritesOnlyItsCell) {
    auto h = LoadCvFirmware();
    FirmwareImage& image = h->session.image();
    const CvRegisterTable table(h->session.type_code());
    EXPECT_EQ(table.ValueText(image, 5), "14");  // CV29, cell 0x68 holding "0E"
    for (int r = 0; r < table.row_count(); ++r) {
        SCOPED_TRACE(table.row(r).caption);
        const int cell = table.row(r).cell;
        EXPECT_EQ(table.ValueText(image, r), std::to_string(CellValue(cell)));
        auto expected = image.eeprom_cells;
        EXPECT_FALSE(table.Change(image, r, "256").accepted());
        EXPECT_EQ(image.eeprom_cells, expected);
        for (const auto& [text, hex] :
             {std::pair("255", "FF"), std::pair("0", "00"), std::pair("90", "5A")}) {
            ASSERT_TRUE(table.Change(image, r, text).accepted()) << text;
            expected[static_cast<std::size_t>(cell)] = hex;
            EXPECT_EQ(image.eeprom_cells, expected);
        }
        EXPECT_EQ(table.ValueText(image, r), "90");
    }
    const auto before = image.eeprom_cells;
    EXPECT_EQ(table.Change(image, 25, "3").verdict, Verdict::Empty);
    EXPECT_EQ(CvRegisterTable(0x8).Change(image, 0, "3").verdict, Verdict::Empty);
    EXPECT_EQ(image.eeprom_cells, before);
}

std::array<int, 4> Box(const CvRegisterTable::Rect& b) {
    return {b.left, b.top, b.width, b.height};
}

// Rows in columns of 21, row 64 alone in the fourth; separator lines between the columns.
TEST(CvRegisterTable, LayoutInColumnsOf21) {
    struct Case {
        int index;
        int caption_left, edit_left, edit_top;
    } cases[] = {
        {0, 5, 175, 15},    {1, 5, 175, 40},    {20, 5, 175, 515},   {21, 235, 405, 15},
        {24, 235, 405, 90}, {42, 465, 635, 15}, {62, 465, 635, 515}, {63, 695, 865, 15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        const auto g = CvRegisterTable::Geometry(c.index);
        EXPECT_EQ(Box(g.edit), (std::array{c.edit_left, c.edit_top, 40, 20}));
        EXPECT_EQ(Box(g.caption), (std::array{c.caption_left, c.edit_top + 4, 100, 20}));
    }
    EXPECT_THROW(CvRegisterTable::Geometry(64), std::out_of_range);
    EXPECT_THROW(CvRegisterTable::Geometry(-1), std::out_of_range);
    const auto lines = CvRegisterTable::Separators(571);
    const int lefts[] = {230, 460, 690};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Box(lines[i]), (std::array{lefts[i], 8, 2, 570})) << i;
}

TEST(CvRegisterTable, ValueChanges) {
    const std::string range =
        "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich 0..255";
    const std::string not_a_number = "Ungültige Eingabe.\rZugelassen sind nur Zahlen";
    struct Case {
        const char* text;
        Verdict verdict;
        std::string message;  // the not-a-number message also puts the focus back
        const char* after;    // cell 0x60 (CV1) afterwards; nullptr: unchanged
    } cases[] = {
        {"3", Verdict::Accepted, "", "03"},
        {" 7 ", Verdict::Accepted, "", "07"},
        {"", Verdict::Empty, "", nullptr},
        {"abc", Verdict::Rejected, not_a_number, nullptr},
        {"1.5", Verdict::Rejected, not_a_number, nullptr},
        {"256", Verdict::Rejected, range, nullptr},
        {"-1", Verdict::Rejected, range, nullptr},
        {"123456789012345", Verdict::Rejected, range, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto h = LoadCvFirmware();
        const CvRegisterTable table(h->session.type_code());
        auto expected = h->session.image().eeprom_cells;
        const NumberInput input = table.Change(h->session.image(), 0, c.text);
        EXPECT_EQ(input.verdict, c.verdict);
        EXPECT_EQ(input.refocus, c.message == not_a_number);
        if (c.message.empty()) {
            EXPECT_FALSE(input.message.has_value());
        } else {
            ASSERT_TRUE(input.message.has_value());
            EXPECT_EQ(input.message->text, c.message);
            EXPECT_EQ(input.message->icon, Icon::Warning);
            EXPECT_EQ(input.message->buttons, Buttons::Cancel);
        }
        if (c.after) expected[0x60] = c.after;
        EXPECT_EQ(h->session.image().eeprom_cells, expected);
    }
}

// Saves the session's image through the save dialog seam and loads the file again.
std::unique_ptr<test::Harness> SaveAndReload(test::Harness& h) {
    const std::string path = test::TempDir() + "/cv.hex";
    h.dialogs.save_names.push_back(path);
    EXPECT_EQ(h.session.Save(), DecoderDocument::SaveResult::Saved) << h.LastMessage();
    auto again = std::make_unique<test::Harness>();
    EXPECT_TRUE(again->session.LoadHexFile(path)) << again->LastMessage();
    return again;
}

// A change goes into the saved file, also where the file's EEPROM records stopped before the
// CV's cell (CV153 in 0xA9 beyond 0x9F).
TEST(CvRegisterTable, SavedFileCarriesTheChange) {
    // Last EEPROM cell of the file, row, typed text, the row's cell, that cell in the saved file.
    const std::tuple<int, int, const char*, int, const char*> cases[] = {
        {0xBF, 0, "3", 0x60, "03"}, {0x9F, 24, "77", 0xA9, "4D"}};
    for (const auto& [eeprom_last, row, text, cell, hex] : cases) {
        SCOPED_TRACE(text);
        auto h = LoadCvFirmware(eeprom_last);
        ASSERT_EQ(h->session.image().eeprom_last, eeprom_last);
        const CvRegisterTable table(h->session.type_code());
        ASSERT_TRUE(table.Change(h->session.image(), row, text).accepted());
        auto saved = SaveAndReload(*h);
        EXPECT_EQ(saved->session.image().eeprom_cells[cell], hex);
        EXPECT_EQ(saved->session.image().eeprom_cells, h->session.image().eeprom_cells);
        EXPECT_EQ(table.ValueText(saved->session.image(), row), text);
    }
}

}  // namespace
}  // namespace parvel
