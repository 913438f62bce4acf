#pragma once

#include <ostream>
#include <string>

namespace CLI {
class App;
}

namespace parvel {

// `parvel diff FILE1 FILE2`: every cell of FILE2 that differs from the loaded FILE1, with
// --decoder also in decoder terms.
class DiffCommand {
  public:
    explicit DiffCommand(CLI::App& app);

    bool chosen() const;
    // Exit status: 0 no difference, 1 differences or a rejected file, 2 unreadable file.
    int Run(std::ostream& out, std::ostream& err) const;

  private:
    CLI::App* m_command;
    std::string m_file1;
    std::string m_file2;
    bool m_decoder_terms = false;
};

}  // namespace parvel
