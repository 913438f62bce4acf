#pragma once

#include <ostream>
#include <string>

namespace CLI {
class App;
}

namespace parvel {

// `parvel series FILE`: COUNT copies of a set-up file whose addresses begin at FIRST + i x STEP.
class SeriesCommand {
  public:
    explicit SeriesCommand(CLI::App& app);

    bool chosen() const;
    // Exit status: 0 copies written, 1 rejected file or plan, 2 usage error, unreadable file or
    // unwritable copy.
    int Run(std::ostream& out, std::ostream& err) const;

  private:
    CLI::App* m_command;
    std::string m_file;
    std::string m_out_dir;
    int m_first = 0;
    int m_count = 0;
    int m_step = 0;
    bool m_default_config = false;
    bool m_force = false;
};

}  // namespace parvel
