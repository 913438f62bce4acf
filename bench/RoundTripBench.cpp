// Load -> recognise -> write of a full image: program memory through 0x0FFF, all 256 EEPROM
// cells, a DCC accessory firmware whose rows are looked up in the 2044-entry table.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include "document/DecoderDocument.h"
#include "bench/FullImage.h"
#include "image/HexWriter.h"
#include "tests/support/ScriptedDialogs.h"
#include "image/TextFile.h"

namespace {

using parvel::bench::FullImage;

struct Session {
    parvel::ScriptedDialogs dialogs;
    parvel::DecoderDocument session{dialogs};
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
    if (!s.session.recognised() || s.session.row(4).address == 0) state.SkipWithError("not recognised");
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
