#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "CvRegisterTable.h"
#include "Harness.h"

namespace parvel {
namespace {

using test::FixtureImage;
using P = FixtureImage::Protocol;
using Verdict = NumberInput::Verdict;

// The CV table of "F-Dekoder mit CV": caption and EEPROM cell per row, in display order.
const struct {
    const char* caption;
    int cell;
} kCvTable[] = {
    {"CV1: Kurze Adresse", 0x60},
    {"CV15: Dekoder Sperren", 0x62},
    {"CV16: Dekoder Sperren", 0x63},
    {"CV17: Lange Adresse L", 0x64},
    {"CV18: Lange Adresse H", 0x65},
    {"CV29: Konfiguration", 0x68},
    {"CV48: Dekoder Betriebsart 1", 0x6D},
    {"CV50: Verzögerung 1", 0x6F},
    {"CV52: PWM-Wert 1", 0x71},
    {"CV53: PWM-Wert 2", 0x72},
    {"CV54: Länge Neon-Effekt", 0x73},
    {"CV61: Blinker Frequenz", 0x7A},
    {"CV62: Bremslicht Dauer", 0x7B},
    {"CV63: Bremslicht Schwelle", 0x7C},
    {"CV64: Bremslicht Dauer Stand", 0x7D},
    {"CV115: LISSY: Zug-Kategorie (1-4)", 0x83},
    {"CV140: Mapping Befehl 1", 0x9C},
    {"CV141: Mapping Befehl 2", 0x9D},
    {"CV142: Mapping Befehl 3", 0x9E},
    {"CV143: Mapping Befehl 4", 0x9F},
    {"CV144: Mapping Befehl 5", 0xA0},
    {"CV150: Betriebs-Art Out 1", 0xA6},
    {"CV151: Betriebs-Art Out 2", 0xA7},
    {"CV152: Betriebs-Art Out 3", 0xA8},
    {"CV153: Betriebs-Art Out 4", 0xA9},
};
constexpr int kCvCount = sizeof kCvTable / sizeof kCvTable[0];

// A recognised 0x4400 firmware; every CV cell holds 10 + its row number, cell 0x68 "0E" and the
// cells around the CVs distinct marks. `eeprom_last` limits the EEPROM records of the file.
std::unique_ptr<test::Harness> LoadCvFirmware(int eeprom_last = 0xBF) {
    auto h = std::make_unique<test::Harness>();
    FixtureImage f = test::Firmware(0x4400, P::Dcc);
    f.eeprom_last = eeprom_last;
    for (int c = 0x5F; c <= eeprom_last; ++c) f.eeprom[c] = static_cast<uint8_t>(0xC0 + c % 16);
    for (int r = 0; r < kCvCount; ++r) {
        if (kCvTable[r].cell <= eeprom_last) f.eeprom[kCvTable[r].cell] = uint8_t(10 + r);
    }
    f.eeprom[0x68] = 0x0E;
    EXPECT_TRUE(h->Load(f)) << h->LastMessage();
    EXPECT_EQ(h->session.type_code, 0x4400u);
    EXPECT_EQ(h->session.frame_code, kFrameRegister);
    return h;
}

TEST(CvRegisterTable, RowsOfTheFunctionDecoderWithCvs) {
    const CvRegisterTable table(0x4400);
    ASSERT_EQ(table.row_count(), 25);
    for (int r = 0; r < kCvCount; ++r) {
        EXPECT_EQ(table.row(r).caption, kCvTable[r].caption) << r;
        EXPECT_EQ(table.row(r).cell, kCvTable[r].cell) << r;
    }
    EXPECT_THROW(table.row(25), std::out_of_range);
}

TEST(CvRegisterTable, OtherFirmwaresHaveNoRows) {
    for (uint32_t code : {0x0u, 0x8u, 0x13D00u, 0x1A4100u, 0x4401u}) {
        EXPECT_EQ(CvRegisterTable(code).row_count(), 0) << std::hex << code;
    }
}

TEST(CvRegisterTable, RowGeometryInColumnsOf21) {
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
        EXPECT_EQ(g.edit.left, c.edit_left);
        EXPECT_EQ(g.edit.top, c.edit_top);
        EXPECT_EQ(g.edit.width, 40);
        EXPECT_EQ(g.edit.height, 20);
        EXPECT_EQ(g.caption.left, c.caption_left);
        EXPECT_EQ(g.caption.top, c.edit_top + 4);
        EXPECT_EQ(g.caption.width, 100);
        EXPECT_EQ(g.caption.height, 20);
    }
    EXPECT_THROW(CvRegisterTable::Geometry(64), std::out_of_range);
    EXPECT_THROW(CvRegisterTable::Geometry(-1), std::out_of_range);
}

TEST(CvRegisterTable, SeparatorLines) {
    const auto lines = CvRegisterTable::Separators(571);
    const int lefts[] = {230, 460, 690};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(lines[i].left, lefts[i]);
        EXPECT_EQ(lines[i].top, 8);
        EXPECT_EQ(lines[i].width, 2);
        EXPECT_EQ(lines[i].height, 570);
    }
}

TEST(CvRegisterTable, LoadingShowsDecimalValues) {
    auto h = LoadCvFirmware();
    const CvRegisterTable table(h->session.type_code);
    EXPECT_EQ(table.row(5).caption, "CV29: Konfiguration");
    EXPECT_EQ(table.ValueText(h->session.image(), 5), "14");
    EXPECT_EQ(table.ValueText(h->session.image(), 0), "10");
    EXPECT_EQ(table.ValueText(h->session.image(), 24), "34");
}

TEST(CvRegisterTable, ValueChanges) {
    const std::string range =
        "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich 0..255";
    const std::string not_a_number = "Ungültige Eingabe.\rZugelassen sind nur Zahlen";
    struct Case {
        int row;
        const char* text;
        Verdict verdict;
        std::string message;
        bool refocus;
        const char* after;  // the row's cell afterwards
    } cases[] = {
        {0, "3", Verdict::Accepted, "", false, "03"},
        {0, "0", Verdict::Accepted, "", false, "00"},
        {0, "255", Verdict::Accepted, "", false, "FF"},
        {0, " 7 ", Verdict::Accepted, "", false, "07"},
        {24, "128", Verdict::Accepted, "", false, "80"},
        {0, "", Verdict::Empty, "", false, "0A"},
        {0, "abc", Verdict::Rejected, not_a_number, true, "0A"},
        {0, "1.5", Verdict::Rejected, not_a_number, true, "0A"},
        {0, "256", Verdict::Rejected, range, false, "0A"},
        {0, "-1", Verdict::Rejected, range, false, "0A"},
        {0, "123456789012345", Verdict::Rejected, range, false, "0A"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto h = LoadCvFirmware();
        const CvRegisterTable table(h->session.type_code);
        const auto before = h->session.image().eeprom_cells;
        const NumberInput input = table.Change(h->session.image(), c.row, c.text);
        EXPECT_EQ(input.verdict, c.verdict);
        EXPECT_EQ(input.refocus, c.refocus);
        if (c.message.empty()) {
            EXPECT_FALSE(input.message.has_value());
        } else {
            ASSERT_TRUE(input.message.has_value());
            EXPECT_EQ(input.message->text, c.message);
            EXPECT_EQ(input.message->icon, Icon::Warning);
            EXPECT_EQ(input.message->buttons, Buttons::Cancel);
        }
        auto expected = before;
        expected[table.row(c.row).cell] = c.after;
        EXPECT_EQ(h->session.image().eeprom_cells, expected);
    }
}

TEST(CvRegisterTable, RowsOutsideTheTableStoreNothing) {
    auto h = LoadCvFirmware();
    const auto before = h->session.image().eeprom_cells;
    EXPECT_EQ(CvRegisterTable(h->session.type_code).Change(h->session.image(), 25, "3").verdict,
              Verdict::Empty);
    EXPECT_EQ(CvRegisterTable(0x8).Change(h->session.image(), 0, "3").verdict, Verdict::Empty);
    EXPECT_EQ(h->session.image().eeprom_cells, before);
}

// Saves the session's image through the save dialog seam and loads the file again.
std::unique_ptr<test::Harness> SaveAndReload(test::Harness& h) {
    const std::string path = test::TempDir() + "/cv.hex";
    h.dialogs.save_names.push_back(path);
    EXPECT_EQ(h.session.Save(), DecoderSession::SaveResult::Saved) << h.LastMessage();
    auto again = std::make_unique<test::Harness>();
    EXPECT_TRUE(again->session.LoadHexFile(path)) << again->LastMessage();
    return again;
}

TEST(CvRegisterTable, SavedFileCarriesTheChange) {
    auto h = LoadCvFirmware();
    const CvRegisterTable table(h->session.type_code);
    ASSERT_TRUE(table.Change(h->session.image(), 0, "3").accepted());
    EXPECT_EQ(h->session.image().eeprom_cells[0x60], "03");
    auto saved = SaveAndReload(*h);
    EXPECT_EQ(saved->session.image().eeprom_cells[0x60], "03");
    EXPECT_EQ(saved->session.image().eeprom_cells, h->session.image().eeprom_cells);
    EXPECT_EQ(table.ValueText(saved->session.image(), 0), "3");
}

TEST(CvRegisterTable, ChangeBeyondTheLastEepromRecordIsSaved) {
    // The file's EEPROM stops at 0x9F: CV150..153 (0xA6..0xA9) lie beyond it.
    auto h = LoadCvFirmware(0x9F);
    ASSERT_EQ(h->session.image().eeprom_last, 0x9F);
    const CvRegisterTable table(h->session.type_code);
    ASSERT_TRUE(table.Change(h->session.image(), 24, "77").accepted());
    auto saved = SaveAndReload(*h);
    EXPECT_EQ(saved->session.image().eeprom_cells[0xA9], "4D");
    EXPECT_EQ(table.ValueText(saved->session.image(), 24), "77");
}

}  // namespace
}  // namespace parvel
