#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "tests/Harness.h"
#include "image/HexReader.h"
#include "image/HexRecord.h"
#include "image/HexWriter.h"

namespace parvel {
namespace {

std::vector<std::string> Lines(const FirmwareImage& image) {
    return {image.hex_lines.begin(), image.hex_lines.begin() + image.line_count};
}

FirmwareImage ReadBack(const FirmwareImage& written) {
    FirmwareImage image;
    image.Reset();
    for (const auto& line : Lines(written)) EXPECT_FALSE(ReadHexRecord(image, line)) << line;
    return image;
}

TEST(RecordChecksum, IsTheTwosComplementOfTheByteSum) {
    EXPECT_EQ(RecordChecksum("0840000001000300050008"), "A7");
    EXPECT_EQ(RecordChecksum("02400E00CC01"), "E3");
    EXPECT_EQ(RecordChecksum("00000001"), "FF");
    EXPECT_EQ(RecordChecksum("020000040000"), "FA");
    EXPECT_EQ(RecordChecksum("01000000FF"), "00");  // sum 0x100
    EXPECT_EQ(RecordChecksum("0100000001"), "FE");
    EXPECT_EQ(RecordChecksum("01000000F"), "FF");    // odd last character ignored
    EXPECT_EQ(RecordChecksum("010000ZZ"), "error");
}

TEST(WriteHexLines, EmptyImageStillHasOneCellOfEachRegion) {
    FirmwareImage image;
    image.Reset();
    image.id_text = "1358";
    image.config_text = "CC01";
    ASSERT_EQ(WriteHexLines(image), 6);
    EXPECT_EQ(Lines(image), (std::vector<std::string>{
                                ":020000040000FA", ":01000000FF00", ":084000000100030005000800A7",
                                ":02400E00CC01E3", ":02420000FF00BD", ":00000001FF"}));
}

TEST(WriteHexLines, NormalLayoutAndRoundTrip) {
    FirmwareImage image;
    image.Reset();
    image.id_text = "3358";
    image.config_text = "CC01";
    image.rom_last = 0x07FF;
    image.eeprom_last = 130;
    for (int i = 0; i <= image.rom_last; ++i) image.rom_cells[i] = hex_byte_names()[(i * 7) & 0xFF];
    for (int i = 0; i <= 130; ++i) image.eeprom_cells[i] = hex_byte_names()[(i * 3) & 0xFF];
    const int n = WriteHexLines(image);
    // 1 + 128 program records + ID + config + 17 EEPROM records + end
    ASSERT_EQ(n, 1 + 128 + 1 + 1 + 17 + 1);
    EXPECT_EQ(image.hex_lines[1].substr(0, 9), ":10000000");
    EXPECT_EQ(image.hex_lines[128].substr(0, 9), ":1007F000");
    // cell 128 starts the record at 0x4300, the last record holds cells 128..130
    EXPECT_EQ(image.hex_lines[131 + 16].substr(0, 9), ":06430000");
    for (const auto& line : Lines(image)) {
        const std::string body = line.substr(1, line.size() - 3);
        EXPECT_EQ(RecordChecksum(body), line.substr(line.size() - 2)) << line;
        EXPECT_EQ(line.size(), 11 + 2 * static_cast<std::size_t>(HexByteValue(line.substr(1, 2)))) << line;
    }
    const FirmwareImage back = ReadBack(image);
    EXPECT_EQ(back.rom_cells, image.rom_cells);
    EXPECT_EQ(back.eeprom_cells, image.eeprom_cells);
    EXPECT_EQ(back.id_text, image.id_text);
    EXPECT_EQ(back.config_text, image.config_text);
    EXPECT_EQ(back.rom_last, image.rom_last);
    EXPECT_EQ(back.eeprom_last, image.eeprom_last);
}

TEST(WriteHexLines, OnlyFourIdCharactersAndShortIdsKeepTheirByteCount) {
    struct Case {
        std::string id;
        std::string record;  // empty: no ID record
    } cases[] = {
        {"13580000", ":084000000100030005000800A7"},
        {"1358", ":084000000100030005000800A7"},
        {"13", ":0440000001000300B8"},
        {"", ""},
    };
    for (const auto& c : cases) {
        FirmwareImage image;
        image.Reset();
        image.id_text = c.id;
        image.config_text = "CC01";
        ASSERT_GT(WriteHexLines(image), 0);
        const auto lines = Lines(image);
        const bool has_id = std::find(lines.begin(), lines.end(), c.record) != lines.end();
        if (c.record.empty()) {
            for (const auto& l : lines) EXPECT_NE(l.substr(0, 7), ":084000");
            EXPECT_EQ(lines.size(), 5u);
        } else {
            EXPECT_TRUE(has_id) << c.id;
        }
        const FirmwareImage back = ReadBack(image);
        EXPECT_EQ(back.id_text, c.id.substr(0, 4));
    }
}

TEST(WriteHexLines, DamagedCellOrConfigurationWritesNothing) {
    struct Case {
        const char* what;
        void (*damage)(FirmwareImage&);
    } cases[] = {
        {"non-hex cell", [](FirmwareImage& i) { i.rom_cells[3] = "ZZ"; }},
        {"short cell", [](FirmwareImage& i) { i.rom_cells[3] = "F"; }},
        {"empty EEPROM cell", [](FirmwareImage& i) { i.eeprom_cells[0] = ""; }},
        {"non-hex EEPROM cell", [](FirmwareImage& i) { i.eeprom_cells[0] = "G1"; }},
        {"cell given three characters", [](FirmwareImage& i) { i.rom_cells[5] = "3FF"; }},
        {"odd configuration", [](FirmwareImage& i) { i.config_text = "CC0"; }},
        {"non-hex configuration", [](FirmwareImage& i) { i.config_text = "CCXX"; }},
    };
    for (const auto& c : cases) {
        FirmwareImage image;
        image.Reset();
        image.id_text = "1358";
        image.config_text = "CC01";
        image.rom_last = 15;
        c.damage(image);
        Message failure;
        EXPECT_EQ(WriteHexLines(image, &failure), 0) << c.what;
        EXPECT_EQ(image.line_count, 0);
        EXPECT_EQ(failure.text, "Problem bei der Checksummen-Berechnung");
        EXPECT_EQ(failure.buttons, Buttons::Cancel);
    }
}

TEST(WriteHexLines, CellsAboveTheLastReadAreNotWritten) {
    test::Harness h;
    auto f = test::Firmware(0x8, test::FixtureImage::Protocol::Motorola);
    f.eeprom_last = 63;
    ASSERT_TRUE(h.Load(f));
    h.session.image().eeprom_cells[64] = "12";
    h.session.image().rom_cells[0x500] = "12";
    WriteHexLines(h.session.image());
    const FirmwareImage back = ReadBack(h.session.image());
    EXPECT_EQ(back.eeprom_last, 63);
    EXPECT_EQ(back.eeprom_cells[64], "FF");
    EXPECT_EQ(back.rom_cells[0x500], "FF");
}

// Files written by the program must satisfy an independent Intel HEX reader.
TEST(WriteHexLines, SrecCatAcceptsTheSavedFile) {
#ifdef _WIN32
    GTEST_SKIP() << "srec_cat is run on Linux only";
#else
    if (std::system("command -v srec_cat >/dev/null 2>&1") != 0) GTEST_SKIP() << "srec_cat missing";
    const std::string dir = test::TempDir();
    for (const char* name : {"klemmo_mm", "klemmo_dcc", "fdec_dcc", "blink_684"}) {
        test::Harness h;
        h.dialogs.fallback = Answer::Yes;
        ASSERT_TRUE(h.session.LoadHexFile(std::string(PARVEL_TEST_DATA) + "/" + name + ".hex")) << name;
        const std::string out = dir + "/" + name + ".hex";
        h.dialogs.save_names.push_back(out);
        ASSERT_EQ(h.session.Save(), DecoderDocument::SaveResult::Saved) << h.LastMessage();
        const std::string cmd = "srec_cat '" + out + "' -intel -o /dev/null";
        EXPECT_EQ(std::system(cmd.c_str()), 0) << out;
        std::ifstream in(out, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(text.substr(text.size() - 13), ":00000001FF\r\n");
    }
#endif
}

}  // namespace
}  // namespace parvel
