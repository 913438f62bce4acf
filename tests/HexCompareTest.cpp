#include <gtest/gtest.h>

#include "tests/Harness.h"
#include "image/HexCompare.h"

namespace parvel {
namespace {

using test::FixtureImage;
using P = FixtureImage::Protocol;

TEST(HexDump, EepromAndRomLines) {
    FirmwareImage image;
    image.Reset();
    EXPECT_EQ(EepromDump(image), std::vector<std::string>{"0x000:FF"});
    image.eeprom_last = 0x1F;
    const auto ee = EepromDump(image);
    ASSERT_EQ(ee.size(), 2u);
    EXPECT_EQ(ee[1], "0x010:FFFFFFFFFFFFFFFF FFFFFFFFFFFFFFFF");
    image.eeprom_last = 0x18;  // 9 cells in the last line: the space is there
    EXPECT_EQ(EepromDump(image)[1], "0x010:FFFFFFFFFFFFFFFF FF");
    image.eeprom_last = 0x17;  // 8 cells: no space
    EXPECT_EQ(EepromDump(image)[1], "0x010:FFFFFFFFFFFFFFFF");

    image.rom_last = 0x0FFF;
    const auto rom = RomDump(image);
    ASSERT_EQ(rom.size(), 256u + 15u);
    EXPECT_EQ(rom[0], "0x0000:FF3FFF3FFF3FFF3F FF3FFF3FFF3FFF3F");
    EXPECT_EQ(rom[16], " ");
    EXPECT_EQ(rom[17].substr(0, 7), "0x0100:");
    EXPECT_EQ(rom.back().substr(0, 7), "0x0FF0:");
}

TEST(HexCompare, ItselfGivesFourZeroSummaries) {
    const std::string dir = test::TempDir();
    const std::string path = dir + "/a.hex";
    test::WriteFile(path, test::BuildHex(test::Firmware(0x8, P::Motorola)));
    test::Harness h;
    ASSERT_TRUE(h.session.LoadHexFile(path));
    const CompareResult r = CompareWithFile(h.session.image(), h.session.status_text(3), path);
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(r.status_file1, "File 1 = " + path + " (12F629/16F630)");
    EXPECT_EQ(r.status_file2, "File 2 = " + path);
    EXPECT_EQ(r.eeprom_lines, (std::vector<std::string>{"", " ", "   0 gefundene Unterschiede im EEprom"}));
    EXPECT_EQ(r.rom_lines, (std::vector<std::string>{" ", "   0 gefundene Unterschiede im ROM",
                                                     "   0 gefundene Unterschiede in ID",
                                                     "   0 gefundene Unterschiede in Config"}));
}

TEST(HexCompare, ListsEveryDifferingCellOfTheSecondFile) {
    test::Harness h;
    FixtureImage a = test::Firmware(0x8, P::Motorola);
    ASSERT_TRUE(h.Load(a));
    FixtureImage b = a;
    b.eeprom[10] = 0x12;
    b.words[0xD1] = 0x30FF;  // bytes 0x1A2 (FF, unchanged) and 0x1A3 (3F -> 30)
    b.rom_last_word = 0xD1;
    b.id = "3359";
    b.config = "CC00";
    const auto r = CompareWithLines(h.session.image(), "f1", "f2", SplitLines(test::BuildHex(b)));
    ASSERT_TRUE(r.completed);
    EXPECT_EQ(r.eeprom_lines[1], "EE0x0a: File1:0xFF - File2:0x12");
    EXPECT_EQ(r.eeprom_differences, 1);
    EXPECT_NE(std::find(r.rom_lines.begin(), r.rom_lines.end(), "ROM 0x01a3: File1:0x3F - File2:0x30"),
              r.rom_lines.end());
    EXPECT_NE(std::find(r.rom_lines.begin(), r.rom_lines.end(), "ID: File1:0x3358 - File2:0x3359"),
              r.rom_lines.end());
    EXPECT_NE(std::find(r.rom_lines.begin(), r.rom_lines.end(), "CONFIG: File1:0xCC01 - File2:0xCC00"),
              r.rom_lines.end());
    EXPECT_EQ(r.rom_differences, 1);
    EXPECT_EQ(r.id_differences, 1);
    EXPECT_EQ(r.config_differences, 1);
    EXPECT_EQ(r.rom_lines.back(), "   1 gefundene Unterschiede in Config");
}

TEST(HexCompare, RejectedLineStopsWithTheCompareCodes) {
    FirmwareImage image;
    image.Reset();
    struct Case {
        std::string line;
        std::string message;
    } cases[] = {
        {test::Record(0x1000, 0, {1}), "E301: Unerwartete Zeile: " + test::Record(0x1000, 0, {1}) +
                                           " (Zeile 2: Adresse 0x1000 liegt außerhalb des Speichers dieses Chips)"},
        {":00000001FE", "E302: Unerwarteter End File Record: :00000001FE (Zeile 2)"},
        {":020000021000EC", "E303: Unerwartete Zeile im File: :020000021000EC (Zeile 2)"},
        {":0400000300003800C1", "E304: Unerwartete Zeile im File: :0400000300003800C1 (Zeile 2)"},
        {":020000040001F9", "E305: Unerwarteter Extendet Linear Address Record: :020000040001F9 (Zeile 2)"},
        {"", "E300: Unerwartete Zeile im File: <Leerzeile> (Zeile 2)"},
        {test::Record(0x0FFF, 0, {1, 2}),
         "E200: Überschreitung ROM-Adressbereich (Zeile 2: Adresse 0x1000 liegt außerhalb des "
         "Programmspeichers dieses Chips)"},
    };
    for (const auto& c : cases) {
        const auto r = CompareWithLines(image, "f1", "f2",
                                        {test::Record(0x4200, 0, {0x12, 0}), c.line, ":00000001FF"});
        EXPECT_FALSE(r.completed);
        ASSERT_TRUE(r.message);
        EXPECT_EQ(r.message->text, c.message);
        // the difference found before the bad line stays, no summary follows
        EXPECT_EQ(r.eeprom_lines.back(), "EE0x00: File1:0xFF - File2:0x12");
    }
    const auto missing = CompareWithFile(image, "f1", "/nonexistent/x.hex");
    EXPECT_EQ(missing.message->text, "Cannot open file /nonexistent/x.hex");
    EXPECT_TRUE(missing.eeprom_lines.empty());
    EXPECT_TRUE(missing.rom_lines.empty());
}

}  // namespace
}  // namespace parvel
