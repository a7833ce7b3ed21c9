#pragma once
// varkel-cli bindings --effective: the bindings once the game has run a
// script and every script it execs.

#include "documents/encoding.h"

#include <optional>
#include <string>

namespace varkel::cli {

// Prints the effective bindings of the script at `path`, the scripts' texts
// read in `encoding` (nullopt: each script's own); returns the exit code.
int printEffectiveBindings(const std::string &path, std::optional<Encoding> encoding = std::nullopt);

} // namespace varkel::cli
