#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace parvel {

// Exit statuses of the command line.
constexpr int kExitOk = 0;
constexpr int kExitRejected = 1;  // rejected file, failed validation, differences found
constexpr int kExitUsage = 2;     // usage error, unreadable or unwritable file

// Runs the `parvel` command line; args[0] is the program name.
int RunParvel(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace parvel
