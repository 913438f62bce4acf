#include "CodeTables.h"

#include "FirmwareImage.h"

namespace parvel {

namespace {

// Motorola address digits as bit pairs: trinary 0,1,2 -> 00,11,10; quaternary 0..3 -> 00,10,01,11.
constexpr unsigned kTrinary[3] = {0b00, 0b11, 0b10};
constexpr unsigned kQuaternary[4] = {0b00, 0b10, 0b01, 0b11};
constexpr unsigned kPairOne = 0b01;  // the pair that marks the extended ranges

std::string FourDigits(unsigned p1, unsigned p2, unsigned p3, unsigned p4) {
    const unsigned v = (p1 << 8) | (p2 << 6) | (p3 << 4) | (p4 << 2);
    return hex_byte_names()[v >> 8] + hex_byte_names()[v & 0xFF];
}

std::string MmAddressCode(int k) {
    if (k >= 1 && k <= 79) {
        int d[4];
        int n = k;
        for (int& digit : d) {
            digit = n % 3;
            n /= 3;
        }
        return FourDigits(kTrinary[d[0]], kTrinary[d[1]], kTrinary[d[2]], kTrinary[d[3]]);
    }
    if (k == 80) return "0000";
    // Entries that the decoders' own address tables hold swapped in pairs.
    switch (k) {
        case 83: return "025C";
        case 191: return "0140";
        case 123: return "027C";
        case 192: return "0154";
        default: break;
    }
    if (k >= 81 && k <= 144) {
        const int n = k - 81;
        return FourDigits(kPairOne, kQuaternary[n % 4], kQuaternary[(n / 4) % 4], kQuaternary[n / 16]);
    }
    if (k >= 145 && k <= 192) {
        const int n = k - 145;
        return FourDigits(kTrinary[n / 16], kPairOne, kQuaternary[n % 4], kQuaternary[(n / 4) % 4]);
    }
    if (k >= 193 && k <= 228) {
        const int n = k - 193;
        return FourDigits(kTrinary[(n / 4) % 3], kTrinary[n / 12], kPairOne, kQuaternary[n % 4]);
    }
    if (k >= 229 && k <= 255) {
        const int n = k - 229;
        return FourDigits(kTrinary[n % 3], kTrinary[(n / 3) % 3], kTrinary[n / 9], kPairOne);
    }
    return {};
}

std::string DccAccessoryCode(int k) {
    const unsigned d = static_cast<unsigned>((k - 1) / 4 + 1);
    const unsigned p = static_cast<unsigned>((k - 1) % 4);
    const unsigned b1 = 0x80u | (d & 0x3Fu);
    const unsigned b2 = 0x80u | (((~(d >> 6)) & 7u) << 4) | 0x08u | (p << 1);
    const unsigned x = b1 ^ b2;
    const auto& names = hex_byte_names();
    return names[x & 0xFF] + names[(b2 << 1) & 0xFF] + names[((b1 << 2) & 0xFF) | 0x01];
}

char FlipLowBit(char c) {
    const int v = (c >= 'A' ? c - 'A' + 10 : c - '0') ^ 1;
    return static_cast<char>(v < 10 ? '0' + v : 'A' + v - 10);
}

}  // namespace

std::string CodeTables::MmRedCode(const std::string& green) {
    std::string red = green;
    if (red.size() >= 5) {
        if (red[4] == 'C') red[4] = '0';
        else if (red[4] == 'F') red[4] = '3';
    }
    return red;
}

std::string CodeTables::DccGreenCode(const std::string& red) {
    std::string green = red;
    if (green.size() < 4) return green;
    switch (green[3]) {
        case '0': green[3] = '2'; break;
        case '4': green[3] = '6'; break;
        case '8': green[3] = 'A'; break;
        case 'C': green[3] = 'E'; break;
        default: break;
    }
    green[1] = FlipLowBit(green[1]);
    return green;
}

CodeTables::CodeTables()
    : mm_accessory_codes(kMmSlots), mm_address_codes(kMmSlots), dcc_accessory_codes(kDccSlots) {
    for (int k = 1; k <= kMmAddressLast; ++k) mm_address_codes[k] = MmAddressCode(k);

    static const char* const kOutputBytes[4] = {"C3", "F3", "CF", "FF"};
    mm_accessory_codes[0] = "FFFFFF";
    for (int k = 1; k <= kMmAccessoryLast; ++k) {
        mm_accessory_codes[k] = mm_address_codes[(k - 1) / 4 + 1] + kOutputBytes[(k - 1) % 4];
    }
    for (int k = 1; k <= kDccAccessoryLast; ++k) dcc_accessory_codes[k] = DccAccessoryCode(k);

    for (int i = 0; i <= kMmAccessoryLast; ++i) {
        m_mm_accessory_index.emplace(mm_accessory_codes[i], Match{i, true});
        m_mm_accessory_index.emplace(MmRedCode(mm_accessory_codes[i]), Match{i, false});
    }
    for (int i = 1; i <= kDccAccessoryLast; ++i) {
        m_dcc_accessory_index.emplace(dcc_accessory_codes[i], Match{i, false});
        m_dcc_accessory_index.emplace(DccGreenCode(dcc_accessory_codes[i]), Match{i, true});
    }
    for (int i = 1; i <= kMmAddressLast; ++i) m_mm_address_index.emplace(mm_address_codes[i], i);
}

const CodeTables& CodeTables::Instance() {
    static const CodeTables tables;
    return tables;
}

CodeTables::Match CodeTables::FindMmAccessory(const std::string& code, int bound) const {
    const auto it = m_mm_accessory_index.find(code);
    if (it == m_mm_accessory_index.end() || it->second.index > bound) return {};
    return it->second;
}

CodeTables::Match CodeTables::FindDccAccessory(const std::string& code, int bound) const {
    const auto it = m_dcc_accessory_index.find(code);
    if (it == m_dcc_accessory_index.end() || it->second.index > bound) return {};
    return it->second;
}

int CodeTables::FindMmAddress(const std::string& code, int bound) const {
    const auto it = m_mm_address_index.find(code);
    if (it == m_mm_address_index.end() || it->second > bound) return -1;
    return it->second;
}

}  // namespace parvel
