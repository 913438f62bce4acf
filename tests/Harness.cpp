#include "Harness.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace parvel::test {

std::string TempDir() {
    // The machine's temporary folder, as every other program on it uses.
    const char* base = std::getenv("TMPDIR");
    std::string tmpl = std::string(base && *base ? base : "/tmp") + "/parvel-test-XXXXXX";
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    return tmpl;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace parvel::test
