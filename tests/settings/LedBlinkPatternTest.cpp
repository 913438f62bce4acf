#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/Harness.h"
#include "settings/LedBlinkPatternTable.h"

namespace parvel {
namespace {

using test::FixtureImage;
using Kind = EditOutcome::Kind;

// An LED blink-pattern firmware whose table bytes (1024) fill words 0x300..0x6FF, under high
// bytes that vary so a write that touched one would show.
FixtureImage LedFirmware(const std::vector<int>& bytes) {
    FixtureImage f = test::Firmware(0xDD, FixtureImage::Protocol::Dcc, "D001");
    for (int i = 0; i < 1024; ++i) {
        const uint16_t high = (i % 2) ? 0x34 : 0x2A;
        f.words[0x300 + i] = static_cast<uint16_t>(high << 8 | (bytes[i] & 0xFF));
    }
    f.rom_last_word = 0x6FF;
    return f;
}

// Every block: no step set, count/stretch/flags as given, the unused bytes 104..127 and
// 228..255 marked (0x40 + offset % 64 + block) so copies and writes of them show.
std::vector<int> PlainLedTable(int count, int stretch, int flags, int flags2) {
    std::vector<int> t(1024, 0);
    for (int n = 0; n < 4; ++n) {
        const int b = 256 * n;
        for (int j = 104; j < 128; ++j) t[b + j] = 0x40 + j % 64 + n;
        for (int j = 228; j < 256; ++j) t[b + j] = 0x40 + j % 64 + n;
        t[b + 100] = flags;
        t[b + 101] = count;
        t[b + 102] = stretch;
        t[b + 103] = flags2;
    }
    return t;
}

struct LedLoaded {
    test::Harness h;
    LedBlinkPatternTable table;

    explicit LedLoaded(const std::vector<int>& bytes) {
        EXPECT_TRUE(h.Load(LedFirmware(bytes)));
        table.ReadTable(h.session.image());
        table.SetStripSize(410, 38);  // 400 pixels of steps
    }
    FirmwareImage& image() { return h.session.image(); }
};

// ---- table layout ----

TEST(LedBlinkPatternTable, FourBlocksOf256BytesOverWords0x300To0x6FF) {
    LedBlinkPatternTable t;
    EXPECT_EQ(t.table_bytes(), 1024);
    EXPECT_EQ(t.outputs(), 10);
    EXPECT_EQ(t.strip_height(), 38);
    struct Case {
        int block;
        int offset;
        int word;
    } cases[] = {{0, 0, 0x300}, {0, 255, 0x3FF}, {1, 0, 0x400}, {2, 128, 0x580}, {3, 255, 0x6FF}};
    for (const Case& c : cases) {
        EXPECT_EQ(t.RomCellOf(256 * c.block + c.offset), 2 * c.word)
            << "block " << c.block << " byte " << c.offset;
    }
}

TEST(LedBlinkPatternTable, ParametersComeFromBytes100To103) {
    std::vector<int> bytes = PlainLedTable(10, 10, 0x00, 0x00);
    const int b = 256 * 1;  // "Adresse 2"
    bytes[b + 100] = 0x51;  // loop, output 1 and output 3
    bytes[b + 101] = 12;
    bytes[b + 102] = 7;
    bytes[b + 103] = 0x22;  // outputs 6 and 10
    LedLoaded l(bytes);
    l.table.Select(1);
    const PatternParameters p = l.table.Parameters();
    EXPECT_EQ(p.count, 12);
    EXPECT_EQ(p.stretch, 7);
    EXPECT_TRUE(p.loop);
    EXPECT_EQ(p.used, (std::vector<bool>{true, false, true, false, false, true, false, false, false,
                                         true}));
    EXPECT_EQ(p.copy_enabled, (std::vector<bool>{true, false, true, true}));
    EXPECT_EQ(p.raster_text, "Zeit-Raster = 140 ms");
    EXPECT_EQ(p.total_text, "Gesamtzeit = 1680 ms");
}

TEST(LedBlinkPatternTable, OutputsFiveToTenUseTheSecondStepByte) {
    std::vector<int> bytes = PlainLedTable(10, 10, 0xF0, 0x3F);
    bytes[512 + 4] = 0x04;        // block 2, step 5: output 3
    bytes[512 + 128 + 4] = 0x21;  // block 2, step 5: outputs 5 and 10
    LedLoaded l(bytes);
    for (int k = 0; k < 10; ++k) {
        const bool on = k == 2 || k == 4 || k == 9;
        EXPECT_EQ(l.table.StepBit(2, 4, k), on) << "output " << k + 1;
        EXPECT_FALSE(l.table.StepBit(1, 4, k)) << "output " << k + 1;
    }
    l.table.Select(3);
    EXPECT_TRUE(l.table.SetStepBit(99, 6, true));  // step 100, output 7: byte 128 + 99, bit 2
    EXPECT_TRUE(l.table.SetStepBit(0, 3, true));   // step 1, output 4: byte 0, bit 3
    EXPECT_EQ(l.table.BlockByte(3, 227), 0x04);
    EXPECT_EQ(l.table.BlockByte(3, 0), 0x08);
    EXPECT_FALSE(l.table.SetStepBit(100, 6, true));
    EXPECT_FALSE(l.table.SetStepBit(0, 10, true));
}

// ---- round trips ----

TEST(LedBlinkPatternTable, TakingOverAnUneditedTableLeavesTheImageAsLoaded) {
    std::vector<int> bytes(1024);
    for (int i = 0; i < 1024; ++i) bytes[i] = (i * 59 + 3) & 0xFF;
    LedLoaded l(bytes);
    for (int i = 0; i < 1024; ++i) ASSERT_EQ(l.table.Byte(i), bytes[i]) << "byte " << i;
    const auto before = l.image().rom_cells;
    l.table.WriteTable(l.image());
    for (int w = 0x300; w <= 0x6FF; ++w) {
        EXPECT_EQ(l.image().rom_cells[2 * w], before[2 * w]) << "word " << w;
        EXPECT_EQ(l.image().rom_cells[2 * w + 1], before[2 * w + 1]) << "word " << w;
    }
    EXPECT_EQ(l.image().rom_cells, before);
}

// The assembled four-output firmware ends at word 0x3FF: the rest of the LED table reads as
// erased words and must stay so.
TEST(LedBlinkPatternTable, RoundTripOfAnImageWithErasedWords) {
    test::Harness h;
    ASSERT_TRUE(h.session.LoadHexFile(std::string(PARVEL_TEST_DATA) + "/blink_684.hex"));
    FirmwareImage& image = h.session.image();
    LedBlinkPatternTable t;
    t.ReadTable(image);
    EXPECT_EQ(t.Byte(0), 0xFF);
    EXPECT_EQ(t.Byte(255), 0x00);
    EXPECT_EQ(t.Byte(256), 0xFF);
    const auto before = image.rom_cells;
    t.WriteTable(image);
    EXPECT_EQ(image.rom_cells, before);
    EXPECT_EQ(image.rom_cells[2 * 0x500], "FF");
    EXPECT_EQ(image.rom_cells[2 * 0x500 + 1], "3F");
}

TEST(LedBlinkPatternTable, EditedTableJoinsTheWrittenRange) {
    test::Harness h;
    FixtureImage f = test::Firmware(0xDD, FixtureImage::Protocol::Dcc, "D001");
    f.rom_last_word = 0x3FF;
    ASSERT_TRUE(h.Load(f));
    FirmwareImage& image = h.session.image();
    ASSERT_EQ(image.rom_last, 0x7FF);
    LedBlinkPatternTable t;
    t.ReadTable(image);
    t.WriteTable(image);
    EXPECT_EQ(image.rom_last, 0x7FF);
    t.Select(3);
    ASSERT_EQ(t.EditCount("20").kind, Kind::Stored);
    t.WriteTable(image);
    EXPECT_EQ(image.rom_last, 2 * 0x6FF + 1);
    EXPECT_EQ(image.rom_cells[2 * (0x600 + 101)], "14");
}

TEST(LedBlinkPatternTable, WriteTableChangesOnlyTheEditedLowByteCells) {
    LedLoaded l(PlainLedTable(10, 10, 0xF0, 0x3F));
    const auto before = l.image().rom_cells;
    l.table.Select(2);
    l.table.EditCount("33");                      // block 2 byte 101: word 0x565
    l.table.SetOutputUsed(7, false);              // output 8: byte 103 bit 3, word 0x567
    ASSERT_TRUE(l.table.SetStepBit(5, 8, true));  // output 9: byte 128 + 5 bit 4, word 0x585
    l.table.WriteTable(l.image());
    auto expected = before;
    expected[2 * 0x565] = "21";
    expected[2 * 0x567] = "37";
    expected[2 * 0x585] = "10";
    EXPECT_EQ(l.image().rom_cells, expected);
    EXPECT_FALSE(l.table.modified());
}

// ---- edits ----

struct EditCase {
    const char* text;
    Kind kind;
    int stored;
};

TEST(LedBlinkPatternTable, CountRange1To100) {
    const EditCase cases[] = {{"150", Kind::Stored, 100}, {"0", Kind::Stored, 1},
                              {"100", Kind::Stored, 100}, {"101", Kind::Stored, 100},
                              {"64", Kind::Stored, 64},   {"", Kind::Ignored, 10},
                              {"x", Kind::Rejected, 10}};
    for (const EditCase& c : cases) {
        LedLoaded l(PlainLedTable(10, 10, 0xF0, 0x3F));
        l.table.Select(3);
        const EditOutcome out = l.table.EditCount(c.text);
        EXPECT_EQ(out.kind, c.kind) << c.text;
        EXPECT_EQ(l.table.BlockByte(3, 101), c.stored) << c.text;
        EXPECT_EQ(l.table.BlockByte(3, 102), 10) << c.text;
        if (c.kind == Kind::Rejected) {
            ASSERT_TRUE(out.message);
            EXPECT_EQ(*out.message, (Message{"Ungültige Eingabe.\rZugelassen sind nur Zahlen "
                                             "im Werte-Bereich 1..100",
                                             Icon::Warning, Buttons::Cancel}));
        }
    }
}

TEST(LedBlinkPatternTable, StretchRange1To200) {
    const EditCase cases[] = {{"250", Kind::Stored, 200},
                              {"0", Kind::Stored, 1},
                              {"199", Kind::Stored, 199},
                              {"1.5", Kind::Rejected, 10}};
    for (const EditCase& c : cases) {
        LedLoaded l(PlainLedTable(10, 10, 0xF0, 0x3F));
        const EditOutcome out = l.table.EditStretch(c.text);
        EXPECT_EQ(out.kind, c.kind) << c.text;
        EXPECT_EQ(l.table.BlockByte(0, 102), c.stored) << c.text;
        EXPECT_EQ(l.table.BlockByte(0, 101), 10) << c.text;
        if (c.kind == Kind::Rejected) {
            ASSERT_TRUE(out.message);
            EXPECT_EQ(out.message->text,
                      "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich 1..200");
        }
    }
}

TEST(LedBlinkPatternTable, UseBoxesSetBitsInBytes100And103OfTheSelectedBlock) {
    struct Case {
        int output;  // 0-based: output 7 is 6
        bool on;
        int byte100;
        int byte103;
    } cases[] = {
        {6, false, 0xF1, 0x3B},  // output 7: byte 103 bit 2
        {0, false, 0xE1, 0x3F},  // output 1: byte 100 bit 4
        {3, false, 0x71, 0x3F},  // output 4: byte 100 bit 7
        {4, false, 0xF1, 0x3E},  // output 5: byte 103 bit 0
        {9, false, 0xF1, 0x1F},  // output 10: byte 103 bit 5
        {9, true, 0xF1, 0x3F},
    };
    for (const Case& c : cases) {
        LedLoaded l(PlainLedTable(10, 10, 0xF1, 0x3F));
        l.table.Select(1);
        l.table.SetOutputUsed(c.output, c.on);
        EXPECT_EQ(l.table.BlockByte(1, 100), c.byte100) << "output " << c.output + 1;
        EXPECT_EQ(l.table.BlockByte(1, 103), c.byte103) << "output " << c.output + 1;
        for (int n : {0, 2, 3}) {
            EXPECT_EQ(l.table.BlockByte(n, 100), 0xF1);
            EXPECT_EQ(l.table.BlockByte(n, 103), 0x3F);
        }
        EXPECT_EQ(l.table.Paint(c.output).visible, c.on);
        EXPECT_TRUE(l.table.modified());
    }
}

TEST(LedBlinkPatternTable, CopyTakes255BytesAndKeepsByte255) {
    std::vector<int> bytes(1024);
    for (int i = 0; i < 1024; ++i) bytes[i] = (i * 7 + i / 256) & 0xFF;
    LedLoaded l(bytes);
    l.table.Select(3);                 // "Adresse 4"
    ASSERT_TRUE(l.table.CopyFrom(1));  // "von #2"
    for (int j = 0; j < 255; ++j) {
        EXPECT_EQ(l.table.BlockByte(3, j), bytes[256 + j]) << "offset " << j;
    }
    EXPECT_EQ(l.table.BlockByte(3, 255), bytes[768 + 255]);
    EXPECT_NE(bytes[768 + 255], bytes[256 + 255]);  // the test would see a copied byte 255
    for (int i = 0; i < 768; ++i) ASSERT_EQ(l.table.Byte(i), bytes[i]) << "byte " << i;
    EXPECT_FALSE(l.table.CopyFrom(3));
}

// ---- drawing ----

TEST(LedBlinkPatternTable, PaintUsesTheRightByteForEachStrip) {
    std::vector<int> bytes = PlainLedTable(4, 10, 0xF0, 0x3F);  // 400 / 4 = 100 pixels a step
    bytes[1] = 0x01;                                            // step 2, output 1
    bytes[128 + 2] = 0x20;                                      // step 3, output 10
    bytes[128 + 7] = 0x20;  // step 8, beyond the count: stored, not drawn
    bytes[128 + 3] = 0x01;  // step 4, output 5
    LedLoaded l(bytes);
    // h = 38: top = trunc(38 - 100 * 38 / 128) = trunc(8.31) = 8.
    EXPECT_EQ(l.table.Paint(0).steps, (std::vector<StripRect>{{100, 8, 200, 38}}));
    EXPECT_EQ(l.table.Paint(9).steps, (std::vector<StripRect>{{200, 8, 300, 38}}));
    EXPECT_EQ(l.table.Paint(4).steps, (std::vector<StripRect>{{300, 8, 400, 38}}));
    EXPECT_TRUE(l.table.Paint(1).steps.empty());
    EXPECT_EQ(l.table.Paint(9).height, 38);
}

TEST(LedBlinkPatternTable, DragRightOfTheLastStepIsStoredButNotDrawn) {
    LedLoaded l(PlainLedTable(10, 10, 0xF0, 0x3F));  // 40 pixels a step
    const StripPaint before = l.table.Paint(5);
    l.table.BeginDrag(5);  // strip 6
    for (int x = 420; x <= 520; x += 10) EXPECT_TRUE(l.table.DragTo(x, 2));
    l.table.EndDrag();
    for (int j = 0; j < 100; ++j) {
        const int expected = (j >= 10 && j <= 13) ? 0x02 : 0;
        EXPECT_EQ(l.table.BlockByte(0, 128 + j), expected) << "step " << j + 1;
    }
    EXPECT_EQ(l.table.Paint(5).steps, before.steps);
    EXPECT_TRUE(l.table.modified());

    l.table.WriteTable(l.image());
    EXPECT_EQ(l.image().rom_cells[2 * (0x300 + 128 + 10)], "02");
    EXPECT_EQ(l.image().rom_cells[2 * (0x300 + 128 + 13)], "02");
    EXPECT_EQ(l.image().rom_cells[2 * (0x300 + 128 + 14)], "00");
}

TEST(LedBlinkPatternTable, PointerPositionsStayWithinTheHundredSteps) {
    struct Case {
        int output;
        int x;
        int offset;  // changed byte of the block
        int bit;
    } cases[] = {
        {0, -1, 0, 0},  // left of strip 1: step 1
        {0, -100000, 0, 0},
        {9, 100000, 227, 5},  // far right: step 100, never byte 228 or
                              // beyond
        {3, 100000, 99, 3},   // never byte 100 (the flags)
        {4, 3999, 128 + 99, 0},
        {4, 3960, 128 + 99, 0},
        {4, 3959, 128 + 98, 0},
    };
    for (const Case& c : cases) {
        const std::vector<int> bytes = PlainLedTable(10, 10, 0xF0, 0x3F);
        LedLoaded l(bytes);
        l.table.Select(3);
        l.table.BeginDrag(c.output);
        EXPECT_TRUE(l.table.DragTo(c.x, 0));
        std::vector<int> expected = bytes;
        expected[768 + c.offset] |= 1 << c.bit;
        EXPECT_EQ(l.table.bytes(), expected) << "output " << c.output << " x " << c.x;
    }
}

// ---- set-up layout ----

TEST(LedFrameLayout, SetUpPlacesTheControls) {
    LedFrameGeometry form;
    for (int k = 0; k < 10; ++k) form.strips[k] = {40, 100 + 45 * k, 300, 38};
    form.address_buttons = {ControlPlace{8, 16, 70, 17}, ControlPlace{8, 34, 60, 17},
                            ControlPlace{8, 52, 60, 17}, ControlPlace{8, 70, 60, 17}};
    form.address_group = {5, 600, 200, 95};
    form.loop = {250, 610, 60, 17};
    form.stretch_label = {10, 700, 75, 13};
    form.stretch_edit = {0, 696, 40, 21};
    form.stretch_spinner = {0, 696, 16, 21};
    form.count_label = {0, 700, 70, 13};
    form.count_edit = {0, 696, 41, 21};
    form.count_spinner = {0, 696, 15, 21};
    form.info1 = {0, 692, 100, 13};
    form.info2 = {0, 708, 100, 13};
    form.copy_label = {12, 740, 80, 13};
    form.copy_buttons = {ControlPlace{0, 730, 50, 25}, ControlPlace{0, 730, 55, 25},
                         ControlPlace{0, 730, 60, 25}, ControlPlace{0, 730, 65, 25}};
    form.discard = {300, 760, 75, 25};

    const LedFrameGeometry g = LayOutLedFrame(form, 600);

    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(g.strips[k], (ControlPlace{40, 100 + 45 * k, 550, 38})) << "strip " << k + 1;
    }
    // d = 70 + 10 = 80
    EXPECT_EQ(g.address_buttons[0], (ControlPlace{10, 16, 70, 17}));
    EXPECT_EQ(g.address_buttons[1], (ControlPlace{90, 16, 70, 17}));
    EXPECT_EQ(g.address_buttons[2], (ControlPlace{170, 16, 70, 17}));
    EXPECT_EQ(g.address_buttons[3], (ControlPlace{250, 16, 70, 17}));
    EXPECT_EQ(g.address_group, (ControlPlace{5, 600, 330, 95}));
    EXPECT_EQ(g.loop, (ControlPlace{345, 610, 60, 17}));

    EXPECT_EQ(g.stretch_label, form.stretch_label);
    EXPECT_EQ(g.stretch_edit, (ControlPlace{90, 696, 40, 21}));
    EXPECT_EQ(g.stretch_spinner, (ControlPlace{130, 696, 16, 21}));
    EXPECT_EQ(g.count_label, (ControlPlace{156, 700, 70, 13}));
    EXPECT_EQ(g.count_edit, (ControlPlace{231, 696, 41, 21}));
    EXPECT_EQ(g.count_spinner, (ControlPlace{272, 696, 15, 21}));
    EXPECT_EQ(g.info1, (ControlPlace{297, 692, 100, 13}));
    EXPECT_EQ(g.info2, (ControlPlace{297, 708, 100, 13}));

    EXPECT_EQ(g.copy_label, (ControlPlace{12, 763, 80, 13}));
    EXPECT_EQ(g.copy_buttons[0], (ControlPlace{97, 760, 50, 25}));
    EXPECT_EQ(g.copy_buttons[1], (ControlPlace{147, 760, 55, 25}));
    EXPECT_EQ(g.copy_buttons[2], (ControlPlace{202, 760, 60, 25}));
    EXPECT_EQ(g.copy_buttons[3], (ControlPlace{262, 760, 65, 25}));
    EXPECT_EQ(g.discard, form.discard);
}

TEST(LedFrameLayout, NarrowFrameGivesEmptyStripsNotNegativeOnes) {
    LedFrameGeometry form;
    for (ControlPlace& s : form.strips) s = {40, 0, 300, 38};
    const LedFrameGeometry g = LayOutLedFrame(form, 45);
    for (const ControlPlace& s : g.strips) EXPECT_EQ(s.width, 0);
}

}  // namespace
}  // namespace parvel
