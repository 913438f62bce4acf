// Load -> recognise -> write of a full image: program memory through 0x0FFF, all 256 EEPROM
// cells, a DCC accessory firmware whose rows are looked up in the 2044-entry table.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include "DecoderSession.h"
#include "FixtureBuilder.h"
#include "HexWriter.h"
#include "RecordingView.h"
#include "TextFile.h"

namespace {

using parvel::test::FixtureImage;

std::string FullImage() {
    FixtureImage f;
    f.type_code = 0x30FF;  // 48-position turntable: 28 accessory rows, all searched
    f.protocol = FixtureImage::Protocol::Dcc;
    f.id = "3358";
    f.config = "CC01";
    f.chip_marker = 0x60;
    f.rom_last_word = 0x7FF;
    f.eeprom_last = 255;
    for (int w = 3; w < 0x800; ++w) {
        if (w != 8 && w != 62) f.words[w] = static_cast<uint16_t>((w * 37) & 0x3FFF);
    }
    for (int c = 0; c < 256; ++c) f.eeprom[c] = static_cast<uint8_t>(c);
    // rows 4..31 hold DCC codes of high addresses, so the lookups go deep into the table
    static const uint8_t kCodes[][3] = {{0x31, 0x1C, 0xFD}, {0x30, 0x1E, 0xFD}, {0x37, 0x10, 0xFD}};
    for (int r = 4; r <= 31; ++r) {
        const auto& c = kCodes[r % 3];
        parvel::test::SetRow(f, r, c[0], c[1], c[2]);
    }
    return parvel::test::BuildHex(f);
}

struct Session {
    parvel::RecordingView view;
    parvel::ScriptedDialogs dialogs;
    parvel::DecoderSession session{view, dialogs};
};

void BM_RoundTripInMemory(benchmark::State& state) {
    const auto lines = parvel::SplitLines(FullImage());
    Session s;
    for (auto _ : state) {
        s.session.LoadHexLines(lines, "bench.hex");
        const int n = parvel::WriteHexLines(s.session.image());
        std::string text = parvel::HexFileText(s.session.image());
        benchmark::DoNotOptimize(n);
        benchmark::DoNotOptimize(text);
    }
    if (!s.session.recognised || s.session.row_address[4] == 0) state.SkipWithError("not recognised");
}
BENCHMARK(BM_RoundTripInMemory)->Unit(benchmark::kMicrosecond);

void BM_RoundTripFromFile(benchmark::State& state) {
    char path[] = "/tmp/parvel-bench-XXXXXX";
    const int fd = mkstemp(path);
    const std::string text = FullImage();
    if (fd < 0 || write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
        state.SkipWithError("cannot write the image");
        return;
    }
    close(fd);
    Session s;
    for (auto _ : state) {
        s.session.LoadHexFile(path);
        parvel::WriteHexLines(s.session.image());
        std::string out = parvel::HexFileText(s.session.image());
        benchmark::DoNotOptimize(out);
    }
    unlink(path);
}
BENCHMARK(BM_RoundTripFromFile)->Unit(benchmark::kMicrosecond);

}  // namespace
