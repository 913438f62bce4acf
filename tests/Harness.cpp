#include "Harness.h"

#include <stdlib.h>

#include <stdexcept>

namespace parvel::test {

std::string TempDir() {
    std::string tmpl = "/tmp/parvel-test-XXXXXX";
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    return tmpl;
}

}  // namespace parvel::test
