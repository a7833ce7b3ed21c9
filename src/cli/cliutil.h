#pragma once
// Small helpers shared by the varkel-cli commands.

#include <string>
#include <string_view>

namespace varkel::cli {

// Prints "varkel-cli: <message>" and a pointer to --help on stderr; returns
// the exit code for bad arguments (2).
int usageError(const std::string &message);

// Prints "varkel-cli: <message>" on stderr; returns the exit code for a
// failure while running a command (1).
int failure(const std::string &message);

// The folder that holds the running program.
std::string programDirectory();

} // namespace varkel::cli
