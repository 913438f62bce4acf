#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "settings/BlinkPatternTable.h"
#include "tests/Harness.h"
#include "image/HexWriter.h"
#include "settings/PatternStrip.h"

namespace parvel {
namespace {

using test::FixtureImage;
using Kind = EditOutcome::Kind;

// Word 0x300 + i of the fixture: table byte `low(i)` under a high byte that varies, so a write
// that touched a high byte would show.
uint16_t PatternWord(int i, int low) {
    const uint16_t high = (i % 3 == 0) ? 0x34 : (i % 3 == 1) ? 0x30 : 0x3F;
    return static_cast<uint16_t>(high << 8 | (low & 0xFF));
}

// A blink-pattern firmware whose table bytes are given by `bytes` (256 entries).
FixtureImage BlinkFirmware(const std::vector<int>& bytes) {
    FixtureImage f = test::Firmware(0x1, FixtureImage::Protocol::Motorola, "1001");
    for (int i = 0; i < 256; ++i) f.words[0x300 + i] = PatternWord(i, bytes[i]);
    f.rom_last_word = 0x3FF;
    return f;
}

// A table where every block has count `count`, stretch `stretch`, flags `flags` and no step set;
// the unused bytes hold marks (0xA0 + offset) so copies and writes of them show.
std::vector<int> PlainTable(int count, int stretch, int flags) {
    std::vector<int> t(256, 0);
    for (int n = 0; n < 4; ++n) {
        for (int j = 50; j < 64; ++j) t[64 * n + j] = 0xA0 + j - 50 + n;
        t[64 * n + 53] = count;
        t[64 * n + 54] = stretch;
        t[64 * n + 55] = flags;
    }
    return t;
}

struct Loaded {
    test::Harness h;
    BlinkPatternTable table;

    explicit Loaded(const std::vector<int>& bytes) {
        EXPECT_TRUE(h.Load(BlinkFirmware(bytes)));
        table.ReadTable(h.session.image());
        table.SetStripSize(410, 41);  // 400 pixels of steps
    }
    FirmwareImage& image() { return h.session.image(); }
};

// ---- table layout ----

TEST(BlinkPatternTable, TableLivesInTheLowBytesOfWords0x300To0x3FF) {
    BlinkPatternTable t;
    EXPECT_EQ(t.table_bytes(), 256);
    EXPECT_EQ(t.outputs(), 4);
    EXPECT_EQ(t.RomCellOf(0), 0x600);
    EXPECT_EQ(t.RomCellOf(1), 0x602);
    EXPECT_EQ(t.RomCellOf(255), 0x7FE);
}

TEST(BlinkPatternTable, ReadTableTakesEveryLowByte) {
    std::vector<int> bytes(256);
    for (int i = 0; i < 256; ++i) bytes[i] = (i * 37 + 11) & 0xFF;
    Loaded l(bytes);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(l.table.Byte(i), bytes[i]) << "byte " << i;
    EXPECT_FALSE(l.table.modified());
}

TEST(BlinkPatternTable, BlockFieldsOfTheSelectedBlock) {
    std::vector<int> bytes = PlainTable(10, 10, 0x00);
    // Block 2 ("Adresse 3"): count 7, stretch 3, loop and outputs 1 and 4 driven.
    bytes[128 + 53] = 7;
    bytes[128 + 54] = 3;
    bytes[128 + 55] = 0x91;
    bytes[128 + 4] = 0x05;  // step 5: outputs 1 and 3
    Loaded l(bytes);
    l.table.Select(2);
    const PatternParameters p = l.table.Parameters();
    EXPECT_EQ(p.count, 7);
    EXPECT_EQ(p.stretch, 3);
    EXPECT_TRUE(p.loop);
    EXPECT_EQ(p.used, (std::vector<bool>{true, false, false, true}));
    EXPECT_EQ(p.copy_enabled, (std::vector<bool>{true, true, false, true}));
    EXPECT_EQ(p.raster_text, "Zeit-Raster = 60 ms");
    EXPECT_EQ(p.total_text, "Gesamtzeit = 420 ms");
    EXPECT_TRUE(l.table.StepBit(2, 4, 0));
    EXPECT_FALSE(l.table.StepBit(2, 4, 1));
    EXPECT_TRUE(l.table.StepBit(2, 4, 2));
    EXPECT_FALSE(l.table.StepBit(2, 4, 3));
}

TEST(BlinkPatternTable, SelectOutsideTheFourBlocksIsIgnored) {
    BlinkPatternTable t;
    t.Select(3);
    t.Select(4);
    EXPECT_EQ(t.selected(), 3);
    t.Select(-1);
    EXPECT_EQ(t.selected(), 3);
}

// ---- round trips ----

TEST(BlinkPatternTable, TakingOverAnUneditedTableLeavesTheImageAsLoaded) {
    std::vector<int> bytes(256);
    for (int i = 0; i < 256; ++i) bytes[i] = (i * 101 + 7) & 0xFF;
    Loaded l(bytes);
    const auto before = l.image().rom_cells;
    l.table.WriteTable(l.image());
    for (int w = 0x300; w <= 0x3FF; ++w) {
        EXPECT_EQ(l.image().rom_cells[2 * w], before[2 * w]) << "word " << w;
        EXPECT_EQ(l.image().rom_cells[2 * w + 1], before[2 * w + 1]) << "word " << w;
    }
    EXPECT_EQ(l.image().rom_cells, before);
}

// The gpasm-built firmware: word 0x300 + i is retlw 0xFF - i.
TEST(BlinkPatternTable, RoundTripOfTheAssembledFirmware) {
    test::Harness h;
    ASSERT_TRUE(h.session.LoadHexFile(std::string(PARVEL_TEST_DATA) + "/blink_684.hex"));
    FirmwareImage& image = h.session.image();
    BlinkPatternTable t;
    t.ReadTable(image);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(t.Byte(i), 0xFF - i) << "byte " << i;
    // Block 0: count byte 0xCA and stretch byte 0xC9 lie above their ranges and show limited;
    // flags 0xC8 drive outputs 3 and 4, no loop.
    const PatternParameters p = t.Parameters();
    EXPECT_EQ(p.count, 50);
    EXPECT_EQ(p.stretch, 200);
    EXPECT_FALSE(p.loop);
    EXPECT_EQ(p.used, (std::vector<bool>{false, false, true, true}));

    const auto before = image.rom_cells;
    t.WriteTable(image);
    for (int w = 0x300; w <= 0x3FF; ++w) {
        EXPECT_EQ(image.rom_cells[2 * w], before[2 * w]) << "word " << w;
        EXPECT_EQ(image.rom_cells[2 * w + 1], "34") << "word " << w;
    }
    EXPECT_EQ(image.rom_cells, before);
}

// A cell whose text is no hex number (the reader stores what the file had) is not rewritten
// when its value was not edited.
TEST(BlinkPatternTable, UneditedCellsKeepTheirTextEvenWhenOdd) {
    FirmwareImage image;
    image.Reset();
    image.rom_cells[0x600 + 2 * 5] = "G1";  // reads as 0x71
    BlinkPatternTable t;
    t.ReadTable(image);
    EXPECT_EQ(t.Byte(5), 0x71);
    t.WriteTable(image);
    EXPECT_EQ(image.rom_cells[0x600 + 2 * 5], "G1");
}

TEST(BlinkPatternTable, WriteTableChangesOnlyTheEditedLowByteCells) {
    Loaded l(PlainTable(10, 10, 0xF0));
    const auto before = l.image().rom_cells;
    l.table.Select(1);
    ASSERT_TRUE(l.table.SetStepBit(3, 2, true));  // block 1, step 4, output 3: byte 67 bit 2
    ASSERT_EQ(l.table.EditStretch("25").kind, Kind::Stored);  // byte 64 + 54 = 118
    l.table.WriteTable(l.image());
    EXPECT_FALSE(l.table.modified());

    auto expected = before;
    expected[2 * (0x300 + 67)] = "04";
    expected[2 * (0x300 + 118)] = "19";
    EXPECT_EQ(l.image().rom_cells, expected);
}

// A file that ends before the table: the taken-over table still reaches the saved lines, and an
// unedited take-over does not make the file longer.
TEST(BlinkPatternTable, TableBeyondTheLoadedFileIsWrittenOnSave) {
    test::Harness h;
    FixtureImage f = test::Firmware(0x1, FixtureImage::Protocol::Motorola, "1001");
    f.rom_last_word = 0x7F;
    ASSERT_TRUE(h.Load(f));
    FirmwareImage& image = h.session.image();
    ASSERT_EQ(image.rom_last, 0xFF);
    BlinkPatternTable t;
    t.ReadTable(image);
    EXPECT_EQ(t.Byte(0), 0xFF);  // erased word 0x3FFF

    t.WriteTable(image);
    EXPECT_EQ(image.rom_last, 0xFF);

    ASSERT_TRUE(t.SetStepBit(0, 0, false));  // block 1, step 1, output 1 off: 0xFE
    t.WriteTable(image);
    EXPECT_EQ(image.rom_last, 0x7FF);  // high byte of word 0x3FF
    EXPECT_EQ(image.rom_cells[0x600], "FE");
    EXPECT_EQ(image.rom_cells[0x601], "3F");
    const int lines = WriteHexLines(image);
    ASSERT_GT(lines, 0);
    // The changed word is written whole; the table's words still erased stay gaps of the file.
    const std::vector<std::string> written(image.hex_lines.begin(), image.hex_lines.begin() + lines);
    EXPECT_NE(std::find(written.begin(), written.end(), ":02060000FE3FBB"), written.end());
    for (const auto& line : written) EXPECT_NE(line.substr(0, 5), ":1007") << line;
}

TEST(BlinkPatternTable, NothingReachesTheImageBeforeTakeOverAndDiscardRestores) {
    Loaded l(PlainTable(10, 10, 0xF0));
    const auto before = l.image().rom_cells;
    const std::vector<int> loaded = l.table.bytes();
    l.table.BeginDrag(0);
    EXPECT_TRUE(l.table.DragTo(5, 0));
    l.table.EndDrag();
    l.table.SetLoop(true);
    EXPECT_TRUE(l.table.modified());
    EXPECT_EQ(l.image().rom_cells, before);

    l.table.ReadTable(l.image());  // "Verwerfen"
    EXPECT_FALSE(l.table.modified());
    EXPECT_EQ(l.table.bytes(), loaded);
}

// ---- count and stretch ----

struct EditCase {
    const char* text;
    Kind kind;
    int stored;  // byte value after the edit
};

class BlinkCountEdit : public ::testing::TestWithParam<EditCase> {};

TEST_P(BlinkCountEdit, ClampsOrRejects) {
    const EditCase c = GetParam();
    Loaded l(PlainTable(10, 10, 0xF0));
    l.table.Select(2);
    const EditOutcome out = l.table.EditCount(c.text);
    EXPECT_EQ(out.kind, c.kind);
    EXPECT_EQ(l.table.BlockByte(2, 53), c.stored);
    EXPECT_EQ(l.table.modified(), c.kind == Kind::Stored);
    if (c.kind == Kind::Stored) {
        EXPECT_EQ(out.value, c.stored);
        EXPECT_EQ(l.table.Count(), c.stored);
    }
    if (c.kind == Kind::Rejected) {
        ASSERT_TRUE(out.message);
        EXPECT_EQ(*out.message,
                  (Message{"Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich 1..50",
                           Icon::Warning, Buttons::Cancel}));
    } else {
        EXPECT_FALSE(out.message);
    }
    for (int n : {0, 1, 3}) EXPECT_EQ(l.table.BlockByte(n, 53), 10) << "block " << n;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BlinkCountEdit,
    ::testing::Values(EditCase{"0", Kind::Stored, 1}, EditCase{"75", Kind::Stored, 50},
                      EditCase{"1", Kind::Stored, 1}, EditCase{"50", Kind::Stored, 50},
                      EditCase{"51", Kind::Stored, 50}, EditCase{"23", Kind::Stored, 23},
                      EditCase{"-4", Kind::Stored, 1}, EditCase{" 12 ", Kind::Stored, 12},
                      EditCase{"99999999999999999999", Kind::Stored, 50},
                      EditCase{"", Kind::Ignored, 10}, EditCase{"abc", Kind::Rejected, 10},
                      EditCase{"1,5", Kind::Rejected, 10}, EditCase{"-", Kind::Rejected, 10},
                      EditCase{"12a", Kind::Rejected, 10}, EditCase{"0x10", Kind::Rejected, 10}));

class BlinkStretchEdit : public ::testing::TestWithParam<EditCase> {};

TEST_P(BlinkStretchEdit, ClampsOrRejects) {
    const EditCase c = GetParam();
    Loaded l(PlainTable(10, 10, 0xF0));
    const EditOutcome out = l.table.EditStretch(c.text);
    EXPECT_EQ(out.kind, c.kind);
    EXPECT_EQ(l.table.BlockByte(0, 54), c.stored);
    EXPECT_EQ(l.table.BlockByte(0, 53), 10);
    if (c.kind == Kind::Stored) {
        EXPECT_EQ(out.value, c.stored);
    }
    if (c.kind == Kind::Rejected) {
        ASSERT_TRUE(out.message);
        EXPECT_EQ(out.message->text,
                  "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich 1..200");
        EXPECT_EQ(out.message->buttons, Buttons::Cancel);
        EXPECT_EQ(out.message->icon, Icon::Warning);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BlinkStretchEdit,
    ::testing::Values(EditCase{"0", Kind::Stored, 1}, EditCase{"200", Kind::Stored, 200},
                      EditCase{"201", Kind::Stored, 200}, EditCase{"150", Kind::Stored, 150},
                      EditCase{"", Kind::Ignored, 10}, EditCase{"zehn", Kind::Rejected, 10}));

TEST(BlinkPatternTable, TimeTexts) {
    struct Case {
        const char* stretch;
        const char* count;
        const char* raster;
        const char* total;
    } cases[] = {
        {"10", "10", "Zeit-Raster = 200 ms", "Gesamtzeit = 2000 ms"},
        {"1", "1", "Zeit-Raster = 20 ms", "Gesamtzeit = 20 ms"},
        {"200", "50", "Zeit-Raster = 4000 ms", "Gesamtzeit = 200000 ms"},
        {"0", "75", "Zeit-Raster = 20 ms", "Gesamtzeit = 1000 ms"},
    };
    for (const Case& c : cases) {
        Loaded l(PlainTable(5, 5, 0));
        l.table.EditStretch(c.stretch);
        l.table.EditCount(c.count);
        EXPECT_EQ(l.table.RasterText(), c.raster) << c.stretch << " " << c.count;
        EXPECT_EQ(l.table.TotalText(), c.total) << c.stretch << " " << c.count;
    }
}

// Stored bytes outside their ranges (an erased table holds FF) show limited, the time texts
// say what was stored and what it becomes, and taking the edited table over writes the limited
// values of every block.
TEST(BlinkPatternTable, OutOfRangeBytesAreNamedAndWrittenAsShown) {
    struct Case {
        int count, stretch;
        int shown_count, shown_stretch;
        const char* raster;
        const char* total;
    } cases[] = {
        {255, 255, 50, 200, "gespeichert: 255, wird 200", "gespeichert: 255, wird 50"},
        {0, 0, 1, 1, "gespeichert: 0, wird 1", "gespeichert: 0, wird 1"},
        {51, 10, 50, 10, "Zeit-Raster = 200 ms", "gespeichert: 51, wird 50"},
        {50, 201, 50, 200, "gespeichert: 201, wird 200", "Gesamtzeit = 200000 ms"},
        {1, 200, 1, 200, "Zeit-Raster = 4000 ms", "Gesamtzeit = 4000 ms"},
    };
    for (const Case& c : cases) {
        Loaded l(PlainTable(c.count, c.stretch, 0));
        EXPECT_EQ(l.table.Count(), c.shown_count) << c.count;
        EXPECT_EQ(l.table.Stretch(), c.shown_stretch) << c.stretch;
        EXPECT_EQ(l.table.RasterText(), c.raster) << c.stretch;
        EXPECT_EQ(l.table.TotalText(), c.total) << c.count;
        l.table.SetLoop(true);
        l.table.WriteTable(l.image());
        for (int n = 0; n < 4; ++n) {
            EXPECT_EQ(HexByteValue(l.image().rom_cells[l.table.RomCellOf(64 * n + 53)]), c.shown_count);
            EXPECT_EQ(HexByteValue(l.image().rom_cells[l.table.RomCellOf(64 * n + 54)]),
                      c.shown_stretch);
        }
    }
}

// ---- flags ----

TEST(BlinkPatternTable, LoopAndOutputBoxesChangeOnlyTheirBit) {
    Loaded l(PlainTable(10, 10, 0xA2));  // 1010 0010: outputs 2 and 4, no loop, bit 1 kept
    l.table.Select(1);
    l.table.SetLoop(true);
    EXPECT_EQ(l.table.BlockByte(1, 55), 0xA3);
    l.table.SetOutputUsed(0, true);  // bit 4
    EXPECT_EQ(l.table.BlockByte(1, 55), 0xB3);
    l.table.SetOutputUsed(2, false);  // bit 6, clear already
    EXPECT_EQ(l.table.BlockByte(1, 55), 0xB3);
    l.table.SetOutputUsed(3, false);  // bit 7
    EXPECT_EQ(l.table.BlockByte(1, 55), 0x33);
    l.table.SetLoop(false);
    EXPECT_EQ(l.table.BlockByte(1, 55), 0x32);
    EXPECT_EQ(l.table.Parameters().used, (std::vector<bool>{true, true, false, false}));
    for (int n : {0, 2, 3}) EXPECT_EQ(l.table.BlockByte(n, 55), 0xA2);
    EXPECT_TRUE(l.table.modified());
}

TEST(BlinkPatternTable, HiddenStripKeepsItsSteps) {
    std::vector<int> bytes = PlainTable(10, 10, 0xF0);
    bytes[2] = 0x02;  // step 3, output 2
    bytes[7] = 0x0F;  // step 8, all outputs
    Loaded l(bytes);
    const StripPaint shown = l.table.Paint(1);
    ASSERT_TRUE(shown.visible);
    ASSERT_EQ(shown.steps.size(), 2u);

    l.table.SetOutputUsed(1, false);
    EXPECT_FALSE(l.table.Paint(1).visible);
    EXPECT_TRUE(l.table.Paint(0).visible);
    EXPECT_EQ(l.table.Byte(2), 0x02);
    EXPECT_EQ(l.table.Byte(7), 0x0F);

    l.table.SetOutputUsed(1, true);
    const StripPaint again = l.table.Paint(1);
    EXPECT_TRUE(again.visible);
    EXPECT_EQ(again.steps, shown.steps);
}

// ---- copy ----

TEST(BlinkPatternTable, CopyTakesTheWhole64ByteBlock) {
    std::vector<int> bytes(256);
    for (int i = 0; i < 256; ++i) bytes[i] = (i * 13 + 1) & 0xFF;
    Loaded l(bytes);
    l.table.Select(2);  // "Adresse 3"
    EXPECT_FALSE(l.table.CopyEnabled(2));
    EXPECT_TRUE(l.table.CopyFrom(0));  // "von #1"
    for (int j = 0; j < 64; ++j) EXPECT_EQ(l.table.BlockByte(2, j), bytes[j]) << "offset " << j;
    for (int i : {0, 63, 64, 127, 192, 255}) EXPECT_EQ(l.table.Byte(i), bytes[i]) << "byte " << i;
    EXPECT_TRUE(l.table.modified());
}

TEST(BlinkPatternTable, CopyOntoItselfOrFromNowhereChangesNothing) {
    std::vector<int> bytes(256);
    for (int i = 0; i < 256; ++i) bytes[i] = i;
    Loaded l(bytes);
    l.table.Select(3);
    EXPECT_FALSE(l.table.CopyFrom(3));
    EXPECT_FALSE(l.table.CopyFrom(4));
    EXPECT_FALSE(l.table.CopyFrom(-1));
    EXPECT_EQ(l.table.bytes(), bytes);
    EXPECT_FALSE(l.table.modified());
}

// ---- strip geometry ----

TEST(PatternStrip, WidthsAndScales) {
    EXPECT_EQ(StripWidth(460, 40), 410);  // frame width - left 40 - 10
    EXPECT_EQ(StripWidth(30, 40), 0);
    EXPECT_DOUBLE_EQ(StepWidth(410, 10), 40.0);
    EXPECT_DOUBLE_EQ(StepWidth(410, 50), 8.0);
    EXPECT_DOUBLE_EQ(StepWidth(410, 3), 400.0 / 3);
    EXPECT_DOUBLE_EQ(StepWidth(10, 5), 0.0);
    EXPECT_DOUBLE_EQ(StepWidth(410, 0), 0.0);
    EXPECT_DOUBLE_EQ(LevelScale(41), 41.0 / 128);
    EXPECT_DOUBLE_EQ(LevelScale(38), 38.0 / 128);
}

// The upper 78/128 of a strip switch a step on: level (h - y) * 128 / h above 50.
TEST(PatternStrip, LevelBoundary) {
    struct Case {
        int height;
        int y;
        bool on;
    } cases[] = {
        // h = 41: (41 - y) * 128 / 41 > 50  <=>  y < 24.98
        {41, 0, true},
        {41, 24, true},
        {41, 25, false},
        {41, 40, false},
        {41, -30, true},
        {41, 500, false},
        // h = 38: (38 - y) * 128 / 38 > 50  <=>  y < 23.16
        {38, 23, true},
        {38, 24, false},
        {38, 37, false},
        // exactly level 50 (h = 128, y = 78) is not above 50
        {128, 77, true},
        {128, 78, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SwitchesOn(c.y, c.height), c.on) << "h " << c.height << " y " << c.y;
    }
    EXPECT_FALSE(SwitchesOn(0, 0));
}

TEST(PatternStrip, StepIndexAtPixelBoundaries) {
    struct Case {
        int x;
        double width;
        int last;
        int index;
    } cases[] = {
        {0, 40.0, 9, 0},
        {39, 40.0, 9, 0},
        {40, 40.0, 9, 1},
        {79, 40.0, 9, 1},
        {80, 40.0, 9, 2},
        {399, 40.0, 9, 9},
        {400, 40.0, 9, 9},
        {409, 40.0, 9, 9},
        {100000, 40.0, 9, 9},
        {-1, 40.0, 9, 0},
        {-39, 40.0, 9, 0},
        {-41, 40.0, 9, 0},
        {-2000000000, 40.0, 9, 0},
        {133, 400.0 / 3, 2, 0},
        {134, 400.0 / 3, 2, 1},
        {266, 400.0 / 3, 2, 1},
        {267, 400.0 / 3, 2, 2},
        {400, 400.0 / 3, 2, 2},
        {409, 4.0, 99, 99},
        {396, 4.0, 99, 99},
        {395, 4.0, 99, 98},
        {5, 0.0, 9, 9},
        {0, 0.0, 9, 0},
        {-5, 0.0, 9, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StepIndexAt(c.x, c.width, 0, c.last), c.index)
            << "x " << c.x << " width " << c.width;
    }
}

TEST(PatternStrip, StepRectangles) {
    // h = 41: top = trunc(41 - 100 * 41/128) = trunc(8.97) = 8; h = 38: trunc(8.31) = 8.
    EXPECT_EQ(StepRect(0, 40.0, 41), (StripRect{0, 8, 40, 41}));
    EXPECT_EQ(StepRect(3, 40.0, 41), (StripRect{120, 8, 160, 41}));
    EXPECT_EQ(StepRect(1, 400.0 / 3, 41), (StripRect{133, 8, 266, 41}));
    EXPECT_EQ(StepRect(2, 400.0 / 3, 38), (StripRect{266, 8, 400, 38}));
}

TEST(BlinkPatternTable, PaintShowsCountedStepsOnly) {
    std::vector<int> bytes = PlainTable(10, 10, 0x30);  // outputs 1 and 2 driven
    bytes[3] = 0x01;                                    // step 4, output 1
    bytes[9] = 0x03;                                    // step 10, outputs 1 and 2
    bytes[20] = 0x01;                                   // step 21: beyond the count
    Loaded l(bytes);
    const StripPaint p = l.table.Paint(0);
    EXPECT_TRUE(p.visible);
    EXPECT_EQ(p.width, 410);
    EXPECT_EQ(p.height, 41);
    EXPECT_EQ(p.background, (StripColour{255, 255, 255}));
    EXPECT_EQ(p.step_fill, (StripColour{255, 0, 0}));
    EXPECT_EQ(p.step_outline, (StripColour{0, 0, 0}));
    EXPECT_EQ(p.steps, (std::vector<StripRect>{{120, 8, 160, 41}, {360, 8, 400, 41}}));
    EXPECT_EQ(l.table.Paint(1).steps, (std::vector<StripRect>{{360, 8, 400, 41}}));
    EXPECT_FALSE(l.table.Paint(2).visible);
    EXPECT_TRUE(l.table.Paint(2).steps.empty());
}

// ---- mouse drawing ----

TEST(BlinkPatternTable, DragSetsInTheUpperAndClearsInTheLowerPart) {
    Loaded l(PlainTable(10, 10, 0xF0));
    l.table.BeginDrag(2);
    EXPECT_FALSE(l.table.modified());  // a press alone changes nothing
    for (int x = 40; x < 160; x += 7) EXPECT_TRUE(l.table.DragTo(x, 5));
    for (int s = 0; s < 10; ++s) {
        EXPECT_EQ(l.table.Byte(s), (s >= 1 && s <= 3) ? 0x04 : 0) << "step " << s;
    }
    EXPECT_TRUE(l.table.modified());
    EXPECT_TRUE(l.table.DragTo(85, 30));  // step 3, lower part
    EXPECT_EQ(l.table.Byte(2), 0);
    EXPECT_EQ(l.table.Byte(1), 0x04);
    l.table.EndDrag();
    EXPECT_FALSE(l.table.DragTo(200, 5));
    EXPECT_EQ(l.table.Byte(5), 0);
}

TEST(BlinkPatternTable, OnlyTheStripWhereTheDragStartedChanges) {
    std::vector<int> bytes = PlainTable(10, 10, 0xF0);
    for (int s = 0; s < 50; ++s) bytes[s] = 0xF5;  // outputs 1 and 3 on, unused bits set
    Loaded l(bytes);
    l.table.BeginDrag(0);
    // The pointer wanders down over where the other strips lie: still strip 1's coordinates.
    for (int y = 30; y < 200; y += 20) l.table.DragTo(45, y);
    l.table.EndDrag();
    EXPECT_EQ(l.table.Byte(1), 0xF4);
    for (int s = 0; s < 64; ++s) {
        if (s != 1) {
            EXPECT_EQ(l.table.Byte(s), bytes[s]) << "byte " << s;
        }
    }
}

TEST(BlinkPatternTable, DragWithoutPressDoesNothing) {
    Loaded l(PlainTable(10, 10, 0xF0));
    EXPECT_FALSE(l.table.DragTo(50, 5));
    l.table.BeginDrag(4);  // there is no fifth strip
    EXPECT_FALSE(l.table.dragging());
    EXPECT_FALSE(l.table.DragTo(50, 5));
    EXPECT_FALSE(l.table.modified());
    EXPECT_EQ(l.table.Byte(1), 0);
}

// Pointer positions outside the counted steps land on the first or last counted step and never
// on another byte.
TEST(BlinkPatternTable, PointerOutsideTheStepsStaysInTheBlock) {
    struct Case {
        int count_byte;  // as stored in the image
        int strip_width;
        int x;
        int step;  // changed step
    } cases[] = {
        {10, 410, 400, 9},
        {10, 410, 409, 9},
        {10, 410, 5000, 9},
        {10, 410, -1, 0},
        {10, 410, -5000, 0},
        {50, 410, 100000, 49},
        {0xFF, 410, 100000, 49},  // erased table: count
                                  // shows 50, still
                                  // only steps 0..49
        {0, 410, 100000, 0},      // count 0 shows 1: only step 1
        {10, 0, 300, 9},          // strip not sized yet: no division by zero
        {10, 5, -300, 0},
    };
    for (const Case& c : cases) {
        std::vector<int> bytes = PlainTable(c.count_byte, 10, 0xF0);
        Loaded l(bytes);
        l.table.SetStripSize(c.strip_width, 41);
        l.table.Select(3);  // the last block: a stray index would leave the table
        l.table.BeginDrag(3);
        EXPECT_TRUE(l.table.DragTo(c.x, 0));
        std::vector<int> expected = bytes;
        expected[192 + c.step] |= 0x08;
        EXPECT_EQ(l.table.bytes(), expected) << "count " << c.count_byte << " x " << c.x;
    }
}

TEST(BlinkPatternTable, SetStepBitRefusesStepsOutsideTheStepBytes) {
    Loaded l(PlainTable(10, 10, 0xF0));
    const std::vector<int> before = l.table.bytes();
    EXPECT_FALSE(l.table.SetStepBit(50, 0, true));
    EXPECT_FALSE(l.table.SetStepBit(-1, 0, true));
    EXPECT_FALSE(l.table.SetStepBit(0, 4, true));
    EXPECT_EQ(l.table.bytes(), before);
    EXPECT_FALSE(l.table.modified());
    EXPECT_TRUE(l.table.SetStepBit(49, 3, true));
    EXPECT_EQ(l.table.Byte(49), 0x08);
}

}  // namespace
}  // namespace parvel
