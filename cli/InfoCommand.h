#pragma once

#include <ostream>
#include <string>

namespace CLI {
class App;
}

namespace parvel {

// `parvel info FILE`: what the window shows for a loaded file, as text or JSON.
class InfoCommand {
  public:
    explicit InfoCommand(CLI::App& app);

    bool chosen() const;
    // Exit status: 0 recognised, 1 loaded but not recognised or rejected, 2 unreadable file.
    int Run(std::ostream& out, std::ostream& err) const;

  private:
    CLI::App* m_command;
    std::string m_file;
    bool m_json = false;
    bool m_default_config = false;
};

}  // namespace parvel
