#include "Harness.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace parvel::test {

std::string TempDir() {
    std::string tmpl = "/tmp/parvel-test-XXXXXX";
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    return tmpl;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace parvel::test
