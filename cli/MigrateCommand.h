#pragma once

#include <ostream>
#include <string>

namespace CLI {
class App;
}

namespace parvel {

// `parvel migrate OLD NEW -o OUT`: the settings of OLD carried into NEW of the same firmware
// family, written as OUT.
class MigrateCommand {
  public:
    explicit MigrateCommand(CLI::App& app);

    bool chosen() const;
    // Exit status: 0 written, 1 rejected file or migration, 2 usage error or unreadable or
    // unwritable file.
    int Run(std::ostream& out, std::ostream& err) const;

  private:
    CLI::App* m_command;
    std::string m_old;
    std::string m_new;
    std::string m_out_path;
    bool m_default_config = false;
    bool m_force = false;
};

}  // namespace parvel
