#include "cli/cliutil.h"

#include <filesystem>
#include <iostream>

namespace varkel::cli {

int usageError(const std::string &message)
{
    std::cerr << "varkel-cli: " << message << "\n"
              << "Try 'varkel-cli --help'.\n";
    return 2;
}

int failure(const std::string &message)
{
    std::cerr << "varkel-cli: " << message << "\n";
    return 1;
}

std::string programDirectory()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return ".";
    return exe.parent_path().string();
}

} // namespace varkel::cli
