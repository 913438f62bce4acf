#include <gtest/gtest.h>

#include "catalogue/CodeTables.h"

namespace parvel {
namespace {

const CodeTables& T() { return CodeTables::Instance(); }

struct CodeCase {
    int index;
    const char* code;
};

TEST(CodeTables, MotorolaDecoderAddressesFollowTheDigitRulesAndTheFourSwaps) {
    const CodeCase cases[] = {
        {1, "0300"},   {2, "0200"},   {3, "00C0"},   {4, "03C0"},   {9, "0030"},  {27, "000C"},
        {79, "03A8"},  {80, "0000"},  {81, "0100"},  {82, "0180"},  {84, "01C0"}, {144, "01FC"},
        {145, "0040"}, {161, "0340"}, {190, "026C"}, {193, "0010"}, {228, "029C"},
        {229, "0004"}, {255, "02A4"},
        // the four entries the decoders hold swapped in pairs
        {83, "025C"},  {191, "0140"}, {123, "027C"}, {192, "0154"},
    };
    for (const auto& c : cases) EXPECT_EQ(T().mm_address_codes[c.index], c.code) << c.index;
    EXPECT_EQ(T().mm_address_codes[0], "");
    EXPECT_EQ(T().mm_address_codes[256], "");
}

TEST(CodeTables, MotorolaAccessoryCodesAndRedVariant) {
    const CodeCase cases[] = {{0, "FFFFFF"},   {1, "0300C3"},   {2, "0300F3"},   {3, "0300CF"},
                              {4, "0300FF"},   {5, "0200C3"},   {13, "03C0C3"},  {316, "03A8FF"},
                              {317, "0000C3"}, {318, "0000F3"}, {320, "0000FF"}};
    for (const auto& c : cases) EXPECT_EQ(T().mm_accessory_codes[c.index], c.code) << c.index;
    EXPECT_EQ(T().mm_accessory_codes[321], "");
    EXPECT_EQ(CodeTables::MmRedCode("FFFFFF"), "FFFF3F");
    EXPECT_EQ(CodeTables::MmRedCode("0300C3"), "030003");
    EXPECT_EQ(CodeTables::MmRedCode("0300F3"), "030033");
    EXPECT_EQ(CodeTables::MmRedCode("0300CF"), "03000F");
    EXPECT_EQ(CodeTables::MmRedCode("0300FF"), "03003F");
}

TEST(CodeTables, DccAccessoryCodesAndGreenVariant) {
    const CodeCase cases[] = {{1, "79F005"},    {2, "7BF405"},    {3, "7DF805"},
                              {4, "7FFC05"},    {5, "7AF009"},    {29, "70F021"},
                              {256, "6EDC01"},  {257, "69D005"},  {2041, "3710FD"},
                              {2044, "311CFD"}};
    for (const auto& c : cases) EXPECT_EQ(T().dcc_accessory_codes[c.index], c.code) << c.index;
    EXPECT_EQ(T().dcc_accessory_codes[0], "");
    EXPECT_EQ(T().dcc_accessory_codes[2045], "");
    EXPECT_EQ(CodeTables::DccGreenCode("79F005"), "78F205");
    EXPECT_EQ(CodeTables::DccGreenCode("311CFD"), "301EFD");
}

// The green DCC code must still be a valid packet tail: its error byte is b1 XOR b2 of the
// packet with the coil bit set.
TEST(CodeTables, DccGreenCodeKeepsTheErrorByteRight) {
    for (int k = 1; k <= CodeTables::kDccAccessoryLast; ++k) {
        const std::string g = CodeTables::DccGreenCode(T().dcc_accessory_codes[k]);
        const unsigned x = std::stoul(g.substr(0, 2), nullptr, 16);
        const unsigned b2 = 0x80 | (std::stoul(g.substr(2, 2), nullptr, 16) >> 1);
        const unsigned b1 = 0x80 | (std::stoul(g.substr(4, 2), nullptr, 16) >> 2);
        ASSERT_EQ(x, b1 ^ b2) << k;
        ASSERT_EQ(b2 & 1u, 1u) << k;  // coil bit
    }
}

TEST(CodeTables, EveryCodeIsFoundBackAndNoRedEqualsAGreen) {
    for (int k = 0; k <= CodeTables::kMmAccessoryLast; ++k) {
        const auto g = T().FindMmAccessory(T().mm_accessory_codes[k], 320);
        EXPECT_EQ(g.index, k);
        EXPECT_TRUE(g.green);
        const auto r = T().FindMmAccessory(CodeTables::MmRedCode(T().mm_accessory_codes[k]), 320);
        EXPECT_EQ(r.index, k);
        EXPECT_FALSE(r.green);
    }
    for (int k = 1; k <= CodeTables::kDccAccessoryLast; ++k) {
        const auto r = T().FindDccAccessory(T().dcc_accessory_codes[k], 2044);
        ASSERT_EQ(r.index, k);
        ASSERT_FALSE(r.green);
        const auto g = T().FindDccAccessory(CodeTables::DccGreenCode(T().dcc_accessory_codes[k]), 2044);
        ASSERT_EQ(g.index, k);
        ASSERT_TRUE(g.green);
    }
    for (int k = 1; k <= 255; ++k) EXPECT_EQ(T().FindMmAddress(T().mm_address_codes[k], 255), k);
    // the search bound is inclusive and nothing beyond it is found
    EXPECT_EQ(T().FindDccAccessory("311CFD", 2043).index, -1);
    EXPECT_EQ(T().FindDccAccessory("311CFD", 2044).index, 2044);
    // an erased row in a DCC image matches nothing
    EXPECT_EQ(T().FindDccAccessory("FFFFFF", 2044).index, -1);
    EXPECT_EQ(T().FindDccAccessory("", 2044).index, -1);
}

}  // namespace
}  // namespace parvel

namespace parvel {
namespace {

// Saving encodes rows through the single-entry texts; they must say what the tables say,
// empty outside the filled ranges included.
TEST(CodeTables, SingleEntryTextsMatchTheTables) {
    for (int k = -1; k <= CodeTables::kMmSlots; ++k) {
        const bool in = k >= 0 && k < CodeTables::kMmSlots;
        ASSERT_EQ(CodeTables::MmAccessoryCode(k), in ? T().mm_accessory_codes[k] : "") << k;
        ASSERT_EQ(CodeTables::MmAddressCode(k), in ? T().mm_address_codes[k] : "") << k;
    }
    for (int k = -1; k <= CodeTables::kDccSlots; ++k) {
        const bool in = k >= 0 && k < CodeTables::kDccSlots;
        ASSERT_EQ(CodeTables::DccAccessoryCode(k), in ? T().dcc_accessory_codes[k] : "") << k;
    }
}

// A cell text matches only as the exact upper-case code the EEPROM holds.
TEST(CodeTables, OnlyExactUpperCaseCodesAreFound) {
    const char* const texts[] = {"311cfd", "311CFD ", " 311CFD", "311CF", "311CFD0", "3I1CFD"};
    for (const char* text : texts) EXPECT_EQ(CodeTables::FindDccAccessory(text, 2044).index, -1) << text;
    EXPECT_EQ(CodeTables::FindMmAccessory("0300c3", 320).index, -1);
    EXPECT_EQ(CodeTables::FindMmAddress("03c0", 255), -1);
    EXPECT_EQ(CodeTables::FindMmAddress("03C0", 255), 4);
}

}  // namespace
}  // namespace parvel
