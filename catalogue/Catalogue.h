#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace parvel {

constexpr int kGridRows = 48;  // row 0 exists but is never labelled or shown

// A: each row is a three-byte accessory code with a red/green choice. F: each row is a decoder
// address plus a function number. None: rows show fields but nothing is read or stored.
enum class DecoderKind { Accessory, Function, None };

// Feature frame shown for a firmware; the values are the frame codes of the main window.
enum FrameCode : int {
    kFrameNone = 0,
    kFrameZusatz = 1,
    kFrameBlinkmuster = 2,
    kFrameBlinkmusterLed = 3,
    kFrameTorv = 4,
    kFrameRegister = 6,
};

constexpr int kOneColumn = 99;  // split value of the one-column grid layout

struct DecoderType {
    std::uint32_t type_code = 0;
    std::string name;
    DecoderKind kind = DecoderKind::None;
    std::array<std::string, kGridRows> labels;  // rows 1..47; empty = the row does not exist
    int split = kOneColumn;  // two columns split after this row, or kOneColumn
    int gap = 0;             // one column: row after which the next row is placed lower
    int frame = kFrameNone;
    std::string default_config;  // "CC01" for the turntables, else derived from program memory
    std::string doc_page;        // documentation page of the firmware family (file name)
};

// The entry at position i of the catalogue (i < kCatalogueSize).
const DecoderType& CatalogueEntry(std::size_t i);

// The fixed list of supported firmwares, in the order of the product documentation. Entries
// are made the first time they are asked for and then stay: a command that reads one firmware
// makes one entry. A list and FindDecoderType give the same objects.
class CatalogueList {
public:
    class Iterator {
    public:
        explicit Iterator(std::size_t i) : m_i(i) {}
        const DecoderType& operator*() const { return CatalogueEntry(m_i); }
        const DecoderType* operator->() const { return &CatalogueEntry(m_i); }
        Iterator& operator++() {
            ++m_i;
            return *this;
        }
        bool operator==(const Iterator& other) const { return m_i == other.m_i; }
        bool operator!=(const Iterator& other) const { return m_i != other.m_i; }

    private:
        std::size_t m_i;
    };
    std::size_t size() const;
    const DecoderType& operator[](std::size_t i) const { return CatalogueEntry(i); }
    Iterator begin() const { return Iterator(0); }
    Iterator end() const { return Iterator(size()); }
};
CatalogueList Catalogue();

// The entry with this type code, or nullptr.
const DecoderType* FindDecoderType(std::uint32_t type_code);

const char* KindName(DecoderKind kind);  // "A", "F", "none"

}  // namespace parvel
