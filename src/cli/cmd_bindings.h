#pragma once
// varkel-cli bindings: the bindings of scripts as the device panel shows them.

#include <span>
#include <string_view>

// Runs the subcommand with the arguments that follow its name; returns the
// process exit status.
int runBindingsCommand(std::span<const std::string_view> args);

// The subcommand's lines for the general help text.
extern const char *const kBindingsCommandHelp;
