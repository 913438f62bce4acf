#include "HexWriter.h"

#include <algorithm>

namespace parvel {

namespace {

const Message kChecksumProblem{"Problem bei der Checksummen-Berechnung", Icon::Warning,
                               Buttons::Cancel};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string RecordChecksum(const std::string& record) {
    unsigned sum = 0;
    for (std::size_t i = 0; i + 1 < record.size(); i += 2) {
        const int hi = HexDigit(record[i]);
        const int lo = HexDigit(record[i + 1]);
        if (hi < 0 || lo < 0) return "error";
        sum += static_cast<unsigned>(hi * 16 + lo);
    }
    return hex_byte_names()[(256u - sum % 256u) % 256u];
}

int WriteHexLines(FirmwareImage& image, Message* failure) {
    for (auto& line : image.hex_lines) line.clear();
    const auto& names = hex_byte_names();
    int n = 0;
    std::string record;  // reused for every record: saving is a few hundred of them
    record.reserve(64);

    // Completes `record` (count, address, type, data) with colon and checksum. A record whose
    // data are not exactly 2 x count hex digits (a damaged cell) is refused: writing it would
    // give a file whose length field or bytes no longer say what the image holds.
    auto emit = [&](int count) {
        std::string checksum = "error";
        if (record.size() == 8 + 2 * static_cast<std::size_t>(count) && n < kMaxHexLines) {
            checksum = RecordChecksum(record);
        }
        if (checksum == "error") {
            if (failure) *failure = kChecksumProblem;
            return false;
        }
        std::string& line = image.hex_lines[n++];
        line.reserve(record.size() + 3);
        line += ':';
        line += record;
        line += checksum;
        return true;
    };
    auto start = [&](int count, int address_high, int address_low) {
        record.clear();
        record += names[count];
        record += names[address_high];
        record += names[address_low];
        record += "00";
    };
    auto fail = [&] {
        image.line_count = 0;
        return 0;
    };

    image.hex_lines[n++] = ":020000040000FA";

    const int rom_end = std::clamp(image.rom_last, 0, kRomCells - 1);
    for (int a = 0; a <= rom_end; a += 16) {
        const int count = std::min(16, rom_end - a + 1);
        start(count, a / 256, a % 256);
        for (int k = 0; k < count; ++k) {
            const std::string& cell = image.rom_cells[a + k];
            record += cell.size() == 2 ? cell : std::string("?");
        }
        if (!emit(count)) return fail();
    }

    // One word per ID character, at most four. An image whose ID record held fewer words gets
    // a record of exactly those words, so the byte count always matches the data.
    const std::size_t id_chars = std::min<std::size_t>(image.id_text.size(), 4);
    if (id_chars > 0) {
        const int count = static_cast<int>(2 * id_chars);
        start(count, 0x40, 0x00);
        for (std::size_t i = 0; i < id_chars; ++i) {
            record += '0';
            record += image.id_text[i];
            record += "00";
        }
        if (!emit(count)) return fail();
    }

    const std::string& config = image.config_text;
    const int config_bytes = static_cast<int>(config.size() / 2);
    if (config.size() % 2 != 0 || config_bytes > 255) {
        if (failure) *failure = kChecksumProblem;
        return fail();
    }
    start(config_bytes, 0x40, 0x0E);
    record += config;
    if (!emit(config_bytes)) return fail();

    const int ee_end = std::clamp(image.eeprom_last, 0, kEepromCells - 1);
    for (int c = 0; c <= ee_end; c += 8) {
        const int cells = std::min(8, ee_end - c + 1);
        const int address = 2 * c;
        start(2 * cells, 0x42 + address / 256, address % 256);
        for (int k = 0; k < cells; ++k) {
            const std::string& cell = image.eeprom_cells[c + k];
            // A damaged cell must not shift the "00" high byte into its place.
            if (cell.size() == 2) {
                record += cell;
                record += "00";
            } else {
                record += '?';
            }
        }
        if (!emit(2 * cells)) return fail();
    }

    image.hex_lines[n++] = ":00000001FF";
    image.line_count = n;
    return n;
}

std::string HexFileText(const FirmwareImage& image) {
    std::string out;
    out.reserve(static_cast<std::size_t>(image.line_count) * 46);
    for (int i = 0; i < image.line_count && i < kMaxHexLines; ++i) {
        out += image.hex_lines[i];
        out += "\r\n";
    }
    return out;
}

}  // namespace parvel
