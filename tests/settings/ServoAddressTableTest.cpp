#include <gtest/gtest.h>

#include "settings/ServoAddressTable.h"
#include "settings/ServoPulses.h"

namespace parvel {
namespace {

TEST(ServoOneHot, IndexAndBit) {
    const std::pair<int, int> index[] = {{0x00, 0}, {0x01, 0}, {0x02, 1}, {0x04, 2},
                                         {0x08, 3}, {0x10, 4}, {0x80, 7}, {0x06, 1},
                                         {0xFF, 0}, {0xC0, 6}, {0x100, 0}};
    for (const auto& [x, expected] : index) EXPECT_EQ(OneHotIndex(x), expected) << x;
    const std::pair<int, int> bit[] = {{-1, 0}, {0, 1}, {1, 2}, {3, 8}, {7, 0x80}, {8, 0}};
    for (const auto& [i, expected] : bit) EXPECT_EQ(IndexBit(i), expected) << i;
}

TEST(ServoAddressRows, PlaceOfEachRow) {
    for (int r = 0; r < 4; ++r) {
        const AddressRowPlace p = AddressRowPlaceOf(r);
        EXPECT_EQ(p.page, r);
        EXPECT_EQ(p.servo_action_offset, 103);
        EXPECT_EQ(p.curve_relay_offset, 104);
    }
    for (int r = 4; r < 8; ++r) {
        const AddressRowPlace p = AddressRowPlaceOf(r);
        EXPECT_EQ(p.page, r - 4);
        EXPECT_EQ(p.servo_action_offset, 106);
        EXPECT_EQ(p.curve_relay_offset, 107);
    }
    EXPECT_THROW(AddressRowPlaceOf(8), std::out_of_range);
}

struct DecodeCase {
    int byte;
    AddressField field;
    int item;  // -1: no selection
};

TEST(ServoAddressRows, DecodingOfStoredBytes) {
    using F = AddressField;
    const DecodeCase cases[] = {
        {0x12, F::Servo, 1},   {0x12, F::Action, 1},  // "Servo 2", "Start Loop"
        {0x00, F::Servo, 0},   {0x00, F::Action, 0},  // "Servo 1", "Start"
        {0x08, F::Servo, 3},   {0x28, F::Action, 2}, {0x48, F::Action, 3},
        {0x30, F::Action, 1},   // lowest bit wins
        {0x80, F::Action, -1},  // no item for bit 7
        {0x20, F::Servo, -1},   // the whole byte: bit 5, beyond the list
        {0x10, F::Curve, 0},   {0x80, F::Curve, 3},  {0x00, F::Curve, 0},
        {0x0F, F::Curve, 0},   {0x02, F::Relay, 1},  {0xF8, F::Relay, 3},
        {0xF0, F::Relay, 0},
    };
    for (const auto& c : cases) {
        ServoPages p;
        const AddressRowPlace place = AddressRowPlaceOf(5);
        const bool first = c.field == F::Servo || c.field == F::Action;
        p.set(place.page, first ? place.servo_action_offset : place.curve_relay_offset,
              static_cast<std::uint8_t>(c.byte));
        EXPECT_EQ(AddressItem(p, 5, c.field), c.item) << c.byte << " field " << int(c.field);
    }
}

TEST(ServoAddressRows, ChangingOneFieldRewritesOnlyItsNibble) {
    ServoPages p;
    p.set(2, 103, 0x24);                            // row 3: servo 3, "Abbruch"
    SetAddressItem(p, 2, AddressField::Action, 3);  // "Beenden"
    EXPECT_EQ(p.at(2, 103), 0x44);
    SetAddressItem(p, 2, AddressField::Action, 0);  // "Start" has no bit
    EXPECT_EQ(p.at(2, 103), 0x04);
    SetAddressItem(p, 2, AddressField::Servo, 1);
    EXPECT_EQ(p.at(2, 103), 0x02);

    p.set(1, 107, 0x13);                           // row 6: curve 1, relay bits 0 and 1
    SetAddressItem(p, 5, AddressField::Curve, 3);  // "Kurve 4"
    EXPECT_EQ(p.at(1, 107), 0x83);
    SetAddressItem(p, 5, AddressField::Relay, 1);  // "Relais 2"
    EXPECT_EQ(p.at(1, 107), 0x82);
    SetAddressItem(p, 5, AddressField::Relay, -1);  // no selection clears the nibble
    EXPECT_EQ(p.at(1, 107), 0x80);
    EXPECT_EQ(p.at(1, 106), 0);  // the other byte of the row untouched
    EXPECT_EQ(p.at(1, 104), 0);  // and the row of the same page's first address too
}

TEST(ServoAddressRows, EncodingTable) {
    using F = AddressField;
    const int servo[] = {0x01, 0x02, 0x04, 0x08};
    const int action[] = {0x00, 0x10, 0x20, 0x40};
    const int curve[] = {0x10, 0x20, 0x40, 0x80};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(EncodeAddressField(0x00, F::Servo, i), servo[i]);
        EXPECT_EQ(EncodeAddressField(0x00, F::Action, i), action[i]);
        EXPECT_EQ(EncodeAddressField(0x00, F::Curve, i), curve[i]);
        EXPECT_EQ(EncodeAddressField(0x00, F::Relay, i), servo[i]);
        // Every encoding reads back as its item.
        EXPECT_EQ(DecodeAddressField(EncodeAddressField(0x00, F::Action, i), F::Action), i);
        EXPECT_EQ(DecodeAddressField(EncodeAddressField(0xF0, F::Relay, i), F::Relay), i);
        EXPECT_EQ(DecodeAddressField(EncodeAddressField(0x0F, F::Curve, i), F::Curve), i);
    }
}

TEST(ServoFlags, EachKindIsItsOwnBit) {
    ServoPages p;
    p.set(2, 100, 0xFF);
    SetServoFlag(p, 2, ServoFlag::PulsesOff, false);  // unchecking "Impulse aus" of servo 3
    EXPECT_EQ(p.at(2, 100), 0xFB);
    EXPECT_FALSE(HasServoFlag(p, 2, ServoFlag::PulsesOff));
    EXPECT_TRUE(HasServoFlag(p, 2, ServoFlag::NoRepeat));
    SetServoFlag(p, 0, ServoFlag::VoltageOff, true);
    SetServoFlag(p, 0, ServoFlag::NoInterrupt, true);
    EXPECT_EQ(p.at(0, 100), 0x42);
    SetServoFlag(p, 0, ServoFlag::NoRepeat, true);
    EXPECT_EQ(p.at(0, 100), 0xC2);
}

TEST(ServoAddressVariants, ByTypeCode) {
    const TorvAdrVariant torv4 = TorvAdrVariantFor(211);
    EXPECT_TRUE(torv4.four_servos);
    EXPECT_EQ(torv4.row_labels[0], "Adresse 01");
    EXPECT_EQ(torv4.row_labels[3], "Adresse 04");
    EXPECT_EQ(torv4.row_labels[4], "Adresse 05:");
    EXPECT_EQ(torv4.row_labels[7], "Adresse 08:");
    for (std::uint32_t code : {210u, 466u}) {
        const TorvAdrVariant v = TorvAdrVariantFor(code);
        EXPECT_FALSE(v.four_servos) << code;
        EXPECT_EQ(v.row_labels[1], "Adresse 02") << code;
    }
    const TorvAdrVariant f = TorvAdrVariantFor(16896);
    EXPECT_FALSE(f.four_servos);
    EXPECT_EQ(f.row_labels[0], "Adresse 01 ein");
    EXPECT_EQ(f.row_labels[1], "Adresse 01 aus");
    EXPECT_EQ(f.row_labels[2], "Adresse 02 ein");
    EXPECT_EQ(f.row_labels[3], "Adresse 02 aus");
}

TEST(ServoAddressVariants, CurveAndRelayListVisibility) {
    // "Beenden" in row 3 hides its curve list and, on the Torv-4, its relay list.
    const std::array<int, 8> actions = {0, 1, 3, -1, 2, 0, 3, 1};
    const CurveListVisibility four = CurveVisibilityFor(actions, true);
    const std::array<bool, 8> shown = {true, true, false, true, false, true, false, true};
    EXPECT_EQ(four.curve, shown);
    EXPECT_EQ(four.relay, shown);
    const CurveListVisibility one = CurveVisibilityFor(actions, false);
    const std::array<bool, 8> first_rows = {true, true, false, true, false, false, false, false};
    EXPECT_EQ(one.curve, first_rows);
    EXPECT_EQ(one.relay, (std::array<bool, 8>{}));
}

// ---- pulses ----

struct PulseCase {
    int pulse_min;
    int span;
    const char* shortest;
    const char* longest;
};

TEST(ServoPulseTimes, ShownWithThreeDecimalsInAGermanLocale) {
    const PulseCase cases[] = {
        {125, 0, "1,000", "2,016"},   {125, 127, "1,000", "3,024"}, {125, 128, "1,000", "1,008"},
        {125, 253, "1,000", "2,008"}, {125, 1, "1,000", "2,016"},   {125, 255, "1,000", "2,016"},
        {50, 128, "0,400", "0,408"},  {255, 127, "2,040", "4,064"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatPulseMs(ShortestPulseMs(c.pulse_min), ','), c.shortest) << c.pulse_min;
        EXPECT_EQ(FormatPulseMs(LongestPulseMs(c.pulse_min, c.span), ','), c.longest) << c.span;
    }
    EXPECT_EQ(FormatPulseMs(ShortestPulseMs(125), '.'), "1.000");
}

TEST(ServoPulseTimes, SpanSteps) {
    const std::pair<int, int> cases[] = {{0, 0},      {1, 0},    {2, 1},   {127, 126},
                                         {128, -126}, {253, -1}, {254, 0}, {255, 0}};
    for (const auto& [b, s] : cases) EXPECT_EQ(SpanSteps(b), s) << b;
}

struct StepCase {
    int from;
    int step;
    int to;
};

TEST(ServoPulseSteps, ShortestPulseClampsTo50To255) {
    const StepCase cases[] = {
        {55, -10, 50}, {250, 10, 255}, {125, 1, 126}, {125, -1, 124}, {10, 1, 50}};
    for (const auto& c : cases) EXPECT_EQ(StepPulseMin(c.from, c.step), c.to) << c.from;
}

TEST(ServoPulseSteps, SpanWrapsAndStopsAtTheEnds) {
    const StepCase cases[] = {
        {253, 1, 1},
        {1, -1, 253},
        {120, 10, 127},
        {130, -10, 128},
        {250, 10, 7},
        {5, -10, 248},
        {127, 1, 127},
        {128, -1, 128},
        {127, 10, 127},
        {128, -10, 128},
        {64, 1, 65},
        {200, -1, 199},
        // span 0 bytes that only an image holds step like 1
        {255, 1, 2},
        {255, -1, 253},
        {0, -1, 253},
        {254, -1, 253},
        {0, 10, 11},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StepPulseSpan(c.from, c.step), c.to) << c.from << " " << c.step;
    }
}

TEST(ServoPulseSteps, TheButtonsWalkOneScaleOfSpanSteps) {
    // Up from the bottom end with ">": every press adds one span step until 126, then stays.
    int b = 128;
    for (int expected = -126; expected <= 126; ++expected) {
        ASSERT_EQ(SpanSteps(b), expected) << b;
        b = StepPulseSpan(b, 1);
    }
    EXPECT_EQ(b, 127);
    // Down from the top end with "<<": ten steps a press, the last press lands on the end.
    std::vector<int> seen;
    for (int i = 0; i < 27; ++i) {
        b = StepPulseSpan(b, -10);
        seen.push_back(SpanSteps(b));
    }
    EXPECT_EQ(seen.front(), 116);
    EXPECT_EQ(seen[11], 6);     // 127 -> 117 -> .. -> 7
    EXPECT_EQ(seen[12], -4);    // 7 - 10 wraps to 250
    EXPECT_EQ(seen[24], -124);  // 130
    EXPECT_EQ(seen[25], -126);  // 120 would cross the end: 128
    EXPECT_EQ(seen.back(), -126);
}

TEST(ServoPulseCells, OnlyExactByteTextsAreTaken) {
    FirmwareImage image;
    image.Reset();
    PulseValues v;
    v.pulse_min[1] = 99;
    image.eeprom_cells[0x60] = "7D";
    image.eeprom_cells[0x61] = "80";
    image.eeprom_cells[0x62] = "X1";  // no hex byte: pulse_min[2] stays as it was
    image.eeprom_cells[0x67] = "7d";  // not one of the upper-case names either
    v.pulse_span[3] = 5;
    ReadPulseValues(image, v);
    EXPECT_EQ(v.pulse_min[0], 125);
    EXPECT_EQ(v.pulse_span[0], 128);
    EXPECT_EQ(v.pulse_min[1], 99);
    EXPECT_EQ(v.pulse_span[1], 255);  // "FF" after a reset
    EXPECT_EQ(v.pulse_span[3], 5);
    WritePulseValues(v, image);
    EXPECT_EQ(image.eeprom_cells[0x62], "63");  // the kept value is written back
    EXPECT_EQ(image.eeprom_cells[0x67], "05");
    EXPECT_EQ(image.eeprom_cells[0x60], "7D");
    EXPECT_EQ(image.eeprom_cells[0x61], "80");
}

}  // namespace
}  // namespace parvel
