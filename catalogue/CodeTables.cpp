#include "catalogue/CodeTables.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace parvel {

namespace {

// A code as a number: six hex digits are three bytes (first digit pair = highest byte), four
// digits two bytes. kNoCode marks an index the table does not fill (its text is empty).
constexpr std::uint32_t kNoCode = 0xFFFFFFFFu;

// Motorola address digits as bit pairs: trinary 0,1,2 -> 00,11,10; quaternary 0..3 -> 00,10,01,11.
constexpr unsigned kTrinary[3] = {0b00, 0b11, 0b10};
constexpr unsigned kQuaternary[4] = {0b00, 0b10, 0b01, 0b11};
constexpr unsigned kPairOne = 0b01;  // the pair that marks the extended ranges

constexpr std::uint32_t FourDigits(unsigned p1, unsigned p2, unsigned p3, unsigned p4) {
    return (p1 << 8) | (p2 << 6) | (p3 << 4) | (p4 << 2);
}

constexpr std::uint32_t MmAddressValue(int k) {
    if (k >= 1 && k <= 79) {
        int d[4] = {};
        int n = k;
        for (int& digit : d) {
            digit = n % 3;
            n /= 3;
        }
        return FourDigits(kTrinary[d[0]], kTrinary[d[1]], kTrinary[d[2]], kTrinary[d[3]]);
    }
    if (k == 80) return 0x0000;
    // Entries that the decoders' own address tables hold swapped in pairs.
    switch (k) {
        case 83: return 0x025C;
        case 191: return 0x0140;
        case 123: return 0x027C;
        case 192: return 0x0154;
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
    return kNoCode;
}

// Motorola accessory output k: the decoder address of its group of four, then the output byte.
constexpr std::uint32_t MmAccessoryValue(int k) {
    constexpr std::uint32_t kOutputBytes[4] = {0xC3, 0xF3, 0xCF, 0xFF};
    if (k == 0) return 0xFFFFFF;
    if (k < 1 || k > CodeTables::kMmAccessoryLast) return kNoCode;
    return (MmAddressValue((k - 1) / 4 + 1) << 8) | kOutputBytes[(k - 1) % 4];
}

constexpr std::uint32_t DccAccessoryValue(int k) {
    if (k < 1 || k > CodeTables::kDccAccessoryLast) return kNoCode;
    const unsigned d = static_cast<unsigned>((k - 1) / 4 + 1);
    const unsigned p = static_cast<unsigned>((k - 1) % 4);
    const unsigned b1 = 0x80u | (d & 0x3Fu);
    const unsigned b2 = 0x80u | (((~(d >> 6)) & 7u) << 4) | 0x08u | (p << 1);
    const unsigned x = b1 ^ b2;
    return ((x & 0xFFu) << 16) | (((b2 << 1) & 0xFFu) << 8) | (((b1 << 2) & 0xFFu) | 0x01u);
}

// The rules of MmRedCode and DccGreenCode on numbers: the fifth digit is the high nibble of
// the last byte, the fourth the low nibble of the middle byte, the second the low nibble of
// the first byte.
constexpr std::uint32_t MmRedValue(std::uint32_t green) {
    const std::uint32_t digit = (green >> 4) & 0xF;
    if (digit == 0xC) return (green & ~0xF0u) | 0x00;
    if (digit == 0xF) return (green & ~0xF0u) | 0x30;
    return green;
}

constexpr std::uint32_t DccGreenValue(std::uint32_t red) {
    std::uint32_t green = red;
    const std::uint32_t digit = (red >> 8) & 0xF;
    if (digit % 4 == 0) green = (green & ~0xF00u) | ((digit + 2) << 8);
    return green ^ 0x10000u;
}

template <std::size_t N, typename F>
constexpr std::array<std::uint32_t, N> MakeTable(F value) {
    std::array<std::uint32_t, N> t{};
    for (std::size_t k = 0; k < N; ++k) t[k] = value(static_cast<int>(k));
    return t;
}

constexpr auto kMmAddress = MakeTable<CodeTables::kMmAddressLast + 1>(MmAddressValue);
constexpr auto kMmAccessory = MakeTable<CodeTables::kMmAccessoryLast + 1>(MmAccessoryValue);
constexpr auto kDccAccessory = MakeTable<CodeTables::kDccAccessoryLast + 1>(DccAccessoryValue);

struct Key {
    std::uint32_t code = 0;
    int index = 0;
    bool green = false;
};

// Heap sort by code: std::sort is not constexpr before C++20.
template <std::size_t N>
constexpr void SiftDown(std::array<Key, N>& a, std::size_t root, std::size_t end) {
    while (2 * root + 1 < end) {
        std::size_t child = 2 * root + 1;
        if (child + 1 < end && a[child].code < a[child + 1].code) ++child;
        if (!(a[root].code < a[child].code)) return;
        const Key t = a[root];
        a[root] = a[child];
        a[child] = t;
        root = child;
    }
}

template <std::size_t N>
constexpr std::array<Key, N> Sorted(std::array<Key, N> a) {
    for (std::size_t i = N / 2; i-- > 0;) SiftDown(a, i, N);
    for (std::size_t end = N; end-- > 1;) {
        const Key t = a[0];
        a[0] = a[end];
        a[end] = t;
        SiftDown(a, 0, end);
    }
    return a;
}

template <std::size_t N>
constexpr bool AllDistinct(const std::array<Key, N>& sorted) {
    for (std::size_t i = 1; i < N; ++i) {
        if (sorted[i - 1].code == sorted[i].code) return false;
    }
    return true;
}

constexpr auto kMmAccessoryIndex = [] {
    std::array<Key, 2 * (CodeTables::kMmAccessoryLast + 1)> a{};
    std::size_t n = 0;
    for (int i = 0; i <= CodeTables::kMmAccessoryLast; ++i) {
        a[n++] = {kMmAccessory[i], i, true};
        a[n++] = {MmRedValue(kMmAccessory[i]), i, false};
    }
    return Sorted(a);
}();

constexpr auto kDccAccessoryIndex = [] {
    std::array<Key, 2 * CodeTables::kDccAccessoryLast> a{};
    std::size_t n = 0;
    for (int i = 1; i <= CodeTables::kDccAccessoryLast; ++i) {
        a[n++] = {kDccAccessory[i], i, false};
        a[n++] = {DccGreenValue(kDccAccessory[i]), i, true};
    }
    return Sorted(a);
}();

constexpr auto kMmAddressIndex = [] {
    std::array<Key, CodeTables::kMmAddressLast> a{};
    for (int i = 1; i <= CodeTables::kMmAddressLast; ++i) a[i - 1] = {kMmAddress[i], i, false};
    return Sorted(a);
}();

static_assert(AllDistinct(kMmAccessoryIndex), "Motorola accessory codes must be distinct");
static_assert(AllDistinct(kDccAccessoryIndex), "DCC accessory codes must be distinct");
static_assert(AllDistinct(kMmAddressIndex), "Motorola address codes must be distinct");
static_assert(kMmAddress[80] == 0x0000 && kMmAddress[83] == 0x025C, "address table rules");

constexpr char kDigits[] = "0123456789ABCDEF";

std::string Text(std::uint32_t value, int digits) {
    if (value == kNoCode) return {};
    std::string s(static_cast<std::size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i) {
        s[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
        value >>= 4;
    }
    return s;
}

// The code a cell text stands for, or kNoCode when the text is not exactly `digits`
// upper-case hex digits (no table entry can then be equal to it).
std::uint32_t Value(const std::string& text, std::size_t digits) {
    if (text.size() != digits) return kNoCode;
    std::uint32_t v = 0;
    for (const char c : text) {
        unsigned d;
        if (c >= '0' && c <= '9') d = static_cast<unsigned>(c - '0');
        else if (c >= 'A' && c <= 'F') d = static_cast<unsigned>(c - 'A' + 10);
        else return kNoCode;
        v = (v << 4) | d;
    }
    return v;
}

template <std::size_t N>
const Key* Find(const std::array<Key, N>& index, std::uint32_t code) {
    if (code == kNoCode) return nullptr;
    const auto it = std::lower_bound(index.begin(), index.end(), code,
                                     [](const Key& k, std::uint32_t c) { return k.code < c; });
    return it != index.end() && it->code == code ? &*it : nullptr;
}

char FlipLowBit(char c) {
    const int v = (c >= 'A' ? c - 'A' + 10 : c - '0') ^ 1;
    return static_cast<char>(v < 10 ? '0' + v : 'A' + v - 10);
}

}  // namespace

std::string CodeTables::MmAccessoryCode(int index) {
    return index >= 0 && index <= kMmAccessoryLast ? Text(kMmAccessory[index], 6) : std::string();
}

std::string CodeTables::MmAddressCode(int index) {
    return index >= 0 && index <= kMmAddressLast ? Text(kMmAddress[index], 4) : std::string();
}

std::string CodeTables::DccAccessoryCode(int index) {
    return index >= 0 && index <= kDccAccessoryLast ? Text(kDccAccessory[index], 6) : std::string();
}

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
    for (int k = 0; k <= kMmAccessoryLast; ++k) mm_accessory_codes[k] = MmAccessoryCode(k);
    for (int k = 1; k <= kMmAddressLast; ++k) mm_address_codes[k] = MmAddressCode(k);
    for (int k = 1; k <= kDccAccessoryLast; ++k) dcc_accessory_codes[k] = DccAccessoryCode(k);
}

const CodeTables& CodeTables::Instance() {
    static const CodeTables tables;
    return tables;
}

CodeTables::Match CodeTables::FindMmAccessory(const std::string& code, int bound) {
    const Key* k = Find(kMmAccessoryIndex, Value(code, 6));
    if (!k || k->index > bound) return {};
    return {k->index, k->green};
}

CodeTables::Match CodeTables::FindDccAccessory(const std::string& code, int bound) {
    const Key* k = Find(kDccAccessoryIndex, Value(code, 6));
    if (!k || k->index > bound) return {};
    return {k->index, k->green};
}

int CodeTables::FindMmAddress(const std::string& code, int bound) {
    const Key* k = Find(kMmAddressIndex, Value(code, 4));
    if (!k || k->index > bound) return -1;
    return k->index;
}

}  // namespace parvel
