#pragma once
// varkel-cli bindings: the bindings of scripts as the device panel shows them.

#include <string_view>
#include <vector>

namespace varkel::cli {

// Runs the command with the arguments after its name; returns the exit code.
int runBindings(const std::vector<std::string_view> &args);

} // namespace varkel::cli
