#pragma once

#include <ostream>
#include <string>

namespace CLI {
class App;
}

namespace parvel {

// `parvel roster DIR`: the address plan of every decoder image in a folder.
class RosterCommand {
  public:
    explicit RosterCommand(CLI::App& app);

    bool chosen() const;
    // Exit status: 0 no conflict, 1 conflicts found, 2 usage error or unreadable folder.
    int Run(std::ostream& out, std::ostream& err) const;

  private:
    CLI::App* m_command;
    std::string m_folder;
    bool m_recursive = false;
    bool m_json = false;
    bool m_csv = false;
    int m_free = 0;
};

}  // namespace parvel
