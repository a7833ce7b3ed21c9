#include "cli/cliutil.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

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

bool readFileBytes(const std::string &path, std::string &bytes, std::string &error)
{
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) {
        error = "cannot read '" + path + "': no such file";
        return false;
    }
    if (!std::filesystem::is_regular_file(status)) {
        error = "cannot read '" + path + "': not a regular file";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read '" + path + "': " + std::strerror(errno);
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = "cannot read '" + path + "': read error";
        return false;
    }
    return true;
}

} // namespace varkel::cli
