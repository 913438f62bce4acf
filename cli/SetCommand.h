#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace parvel {

// `parvel set FILE -o OUT`: new values in grid rows, checked, encoded and written as OUT.
class SetCommand {
  public:
    explicit SetCommand(CLI::App& app);

    bool chosen() const;
    // Exit status: 0 written, 1 rejected file or failed check, 2 usage error or unreadable or
    // unwritable file.
    int Run(std::ostream& out, std::ostream& err) const;

  private:
    CLI::App* m_command;
    std::string m_file;
    std::string m_out_path;
    std::vector<std::string> m_addresses;
    std::vector<std::string> m_functions;
    std::vector<int> m_greens;
    std::vector<int> m_reds;
    bool m_default_config = false;
    bool m_force = false;
};

}  // namespace parvel
