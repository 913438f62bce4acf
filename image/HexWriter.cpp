#include "image/HexWriter.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace parvel {

namespace {

const Message kChecksumProblem{"Problem bei der Checksummen-Berechnung", Icon::Warning,
                               Buttons::Cancel};

// What a hex digit (either case) adds to a byte in the high and in the low place of a pair;
// any other character gives kNotHex, which no byte reaches. Tables because the checksum reads
// every character of every record.
constexpr unsigned kNotHex = 0x100;
constexpr std::array<unsigned, 256> DigitTable(unsigned place) {
    std::array<unsigned, 256> t{};
    for (int c = 0; c < 256; ++c) {
        t[c] = c >= '0' && c <= '9'   ? (c - '0') * place
               : c >= 'A' && c <= 'F' ? (c - 'A' + 10) * place
               : c >= 'a' && c <= 'f' ? (c - 'a' + 10) * place
                                      : kNotHex;
    }
    return t;
}
constexpr std::array<unsigned, 256> kHighDigit = DigitTable(16);
constexpr std::array<unsigned, 256> kLowDigit = DigitTable(1);

// The checksum byte of a record without colon and checksum, or -1 when a pair is not a hex
// number (a trailing odd character is not read).
int ChecksumByte(const char* p, std::size_t size) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    unsigned sum = 0;
    // The early return also keeps compilers from turning the table reads into vector code
    // that takes longer than this plain loop.
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const unsigned byte = kHighDigit[u[i]] + kLowDigit[u[i + 1]];
        if (byte >= kNotHex) return -1;
        sum += byte;
    }
    return static_cast<int>((256u - sum % 256u) % 256u);
}

// Puts a cell's two characters at `out` and adds its byte to `sum` (and to `not_hex`, which
// reaches kNotHex when a character is not a hex digit). A cell that does not hold two
// characters puts one '?', so the record's length no longer matches and it is refused.
char* PutCell(const HexCell& cell, char* out, unsigned& sum, unsigned& not_hex) {
    if (cell.size() != 2) {
        *out++ = '?';
        return out;
    }
    const auto high = static_cast<unsigned char>(cell[0]);
    const auto low = static_cast<unsigned char>(cell[1]);
    *out++ = static_cast<char>(high);
    *out++ = static_cast<char>(low);
    const unsigned byte = kHighDigit[high] + kLowDigit[low];
    not_hex |= byte;
    sum += byte;
    return out;
}

}  // namespace

std::string RecordChecksum(const std::string& record) {
    const int checksum = ChecksumByte(record.data(), record.size());
    return checksum < 0 ? std::string("error") : hex_byte_names()[checksum];
}

int WriteHexLines(FirmwareImage& image, Message* failure) {
    for (auto& line : image.hex_lines) line.clear();
    const auto& names = hex_byte_names();
    int n = 0;
    // Each line is put together here ("RECORD" = count, address, type, data) and then copied
    // into its hex_lines entry in one go: saving is a few hundred records of thousands of cells.
    // The largest record is the configuration: 255 bytes.
    char line_text[1 + 8 + 2 * 255 + 2];
    line_text[0] = ':';
    char* const record = line_text + 1;
    std::size_t length = 0;  // characters of the record so far

    // Completes the record with its checksum and stores the line. A record whose data are not
    // exactly 2 x count hex digits (a damaged cell) is refused: writing it would give a file
    // whose length field or bytes no longer say what the image holds.
    // `checksum` is the record's checksum byte, or -1 when a pair is not a hex number.
    auto finish = [&](int count, int checksum) {
        if (length != 8 + 2 * static_cast<std::size_t>(count) || n >= kMaxHexLines) checksum = -1;
        if (checksum < 0) {
            if (failure) *failure = kChecksumProblem;
            return false;
        }
        record[length] = names[checksum][0];
        record[length + 1] = names[checksum][1];
        image.hex_lines[n++].assign(line_text, 1 + length + 2);
        return true;
    };
    auto emit = [&](int count) { return finish(count, ChecksumByte(record, length)); };
    // Program memory and EEPROM records add up their bytes while the cells are copied, which
    // saves reading every record a second time. `sum` starts with the head's bytes.
    auto checksum_of = [](unsigned sum, unsigned not_hex) {
        return not_hex >= kNotHex ? -1 : static_cast<int>((256u - sum % 256u) % 256u);
    };
    auto put = [&](char c) {
        if (length < sizeof line_text - 3) record[length++] = c;
    };
    auto start = [&](int count, int address_high, int address_low) {
        const std::string& c = names[count];
        const std::string& h = names[address_high];
        const std::string& l = names[address_low];
        const char head[8] = {c[0], c[1], h[0], h[1], l[0], l[1], '0', '0'};
        std::memcpy(record, head, sizeof head);
        length = sizeof head;
    };
    auto fail = [&] {
        image.line_count = 0;
        return 0;
    };

    image.hex_lines[n++] = ":020000040000FA";

    // A loaded image leaves out the cells its file did not hold while they keep their erased
    // value: records then cover what the file covered (plus what was changed), cut at gaps.
    const int rom_end = std::clamp(image.rom_last, 0, kRomCells - 1);
    // Whole program words: a word with one byte read or changed is written with both.
    auto rom_byte_kept = [&](int a) {
        return image.rom_read[a] || !FirmwareImage::ErasedRom(a, image.rom_cells[a]);
    };
    auto rom_written = [&](int a) {
        return !image.keep_gaps || rom_byte_kept(a & ~1) || rom_byte_kept(a | 1);
    };
    // Calls write_run(first, count) for each run of written cells up to `last`, runs cut at
    // every block boundary, so records never cross the block a full record would cover.
    auto for_each_run = [](int last, int block_size, auto written, auto write_run) {
        for (int block = 0; block <= last; block += block_size) {
            const int block_end = std::min(block + block_size - 1, last);
            for (int a = block; a <= block_end;) {
                if (!written(a)) {
                    ++a;
                    continue;
                }
                int count = 1;
                while (a + count <= block_end && written(a + count)) ++count;
                if (!write_run(a, count)) return false;
                a += count;
            }
        }
        return true;
    };
    const bool rom_ok = for_each_run(rom_end, 16, rom_written, [&](int a, int count) {
        start(count, a / 256, a % 256);
        unsigned sum = static_cast<unsigned>(count + a / 256 + a % 256);
        unsigned not_hex = 0;
        // Through a local pointer: a character store may alias `length` itself.
        char* out = record + length;
        for (int k = 0; k < count; ++k) out = PutCell(image.rom_cells[a + k], out, sum, not_hex);
        length = static_cast<std::size_t>(out - record);
        return finish(count, checksum_of(sum, not_hex));
    });
    if (!rom_ok) return fail();

    // One word per ID character, at most four. An image whose ID record held fewer words gets
    // a record of exactly those words, so the byte count always matches the data.
    const std::size_t id_chars = std::min<std::size_t>(image.id_text.size(), 4);
    if (id_chars > 0) {
        const int count = static_cast<int>(2 * id_chars);
        start(count, 0x40, 0x00);
        for (std::size_t i = 0; i < id_chars; ++i) {
            put('0');
            put(image.id_text[i]);
            put('0');
            put('0');
        }
        if (!emit(count)) return fail();
    }

    // No configuration text (the file had none and no default was chosen): no record, so the
    // chip keeps what the programmer puts there instead of a made-up word.
    const std::string& config = image.config_text;
    const int config_bytes = static_cast<int>(config.size() / 2);
    if (config.size() % 2 != 0 || config_bytes > 255) {
        if (failure) *failure = kChecksumProblem;
        return fail();
    }
    if (!config.empty()) {
        start(config_bytes, 0x40, 0x0E);
        for (const char c : config) put(c);
        if (!emit(config_bytes)) return fail();
    }

    const int ee_end = std::clamp(image.eeprom_last, 0, kEepromCells - 1);
    auto ee_written = [&](int c) {
        return !image.keep_gaps || image.eeprom_read[c] || image.eeprom_cells[c] != "FF";
    };
    const bool ee_ok = for_each_run(ee_end, 8, ee_written, [&](int c, int cells) {
        const int address = 2 * c;
        start(2 * cells, 0x42 + address / 256, address % 256);
        unsigned sum = static_cast<unsigned>(2 * cells + 0x42 + address / 256 + address % 256);
        unsigned not_hex = 0;
        char* out = record + length;
        for (int k = 0; k < cells; ++k) {
            const HexCell& cell = image.eeprom_cells[c + k];
            out = PutCell(cell, out, sum, not_hex);
            // A damaged cell must not shift the "00" high byte into its place.
            if (cell.size() == 2) {
                *out++ = '0';
                *out++ = '0';
            }
        }
        length = static_cast<std::size_t>(out - record);
        return finish(2 * cells, checksum_of(sum, not_hex));
    });
    if (!ee_ok) return fail();

    image.hex_lines[n++] = ":00000001FF";
    image.line_count = n;
    return n;
}

std::string HexFileText(const FirmwareImage& image) {
    const int lines = std::clamp(image.line_count, 0, kMaxHexLines);
    std::size_t size = 0;
    for (int i = 0; i < lines; ++i) size += image.hex_lines[i].size() + 2;
    std::string out(size, '\0');
    char* p = out.data();
    for (int i = 0; i < lines; ++i) {
        const std::string& line = image.hex_lines[i];
        std::memcpy(p, line.data(), line.size());
        p += line.size();
        *p++ = '\r';
        *p++ = '\n';
    }
    return out;
}

}  // namespace parvel
