#pragma once
// varkel-cli bindings --effective: the bindings once the game has run a
// script and every script it execs.

#include <string>

namespace varkel::cli {

// Prints the effective bindings of the script at `path`; returns the exit code.
int printEffectiveBindings(const std::string &path);

} // namespace varkel::cli
