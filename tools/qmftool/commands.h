// The subcommands of qmftool, one per file. Each takes the arguments after its own name and
// returns the process exit status (0 success, 1 failure, 2 bad usage).
#pragma once

#include <span>
#include <string>

namespace qn::qmftool {

using Arguments = std::span<const std::string>;

int packCommand(Arguments arguments);
int checkCommand(Arguments arguments);

// Prints "qmftool: " + message to standard error and returns 1.
int failure(const std::string& message);

}  // namespace qn::qmftool
