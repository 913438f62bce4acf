#pragma once

#include <string>

#include "catalogue/Catalogue.h"
#include "catalogue/CodeTables.h"
#include "document/DecoderDocument.h"
#include "tests/fixtures/FixtureBuilder.h"
#include "tests/support/RecordingView.h"
#include "tests/support/ScriptedDialogs.h"
#include "image/TextFile.h"

namespace parvel::test {

// A document with scripted dialogs and a record of what a window would show.
struct Harness {
    ScriptedDialogs dialogs;
    DecoderDocument session{dialogs};
    RecordingView view{session};

    bool LoadText(const std::string& hex, const std::string& path = "/tmp/test.hex") {
        return session.LoadHexLines(SplitLines(hex), path);
    }
    bool Load(const FixtureImage& image, const std::string& path = "/tmp/test.hex") {
        return LoadText(BuildHex(image), path);
    }
    std::string LastMessage() const {
        return dialogs.messages.empty() ? std::string() : dialogs.messages.back().text;
    }
};

// A complete image of a known firmware: ID and configuration present.
inline FixtureImage Firmware(uint32_t type_code, FixtureImage::Protocol protocol,
                             const std::string& id = "3358") {
    FixtureImage f;
    f.type_code = type_code;
    f.protocol = protocol;
    f.id = id;
    f.config = "CC01";
    f.chip_marker = 0x60;
    // Function decoder rows hold a valid address: an erased DCC row would read 16383, beyond
    // the limit, and refuse every save.
    const DecoderType* entry = FindDecoderType(type_code);
    if (entry && entry->kind == DecoderKind::Function) {
        const bool dcc = protocol == FixtureImage::Protocol::Dcc ||
                         protocol == FixtureImage::Protocol::DccAt35;
        for (int r = 1; r < kGridRows; ++r) {
            if (dcc) SetRow(f, r, 0x81, 0x05, 0x00);
            else SetRow(f, r, 0x03, 0x00, 0x51);
        }
    }
    return f;
}

// Puts into a row of a DCC accessory firmware the code of `address` in the given colour.
inline void SetDccAccessory(FixtureImage& f, int row, int address, bool green) {
    const std::string red = CodeTables::Instance().dcc_accessory_codes[address];
    const std::string code = green ? CodeTables::DccGreenCode(red) : red;
    auto byte = [&](int i) {
        return static_cast<uint8_t>(std::stoi(code.substr(2 * i, 2), nullptr, 16));
    };
    SetRow(f, row, byte(0), byte(1), byte(2));
}

// A fresh empty folder under the system's temporary folder.
std::string TempDir();

// The whole file, byte for byte (empty when it cannot be read).
std::string Slurp(const std::string& path);

}  // namespace parvel::test
