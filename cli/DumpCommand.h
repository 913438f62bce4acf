#pragma once

#include <ostream>
#include <string>

namespace CLI {
class App;
}

namespace parvel {

// `parvel dump FILE`: configuration value, ID and the hex dumps of a file.
class DumpCommand {
  public:
    explicit DumpCommand(CLI::App& app);

    bool chosen() const;
    // Exit status: 0 dump written (also of an image without ID or of an unknown firmware),
    // 1 rejected file, 2 unreadable file.
    int Run(std::ostream& out, std::ostream& err) const;

  private:
    CLI::App* m_command;
    std::string m_file;
};

}  // namespace parvel
