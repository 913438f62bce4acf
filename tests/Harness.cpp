#include "tests/Harness.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "image/Platform.h"

namespace parvel::test {

#ifdef _WIN32
std::string TempDir() {
    // The user's temporary folder, as every other program uses it; a random name, made anew
    // until it is one nobody has.
    namespace fs = std::filesystem;
    const fs::path base = fs::temp_directory_path();
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path dir = base / ("parvel-test-" + std::to_string(random() % 1000000000000ULL));
        std::error_code error;
        if (fs::create_directory(dir, error)) return Utf8FromPath(dir);
    }
    throw std::runtime_error("no temporary folder could be made in " + Utf8FromPath(base));
}
#else
std::string TempDir() {
    // The machine's temporary folder, as every other program on it uses.
    const char* base = std::getenv("TMPDIR");
    std::string tmpl = std::string(base && *base ? base : "/tmp") + "/parvel-test-XXXXXX";
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    return tmpl;
}
#endif

std::string Slurp(const std::string& path) {
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace parvel::test
