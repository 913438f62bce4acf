#include <gtest/gtest.h>

#include <vector>

#include "tests/Harness.h"
#include "settings/ServoCurve.h"
#include "settings/ServoPages.h"
#include "settings/ServoPulses.h"
#include "settings/TorvSettings.h"

namespace parvel {
namespace {

// A page whose first `positions.size()` points hold the given bytes and whose count is that size.
ServoPages PagesWith(int page, const std::vector<int>& bytes) {
    ServoPages p;
    for (int i = 0; i < int(bytes.size()); ++i) p.set(page, i, static_cast<std::uint8_t>(bytes[i]));
    p.set(page, kOffsetPointCount, static_cast<std::uint8_t>(bytes.size()));
    return p;
}

// ---- generators ----

struct GeneratorCase {
    CurveShape shape;
    int n;
    std::vector<int> expected;
};

class ServoGenerator : public ::testing::TestWithParam<GeneratorCase> {};

TEST_P(ServoGenerator, GivesTheTableValuesExactly) {
    const GeneratorCase& c = GetParam();
    EXPECT_EQ(CurveShapeValues(c.shape, c.n), c.expected);
}

TEST_P(ServoGenerator, WritesThePositionsAndKeepsEveryRelayBit) {
    const GeneratorCase& c = GetParam();
    std::vector<int> start(c.n, 77);
    for (int i = 0; i < c.n; i += 2) start[i] |= 0x80;  // relay on at every other point
    ServoPages p = PagesWith(2, start);
    p.set(2, c.n, 99);  // first point beyond the count
    ASSERT_TRUE(GenerateCurve(p, 2, c.shape));
    for (int i = 0; i < c.n; ++i) {
        EXPECT_EQ(p.at(2, i), c.expected[i] + (i % 2 == 0 ? 128 : 0)) << i;
    }
    EXPECT_EQ(p.at(2, c.n), 99);
    EXPECT_EQ(p.StoredPointCount(2), c.n);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ServoGenerator,
    ::testing::Values(
        GeneratorCase{CurveShape::Lin, 5, {0, 31, 63, 95, 127}},
        GeneratorCase{CurveShape::Log, 5, {0, 54, 86, 109, 127}},
        GeneratorCase{CurveShape::QuarterSine, 5, {0, 18, 62, 107, 126}},
        GeneratorCase{CurveShape::HalfSine, 5, {0, 62, 126, 63, 0}},
        GeneratorCase{CurveShape::Lin, 10, {0, 14, 28, 42, 56, 70, 84, 98, 112, 127}},
        GeneratorCase{CurveShape::Log, 10, {0, 38, 60, 76, 88, 98, 107, 114, 121, 127}},
        GeneratorCase{CurveShape::QuarterSine, 10, {0, 3, 14, 31, 52, 73, 94, 111, 122, 126}},
        GeneratorCase{CurveShape::HalfSine, 10, {0, 14, 52, 94, 122, 122, 94, 52, 14, 0}}));

TEST(ServoGeneratorRange, EveryCountStaysWithinThePositionRange) {
    for (CurveShape shape :
         {CurveShape::Lin, CurveShape::Log, CurveShape::QuarterSine, CurveShape::HalfSine}) {
        for (int n = 2; n <= kMaxCurvePoints; ++n) {
            const std::vector<int> v = CurveShapeValues(shape, n);
            ASSERT_EQ(int(v.size()), n);
            EXPECT_EQ(v.front(), 0) << n;
            for (int x : v) {
                EXPECT_GE(x, 0) << n;
                EXPECT_LE(x, 127) << n;
            }
        }
    }
    EXPECT_EQ(CurveShapeValues(CurveShape::Lin, 2), (std::vector<int>{0, 127}));
}

TEST(ServoGeneratorSinglePoint, LeavesThePointAsItWas) {
    for (CurveShape shape :
         {CurveShape::Lin, CurveShape::Log, CurveShape::QuarterSine, CurveShape::HalfSine}) {
        ServoPages p = PagesWith(0, {0x80 | 42});
        const ServoPages before = p;
        EXPECT_FALSE(GenerateCurve(p, 0, shape));
        EXPECT_EQ(p, before);
        EXPECT_TRUE(CurveShapeValues(shape, 1).empty());
    }
}

TEST(ServoGeneratorCount, UsesTheStoredCountClampedTo1To100) {
    ServoPages p;
    p.set(1, kOffsetPointCount, 0);  // drawn and generated as one point
    EXPECT_FALSE(GenerateCurve(p, 1, CurveShape::Lin));
    p.set(1, kOffsetPointCount, 150);  // generated over 100 points, entry 100 untouched
    p.set(1, 100, 0x5A);
    EXPECT_TRUE(GenerateCurve(p, 1, CurveShape::Lin));
    EXPECT_EQ(p.at(1, 99), 127);
    EXPECT_EQ(p.at(1, 100), 0x5A);
}

// ---- mirror, scale, shift ----

TEST(ServoMirror, VerticalKeepsTheRelayBit) {
    ServoPages p = PagesWith(0, {0x85, 0x00, 127});
    MirrorVertical(p, 0);
    EXPECT_EQ(p.at(0, 0), 0xFA);
    EXPECT_EQ(p.at(0, 1), 127);
    EXPECT_EQ(p.at(0, 2), 0);
}

TEST(ServoMirror, HorizontalSwapsPositionsAndLeavesRelayBitsInPlace) {
    ServoPages p = PagesWith(3, {0x80 | 10, 20, 30});
    MirrorHorizontal(p, 3);
    EXPECT_EQ(p.at(3, 0), 0x80 | 30);
    EXPECT_EQ(p.at(3, 1), 20);
    EXPECT_EQ(p.at(3, 2), 10);

    ServoPages even = PagesWith(0, {1, 0x80 | 2, 3, 4});
    MirrorHorizontal(even, 0);
    EXPECT_EQ(even.at(0, 0), 4);
    EXPECT_EQ(even.at(0, 1), 0x80 | 3);
    EXPECT_EQ(even.at(0, 2), 2);
    EXPECT_EQ(even.at(0, 3), 1);
}

struct ArithmeticCase {
    const char* text;  // as typed under a German locale
    int position;
    int expected;
};

TEST(ServoShift, ExamplesTruncateAndClamp) {
    const ArithmeticCase cases[] = {
        {"64", 100, 127}, {"-100", 100, 0}, {"-100", 127, 27},           {"0,7", 10, 10},
        {"-0,5", 5, 4},   {"-5,5", 5, 0},   {"10", 0x80 | 5, 0x80 | 15},
    };
    for (const auto& c : cases) {
        const ServoDecimalEntry e = ReadShiftEntry(c.text, ',');
        ASSERT_EQ(e.verdict, ServoFieldVerdict::Accepted) << c.text;
        ServoPages p = PagesWith(0, {c.position, 50});
        p.set(0, 2, 60);  // beyond the count: untouched
        ShiftCurve(p, 0, e.value);
        EXPECT_EQ(p.at(0, 0), c.expected) << c.text << " on " << c.position;
        EXPECT_EQ(p.at(0, 2), 60);
    }
}

TEST(ServoScale, ExamplesTruncateAndClamp) {
    const ArithmeticCase cases[] = {
        {"10", 100, 127},
        {"0,5", 100, 50},
        {"0,5", 3, 1},
        {"0,5", 0x80 | 100, 0x80 | 50},
        // A typed decimal is taken as written: 100 x 0,29 is 29 (the binary 0.29 is a hair less).
        {"0,29", 100, 29},
        {"0,1", 127, 12},
    };
    for (const auto& c : cases) {
        const ServoDecimalEntry e = ReadScaleEntry(c.text, ',');
        ASSERT_EQ(e.verdict, ServoFieldVerdict::Accepted) << c.text;
        ServoPages p = PagesWith(1, {c.position});
        ScaleCurve(p, 1, e.value);
        EXPECT_EQ(p.at(1, 0), c.expected) << c.text << " on " << c.position;
    }
}

struct EntryCase {
    const char* text;
    ServoFieldVerdict verdict;
    double value;
};

TEST(ServoScale, EntryRulesInTheUsersLocale) {
    const EntryCase cases[] = {
        {"", ServoFieldVerdict::Empty, 0},         {"0,5", ServoFieldVerdict::Accepted, 0.5},
        {"0,1", ServoFieldVerdict::Accepted, 0.1}, {"10", ServoFieldVerdict::Accepted, 10},
        {"10,0", ServoFieldVerdict::Accepted, 10}, {",5", ServoFieldVerdict::Accepted, 0.5},
        {"0,09", ServoFieldVerdict::Rejected, 0},  {"10,01", ServoFieldVerdict::Rejected, 0},
        {"-1", ServoFieldVerdict::Rejected, 0},    {"abc", ServoFieldVerdict::Rejected, 0},
        {"0.5", ServoFieldVerdict::Rejected, 0},   {"1,2,3", ServoFieldVerdict::Rejected, 0},
        {",", ServoFieldVerdict::Rejected, 0},     {"1e1", ServoFieldVerdict::Rejected, 0},
    };
    for (const auto& c : cases) {
        const ServoDecimalEntry e = ReadScaleEntry(c.text, ',');
        EXPECT_EQ(e.verdict, c.verdict) << c.text;
        if (c.verdict == ServoFieldVerdict::Accepted) {
            EXPECT_DOUBLE_EQ(e.value, c.value) << c.text;
        }
    }
    // Under an English locale the point is the separator.
    EXPECT_EQ(ReadScaleEntry("0.5", '.').verdict, ServoFieldVerdict::Accepted);
    EXPECT_EQ(ReadScaleEntry("0,5", '.').verdict, ServoFieldVerdict::Rejected);
}

TEST(ServoShift, EntryRulesInTheUsersLocale) {
    const EntryCase cases[] = {
        {"", ServoFieldVerdict::Empty, 0},           {"10", ServoFieldVerdict::Accepted, 10},
        {"-100", ServoFieldVerdict::Accepted, -100}, {"100", ServoFieldVerdict::Accepted, 100},
        {" +64 ", ServoFieldVerdict::Accepted, 64},  {"0,7", ServoFieldVerdict::Accepted, 0.7},
        {"100,5", ServoFieldVerdict::Rejected, 0},   {"-100,1", ServoFieldVerdict::Rejected, 0},
        {"x", ServoFieldVerdict::Rejected, 0},       {"-", ServoFieldVerdict::Rejected, 0},
    };
    for (const auto& c : cases) {
        const ServoDecimalEntry e = ReadShiftEntry(c.text, ',');
        EXPECT_EQ(e.verdict, c.verdict) << c.text;
        if (c.verdict == ServoFieldVerdict::Accepted) {
            EXPECT_DOUBLE_EQ(e.value, c.value) << c.text;
        }
    }
}

// ---- count, stretch, threshold fields ----

struct IntegerEntryCase {
    const char* text;
    ServoFieldVerdict verdict;
    int value;
};

TEST(ServoFields, PointCountStretchAndThresholdClamp) {
    const IntegerEntryCase count[] = {
        {"", ServoFieldVerdict::Empty, 0},
        {"150", ServoFieldVerdict::Accepted, 100},
        {"200", ServoFieldVerdict::Accepted, 100},
        {"0", ServoFieldVerdict::Accepted, 1},
        {"-3", ServoFieldVerdict::Accepted, 1},
        {"10", ServoFieldVerdict::Accepted, 10},
        {"1x", ServoFieldVerdict::Rejected, 0},
        {"99999999999999999999", ServoFieldVerdict::Accepted, 100},
    };
    for (const auto& c : count) {
        const ServoIntegerEntry e = ReadPointCountEntry(c.text);
        EXPECT_EQ(e.verdict, c.verdict) << c.text;
        EXPECT_EQ(e.value, c.value) << c.text;
    }
    const IntegerEntryCase stretch[] = {
        {"300", ServoFieldVerdict::Accepted, 200},
        {"0", ServoFieldVerdict::Accepted, 1},
        {"20", ServoFieldVerdict::Accepted, 20},
        {"2,5", ServoFieldVerdict::Rejected, 0},
    };
    for (const auto& c : stretch) {
        const ServoIntegerEntry e = ReadStretchEntry(c.text);
        EXPECT_EQ(e.verdict, c.verdict) << c.text;
        EXPECT_EQ(e.value, c.value) << c.text;
    }
    const IntegerEntryCase threshold[] = {
        {"300", ServoFieldVerdict::Accepted, 127},
        {"-5", ServoFieldVerdict::Accepted, 0},
        {"64", ServoFieldVerdict::Accepted, 64},
        {"abc", ServoFieldVerdict::Rejected, 0},
    };
    for (const auto& c : threshold) {
        const ServoIntegerEntry e = ReadThresholdEntry(c.text);
        EXPECT_EQ(e.verdict, c.verdict) << c.text;
        EXPECT_EQ(e.value, c.value) << c.text;
    }
}

TEST(ServoFields, MessagesAreTheFramesTexts) {
    EXPECT_STREQ(kPointCountInputMessage,
                 "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich 1..100");
    EXPECT_STREQ(kStretchInputMessage,
                 "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich 1..200");
    EXPECT_STREQ(kScaleInputMessage,
                 "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich 0.1 .. 10");
    EXPECT_STREQ(kShiftInputMessage,
                 "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich -100 .. 100");
    EXPECT_EQ(ThresholdInputMessage(), "Ungültige Eingabe für <Schwellwert Ausgang X7> ");
}

TEST(ServoFields, StoringCountAndStretchClamps) {
    ServoPages p;
    EXPECT_EQ(SetPointCount(p, 2, 150), 100);
    EXPECT_EQ(p.at(2, kOffsetPointCount), 100);
    EXPECT_EQ(SetPointCount(p, 2, 0), 1);
    EXPECT_EQ(p.at(2, kOffsetPointCount), 1);
    EXPECT_EQ(SetStretch(p, 2, 250), 200);
    EXPECT_EQ(p.at(2, kOffsetStretch), 200);
    EXPECT_EQ(SetStretch(p, 2, -1), 1);
    EXPECT_EQ(p.at(0, kOffsetPointCount), 0);  // other pages untouched
}

TEST(ServoFields, StoredCountIsUsedClamped) {
    ServoPages p;
    p.set(0, kOffsetPointCount, 0);
    EXPECT_EQ(p.PointCount(0), 1);
    p.set(0, kOffsetPointCount, 150);
    EXPECT_EQ(p.PointCount(0), 100);
    EXPECT_EQ(p.StoredPointCount(0), 150);
}

TEST(ServoFields, TimeTexts) {
    const auto texts = CurveInfoTexts(10, 10);
    EXPECT_EQ(texts[0], "Zeit zwischen 2 Punkten = 200 ms");
    EXPECT_EQ(texts[1], "Gesamtzeit für diese Kurve = 1800 ms");
    EXPECT_EQ(CurveInfoTexts(100, 1)[1], "Gesamtzeit für diese Kurve = 1980 ms");
}

TEST(ServoFields, ThresholdAndButtonModeCells) {
    FirmwareImage image;
    image.Reset();
    EXPECT_EQ(WriteThreshold(image, 300), 127);
    EXPECT_EQ(image.eeprom_cells[0x30], "7F");
    EXPECT_EQ(WriteThreshold(image, -5), 0);
    EXPECT_EQ(image.eeprom_cells[0x30], "00");
    image.eeprom_cells[0x30] = "0A";
    EXPECT_EQ(ReadThreshold(image), 10);

    image.eeprom_cells[0x00] = "FF";
    EXPECT_FALSE(IsLearnMode(image));
    WriteButtonMode(image, true);
    EXPECT_EQ(image.eeprom_cells[0x00], "01");
    EXPECT_TRUE(IsLearnMode(image));
    WriteButtonMode(image, false);
    EXPECT_EQ(image.eeprom_cells[0x00], "F0");
    // After a reset eeprom_last is 0: the written cells must still reach the saved file.
    EXPECT_GE(image.eeprom_last, 0x30);
}

// ---- copy ----

TEST(ServoCopy, CopiesEntries0To126AndKeepsEntry127) {
    ServoPages p;
    for (int k = 0; k < kServoPageSize; ++k) {
        p.set(0, k, static_cast<std::uint8_t>(k));
        p.set(1, k, static_cast<std::uint8_t>(255 - k));
    }
    const ServoPages before = p;
    CopyCurve(p, 1, 0);  // "von #2" while "Kurve 1" is selected
    for (int k = 0; k < 127; ++k) EXPECT_EQ(p.at(0, k), 255 - k) << k;
    EXPECT_EQ(p.at(0, 127), 127);
    for (int k = 0; k < kServoPageSize; ++k) EXPECT_EQ(p.at(1, k), before.at(1, k));
    ServoPages same = before;
    CopyCurve(same, 2, 2);
    EXPECT_EQ(same, before);
}

// ---- variants and push buttons ----

TEST(ServoVariants, ByTypeCode) {
    const TorvVariant torv4 = TorvVariantFor(211);
    EXPECT_TRUE(torv4.relay_lane);
    EXPECT_FALSE(torv4.threshold);
    EXPECT_EQ(torv4.button_labels[0], "Taster 1 close");
    EXPECT_EQ(torv4.button_labels[3], "Taster 2 open");
    const std::vector<std::string> first = {"keine Aktion", "wie Adr.1", "wie Adr.2",
                                            "wie Adr.3",    "wie Adr.4", "wie Adr.5",
                                            "wie Adr.6",    "wie Adr.7", "wie Adr.8"};
    EXPECT_EQ(torv4.first_button_items, first);
    ASSERT_EQ(torv4.second_button_items.size(), 9u);
    EXPECT_EQ(torv4.second_button_items[0], "Adr.-Lernen");
    EXPECT_EQ(torv4.second_button_items[8], "wie Adr.8");

    // Any code the table does not list takes the Torv-4 layout.
    const TorvVariant other = TorvVariantFor(0x1234);
    EXPECT_TRUE(other.relay_lane);
    EXPECT_EQ(other.first_button_items, first);

    const std::vector<std::string> four = {"keine Aktion", "wie Adr.1", "wie Adr.2", "wie Adr.3",
                                           "wie Adr.4"};
    for (std::uint32_t code : {210u, 466u, 16896u}) {
        const TorvVariant v = TorvVariantFor(code);
        EXPECT_FALSE(v.relay_lane) << code;
        EXPECT_EQ(v.threshold, code == 466u) << code;
        EXPECT_EQ(v.button_labels[0], "Taster 3 close") << code;
        EXPECT_EQ(v.button_labels[1], "Taster 3 open") << code;
        EXPECT_EQ(v.button_labels[2], "Taster 4 close") << code;
        EXPECT_EQ(v.button_labels[3], "Taster 4 open") << code;
        EXPECT_EQ(v.first_button_items, four) << code;
        EXPECT_EQ(v.second_button_items, four) << code;
    }
}

TEST(ServoButtons, OneHotActionBytes) {
    ServoPages p;
    SetButtonItem(p, 3, 3);  // "wie Adr.3" in servo_cbx_s2o
    EXPECT_EQ(p.at(3, kOffsetButtonAction), 0x04);
    p.set(0, kOffsetButtonAction, 0x06);
    EXPECT_EQ(ButtonItem(p, 0, 9), 2);  // "wie Adr.2": the lowest bit wins
    p.set(0, kOffsetButtonAction, 0x00);
    EXPECT_EQ(ButtonItem(p, 0, 9), 0);
    p.set(1, kOffsetButtonAction, 0x80);
    EXPECT_EQ(ButtonItem(p, 1, 9), 8);
    EXPECT_EQ(ButtonItem(p, 1, 5), -1);  // "wie Adr.8" is not in a Torvik list
    EXPECT_EQ(ButtonByteFromItem(0), 0);
    EXPECT_EQ(ButtonByteFromItem(-1), 0);
    EXPECT_EQ(ButtonByteFromItem(1), 0x01);
    EXPECT_EQ(ButtonByteFromItem(8), 0x80);
    EXPECT_EQ(ButtonByteFromItem(9), 0);
}

// ---- the pages in the image ----

TEST(ServoPagesImage, EntryKOfPageNIsTheLowByteOfItsWord) {
    EXPECT_EQ(ServoPages::WordOf(0, 0), 0x500);
    EXPECT_EQ(ServoPages::CellOf(0, 0), 0x0A00);
    EXPECT_EQ(ServoPages::CellOf(0, 127), 0x0AFE);
    EXPECT_EQ(ServoPages::CellOf(1, 0), 0x0B00);
    EXPECT_EQ(ServoPages::CellOf(2, 0), 0x0C00);
    EXPECT_EQ(ServoPages::CellOf(3, 127), 0x0DFE);
    EXPECT_THROW(ServoPages::WordOf(4, 0), std::out_of_range);
    EXPECT_THROW(ServoPages::WordOf(0, 128), std::out_of_range);
    ServoPages p;
    EXPECT_THROW(p.set(-1, 0, 1), std::out_of_range);
}

TEST(ServoPagesImage, ApplyWritesAll512LowBytesAndLeavesTheHighBytesAsLoaded) {
    test::Harness h;
    test::FixtureImage f = test::Firmware(kTypeTorv4, test::FixtureImage::Protocol::Dcc);
    for (int i = 0; i < kServoBytes; ++i) {
        f.words[kServoFirstWord + i] =
            static_cast<uint16_t>(((0x30 + i % 8) << 8) | ((i * 7) & 0xFF));
    }
    f.eeprom[0x60] = 125;
    f.eeprom[0x61] = 0;
    f.eeprom[0x62] = 200;
    f.eeprom[0x63] = 253;
    ASSERT_TRUE(h.Load(f));
    FirmwareImage& image = h.session.image();

    ServoPages pages;
    pages.ReadFrom(image);
    for (int i = 0; i < kServoBytes; ++i) ASSERT_EQ(pages.flat(i), (i * 7) & 0xFF) << i;
    PulseValues pulses;
    ReadPulseValues(image, pulses);
    EXPECT_EQ(pulses.pulse_min[0], 125);
    EXPECT_EQ(pulses.pulse_span[1], 253);

    std::vector<std::string> high(kServoBytes);
    for (int i = 0; i < kServoBytes; ++i) high[i] = image.rom_cells[2 * (kServoFirstWord + i) + 1];
    // Cells that were not edited must be rewritten as well: spoil them in the image first.
    for (int i = 0; i < kServoBytes; ++i) image.RomLow(kServoFirstWord + i) = "zz";
    pages.set(2, 5, 0xAB);
    pulses.pulse_min[3] = StepPulseMin(pulses.pulse_min[3], +10);

    ApplyServoEdits(pages, pulses, image);
    for (int i = 0; i < kServoBytes; ++i) {
        const int expected = i == 2 * 128 + 5 ? 0xAB : (i * 7) & 0xFF;
        EXPECT_EQ(image.RomLow(kServoFirstWord + i), hex_byte_names()[expected]) << i;
        EXPECT_EQ(image.rom_cells[2 * (kServoFirstWord + i) + 1], high[i]) << i;
    }
    EXPECT_EQ(image.eeprom_cells[0x60], "7D");
    EXPECT_EQ(image.eeprom_cells[0x61], "00");
    EXPECT_EQ(image.eeprom_cells[0x62], "C8");
    EXPECT_EQ(image.eeprom_cells[0x63], "FD");
    EXPECT_EQ(image.eeprom_cells[0x66], "FF");  // erased 255, stepped +10, clamped to 255
}

TEST(ServoPagesImage, ApplyMakesTheWriterKeepTableAndPulsesOfAShortFile) {
    FirmwareImage image;
    image.Reset();
    image.rom_last = 0x00FF;  // the file ended long before the table
    image.eeprom_last = 0x0F;
    ServoPages pages;
    pages.set(3, 127, 0x42);
    ApplyServoEdits(pages, PulseValues{}, image);
    EXPECT_EQ(image.rom_cells[0x0DFE], "42");
    EXPECT_GE(image.rom_last, 0x0DFF);
    EXPECT_GE(image.eeprom_last, 0x67);
}

TEST(ServoPagesImage, ReadIsTolerantAndEveryByteStaysInRange) {
    FirmwareImage image;
    image.Reset();
    image.RomLow(0x500) = "7f";
    image.RomLow(0x501) = "G0";  // no hex text: the tolerant conversion, still one byte
    ServoPages pages;
    pages.ReadFrom(image);
    EXPECT_EQ(pages.at(0, 0), 0x7F);
    EXPECT_EQ(pages.at(0, 1), HexByteValue("G0"));
    EXPECT_EQ(pages.at(0, 2), 0xFF);  // erased word
}

}  // namespace
}  // namespace parvel
