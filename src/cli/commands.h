#pragma once
// The varkel-cli commands. Each takes the arguments after its name and
// returns the process exit code.

#include <string_view>
#include <vector>

namespace varkel::cli {

int runHighlight(const std::vector<std::string_view> &args);
int runCommentBlock(const std::vector<std::string_view> &args);
int runDetect(const std::vector<std::string_view> &args);
int runLint(const std::vector<std::string_view> &args);

} // namespace varkel::cli
